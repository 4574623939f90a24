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
// document. Lines no heading can hold are asked about when ask is set;
// false means the author chose to stop.
bool FrmMain::takeTextFromPreview(bool ask)
{
    const QString &preview = m_doc->previewText();
    if (!m_previewComposition || preview.isEmpty())
        return true;
    const PreviewCapture::Captured c = PreviewCapture::capture(
        *m_previewComposition, LineFile::splitLines(preview), m_doc->texts());
    if (!c.unplaced.isEmpty() && ask &&
        m_messages->question(UserTexts::unplacedText(c.unplaced),
                             {{Messages::Answer::Discard, u"取り込まずに続ける"_s},
                              {Messages::Answer::Cancel, u"キャンセル"_s}}) !=
            Messages::Answer::Discard)
        return false;
    m_doc->setTexts(c.texts);
    if (c.unplaced.isEmpty())
        m_keptPreview = preview; // all of it is in the document now
    return true;
}

void FrmMain::forgetPreviewComposition()
{
    m_previewComposition.reset();
}

// ---- Create menu ----------------------------------------------------------

void FrmMain::showPreview()
{
    if (!takeTextFromPreview(true))
        return;
    WaitCursor wait;
    m_doc->setPreviewText(QString());
    m_previewComposition.reset();
    ReadmeComposer composer(m_doc->project());
    Result<Composition> r = composer.composeLines(paintOnly);
    wait.done();
    if (!r.ok()) {
        m_messages->warning(UserTexts::previewFailed(r.reason()));
        return;
    }
    const QString text = r->text;
    m_doc->setPreviewText(text);
    m_keptPreview = text;
    m_previewComposition = std::move(r.value());
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
    request.directory = m_currentFile.isEmpty() ? AppInfo::dialogDirectory()
                                                : QFileInfo(m_currentFile).absolutePath();
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

bool FrmMain::writeReadme(const ReadmeTarget &target, const QString &text)
{
    WaitCursor wait;
    QStringList unmappable;
    const Result<> written = ReadmeFile::write(target.path, text, target.format, &unmappable);
    wait.done();
    if (!written.ok()) {
        m_messages->warning(UserTexts::readmeWriteFailed(written.reason()));
        return false;
    }
    tellWritten(QFileInfo(target.path).fileName(), target.path);
    warnUnmappable(unmappable);
    return true;
}

void FrmMain::writeReadmeFromPreview()
{
    if (!takeTextFromPreview(true))
        return;
    const std::optional<ReadmeTarget> target = chooseReadmeFile();
    if (!target)
        return;
    // Markdown is made from a composition, not from hand-laid text.
    if (target->format.content == ReadmeFile::Format::Content::Markdown)
        return composeAndWrite(*target);
    const QString text = m_doc->previewText();
    if (writeReadme(*target, text))
        m_keptPreview = text; // the hand edits are in README.TXT now
}

void FrmMain::composeAndWriteReadme()
{
    if (!takeTextFromPreview(true))
        return;
    if (const std::optional<ReadmeTarget> target = chooseReadmeFile())
        composeAndWrite(*target);
}

void FrmMain::composeAndWrite(const ReadmeTarget &target)
{
    WaitCursor wait;
    const Project snapshot = m_doc->project();
    ReadmeComposer composer(snapshot);
    const Result<Composition> r = composer.composeLines(paintOnly);
    wait.done();
    if (!r.ok()) {
        m_messages->warning(UserTexts::readmeComposeFailed(r.reason()));
        return;
    }
    writeReadme(target, ReadmeFile::text(r.value(), snapshot, target.format));
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
    const Result<ReadmeImport::Imported> r = ReadmeImport::read(path);
    wait.done();
    if (!r.ok()) {
        m_messages->warning(UserTexts::importFailed(r.reason()));
        return false;
    }
    m_doc->load(r->doc);
    m_doc->setDropDowns(EntryLists::readAll());
    m_damaged.reset();
    forgetPreviewComposition();
    markUnmodified();
    m_savedText.clear(); // a project not yet saved anywhere
    AppInfo::rememberFolderOf(path);
    setCurrentFile(QString());
    statusBar()->showMessage(u"%1を取り込みました: %2"_s.arg(QFileInfo(path).fileName(),
                                                             QDir::toNativeSeparators(path)));
    if (!r->whole)
        m_messages->information(UserTexts::importReport(path, r->mapped, r->keptAsIs));
    return true;
}
