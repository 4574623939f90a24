#include "FrmMain.h"
#include "Services.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "platform/AppInfo.h"
#include "platform/Cp932.h"
#include "platform/LineFile.h"
#include "readme/ReadmeComposer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
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

FileDialogRequest dataFileRequest(const QString &title)
{
    FileDialogRequest r;
    r.title = title;
    r.filters = {u"データファイル(*.pwk)"_s};
    r.defaultSuffix = u"pwk"_s;
    r.directory = AppInfo::applicationDirectory();
    return r;
}

const QString kCrLf = u"\r\n"_s;
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
        switch (m_messages->question(u"変更を保存しますか？"_s,
                                     {u"保存"_s, u"保存しない"_s, u"キャンセル"_s})) {
        case 0:
            if (!mnuSave_Click())
                return false;
            break;
        case 1:
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
                                {u"破棄して続ける"_s, u"キャンセル"_s}) == 0;
}

// ---- File menu ------------------------------------------------------------

void FrmMain::mnuNew_Click()
{
    if (!maybeSave())
        return;
    m_doc->New();
    markUnmodified();
}

void FrmMain::mnuOpen_Click()
{
    if (!maybeSave())
        return;
    FileDialogRequest request = dataFileRequest(u"ファイルを開く"_s);
    request.mustExist = true;
    const QString path = m_dialogs->open(request);
    if (path.isEmpty())
        return;
    const DataFileReader::Result r = DataFileReader::read(path, *m_doc);
    if (r.status == DataFileReader::Result::Unreadable) {
        m_messages->warning(u"データを開けませんでした: "_s + r.reason);
        return;
    }
    markUnmodified();
    if (r.foreignEncoding)
        m_messages->warning(
            u"%1 はシフトJISのテキストとして読めない部分があるため、文字化けしている可能性があります。"_s
                .arg(QDir::toNativeSeparators(path)));
    if (r.status == DataFileReader::Result::Malformed)
        m_messages->warning(
            u"%1 の %2 行目を読めませんでした: %3\nそれより前の行だけを読み込みました。"_s
                .arg(QDir::toNativeSeparators(path))
                .arg(r.line)
                .arg(r.reason));
}

bool FrmMain::mnuSave_Click()
{
    FileDialogRequest request = dataFileRequest(u"名前を付けて保存"_s);
    request.fileName = u"readme.pwk"_s;
    request.confirmOverwrite = true;
    const QString path = m_dialogs->save(request);
    if (path.isEmpty())
        return false;
    const DocumentSnapshot snapshot = m_doc->snapshot();
    const DataFileWriter::Result r = DataFileWriter::write(path, snapshot);
    if (!r.ok) {
        m_messages->warning(u"データを保存できませんでした: "_s + r.error);
        return false;
    }
    m_savedText = DataFileWriter::text(snapshot);
    if (!r.notIntact.isEmpty())
        m_messages->warning(
            u"次のテキストは「:=」か改行を含むため、開き直すと元どおりになりません:\n"_s +
            r.notIntact.join(u'\n'));
    warnUnmappable(r.unmappable);
    return true;
}

void FrmMain::mnuClose_Click()
{
    close();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

// ---- Create menu ----------------------------------------------------------

void FrmMain::mnuPreview_Click()
{
    WaitCursor wait;
    m_doc->setPreviewText(QString());
    ReadmeComposer composer(m_doc->snapshot());
    const ReadmeComposer::Result r = composer.BuildReadme(paintOnly);
    wait.done();
    if (!r.ok) {
        m_messages->warning(u"プレビューを作成できませんでした: "_s + r.error);
        return;
    }
    m_doc->setPreviewText(r.text);
    m_keptPreview = r.text;
}

QString FrmMain::chooseReadmeFile()
{
    FileDialogRequest request;
    request.title = u"名前を付けて保存"_s;
    request.filters = {u"テキストファイル(*.txt)"_s, u"すべてのファイル(*.*)"_s};
    request.defaultSuffix = u"txt"_s;
    request.directory = AppInfo::applicationDirectory();
    request.fileName = u"README.TXT"_s;
    request.confirmOverwrite = true;
    return m_dialogs->save(request);
}

bool FrmMain::writeReadme(const QString &path, const QString &text)
{
    WaitCursor wait;
    QStringList unmappable;
    const QByteArray bytes = Cp932::encode(text + kCrLf, &unmappable);
    QString error;
    const bool written = LineFile::writeBytes(path, bytes, &error);
    wait.done();
    if (!written) {
        m_messages->warning(u"README.TXTを書き込めませんでした: "_s + error);
        return false;
    }
    warnUnmappable(unmappable);
    return true;
}

void FrmMain::mnuPreReadme_Click()
{
    const QString path = chooseReadmeFile();
    if (path.isEmpty())
        return;
    const QString text = m_doc->previewText();
    if (writeReadme(path, text))
        m_keptPreview = text; // the hand edits are in README.TXT now
}

void FrmMain::mnuReadme_Click()
{
    const QString path = chooseReadmeFile();
    if (path.isEmpty())
        return;
    WaitCursor wait;
    ReadmeComposer composer(m_doc->snapshot());
    const ReadmeComposer::Result r = composer.BuildReadme(paintOnly);
    wait.done();
    if (!r.ok) {
        m_messages->warning(u"README.TXTを作成できませんでした: "_s + r.error);
        return;
    }
    writeReadme(path, r.text);
}

void FrmMain::warnUnmappable(const QStringList &chars)
{
    if (!chars.isEmpty())
        m_messages->warning(
            u"次の文字はシフトJISで表せないため「?」に置き換えて書き込みました: "_s +
            chars.join(u' '));
}
