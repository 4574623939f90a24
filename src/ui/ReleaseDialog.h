#pragma once

#include "release/Release.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// 新しい版: the version, the date and the notes, with the history entry shown
// as it will stand. Accepting leaves the planned project in plan().
class ReleaseDialog : public QDialog {
    Q_OBJECT
public:
    ReleaseDialog(const Project &project, const QDate &today, QWidget *parent = nullptr);
    const std::optional<Release::Plan> &plan() const { return m_plan; }

private:
    void replan();

    Project m_project;
    std::optional<Release::Plan> m_plan;
    QLineEdit *m_version;
    QDateEdit *m_date;
    QPlainTextEdit *m_notes;
    QCheckBox *m_amend;
    QLabel *m_shown;
    QPlainTextEdit *m_entry;
    QLabel *m_problem;
    QDialogButtonBox *m_buttons;
};
