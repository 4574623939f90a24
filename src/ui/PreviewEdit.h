#pragma once

#include <QPlainTextEdit>

// The preview: the README in a fixed-pitch font, with a thin line after the
// column the README's lines may reach.
class PreviewEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PreviewEdit(QWidget *parent = nullptr);

    // The width in bytes (half-width characters); 0 hides the line.
    void setRulerColumn(int bytes);
    int rulerColumn() const { return m_column; }
    // Where the line stands in the viewport, or -1.
    int rulerX() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_column = 0;
};
