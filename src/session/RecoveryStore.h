#pragma once

#include "platform/Result.h"
#include "project/Project.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

// Recovery files: the unsaved state of a running session, so that a crash or
// a power loss costs the author at most a few seconds of work. Each session
// writes its own file beside a lock it holds while it runs; a file whose lock
// no living process holds was left behind and is offered at start.
class RecoveryStore {
public:
    // What a recovery file gives back.
    struct State {
        QString path;    // the project's data file, or "" when untitled
        Project project; // with its texts
        QString preview; // preview text not yet taken into the project, or ""
        bool operator==(const State &other) const = default;
    };

    // A recovery file left behind by a session that no longer runs. Taking
    // it holds its lock, so no other starting window offers it as well.
    class Orphan {
    public:
        const QString &file() const { return m_file; }
        QDateTime written() const;
        // The state it holds, or why it cannot be read.
        Result<State> read() const;
        // Removes the file: restored, or discarded by the author.
        void remove();
        // Keeps the file under another name that is never offered again,
        // and says where it went.
        QString setAside();

    private:
        friend class RecoveryStore;
        QString m_file;
        std::shared_ptr<QLockFile> m_lock;
    };

    // dir: the folder of the recovery files, made when first written.
    explicit RecoveryStore(QString dir);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Writes this session's file safely; an old one stays whole on failure.
    Result<> write(const State &state);
    // Removes this session's file: saved, new, or closed cleanly.
    void remove();
    const QString &file() const { return m_file; }

    // Files of sessions that no longer run, newest first.
    std::vector<Orphan> orphans() const;

    // The bytes of a recovery file, and their reading.
    static QByteArray encode(const State &state);
    static Result<State> decode(const QByteArray &bytes);

private:
    bool lockOwn();

    QString m_dir;
    QString m_file;
    std::unique_ptr<QLockFile> m_lock;
};
