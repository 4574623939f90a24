// Starting a project from a template, and keeping one's own as a template.
#include "FrmMain.h"
#include "Services.h"
#include "TemplateDialog.h"
#include "entrylists/EntryLists.h"
#include "platform/UserTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QStatusBar>

using namespace Qt::StringLiterals;

void FrmMain::newFromTemplate()
{
    if (!maybeSave())
        return;
    TemplateDialog dialog(Templates::list(Templates::folders(), Templates::ownFolder()), this);
    m_runDialog(dialog);
    const std::optional<Templates::Template> t = dialog.chosen();
    if (dialog.result() != QDialog::Accepted || !t)
        return;
    const Result<DataFileReader::Parsed> r = ProjectSession::readDataFile(t->path);
    if (!r.ok())
        return m_messages->warning(UserTexts::dataOpenFailed(r.reason()));
    if (const DataFileReader::ReadReport &report = r->report; !report.complete())
        return m_messages->warning(
            UserTexts::malformedLine(t->path, report.malformedLine, report.malformedReason));
    m_session->startFrom(r.value(), EntryLists::readAll());
    setCurrentFile();
}

void FrmMain::saveAsTemplate()
{
    takeTextFromPreview(false);
    QInputDialog ask(this);
    ask.setObjectName(u"frmTemplateName"_s);
    ask.setWindowTitle(u"テンプレートとして保存"_s);
    ask.setLabelText(u"テンプレートの名前:"_s);
    ask.setOkButtonText(u"保存"_s);
    ask.setCancelButtonText(u"キャンセル"_s);
    ask.setTextValue(m_session->filePath().isEmpty()
                         ? QString()
                         : QFileInfo(m_session->filePath()).completeBaseName());
    m_runDialog(ask);
    if (ask.result() != QDialog::Accepted)
        return;
    const QString name = ask.textValue().trimmed();
    if (const Result<> ok = Templates::checkName(name); !ok.ok())
        return m_messages->warning(ok.reason());
    const QString folder = Templates::ownFolder();
    if (QFileInfo::exists(QDir(folder).filePath(name + u".pwk"_s)) &&
        m_messages->question(u"テンプレート「%1」はすでにあります。置き換えますか？"_s.arg(name),
                             {{Messages::Answer::Proceed, u"置き換える"_s},
                              {Messages::Answer::Cancel, u"キャンセル"_s}}) !=
            Messages::Answer::Proceed)
        return;
    const Result<QString> saved = Templates::save(m_doc->project(), name, folder);
    if (!saved.ok())
        return m_messages->warning(UserTexts::dataSaveFailed(saved.reason()));
    statusBar()->showMessage(u"テンプレート「%1」を保存しました（%2）"_s.arg(
                                 name, QDir::toNativeSeparators(saved.value())),
                             5000);
}
