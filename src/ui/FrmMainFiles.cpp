#include "FrmMain.h"
#include "Services.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "entrylists/EntryLists.h"
#include "platform/AppInfo.h"
#include "platform/LineFile.h"
#include "platform/UserTexts.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {
// The folder of the file in use, or the application directory.
FileDialogRequest dataFileRequest(const QString &title, const QString &current)
{
    FileDialogRequest r;
    r.title = title;
    r.filters = {u"データファイル(*.pwk)"_s};
    r.defaultSuffix = u"pwk"_s;
    r.directory =
        current.isEmpty() ? AppInfo::dialogDirectory() : QFileInfo(current).absolutePath();
    return r;
}

} // namespace

// ---- unsaved changes ------------------------------------------------------

bool FrmMain::isModified() const
{
    return m_session->isModified();
}

// Asks before the document is replaced or closed; false means stop.
bool FrmMain::maybeSave()
{
    takeTextFromPreview(false); // what cannot be placed is asked about below
    if (m_session->projectModified()) {
        using Answer = Messages::Answer;
        switch (
            m_messages->question(u"変更を保存しますか？"_s, {{Answer::Save, u"保存"_s},
                                                             {Answer::Discard, u"保存しない"_s},
                                                             {Answer::Cancel, u"キャンセル"_s}})) {
        case Answer::Save:
            if (!saveDocument())
                return false;
            break;
        case Answer::Discard:
            break;
        default:
            return false;
        }
    }
    if (!m_session->hasUnkeptText())
        return true;
    return m_messages->question(u"プレビューのうち見出しの下に置けない行と、「項目名の追加」欄の"
                                u"文字はデータファイルに保存されません。"
                                "破棄して続けますか？"_s,
                                {{Messages::Answer::Discard, u"破棄して続ける"_s},
                                 {Messages::Answer::Cancel, u"キャンセル"_s}}) ==
           Messages::Answer::Discard;
}

// ---- File menu ------------------------------------------------------------

void FrmMain::newDocument()
{
    if (!maybeSave())
        return;
    m_session->newProject(EntryLists::readAll());
    setCurrentFile();
}

void FrmMain::openDocument()
{
    if (!maybeSave())
        return;
    FileDialogRequest request = dataFileRequest(u"ファイルを開く"_s, m_session->filePath());
    request.mustExist = true;
    const QString path = m_dialogs->open(request);
    if (!path.isEmpty())
        openPath(path);
}

bool FrmMain::openPath(const QString &path)
{
    const Result<DataFileReader::Parsed> r = ProjectSession::readDataFile(path);
    if (!r.ok()) {
        m_messages->warning(UserTexts::dataOpenFailed(r.reason()));
        return false;
    }
    const DataFileReader::ReadReport &report = r->report;
    if (!report.complete() &&
        m_messages->question(UserTexts::openDamaged(path, report.malformedLine,
                                                    report.malformedReason, report.unreadLines),
                             {{Messages::Answer::Proceed, u"読めた部分を開く"_s},
                              {Messages::Answer::Cancel, u"キャンセル"_s}}) !=
            Messages::Answer::Proceed)
        return false;
    m_session->adopt(path, r.value(), EntryLists::readAll());
    AppInfo::rememberFolderOf(path);
    setCurrentFile();
    statusBar()->showMessage(u"データを開きました: %1"_s.arg(QDir::toNativeSeparators(path)));
    askAboutUnlistedTexts();
    if (report.foreignEncoding)
        m_messages->warning(UserTexts::foreignEncoding(path));
    return true;
}

// Texts under headings no longer listed are shown once; dropping them is a
// change the author can undo.
void FrmMain::askAboutUnlistedTexts()
{
    const QStringList headings = m_doc->unlistedTextHeadings();
    if (!headings.isEmpty() && m_messages->question(UserTexts::unlistedTexts(headings),
                                                    {{Messages::Answer::Proceed, u"残す"_s},
                                                     {Messages::Answer::Discard, u"削除する"_s}}) ==
                                   Messages::Answer::Discard)
        m_doc->dropUnlistedTexts();
}

// Saving over a file that was opened only in part loses its unread lines.
bool FrmMain::mayOverwrite(const QString &path)
{
    const DataFileReader::ReadReport *r = m_session->unreadPartAt(path);
    if (!r)
        return true;
    return m_messages->question(
               UserTexts::overwriteDamaged(path, r->malformedLine, r->unreadLines, r->unreadSample),
               {{Messages::Answer::Cancel, u"キャンセル"_s},
                {Messages::Answer::Save, u"上書きして失う"_s}}) == Messages::Answer::Save;
}

// Saves to the project's file; a project without one is named first.
bool FrmMain::saveDocument()
{
    if (m_session->filePath().isEmpty())
        return saveDocumentAs();
    return takeTextFromPreview(true) && writeDataFile(m_session->filePath());
}

bool FrmMain::saveDocumentAs()
{
    if (!takeTextFromPreview(true))
        return false;
    const QString &current = m_session->filePath();
    FileDialogRequest request = dataFileRequest(u"名前を付けて保存"_s, current);
    request.fileName = current.isEmpty() ? u"readme.pwk"_s : QFileInfo(current).fileName();
    request.confirmOverwrite = true;
    const QString path = m_dialogs->save(request);
    return !path.isEmpty() && writeDataFile(path);
}

bool FrmMain::writeDataFile(const QString &path)
{
    if (!mayOverwrite(path))
        return false;
    const Result<DataFileWriter::WriteReport> r = m_session->save(path);
    if (!r.ok()) {
        m_messages->warning(UserTexts::dataSaveFailed(r.reason()));
        return false;
    }
    setCurrentFile();
    tellWritten(u"データ"_s, path);
    if (!r->notIntact.isEmpty())
        m_messages->warning(UserTexts::notIntact(r->notIntact));
    warnUnmappable(r->unmappable);
    return true;
}

// ---- recovery -------------------------------------------------------------

void FrmMain::startRecovery(const QString &dir)
{
    m_session->enableRecovery(dir);
    for (RecoveryStore::Orphan &orphan : m_session->recovery()->orphans()) {
        const Result<RecoveryStore::State> state = orphan.read();
        if (!state.ok()) {
            const QString keptAs = orphan.setAside();
            m_messages->warning(UserTexts::recoveryUnreadable(keptAs, state.reason()));
            continue;
        }
        const Messages::Answer answer =
            m_messages->question(UserTexts::recoveryFound(state->path, orphan.written()),
                                 {{Messages::Answer::Proceed, u"復元する"_s},
                                  {Messages::Answer::Discard, u"破棄する"_s},
                                  {Messages::Answer::Cancel, u"後で"_s}});
        if (answer == Messages::Answer::Discard) {
            orphan.remove();
        } else if (answer == Messages::Answer::Proceed) {
            m_session->restoreRecovered(state.value(), EntryLists::readAll());
            orphan.remove(); // the session keeps its own copy now
            setCurrentFile();
            return; // one window restores one project; the rest wait
        }
    }
}

void FrmMain::closeWindow()
{
    close();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    savePlace();
    event->accept();
}
