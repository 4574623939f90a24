#pragma once

#include "entrylists/ListEditor.h"

#include <QDialog>
#include <array>

class Messages;
class QLineEdit;
class QListWidget;
class QPushButton;

// The registered-entry list editor: a small modal dialog over a ListEditor.
// Closing writes the list file when the list changed. A write that fails
// keeps the dialog open with its edits unless the author gives them up; a
// list file that could not be read is never written.
class FrmRegist : public QDialog {
    Q_OBJECT
public:
    FrmRegist(Messages *messages, QWidget *parent = nullptr);

    ListEditor *editor() { return &m_editor; }
    // The caption names the list file; the text box's tooltip asks for an entry.
    void prepare(const QString &caption, const QString &tooltip);
    // The list file was written when the dialog closed.
    bool wroteList() const { return m_wrote; }

    static constexpr int kClientWidth = 4320;
    static constexpr int kClientHeight = 2520;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void arrange();
    void mirror();
    bool finish();

    ListEditor m_editor;
    Messages *m_messages;
    QListWidget *m_list = nullptr;
    QLineEdit *m_text = nullptr;
    std::array<QPushButton *, 5> m_buttons{};
    bool m_finished = false;
    bool m_wrote = false;
};
