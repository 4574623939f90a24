#include "Controls.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

int TriStateCheckBox::state() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

void TriStateCheckBox::setState(int state)
{
    setCheckState(state == 0 ? Qt::Unchecked : state == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

void TriStateCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void TriStateCheckBox::paintEvent(QPaintEvent *event)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect textRect = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    if (fontMetrics().horizontalAdvance(text()) <= textRect.width()) {
        QCheckBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);
    style()->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                          option.palette, isEnabled(), text(), QPalette::WindowText);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

FilteredLineEdit::FilteredLineEdit(Accept accept, QWidget *parent)
    : QLineEdit(parent), m_accept(std::move(accept))
{
}

QString FilteredLineEdit::filtered(const QString &typed) const
{
    QString kept;
    for (QChar c : typed) {
        if (m_accept(c))
            kept.append(c);
    }
    return kept;
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    // Only typed characters are filtered; editing keys and shortcuts
    // (control characters other than backspace) keep their meaning.
    const bool typed = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() != 0x7F;
    });
    if (!typed || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString kept = filtered(text);
    if (kept == text) {
        QLineEdit::keyPressEvent(event);
    } else if (!kept.isEmpty()) {
        insert(kept);
        event->accept();
    } else {
        event->accept(); // discarded
    }
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const QString kept = filtered(commit);
    if (kept != commit)
        event->setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(event);
}
