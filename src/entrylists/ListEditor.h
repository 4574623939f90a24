#pragma once

#include "EntryLists.h"

#include <QObject>
#include <QStringList>

// The rules of the registered-entry list editor, without widgets: its list
// with one selected entry, its text box, the enabling of the register and
// delete buttons, the five commands and the keys. The dialog binds to it.
class ListEditor : public QObject {
    Q_OBJECT
public:
    enum class Key { Insert, Delete, Escape, Other };
    // The buttons that change the list, left to right.
    enum class Command { Register, Delete, ClearAll, Revert };

    explicit ListEditor(QObject *parent = nullptr);

    // The caption names the list file (listPath).
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }

    // Fills the list from the list file behind caption, as appendListFile
    // would, and remembers the file as it was.
    void open(const QString &caption);
    // The list file does not read as code page 932 text (UTF-8, say).
    bool fileLooksForeign() const { return m_foreign; }
    // Why the list file exists but could not be read ("" when it was read or
    // is missing). Such a list is never written: that would replace the
    // author's entries by what the editor happened to show.
    const QString &readError() const { return m_readError; }
    // The entries differ from what the file held when the editor opened.
    bool isChanged() const { return m_entries != m_openedEntries; }

    const QStringList &entries() const { return m_entries; }
    // Appends the lines of a list file (appendListFile) or any entries.
    void appendEntries(const QStringList &entries);
    int selected() const { return m_selected; }
    const QString &text() const { return m_text; }
    bool registerEnabled() const { return m_registerEnabled; }
    // Once an entry was selected, and while there is one to delete.
    bool deleteEnabled() const { return m_deleteEnabled && !m_entries.isEmpty(); }

    // User input.
    void setText(const QString &text); // each edit of the entry box
    void clickEntry(int index);        // a click selects, then enableDeleteOnSelection
    void run(Command command);
    void textKey(Key key);
    void listKey(Key key);
    void buttonKey(Key key) { textKey(key); }

    // The list save of every close; the old file stays whole on failure.
    // A list left as it was opened is not rewritten nor, when there was no
    // file, created (written stays false),
    // so a file in another encoding or with other line ends stays byte for
    // byte as it was. A list that could not be read is refused.
    Result<EntryLists::ListSaved> save() const;

signals:
    void changed();

private:
    void enableDeleteOnSelection();
    void select(int index);
    void revert();

    QString m_caption;
    QStringList m_entries;
    int m_selected = -1;
    QString m_text;
    bool m_registerEnabled = false;
    bool m_deleteEnabled = false;
    bool m_opened = false;
    bool m_foreign = false;
    QString m_readError;
    QStringList m_openedEntries;
    QByteArray m_openedBytes;
};
