#pragma once

#include "check/SiteProfile.h"
#include "datafile/DataFileReader.h"
#include "document/Document.h"
#include "entrylists/EntryLists.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary application directory for the duration of a test. Its name
// holds Japanese characters, as authors' folders often do: every file the
// tests read and write goes through such a path.
class TempAppDir {
public:
    TempAppDir();
    ~TempAppDir();
    TempAppDir(const TempAppDir &) = delete;
    TempAppDir &operator=(const TempAppDir &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Writes raw bytes to a file in the directory.
    void write(const QString &name, const QByteArray &bytes) const;
    // Writes lines encoded in code page 932, each followed by CR LF.
    void writeLines(const QString &name, const QStringList &lines) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
    static QString pathTemplate();
};

// Settings in a folder of their own, empty at first, for the life of the object.
class TempSettings {
public:
    TempSettings();

private:
    QTemporaryDir m_dir;
};

// Makes a directory read-only for the life of the guard, also for root (by
// the immutable flag). effective() says whether writes now really fail.
// A read-only folder a test needs. On Linux the guard always takes effect
// (root included, by the immutable flag); elsewhere, as under wine run by
// root, it may not, and the test is skipped.
#ifdef Q_OS_LINUX
#define QUILLET_REQUIRE_READ_ONLY(guard) QVERIFY((guard).effective())
#else
#define QUILLET_REQUIRE_READ_ONLY(guard)                                                           \
    do {                                                                                           \
        if (!(guard).effective())                                                                  \
            QSKIP("no folder can be made read-only for this user here");                           \
    } while (false)
#endif

class ReadOnlyDir {
public:
    explicit ReadOnlyDir(const QString &path);
    ~ReadOnlyDir();
    ReadOnlyDir(const ReadOnlyDir &) = delete;
    ReadOnlyDir &operator=(const ReadOnlyDir &) = delete;
    bool effective() const { return m_effective; }

private:
    QString m_path;
    bool m_effective = false;
    bool m_immutable = false;
};

class ItemList;
// Item lists written as words, a star marking a selected entry: "A B* C".
void loadItemList(ItemList &list, const QString &words);
QString dumpItemList(const ItemList &list);

QByteArray readFileBytes(const QString &path);
// The site profile of that name in a folder, alone, or none.
QList<SiteProfile> profileNamed(const QString &folder, const QString &name);
QString testDataPath(const QString &name);

// A data file's lines or file opened into a document, as Open does.
DataFileReader::ReadReport openLines(Document &doc, const QStringList &lines);
Result<DataFileReader::ReadReport> openFile(Document &doc, const QString &path);
