#include "ReleaseDialog.h"

#include "Fonts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// The version after the newest one: its last number one up (1.02 → 1.03).
QString nextVersion(const QString &current)
{
    static const QRegularExpression last(u"^(.*?)(\\d+)(\\D*)$"_s);
    const QRegularExpressionMatch m = last.match(current.trimmed());
    if (!m.hasMatch())
        return current.trimmed();
    const QString digits = m.captured(2);
    return m.captured(1) +
           u"%1"_s.arg(digits.toLongLong() + 1, int(digits.size()), 10, QChar(u'0'));
}
} // namespace

ReleaseDialog::ReleaseDialog(const Project &project, const QDate &today, QWidget *parent)
    : QDialog(parent), m_project(project), m_version(new QLineEdit(this)),
      m_date(new QDateEdit(today, this)), m_notes(new QPlainTextEdit(this)),
      m_amend(new QCheckBox(u"最新の項目が同じバージョンなら置き換える"_s, this)),
      m_shown(new QLabel(this)), m_entry(new QPlainTextEdit(this)), m_problem(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(u"frmRelease"_s);
    setWindowTitle(u"新しい版"_s);
    m_version->setObjectName(u"txtVersion"_s);
    m_version->setText(nextVersion(project.values[Items::Version]));
    m_date->setObjectName(u"dtpDate"_s);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(u"yyyy/MM/dd"_s);
    m_notes->setObjectName(u"txtNotes"_s);
    m_notes->setPlaceholderText(u"変更点を一行に一つずつ書きます"_s);
    m_notes->setTabChangesFocus(true);
    m_amend->setObjectName(u"chkAmend"_s);
    m_entry->setObjectName(u"txtEntry"_s);
    m_entry->setReadOnly(true);
    m_entry->setFont(Fonts::preview());
    m_entry->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A few lines each: a release names a handful of changes.
    const auto lines = [](QPlainTextEdit *e, int n) {
        e->setFixedHeight(e->fontMetrics().lineSpacing() * n + 2 * e->frameWidth() + 8);
    };
    lines(m_notes, 5);
    lines(m_entry, 6);
    m_problem->setObjectName(u"lblProblem"_s);
    m_problem->setWordWrap(true);
    m_buttons->button(QDialogButtonBox::Ok)->setText(u"新しい版にする"_s);
    m_buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);

    auto *form = new QFormLayout;
    form->addRow(u"バージョン(&V):"_s, m_version);
    form->addRow(u"日付(&D):"_s, m_date);
    form->addRow(u"変更点(&N):"_s, m_notes);
    form->addRow(QString(), m_amend);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_shown);
    layout->addWidget(m_entry, 1);
    layout->addWidget(m_problem);
    layout->addWidget(m_buttons);
    connect(m_version, &QLineEdit::textChanged, this, &ReleaseDialog::replan);
    connect(m_date, &QDateEdit::dateChanged, this, &ReleaseDialog::replan);
    connect(m_notes, &QPlainTextEdit::textChanged, this, &ReleaseDialog::replan);
    connect(m_amend, &QCheckBox::toggled, this, &ReleaseDialog::replan);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    replan();
    resize(sizeHint().expandedTo(QSize(fontMetrics().horizontalAdvance(u'0') * 60, 0)));
}

void ReleaseDialog::replan()
{
    QStringList notes;
    for (const QString &line : m_notes->toPlainText().split(u'\n')) {
        if (!line.trimmed().isEmpty())
            notes.append(line);
    }
    const Result<Release::Plan> r =
        Release::plan(m_project, {m_version->text(), m_date->date(), notes, m_amend->isChecked()});
    m_plan = r.ok() ? std::optional(r.value()) : std::nullopt;
    m_entry->setPlainText(r.ok() ? r->entry.join(u'\n') : QString());
    if (r.ok())
        m_shown->setText(u"「%1」の先頭に書く項目:"_s.arg(r->heading));
    m_problem->setText(r.ok() ? QString() : r.reason());
    m_problem->setVisible(!r.ok());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(r.ok());
}
