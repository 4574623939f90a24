#include "ProjectSession.h"

#include "platform/LineFile.h"
#include "platform/UserTexts.h"

#include <QFileInfo>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {
const QString kRecentKey = u"recentFiles"_s;
}

ProjectSession::ProjectSession(QObject *parent) : QObject(parent), m_doc(new Document(this))
{
    m_recoveryTimer.setSingleShot(true);
    connect(&m_recoveryTimer, &QTimer::timeout, this, &ProjectSession::writeRecovery);
    connect(m_doc, &Document::changed, this, &ProjectSession::documentChanged);
    ItemList *items = m_doc->items();
    connect(items, &QAbstractItemModel::modelReset, this, &ProjectSession::documentChanged);
    connect(items, &QAbstractItemModel::rowsInserted, this, &ProjectSession::documentChanged);
    connect(items, &QAbstractItemModel::rowsRemoved, this, &ProjectSession::documentChanged);
    connect(items, &QAbstractItemModel::dataChanged, this, &ProjectSession::documentChanged);
    m_history.reset(m_doc->project());
}

// A session that ends in order leaves nothing to recover: its author saved,
// or chose not to.
ProjectSession::~ProjectSession()
{
    if (m_recovery)
        m_recovery->remove();
}

QString ProjectSession::displayName() const
{
    return m_path.isEmpty() ? u"無題"_s : QFileInfo(m_path).fileName();
}

bool ProjectSession::projectModified() const
{
    return !m_history.isClean(m_doc->project());
}

bool ProjectSession::hasUnkeptText() const
{
    return m_doc->previewText() != m_keptPreview || m_doc->hasUnaddedText();
}

// ---- changes and their steps -------------------------------------------------

// Many edits come in a row (a rule sets several controls); they become one
// step once they stop.
void ProjectSession::documentChanged()
{
    if (m_restoring)
        return;
    if (m_recovery)
        m_recoveryTimer.start();
    if (!m_recordPending) {
        m_recordPending = true;
        QTimer::singleShot(0, this, [this] {
            if (m_recordPending)
                record();
        });
    }
    emit stateChanged();
}

void ProjectSession::record()
{
    m_recordPending = false;
    if (m_restoring)
        return;
    if (m_history.record(m_doc->project()))
        emit stateChanged();
}

void ProjectSession::applyStep(const Project &state, const QString &name)
{
    record();
    restore(state);
    if (m_history.record(m_doc->project(), name))
        emit stateChanged();
}

bool ProjectSession::canUndo() const
{
    return m_history.canUndo() || m_history.current() != m_doc->project();
}

void ProjectSession::undo()
{
    record();
    if (m_history.canUndo())
        restore(m_history.undo());
}

void ProjectSession::redo()
{
    record();
    if (m_history.canRedo())
        restore(m_history.redo());
}

void ProjectSession::restore(const Project &state)
{
    // The preview of another language must not be taken into this one.
    const bool otherLanguage = m_doc->languages().viewing != state.languages.viewing;
    m_restoring = true;
    m_doc->restore(state);
    m_restoring = false;
    if (otherLanguage && !m_doc->previewText().isEmpty())
        (void)composePreview();
    if (m_recovery)
        m_recoveryTimer.start();
    emit stateChanged();
}

// New, Open and Import: a fresh history, and a preview composed from nothing.
void ProjectSession::startFresh(const QString &path)
{
    m_recordPending = false;
    m_history.reset(m_doc->project());
    m_composition.reset();
    m_keptPreview = m_doc->previewText();
    m_damaged.reset();
    m_path = path;
    if (m_recovery)
        m_recovery->remove();
    emit stateChanged();
}

// ---- the file ------------------------------------------------------------------

void ProjectSession::newProject(const Document::DropDowns &registered)
{
    m_restoring = true;
    m_doc->reset(registered);
    m_restoring = false;
    startFresh(QString());
}

Result<DataFileReader::Parsed> ProjectSession::readDataFile(const QString &path)
{
    const Result<QByteArray> bytes = LineFile::readBytes(path);
    if (!bytes.ok())
        return Result<DataFileReader::Parsed>::failure(bytes.reason());
    return DataFileReader::parse(bytes.value());
}

void ProjectSession::adopt(const QString &path, const DataFileReader::Parsed &parsed,
                           const Document::DropDowns &registered)
{
    takeIn(parsed.project, registered, path);
    rememberRecent(path);
    if (!parsed.report.complete()) {
        // What was read is not what the file holds.
        m_damaged = DamagedFile{path, parsed.report};
        m_history.markNeverClean();
    }
}

// A project read, imported, recovered or started from a template, in place
// of the last one, with a fresh history.
void ProjectSession::takeIn(const Project &project, const Document::DropDowns &registered,
                            const QString &path)
{
    m_restoring = true;
    m_doc->load(project);
    m_doc->setDropDowns(registered);
    m_restoring = false;
    startFresh(path);
}

