#pragma once

#include "check/ReleaseCheck.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// 公開前チェック: the findings of the check before release, a line each. A
// click goes to its line in the preview; a finding or its whole rule can be
// silenced for the project, and the site's rules chosen.
class CheckDialog : public QDialog {
    Q_OBJECT
public:
    explicit CheckDialog(QWidget *parent = nullptr);

    void showFindings(const std::vector<ReleaseCheck::Finding> &findings,
                      const QList<SiteProfile> &profiles, const QString &profile);
    const std::vector<ReleaseCheck::Finding> &findings() const { return m_findings; }

signals:
    void lineChosen(int line, int column);
    void silenced(const QString &ruleOrKey);
    void profileChosen(const QString &name);

private:
    const ReleaseCheck::Finding *current() const;

    std::vector<ReleaseCheck::Finding> m_findings;
    QComboBox *m_profile;
    QTreeWidget *m_list;
    QLabel *m_summary;
    QPushButton *m_silenceOne;
    QPushButton *m_silenceRule;
};
