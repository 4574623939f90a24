#include "CaptionFit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <map>

namespace CaptionFit {

namespace {

// A check box caption too long for one line wraps (TriStateCheckBox).
bool wrapsWithin(const QCheckBox *box, int hinted)
{
    const QFontMetrics fm = box->fontMetrics();
    const int room = box->width() - (hinted - fm.horizontalAdvance(box->text()));
    const QRect r = fm.boundingRect(QRect(0, 0, room, 10000), Qt::TextWordWrap, box->text());
    return box->height() >= 2 * fm.height() && r.width() <= room && r.height() <= box->height();
}

// Two controls share a row when more than half the shorter one's height overlaps.
bool sameRow(const QRect &a, const QRect &b)
{
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1;
    return 2 * overlap > std::min(a.height(), b.height());
}

// The nearest control in w's row that starts right of w's left edge; a
// control lying wholly on w (a text box over a label's blank) is no obstacle.
const QWidget *obstacle(const QWidget *w, const QList<QWidget *> &siblings)
{
    const QRect g = w->geometry();
    const QWidget *nearest = nullptr;
    for (const QWidget *s : siblings) {
        const QRect o = s->geometry();
        if (s == w || o.left() <= g.left() || o.right() <= g.right() || !sameRow(o, g))
            continue;
        if (!nearest || o.left() < nearest->x())
            nearest = s;
    }
    return nearest;
}

// Grows w to wanted; when the caption reaches under the next control in its
// row (the twips may overlap), or when the next control in its row is too near, it moves
// right together with every control from the left edge of its column on.
void grow(QWidget *w, int wanted, const QList<QWidget *> &siblings, int gap)
{
    const QWidget *next = obstacle(w, siblings);
    const int push = next ? w->x() + wanted + gap - next->x() : 0;
    w->resize(std::max(wanted, w->width()), w->height());
    if (push <= 0)
        return;
    int column = std::min(next->x(), w->x() + w->width());
    for (const QWidget *s : siblings) {
        const bool sharesColumn =
            s->x() < next->x() + next->width() && s->x() + s->width() > next->x();
        if (s != w && s->x() > w->x() && sharesColumn)
            column = std::min(column, s->x());
    }
    for (QWidget *s : siblings) {
        if (s != w && s->x() >= column)
            s->move(s->x() + push, s->y());
    }
}

// A label whose box reaches down onto the control under it (the twips may
// overlap) ends where that control begins, so its text stays clear of it.
void clearBelow(QWidget *label, const QList<QWidget *> &siblings)
{
    const QRect g = label->geometry();
    int bottom = g.bottom();
    for (const QWidget *s : siblings) {
        const QRect o = s->geometry();
        if (s != label && o.top() > g.top() && o.top() <= bottom && o.left() <= g.right() &&
            o.right() >= g.left())
            bottom = o.top() - 1;
    }
    if (bottom - g.top() + 1 >= label->fontMetrics().height())
        label->resize(g.width(), bottom - g.top() + 1);
}

} // namespace

int neededWidth(const QWidget *control)
{
    const QFontMetrics fm = control->fontMetrics();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return fm.horizontalAdvance(label->text()) + control->width() -
               label->contentsRect().width();
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        // The style's least width of a button is not its caption's need.
        const QStyle *s = control->style();
        return fm.horizontalAdvance(QString(button->text()).remove(u'&')) +
               s->pixelMetric(QStyle::PM_ButtonMargin, nullptr, control) +
               2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, control);
    }
    if (qobject_cast<const QGroupBox *>(control))
        return control->minimumSizeHint().width();
    if (const auto *box = qobject_cast<const QAbstractButton *>(control)) {
        const int hinted = box->sizeHint().width();
        const auto *check = qobject_cast<const QCheckBox *>(box);
        if (hinted > control->width() && check && wrapsWithin(check, hinted))
            return control->width();
        return hinted;
    }
    return control->width();
}

int fit(QWidget *container, int margin, int frameMargin)
{
    QList<QWidget *> kids = container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    std::stable_sort(kids.begin(), kids.end(),
                     [](const QWidget *a, const QWidget *b) { return a->x() < b->x(); });
    std::map<QWidget *, int> wanted;
    for (QWidget *w : kids) {
        int need = neededWidth(w);
        if (qobject_cast<QGroupBox *>(w))
            need = std::max(need, fit(w, frameMargin, frameMargin));
        wanted[w] = need;
    }
    const int gap = std::max(1, frameMargin / 2);
    for (QWidget *w : kids) {
        const QWidget *next = obstacle(w, kids);
        if (wanted[w] > w->width() || (next && w->x() + wanted[w] + gap > next->x()))
            grow(w, wanted[w], kids, gap);
    }
    for (QWidget *w : kids) {
        if (qobject_cast<QLabel *>(w))
            clearBelow(w, kids);
    }
    int right = 0;
    for (const QWidget *w : kids)
        right = std::max(right, w->x() + w->width());
    return right + margin;
}

} // namespace CaptionFit