void ProjectSession::startFrom(const DataFileReader::Parsed &parsed,
                               const Document::DropDowns &registered)
{
    takeIn(parsed.project, registered, QString());
}

Result<ReadmeImport::Imported> ProjectSession::importReadme(const QString &path,
                                                            const Document::DropDowns &registered)
{
    Result<ReadmeImport::Imported> r = ReadmeImport::read(path);
    if (!r.ok())
        return r;
    takeIn(r->doc, registered, QString());
    m_history.markNeverClean(); // a project not yet saved anywhere
    return r;
}

const DataFileReader::ReadReport *ProjectSession::unreadPartAt(const QString &path) const
{
    if (!m_damaged || QFileInfo(path) != QFileInfo(m_damaged->path))
        return nullptr;
    return &m_damaged->report;
}

Result<DataFileWriter::WriteReport> ProjectSession::save(const QString &path)
{
    record();
    Result<DataFileWriter::WriteReport> r = DataFileWriter::write(path, m_doc->project());
    if (!r.ok())
        return r;
    if (unreadPartAt(path))
        m_damaged.reset();
    m_history.markClean();
    m_path = path;
    rememberRecent(path);
    if (m_recovery && !hasUnkeptText())
        m_recovery->remove();
    emit stateChanged();
    return r;
}

QStringList ProjectSession::recentFiles() const
{
    return QSettings().value(kRecentKey).toStringList();
}

void ProjectSession::rememberRecent(const QString &path)
{
    if (!m_keepsRecent)
        return;
    QSettings settings;
    QStringList recent = settings.value(kRecentKey).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentCount)
        recent.removeLast();
    settings.setValue(kRecentKey, recent);
}

// ---- the preview ---------------------------------------------------------------

Result<> ProjectSession::composePreview(const ReadmeComposer::EventPump &pump)
{
    m_doc->setPreviewText(QString());
    m_composition.reset();
    ReadmeComposer composer(m_doc->project());
    Result<Composition> r = composer.composeLines(pump);
    if (!r.ok())
        return Result<>::failure(r.reason());
    m_keptPreview = r->text;
    m_doc->setPreviewText(r->text);
    m_composition = std::move(r.value());
    emit stateChanged();
    return {};
}

std::optional<PreviewCapture::Captured> ProjectSession::capturePreview() const
{
    const QString &preview = m_doc->previewText();
    if (!m_composition || preview.isEmpty())
        return std::nullopt;
    return PreviewCapture::capture(*m_composition, LineFile::splitLines(preview), m_doc->texts());
}

void ProjectSession::takeCaptured(const PreviewCapture::Captured &captured)
{
    m_doc->setTexts(captured.texts);
    if (captured.unplaced.isEmpty())
        m_keptPreview = m_doc->previewText(); // all of it is in the project now
    emit stateChanged();
}

Result<QStringList> ProjectSession::writeReadme(const QString &path,
                                                const ReadmeFile::Format &format, bool fromPreview,
                                                const ReadmeComposer::EventPump &pump)
{
    // Markdown is made from a composition, not from hand-laid text.
    const bool composes = !fromPreview || format.content == ReadmeFile::Format::Content::Markdown;
    QString text = m_doc->previewText();
    const Project snapshot = m_doc->project();
    if (composes) {
        ReadmeComposer composer(snapshot);
        const Result<Composition> r = composer.composeLines(pump);
        if (!r.ok())
            return Result<QStringList>::failure(UserTexts::readmeComposeFailed(r.reason()));
        text = ReadmeFile::text(r.value(), snapshot, format);
    }
    QStringList unmappable;
    if (const Result<> w = ReadmeFile::write(path, text, format, &unmappable); !w.ok())
        return Result<QStringList>::failure(UserTexts::readmeWriteFailed(w.reason()));
    if (!composes) {
        m_keptPreview = text; // the hand edits are in the README now
        emit stateChanged();
    }
    return unmappable;
}

// ---- recovery ------------------------------------------------------------------

void ProjectSession::enableRecovery(const QString &dir, int delayMs)
{
    m_recovery = std::make_unique<RecoveryStore>(dir);
    m_recoveryTimer.setInterval(delayMs);
}

void ProjectSession::writeRecovery()
{
    if (!m_recovery)
        return;
    record();
    if (!isModified()) {
        m_recovery->remove();
        return;
    }
    const QString preview =
        m_doc->previewText() != m_keptPreview ? m_doc->previewText() : QString();
    // A failed write keeps the last one; the next change tries again.
    (void)m_recovery->write({m_path, m_doc->project(), preview});
}

void ProjectSession::restoreRecovered(const RecoveryStore::State &state,
                                      const Document::DropDowns &registered)
{
    takeIn(state.project, registered, state.path);
    m_history.markNeverClean();
    if (!state.preview.isEmpty()) {
        // Composed again, the preview is taken in as if edited by hand.
        if (composePreview().ok())
            m_doc->setPreviewText(state.preview);
    }
    writeRecovery(); // ours now, before the orphan is removed
    emit stateChanged();
}
