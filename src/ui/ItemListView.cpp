#include "ItemListView.h"

#include "Twips.h"
#include "itemlist/ItemList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {
// Paints selection and focus from the model, not from a selection model.
class FlagDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state.setFlag(QStyle::State_Selected, index.data(ItemList::SelectedRole).toBool());
        option->state.setFlag(QStyle::State_HasFocus, index.data(ItemList::FocusRole).toBool());
    }
};

ItemList::Key keyOf(int key)
{
    switch (key) {
    case Qt::Key_Delete:
        return ItemList::Key::Delete;
    case Qt::Key_Up:
        return ItemList::Key::Up;
    case Qt::Key_Down:
        return ItemList::Key::Down;
    case Qt::Key_A:
        return ItemList::Key::A;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ItemList::Key::Enter;
    case Qt::Key_Escape:
        return ItemList::Key::Escape;
    default:
        return ItemList::Key::Other;
    }
}
} // namespace

ItemListView::ItemListView(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::NoSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new FlagDelegate(this));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setMouseTracking(false);
}

void ItemListView::setItemList(ItemList *list)
{
    m_list = list;
    setModel(list);
    connect(list, &ItemList::focusEntryChanged, this, &ItemListView::syncCurrentFromModel);
    connect(list, &QAbstractItemModel::modelReset, this, &ItemListView::syncCurrentFromModel);
}

void ItemListView::syncCurrentFromModel()
{
    if (m_syncing || !m_list)
        return;
    m_syncing = true;
    const int focus = m_list->focusEntry();
    const QModelIndex idx = focus >= 0 ? m_list->index(focus) : QModelIndex();
    if (idx != currentIndex())
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
    m_syncing = false;
}

void ItemListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    if (m_syncing || !m_list)
        return;
    m_syncing = true;
    m_list->setFocusEntry(current.isValid() ? current.row() : -1);
    m_syncing = false;
}

void ItemListView::keyPressEvent(QKeyEvent *event)
{
    if (m_list) {
        m_list->handleKey(keyOf(event->key()), event->modifiers() & Qt::ShiftModifier);
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
            m_list->toggleSelected(m_list->focusEntry());
            event->accept();
            return;
        }
    }
    QListView::keyPressEvent(event);
}

void ItemListView::mousePressEvent(QMouseEvent *event)
{
    // A drag whose release never came (it ended outside the window, say)
    // must not drop on a later click.
    if (!(event->buttons() & Qt::RightButton))
        setArmed(false);
    if (event->button() != Qt::LeftButton || !m_list) {
        event->accept(); // the right button only drags; it never selects
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (idx.isValid()) {
        m_list->setFocusEntry(idx.row());
        m_list->toggleSelected(idx.row());
    }
    event->accept();
}

void ItemListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event); // a second click toggles again, as a list box does
}

void ItemListView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}

QPoint ItemListView::viewPos(const QMouseEvent *event) const
{
    return viewport()->mapTo(this, event->position().toPoint());
}

QPoint ItemListView::twips(QPoint pos) const
{
    const double dpi = Twips::logicalDpi(this);
    return {Twips::toTwips(pos.x(), dpi), Twips::toTwips(pos.y(), dpi)};
}

void ItemListView::setArmed(bool armed)
{
    m_armed = armed;
    if (armed)
        viewport()->setCursor(Qt::CrossCursor);
    else
        viewport()->unsetCursor();
}

int ItemListView::entryAt(QPoint pos, bool autoScroll)
{
    const QRect area = viewport()->geometry();
    if (pos.x() >= area.left() && pos.x() <= area.right()) {
        QScrollBar *bar = verticalScrollBar();
        if (pos.y() < 0) {
            if (autoScroll)
                bar->setValue(bar->value() - bar->singleStep());
            return -1;
        }
        if (pos.y() >= height()) {
            if (autoScroll)
                bar->setValue(bar->value() + bar->singleStep());
            return -1;
        }
    }
    if (!area.contains(pos))
        return -1;
    const QModelIndex idx = indexAt(pos - area.topLeft());
    return idx.isValid() ? idx.row() : -1;
}

void ItemListView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_list || !(event->buttons() & Qt::RightButton)) {
        setArmed(false);
        QListView::mouseMoveEvent(event);
        return;
    }
    const QPoint pos = viewPos(event);
    const QPoint t = twips(pos);
    const QPoint size = twips(QPoint(width(), height()));
    if (t.x() < 10 || t.x() > size.x() - 50 || t.y() < 10 || t.y() > size.y() - 50) {
        setArmed(false);
        return;
    }
    setArmed(m_list->selectedCount() > 0);
    const int k = entryAt(pos, true);
    if (k >= 0) {
        m_list->setFocusEntry(k); // the drop place; the selection is untouched
        scrollTo(m_list->index(k));
    }
}

void ItemListView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_armed || !m_list) {
        setArmed(false);
        event->accept();
        return;
    }
    const QPoint pos = viewPos(event);
    const int k = entryAt(pos, true);
    const bool inside = pos.x() > 0 && pos.x() < width() && pos.y() > 0 && pos.y() < height();
    m_list->dropSelected(k, inside);
    setArmed(false);
    event->accept();
}
