// Breaking lines at the width, the line in the preview that shows it, and
// the check before release.
#include "FrmMain.h"
#include "PreviewEdit.h"
#include "readme/ReadmeComposer.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

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
