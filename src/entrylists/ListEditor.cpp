#include "ListEditor.h"

#include "platform/Cp932.h"
#include "platform/LineFile.h"

#include <QFileInfo>

ListEditor::ListEditor(QObject *parent) : QObject(parent) {}

void ListEditor::open(const QString &caption)
{
    m_caption = caption;
    const QString path = EntryLists::listPath(caption);
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path))
        return; // a missing list starts empty; the first entry creates it
    const Result<QByteArray> read = LineFile::readBytes(path);
    m_readError = read.reason();
    if (read.ok()) {
        const QByteArray &bytes = read.value();
        m_opened = true;
        m_openedBytes = bytes;
        m_foreign = Cp932::looksLikeOtherEncoding(bytes);
        m_openedEntries = LineFile::splitLines(Cp932::decode(bytes));
        appendEntries(m_openedEntries);
    }
}

void ListEditor::appendEntries(const QStringList &entries)
{
    m_entries += entries;
    emit changed();
}

void ListEditor::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    m_registerEnabled = !m_text.isEmpty();
    emit changed();
}

// Selecting from the program runs the click rule as a user's click does.
void ListEditor::select(int index)
{
    m_selected = index;
    enableDeleteOnSelection();
}

void ListEditor::clickEntry(int index)
{
    if (index >= 0 && index < m_entries.size())
        select(index);
}

// Enables the delete button once an entry is selected; never disables it.
void ListEditor::enableDeleteOnSelection()
{
    if (m_selected >= 0)
        m_deleteEnabled = true;
    emit changed();
}

void ListEditor::revert()
{
    m_entries = EntryLists::readList(m_caption);
    m_selected = -1;
    emit changed();
}

void ListEditor::run(Command command)
{
    switch (command) {
    case Command::Register:
        if (m_text.isEmpty())
            return;
        m_entries.prepend(m_text);
        select(0);
        setText(QString());
        break;
    case Command::Delete:
        if (m_selected >= 0) {
            const int p = m_selected;
            m_entries.removeAt(p);
            m_selected = -1;
            if (p < m_entries.size())
                select(p);
        }
        setText(QString());
        emit changed();
        break;
    case Command::ClearAll:
        m_entries.clear();
        m_selected = -1;
        setText(QString());
        emit changed();
        break;
    case Command::Revert:
        revert();
        break;
    }
}

void ListEditor::textKey(Key key)
{
    if (key == Key::Insert) {
        if (m_registerEnabled)
            run(Command::Register);
        return;
    }
    listKey(key);
}

void ListEditor::listKey(Key key)
{
    if (key == Key::Delete) {
        if (!deleteEnabled())
            return;
        if (m_selected >= 0) {
            m_entries.removeAt(m_selected);
            m_selected = -1;
        }
        emit changed();
    } else if (key == Key::Escape) {
        revert();
        if (m_selected < 0)
            m_deleteEnabled = false;
        emit changed();
    }
}

Result<EntryLists::ListSaved> ListEditor::save() const
{
    if (!m_readError.isEmpty())
        return Result<EntryLists::ListSaved>::failure(m_readError);
    if (!m_opened && m_entries.isEmpty())
        return EntryLists::ListSaved{}; // a list that is not there stays so
    if (m_opened && m_entries == m_openedEntries) {
        const Result<QByteArray> now = LineFile::readBytes(EntryLists::listPath(m_caption));
        if (now.ok() && now.value() == m_openedBytes)
            return EntryLists::ListSaved{};
    }
    return EntryLists::saveList(m_caption, m_entries);
}
