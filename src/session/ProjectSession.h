#pragma once

#include "datafile/DataFileReader.h"
#include "datafile/DataFileWriter.h"
#include "document/Document.h"
#include "readme/PreviewCapture.h"
#include "readme/ReadmeFile.h"
#include "readme/ReadmeImport.h"
#include "session/RecoveryStore.h"
#include "session/UndoHistory.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

// The one owner of a project as a file: the document, its data file, the
// history of its changes, the preview and what it was composed from, the
// recent files and the recovery file. The window and quillet-compose drive
// it; questions to the author stay with them, so every operation here
// returns a result and a report instead of asking.
class ProjectSession : public QObject {
    Q_OBJECT
public:
    explicit ProjectSession(QObject *parent = nullptr);
    ~ProjectSession() override;

    Document *document() const { return m_doc; }

    // ---- the file ----------------------------------------------------------
    // The data file last opened or saved, or "" while untitled.
    const QString &filePath() const { return m_path; }
    // The title's name for it: the file's name, or 無題.
    QString displayName() const;
    // Changes not in the data file: steps since the last save, and text of
    // the preview or the add box the project does not hold.
    bool isModified() const { return projectModified() || hasUnkeptText(); }
    // The project differs from its data file: steps since the last save,
    // or a change not yet recorded as one.
    bool projectModified() const;
    bool hasUnkeptText() const;

    void newProject(const Document::DropDowns &registered = {});
    // Opening is two steps, so that the caller can ask about a file that
    // reads only in part before adopting it.
    static Result<DataFileReader::Parsed> readDataFile(const QString &path);
    void adopt(const QString &path, const DataFileReader::Parsed &parsed,
               const Document::DropDowns &registered = {});
    // A template taken in as a new, untitled project, unmodified until changed.
    void startFrom(const DataFileReader::Parsed &parsed,
                   const Document::DropDowns &registered = {});
    // A README taken in as a new, untitled and modified project.
    Result<ReadmeImport::Imported> importReadme(const QString &path,
                                                const Document::DropDowns &registered = {});
    // What saving over path would lose: the unread rest of the file it was
    // opened from in part, or null.
    const DataFileReader::ReadReport *unreadPartAt(const QString &path) const;
    // Writes the data file; the project then has that file and is clean.
    Result<DataFileWriter::WriteReport> save(const QString &path);

    // Recent data files, newest first.
    QStringList recentFiles() const;
    void setKeepsRecentFiles(bool keeps) { m_keepsRecent = keeps; }
    static constexpr int kRecentCount = 8;

    // ---- the preview -----------------------------------------------------
    Result<> composePreview(const ReadmeComposer::EventPump &pump = {});
    // What the edited preview holds under the headings; nullopt when it
    // was not composed or is empty.
    std::optional<PreviewCapture::Captured> capturePreview() const;
    // Takes captured texts in; the preview counts as kept when every line
    // found a place.
    void takeCaptured(const PreviewCapture::Captured &captured);
    // Writes README text: the preview as it stands, or a new composition
    // (Markdown always composes). Gives the characters written as "?"; a
    // failure's reason is the message for the author.
    Result<QStringList> writeReadme(const QString &path, const ReadmeFile::Format &format,
                                    bool fromPreview, const ReadmeComposer::EventPump &pump = {});

    // ---- undo --------------------------------------------------------------
    // Records the changes made since the last step (the session does so by
    // itself once the event loop runs).
    void record();
    // Typing merges into one step until sealed (the focus left the field).
    void seal() { m_history.seal(); }
    // Puts a whole new state in place as one named step (a release, a
    // credits table edited in its dialog).
    void applyStep(const Project &state, const QString &name);
    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const { return m_history.canRedo(); }
    QString undoName() const { return m_history.undoName(); }
    QString redoName() const { return m_history.redoName(); }
    const UndoHistory &history() const { return m_history; }

    // ---- recovery ----------------------------------------------------------
    // Starts writing recovery files into dir a moment after each change.
    void enableRecovery(const QString &dir, int delayMs = 3000);
    RecoveryStore *recovery() const { return m_recovery.get(); }
    // Writes the recovery file now, or removes it when nothing is unsaved.
    void writeRecovery();
    // Puts a recovered state in place: modified, with its file name.
    void restoreRecovered(const RecoveryStore::State &state,
                          const Document::DropDowns &registered = {});

signals:
    // The file, the modified state or the history changed.
    void stateChanged();

private:
    void documentChanged();
    void restore(const Project &state);
    void startFresh(const QString &path);
    void takeIn(const Project &project, const Document::DropDowns &registered, const QString &path);
    void rememberRecent(const QString &path);

    Document *m_doc;
    QString m_path;
    // A data file opened although part of it could not be read.
    struct DamagedFile {
        QString path;
        DataFileReader::ReadReport report;
    };
    std::optional<DamagedFile> m_damaged;
    UndoHistory m_history;
    bool m_restoring = false;
    bool m_keepsRecent = true;
    bool m_recordPending = false;
    QString m_keptPreview;                    // the preview as last composed, opened or written
    std::optional<Composition> m_composition; // what the preview was filled with
    std::unique_ptr<RecoveryStore> m_recovery;
    QTimer m_recoveryTimer;
};
