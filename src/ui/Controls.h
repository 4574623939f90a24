#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <functional>

// A three-state check box that a user click only toggles between unchecked
// and checked (grayed becomes checked); grayed is set by the program.
class TriStateCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
    // 0 unchecked, 1 checked, 2 grayed.
    int state() const;
    void setState(int state);

protected:
    void nextCheckState() override;
    // A caption too long for one line wraps inside the box's height.
    void paintEvent(QPaintEvent *event) override;
};

// A label with a click event.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A line edit that discards every typed character a predicate refuses,
// from key presses and input-method commits alike. Text set by the program
// is not filtered.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using Accept = std::function<bool(QChar)>;
    FilteredLineEdit(Accept accept, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    QString filtered(const QString &typed) const;
    Accept m_accept;
};
