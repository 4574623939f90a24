#include "ItemList.h"

#include "project/Entry.h"

ItemList::ItemList(QObject *parent) : QAbstractListModel(parent) {}

ItemList::Batch::Batch(ItemList &list) : m_list(list)
{
    if (m_list.m_batchDepth++ == 0)
        m_list.beginResetModel();
}

ItemList::Batch::~Batch()
{
    if (--m_list.m_batchDepth == 0)
        m_list.endResetModel();
}

int ItemList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ItemList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_entries.at(index.row());
    case SelectedRole:
        return isSelected(index.row());
    case FocusRole:
        return index.row() == m_focus;
    default:
        return {};
    }
}

int ItemList::selectedCount() const
{
    int n = 0;
    for (char s : m_selected)
        n += s != 0;
    return n;
}

void ItemList::setSelected(int i, bool selected)
{
    if (i < 0 || i >= count() || isSelected(i) == selected)
        return;
    m_selected[size_t(i)] = selected;
    if (batching())
        return;
    const QModelIndex mi = index(i);
    emit dataChanged(mi, mi, {SelectedRole});
}

void ItemList::toggleSelected(int i)
{
    if (i >= 0 && i < count())
        setSelected(i, !isSelected(i));
}

void ItemList::setFocusEntry(int i)
{
    if (i < -1 || i >= count() || i == m_focus)
        return;
    const int old = m_focus;
    m_focus = i;
    if (batching()) {
        emit focusEntryChanged(m_focus);
        return;
    }
    if (old >= 0)
        emit dataChanged(index(old), index(old), {FocusRole});
    if (i >= 0)
        emit dataChanged(index(i), index(i), {FocusRole});
    emit focusEntryChanged(m_focus);
}

void ItemList::replaceAll(QStringList entries, std::vector<char> selected)
{
    Batch batch(*this);
    m_entries = std::move(entries);
    m_selected = std::move(selected);
    const int oldFocus = m_focus;
    if (m_focus >= count())
        m_focus = count() - 1;
    if (m_focus != oldFocus)
        emit focusEntryChanged(m_focus);
}

void ItemList::setEntries(const QStringList &entries)
{
    const int oldFocus = m_focus;
    m_focus = -1;
    {
        Batch batch(*this);
        m_entries = entries;
        m_selected.assign(size_t(entries.size()), 0);
    }
    if (oldFocus != -1)
        emit focusEntryChanged(-1);
}

void ItemList::shiftFocusForInsert(int position)
{
    if (m_focus >= position) {
        ++m_focus;
        emit focusEntryChanged(m_focus);
    }
}

void ItemList::insertEntry(int position, const QString &text)
{
    position = std::clamp(position, 0, count());
    if (!batching())
        beginInsertRows(QModelIndex(), position, position);
    m_entries.insert(position, text);
    m_selected.insert(m_selected.begin() + position, 0);
    if (!batching())
        endInsertRows();
    shiftFocusForInsert(position);
}

void ItemList::appendEntry(const QString &text)
{
    insertEntry(count(), text);
}

int ItemList::findItemEntry(QStringView name) const
{
    for (int i = 0; i < count(); ++i) {
        if (Entry::standsFor(m_entries.at(i), name))
            return i;
    }
    return -1;
}

void ItemList::insertItemEntry(const QString &name, QStringView anchorName)
{
    if (findItemEntry(name) != -1)
        return;
    const int anchor = findItemEntry(anchorName);
    insertEntry(anchor == -1 ? count() : anchor, Entry::indented(name));
}

void ItemList::appendItemEntry(const QString &name)
{
    if (findItemEntry(name) == -1)
        appendEntry(Entry::indented(name));
}

void ItemList::removeItemEntries(QStringView name)
{
    std::vector<char> keep(m_selected.size(), 1);
    bool any = false;
    for (int i = 0; i < count(); ++i) {
        if (Entry::standsFor(m_entries.at(i), name)) {
            keep[size_t(i)] = 0;
            any = true;
        }
    }
    if (!any)
        return;
    QStringList entries;
    std::vector<char> selected;
    entries.reserve(count());
    selected.reserve(m_selected.size());
    for (int i = 0; i < count(); ++i) {
        if (keep[size_t(i)]) {
            entries.append(m_entries.at(i));
            selected.push_back(m_selected[size_t(i)]);
        }
    }
    replaceAll(std::move(entries), std::move(selected));
}

