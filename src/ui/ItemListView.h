#pragma once

#include <QListView>

class ItemList;

// The item list's view. It paints the selection from the model's flags,
// toggles entries with simple multiple selection, runs the list's key table
// before its own handling of a key, and moves the selected entries by
// dragging with the right mouse button.
class ItemListView : public QListView {
    Q_OBJECT
public:
    explicit ItemListView(QWidget *parent = nullptr);
    void setItemList(ItemList *list);
    bool dropArmed() const { return m_armed; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // The entry under a point of the view (in this widget's coordinates), or
    // -1; a point directly above or below the list scrolls it by one line.
    int entryAt(QPoint pos, bool autoScroll);
    QPoint twips(QPoint pos) const;
    QPoint viewPos(const QMouseEvent *event) const;
    void setArmed(bool armed);
    void syncCurrentFromModel();

    ItemList *m_list = nullptr;
    bool m_armed = false;
    bool m_syncing = false;
};
