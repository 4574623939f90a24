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

void FrmMain::markUnmodified()
{
    startHistory();
    m_savedText = DataFileWriter::text(m_doc->project());
    m_keptPreview = m_doc->previewText();
}

bool FrmMain::isModified() const
{
    return DataFileWriter::text(m_doc->project()) != m_savedText || hasUnkeptText();
}

// Text the data file does not keep: a preview edited by hand since it was
// composed or written, and a heading typed but not added.
bool FrmMain::hasUnkeptText() const
{
    return m_doc->previewText() != m_keptPreview || m_doc->hasUnaddedText();
}

// Asks before the document is replaced or closed; false means stop.
bool FrmMain::maybeSave()
{
    takeTextFromPreview(false); // what cannot be placed is asked about below
    if (DataFileWriter::text(m_doc->project()) != m_savedText) {
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
    if (!hasUnkeptText())
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
    m_doc->reset(EntryLists::readAll());
    m_damaged.reset();
    forgetPreviewComposition();
    markUnmodified();
    setCurrentFile(QString());
}

void FrmMain::openDocument()
{
    if (!maybeSave())
        return;
    FileDialogRequest request = dataFileRequest(u"ファイルを開く"_s, m_currentFile);
    request.mustExist = true;
    const QString path = m_dialogs->open(request);
    if (!path.isEmpty())
        openPath(path);
}

bool FrmMain::openPath(const QString &path)
{
    const Result<QByteArray> bytes = LineFile::readBytes(path);
    const Result<DataFileReader::Parsed> r =
        bytes.ok() ? DataFileReader::parse(bytes.value())
                   : Result<DataFileReader::Parsed>::failure(bytes.reason());
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
    m_doc->load(r->project);
    m_doc->setDropDowns(EntryLists::readAll());
    forgetPreviewComposition();
    markUnmodified();
    m_damaged.reset();
    if (!report.complete()) {
        m_damaged = DamagedFile{path, report};
        m_savedText.clear(); // what was read is not what the file holds
    }
    setCurrentFile(path);
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
    if (!m_damaged || QFileInfo(path) != QFileInfo(m_damaged->path))
        return true;
    const DataFileReader::ReadReport &r = m_damaged->report;
    return m_messages->question(
               UserTexts::overwriteDamaged(path, r.malformedLine, r.unreadLines, r.unreadSample),
               {{Messages::Answer::Cancel, u"キャンセル"_s},
                {Messages::Answer::Save, u"上書きして失う"_s}}) == Messages::Answer::Save;
}

// Saves to the project's file; a project without one is named first.
bool FrmMain::saveDocument()
{
    if (m_currentFile.isEmpty())
        return saveDocumentAs();
    return takeTextFromPreview(true) && writeDataFile(m_currentFile);
}

bool FrmMain::saveDocumentAs()
{
    if (!takeTextFromPreview(true))
        return false;
    FileDialogRequest request = dataFileRequest(u"名前を付けて保存"_s, m_currentFile);
    request.fileName =
        m_currentFile.isEmpty() ? u"readme.pwk"_s : QFileInfo(m_currentFile).fileName();
    request.confirmOverwrite = true;
    const QString path = m_dialogs->save(request);
    return !path.isEmpty() && writeDataFile(path);
}

bool FrmMain::writeDataFile(const QString &path)
{
    if (!mayOverwrite(path))
        return false;
    const Project snapshot = m_doc->project();
    const Result<DataFileWriter::WriteReport> r = DataFileWriter::write(path, snapshot);
    if (!r.ok()) {
        m_messages->warning(UserTexts::dataSaveFailed(r.reason()));
        return false;
    }
    m_savedText = DataFileWriter::text(snapshot);
    if (m_damaged && QFileInfo(path) == QFileInfo(m_damaged->path))
        m_damaged.reset();
    setCurrentFile(path);
    tellWritten(u"データ"_s, path);
    if (!r->notIntact.isEmpty())
        m_messages->warning(UserTexts::notIntact(r->notIntact));
    warnUnmappable(r->unmappable);
    return true;
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
