#include "FrmMain.h"
#include "Services.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/AppInfo.h"
#include "platform/UserTexts.h"
#include "readme/ReadmeComposer.h"
#include "readme/ReadmeFile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
// The hourglass while a command works; restored however the command ends,
// or earlier by done(), before a message asks for the author's attention.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { done(); }
    void done()
    {
        if (std::exchange(m_on, false))
            QApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_on = true;
};

// Lets the window repaint during a long composition, but takes no input:
// the list must not change while the composer reads it.
void paintOnly()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

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
    m_savedText = DataFileWriter::text(m_doc->snapshot());
    m_keptPreview = m_doc->previewText();
}

bool FrmMain::isModified() const
{
    return DataFileWriter::text(m_doc->snapshot()) != m_savedText || hasUnkeptText();
}

// Text the data file does not keep: a preview edited by hand since it was
// composed or written, and a heading typed but not added.
bool FrmMain::hasUnkeptText() const
{
    return m_doc->previewText() != m_keptPreview || !m_doc->txtAdd().isEmpty();
}

// Asks before the document is replaced or closed; false means stop.
bool FrmMain::maybeSave()
{
    if (DataFileWriter::text(m_doc->snapshot()) != m_savedText) {
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
    return m_messages->question(u"プレビューで編集した文章と「項目名の追加」欄の文字はデータファイ"
                                u"ルに保存されません。"
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
    m_doc->reset();
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
    const Result<DataFileReader::ReadReport> r = DataFileReader::read(path, *m_doc);
    if (!r.ok()) {
        m_messages->warning(UserTexts::dataOpenFailed(r.reason()));
        return false;
    }
    markUnmodified();
    setCurrentFile(path);
    if (r->foreignEncoding)
        m_messages->warning(UserTexts::foreignEncoding(path));
    if (!r->complete())
        m_messages->warning(UserTexts::malformedLine(path, r->malformedLine, r->malformedReason));
    return true;
}

bool FrmMain::saveDocument()
{
    FileDialogRequest request = dataFileRequest(u"名前を付けて保存"_s, m_currentFile);
    request.fileName =
        m_currentFile.isEmpty() ? u"readme.pwk"_s : QFileInfo(m_currentFile).fileName();
    request.confirmOverwrite = true;
    const QString path = m_dialogs->save(request);
    if (path.isEmpty())
        return false;
    const DocumentSnapshot snapshot = m_doc->snapshot();
    const Result<DataFileWriter::WriteReport> r = DataFileWriter::write(path, snapshot);
    if (!r.ok()) {
        m_messages->warning(UserTexts::dataSaveFailed(r.reason()));
        return false;
    }
    m_savedText = DataFileWriter::text(snapshot);
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

// ---- Create menu ----------------------------------------------------------

void FrmMain::showPreview()
{
    WaitCursor wait;
    m_doc->setPreviewText(QString());
    ReadmeComposer composer(m_doc->snapshot());
    const Result<QString> r = composer.compose(paintOnly);
    wait.done();
    if (!r.ok()) {
        m_messages->warning(UserTexts::previewFailed(r.reason()));
        return;
    }
    m_doc->setPreviewText(r.value());
    m_keptPreview = r.value();
}

QString FrmMain::chooseReadmeFile()
{
    FileDialogRequest request;
    request.title = u"名前を付けて保存"_s;
    request.filters = {u"テキストファイル(*.txt)"_s, u"すべてのファイル(*.*)"_s};
    request.defaultSuffix = u"txt"_s;
    request.directory = m_currentFile.isEmpty() ? AppInfo::dialogDirectory()
                                                : QFileInfo(m_currentFile).absolutePath();
    request.fileName = u"README.TXT"_s;
    request.confirmOverwrite = true;
    return m_dialogs->save(request);
}

bool FrmMain::writeReadme(const QString &path, const QString &text)
{
    WaitCursor wait;
    QStringList unmappable;
    const Result<> written =
        ReadmeFile::write(path, text, ReadmeFile::Encoding::Cp932, &unmappable);
    wait.done();
    if (!written.ok()) {
        m_messages->warning(UserTexts::readmeWriteFailed(written.reason()));
        return false;
    }
    tellWritten(QFileInfo(path).fileName(), path);
    warnUnmappable(unmappable);
    return true;
}

void FrmMain::writeReadmeFromPreview()
{
    const QString path = chooseReadmeFile();
    if (path.isEmpty())
        return;
    const QString text = m_doc->previewText();
    if (writeReadme(path, text))
        m_keptPreview = text; // the hand edits are in README.TXT now
}

void FrmMain::composeAndWriteReadme()
{
    const QString path = chooseReadmeFile();
    if (path.isEmpty())
        return;
    WaitCursor wait;
    ReadmeComposer composer(m_doc->snapshot());
    const Result<QString> r = composer.compose(paintOnly);
    wait.done();
    if (!r.ok()) {
        m_messages->warning(UserTexts::readmeComposeFailed(r.reason()));
        return;
    }
    writeReadme(path, r.value());
}

void FrmMain::warnUnmappable(const QStringList &chars)
{
    if (!chars.isEmpty())
        m_messages->warning(UserTexts::unmappable(chars));
}
