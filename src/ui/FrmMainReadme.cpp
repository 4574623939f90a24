#include "FrmMain.h"
#include "Services.h"
#include "WaitCursor.h"
#include "entrylists/EntryLists.h"
#include "platform/AppInfo.h"
#include "platform/LineFile.h"
#include "platform/UserTexts.h"
#include "readme/PreviewCapture.h"
#include "readme/ReadmeImport.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {
const QString kReadmeTypeKey = u"readme/fileType"_s;
}

// ---- the author's text in the preview ---------------------------------------

// Takes what the author wrote under the headings of the preview into the
// project. Lines no heading can hold are asked about when ask is set; false
// means the author chose to stop.
bool FrmMain::takeTextFromPreview(bool ask)
{
    const std::optional<PreviewCapture::Captured> c = m_session->capturePreview();
    if (!c)
        return true;
    if (!c->unplaced.isEmpty() && ask &&
        m_messages->question(UserTexts::unplacedText(c->unplaced),
                             {{Messages::Answer::Discard, u"取り込まずに続ける"_s},
                              {Messages::Answer::Cancel, u"キャンセル"_s}}) !=
            Messages::Answer::Discard)
        return false;
    m_session->takeCaptured(*c);
    return true;
}

// ---- Create menu ----------------------------------------------------------

void FrmMain::showPreview()
{
    if (!takeTextFromPreview(true))
        return;
    WaitCursor wait;
    const Result<> r = m_session->composePreview(paintOnly);
    wait.done();
    if (!r.ok())
        m_messages->warning(UserTexts::previewFailed(r.reason()));
}

std::optional<FrmMain::ReadmeTarget> FrmMain::chooseReadmeFile()
{
    using ReadmeFile::FileType;
    // The type last written is shown first; all files writes in it too.
    const QList<FileType> &types = ReadmeFile::fileTypes();
    const FileType *last = ReadmeFile::fileTypeOf(QSettings().value(kReadmeTypeKey).toString());
    if (!last || last->anyFile())
        last = &types.first();
    FileDialogRequest request;
    request.title = u"名前を付けて保存"_s;
    request.filters = ReadmeFile::filters();
    request.selectedFilter = last->filter;
    request.defaultSuffix = last->suffix;
    const QString &current = m_session->filePath();
    request.directory =
        current.isEmpty() ? AppInfo::dialogDirectory() : QFileInfo(current).absolutePath();
    request.fileName = u"README."_s + (last->suffix == u"txt" ? u"TXT"_s : last->suffix);
    request.confirmOverwrite = true;
    const QString path = m_dialogs->save(request);
    if (path.isEmpty())
        return std::nullopt;
    const FileType *chosen = ReadmeFile::fileTypeOf(request.selectedFilter);
    if (!chosen) {
        m_messages->warning(UserTexts::unknownFileType(request.selectedFilter));
        return std::nullopt;
    }
    if (chosen->anyFile())
        chosen = last;
    QSettings().setValue(kReadmeTypeKey, chosen->filter);
    return ReadmeTarget{ReadmeFile::pathFor(path, request.fileName), chosen->format};
}

bool FrmMain::writeReadme(const ReadmeTarget &target, bool fromPreview)
{
    WaitCursor wait;
    const Result<QStringList> written =
        m_session->writeReadme(target.path, target.format, fromPreview, paintOnly);
    wait.done();
    if (!written.ok()) {
        m_messages->warning(written.reason());
        return false;
    }
    tellWritten(QFileInfo(target.path).fileName(), target.path);
    warnUnmappable(written.value());
    return true;
}

void FrmMain::writeReadmeFromPreview()
{
    if (!takeTextFromPreview(true))
        return;
    if (const std::optional<ReadmeTarget> target = chooseReadmeFile())
        writeReadme(*target, true);
}

void FrmMain::composeAndWriteReadme()
{
    if (!takeTextFromPreview(true))
        return;
    if (const std::optional<ReadmeTarget> target = chooseReadmeFile())
        writeReadme(*target, false);
}

void FrmMain::warnUnmappable(const QStringList &chars)
{
    if (!chars.isEmpty())
        m_messages->warning(UserTexts::unmappable(chars));
}

// ---- import ---------------------------------------------------------------

void FrmMain::importReadme()
{
    if (!maybeSave())
        return;
    FileDialogRequest request;
    request.title = u"README.TXTを取り込む"_s;
    request.filters = {u"READMEファイル(*.txt *.TXT *.md)"_s, u"すべてのファイル(*.*)"_s};
    request.directory = AppInfo::dialogDirectory();
    request.mustExist = true;
    const QString path = m_dialogs->open(request);
    if (!path.isEmpty())
        importPath(path);
}

bool FrmMain::importPath(const QString &path)
{
    WaitCursor wait;
    const Result<ReadmeImport::Imported> r = m_session->importReadme(path, EntryLists::readAll());
    wait.done();
    if (!r.ok()) {
        m_messages->warning(UserTexts::importFailed(r.reason()));
        return false;
    }
    AppInfo::rememberFolderOf(path);
    setCurrentFile();
    statusBar()->showMessage(u"%1を取り込みました: %2"_s.arg(QFileInfo(path).fileName(),
                                                             QDir::toNativeSeparators(path)));
    if (!r->damagedLines.isEmpty())
        m_messages->warning(UserTexts::damagedLines(r->encoding, r->damagedLines));
    if (!r->unmappable.isEmpty())
        m_messages->warning(UserTexts::importUnmappable(r->unmappable));
    if (!r->whole)
        m_messages->information(UserTexts::importReport(path, r->encoding, int(r->mapped.size()),
                                                        int(r->keptAsIs.size())),
                                UserTexts::importDetails(r->mapped, r->keptAsIs));
    return true;
}