void ItemList::addHeading(const QString &text)
{
    int p = m_focus; // read before the text, as the button does
    if (text.isEmpty())
        return;
    if (p == -1)
        p = count();
    insertEntry(p, text.startsWith(u'●') ? text : Entry::indented(text));
}

void ItemList::deleteSelected()
{
    int t = -1;
    QStringList entries;
    QStringList deleted;
    entries.reserve(count());
    for (int i = 0; i < count(); ++i) {
        if (isSelected(i)) {
            if (t == -1)
                t = i;
            deleted.append(m_entries.at(i));
        } else {
            entries.append(m_entries.at(i));
        }
    }
    if (t == -1)
        return;
    std::vector<char> selected(size_t(entries.size()), 0);
    if (t > 0)
        selected[size_t(t - 1)] = 1;
    else if (!entries.isEmpty())
        selected[0] = 1;
    replaceAll(std::move(entries), std::move(selected));
    emit entriesDeleted(deleted);
}

void ItemList::notifyAllChanged(int first, int last)
{
    if (first <= last && !batching())
        emit dataChanged(index(first), index(last), {Qt::DisplayRole, SelectedRole});
}

// A selected entry with an unselected one above it swaps with it; walking
// downwards lets a run of selected entries move as a whole.
void ItemList::moveSelectedUp()
{
    int first = count();
    int last = -1;
    for (int i = 1; i < count(); ++i) {
        if (m_selected[size_t(i)] && !m_selected[size_t(i - 1)]) {
            m_entries.swapItemsAt(i - 1, i);
            std::swap(m_selected[size_t(i - 1)], m_selected[size_t(i)]);
            first = std::min(first, i - 1);
            last = i;
        }
    }
    notifyAllChanged(first, last);
}

void ItemList::moveSelectedDown()
{
    int first = count();
    int last = -1;
    for (int i = count() - 2; i >= 0; --i) {
        if (m_selected[size_t(i)] && !m_selected[size_t(i + 1)]) {
            m_entries.swapItemsAt(i, i + 1);
            std::swap(m_selected[size_t(i)], m_selected[size_t(i + 1)]);
            first = i;
            last = std::max(last, i + 1);
        }
    }
    notifyAllChanged(first, last);
}

void ItemList::setAllSelected(bool selected)
{
    if (count() == 0)
        return;
    std::fill(m_selected.begin(), m_selected.end(), selected ? 1 : 0);
    if (!batching())
        emit dataChanged(index(0), index(count() - 1), {SelectedRole});
}

void ItemList::selectAll()
{
    setAllSelected(true);
}

void ItemList::selectFocusEntry()
{
    if (m_focus >= 0)
        setSelected(m_focus, true);
}

void ItemList::clearSelection()
{
    setAllSelected(false);
}

void ItemList::handleKey(Key key, bool shift)
{
    switch (key) {
    case Key::Delete:
        deleteSelected();
        break;
    case Key::Up:
        moveSelectedUp();
        break;
    case Key::Down:
        moveSelectedDown();
        break;
    case Key::A:
        if (shift)
            selectAll();
        break;
    case Key::Enter:
        selectFocusEntry();
        break;
    case Key::Escape:
        clearSelection();
        break;
    case Key::Other:
        break;
    }
}

void ItemList::dropSelected(int k, bool insideList)
{
    if (k < 0 && !insideList)
        return;
    QStringList block;
    for (int i = 0; i < count(); ++i) {
        if (isSelected(i))
            block.append(m_entries.at(i));
    }
    if (block.isEmpty())
        return;
    // The block goes in front of entry k (or at the end); then every
    // originally selected entry leaves its old place. One pass builds both.
    const int at = k < 0 ? count() : k;
    QStringList entries;
    entries.reserve(count());
    for (int i = 0; i <= count(); ++i) {
        if (i == at)
            entries += block;
        if (i < count() && !isSelected(i))
            entries.append(m_entries.at(i));
    }
    std::vector<char> selected(size_t(entries.size()), 0);
    replaceAll(std::move(entries), std::move(selected));
}
