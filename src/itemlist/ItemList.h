#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <vector>

// The ordered item list: entry texts, one selected flag per entry and the
// focus entry. It is the single copy of the selection; the view paints it.
// Operations that move or remove many entries rebuild the order in one pass
// and notify the view once.
class ItemList : public QAbstractListModel {
    Q_OBJECT
public:
    enum Roles { SelectedRole = Qt::UserRole + 1, FocusRole };

    explicit ItemList(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int count() const { return int(m_entries.size()); }
    const QStringList &entries() const { return m_entries; }
    const QString &entry(int i) const { return m_entries.at(i); }
    bool isSelected(int i) const { return m_selected.at(size_t(i)) != 0; }
    int selectedCount() const;
    int focusEntry() const { return m_focus; }

    void setSelected(int i, bool selected);
    void toggleSelected(int i);
    void setFocusEntry(int i);
    // Replaces every entry; no entry selected, no focus entry.
    void setEntries(const QStringList &entries);
    void clear() { setEntries({}); }
    // Appends verbatim, without any presence check (start-up, the data file).
    void appendEntry(const QString &text);
    void insertEntry(int position, const QString &text);

    // Shared list operations of the fields and the check boxes.
    int findItemEntry(QStringView name) const;
    void insertItemEntry(const QString &name, QStringView anchorName);
    void appendItemEntry(const QString &name);
    void removeItemEntries(QStringView name);

    // Inserts the typed heading in front of the focus entry (or appends it).
    void addHeading(const QString &text);
    void deleteSelected();
    void moveSelectedUp();
    void moveSelectedDown();

    void selectAll();
    void selectFocusEntry();
    void clearSelection();

    // The list's key table; the key is not consumed. shift: Shift bit set.
    enum class Key { Delete, Up, Down, A, Enter, Escape, Other };
    void handleKey(Key key, bool shift);

    // Drops the selected entries as one block in front of entry k (k >= 0),
    // or appends them when k is -1 and the release was inside the list.
    // With k = -1 outside the list nothing changes.
    void dropSelected(int k, bool insideList);

    // Many changes in a row, told to the view as one reset when the last
    // guard ends (the data file reader appends thousands of entries).
    class Batch {
    public:
        explicit Batch(ItemList &list);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        ItemList &m_list;
    };

signals:
    void focusEntryChanged(int focus);
    // The author deleted these entries (not a rule that removed them).
    void entriesDeleted(const QStringList &entries);

private:
    void notifyAllChanged(int first, int last);
    void replaceAll(QStringList entries, std::vector<char> selected);
    void shiftFocusForInsert(int position);
    void setAllSelected(bool selected);

    bool batching() const { return m_batchDepth > 0; }

    QStringList m_entries;
    std::vector<char> m_selected;
    int m_focus = -1;
    int m_batchDepth = 0;
};
