// Breaking lines at the width, the line in the preview that shows it, the
// check before release and a new release.
#include "CheckDialog.h"
#include "CreditsDialog.h"
#include "FrmMain.h"
#include "PreviewEdit.h"
#include "ReleaseDialog.h"
#include "Services.h"
#include "check/ReleaseCheck.h"
#include "platform/Cp932.h"
#include "readme/ReadmeComposer.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {
struct WrapChoice {
    const char16_t *name;
    const char16_t *caption;
    Project::Wrap wrap;
};
constexpr WrapChoice kWrapChoices[] = {
    {u"mnuWrapOff", u"折り返さない", Project::Wrap::Off},
    {u"mnuWrapPush", u"文字数で折り返す（追い出し）", Project::Wrap::Push},
    {u"mnuWrapHang", u"文字数で折り返す（句読点のぶら下げ）", Project::Wrap::Hang},
};
} // namespace

void FrmMain::buildWrapMenu(QMenu *create)
{
    QMenu *wrap = create->addMenu(u"折り返し"_s);
    wrap->setObjectName(u"mnuWrap"_s);
    auto *group = new QActionGroup(wrap);
    for (const WrapChoice &c : kWrapChoices) {
        QAction *a = wrap->addAction(QString::fromUtf16(c.caption));
        a->setObjectName(QString::fromUtf16(c.name));
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, w = c.wrap] { chooseWrap(w); });
    }
    QAction *check = create->addAction(u"公開前チェック…"_s);
    check->setObjectName(u"mnuCheck"_s);
    check->setShortcut(QKeySequence(u"Ctrl+K"_s));
    check->setShortcutContext(Qt::WindowShortcut);
    connect(check, &QAction::triggered, this, &FrmMain::checkBeforeRelease);
    QAction *credits = create->addAction(u"素材のクレジット…"_s);
    credits->setObjectName(u"mnuCredits"_s);
    connect(credits, &QAction::triggered, this, &FrmMain::editCredits);
    QAction *release = create->addAction(u"新しい版…"_s);
    release->setObjectName(u"mnuRelease"_s);
    connect(release, &QAction::triggered, this, &FrmMain::newRelease);
    mirrorSettings();
}

// A new setting shows in the preview at once, with what was typed there kept.
void FrmMain::chooseWrap(Project::Wrap wrap)
{
    if (m_doc->wrap() == wrap)
        return;
    m_doc->setWrap(wrap);
    if (!m_doc->previewText().isEmpty())
        showPreview();
}

void FrmMain::mirrorSettings()
{
    for (const WrapChoice &c : kWrapChoices) {
        if (QAction *a = action(QString::fromUtf16(c.name)))
            a->setChecked(m_doc->wrap() == c.wrap);
    }
    bool ok = false;
    const int width = m_doc->text(Document::Value::Width, 0).trimmed().toInt(&ok);
    if (auto *preview = qobject_cast<PreviewEdit *>(m_txtPreView))
        preview->setRulerColumn(ok && width <= ReadmeComposer::kMaxLineWidth ? width : 0);
}

// Composes the preview afresh and checks what it shows: the findings' lines
// are the preview's lines.
void FrmMain::checkBeforeRelease()
{
    showPreview();
    const Project project = m_doc->project();
    const Result<Composition> composed = ReadmeComposer(project).composeLines();
    if (!composed.ok())
        return; // showPreview has said why
    const SiteProfiles::Loaded loaded = SiteProfiles::load(SiteProfiles::folders());
    if (!loaded.problems.isEmpty() && m_reportedProfileProblems != loaded.problems) {
        m_reportedProfileProblems = loaded.problems;
        m_messages->warning(
            u"読めないサイトの規則がありました。ほかの規則でチェックします。\n\n"_s +
            loaded.problems.join(u'\n'));
    }
    const QString name = project.checkProfile.isEmpty() ? QString::fromUtf16(SiteProfiles::kDefault)
                                                        : project.checkProfile;
    ReleaseCheck::Options options{project.widthText.trimmed().toInt(), {}, project.silenced, {}};
    for (const SiteProfile &p : loaded.profiles) {
        if (p.name == name)
            options.profiles.append(p);
    }
    if (!m_check) {
        m_check = new CheckDialog(this);
        connect(m_check, &CheckDialog::lineChosen, this, &FrmMain::goToPreviewLine);
        connect(m_check, &CheckDialog::silenced, this, [this](const QString &what) {
            m_doc->setSilenced(m_doc->silenced() + QStringList{what});
            checkBeforeRelease();
        });
        connect(m_check, &CheckDialog::profileChosen, this, [this](const QString &profile) {
            m_doc->setCheckProfile(profile == QString::fromUtf16(SiteProfiles::kDefault) ? QString()
                                                                                         : profile);
            checkBeforeRelease();
        });
    }
    m_check->showFindings(ReleaseCheck::check(project, composed.value(), options), loaded.profiles,
                          name);
    m_check->show();
    m_check->raise();
}

// Asks for the version, the date and the notes; the release is one step.
void FrmMain::newRelease()
{
    m_session->record();
    ReleaseDialog dialog(m_doc->project(), QDate::currentDate(), this);
    m_runDialog(dialog);
    if (dialog.result() != QDialog::Accepted || !dialog.plan())
        return;
    m_session->applyStep(dialog.plan()->project, u"新しい版"_s);
    if (!m_doc->previewText().isEmpty())
        showPreview();
}

// The credits table; with credits, the クレジット heading is listed too.
void FrmMain::editCredits()
{
    m_session->record();
    CreditsDialog dialog(m_doc->credits(), this);
    m_runDialog(dialog);
    if (dialog.result() != QDialog::Accepted || dialog.credits() == m_doc->credits())
        return;
    Project p = m_doc->project();
    p.credits = dialog.credits();
    const QString heading = QString::fromUtf16(ProjectRules::kCreditsHeading);
    if (!p.credits.isEmpty() && !ProjectRules::isListed(p, heading))
        ProjectRules::listHeading(p, heading);
    m_session->applyStep(p, u"クレジットの変更"_s);
    if (!m_doc->previewText().isEmpty())
        showPreview();
}

// Puts the caret on a line of the preview, at a column counted in bytes.
void FrmMain::goToPreviewLine(int line, int column)
{
    const QTextBlock block = m_txtPreView->document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    const QString text = block.text();
    qsizetype at = 0;
    for (int bytes = 0; at < text.size() && bytes + 1 < column; ++at)
        bytes += Cp932::byteWidth(QStringView(text).mid(at, 1));
    cursor.setPosition(block.position() + int(at));
    m_txtPreView->setTextCursor(cursor);
    m_txtPreView->centerCursor();
}
