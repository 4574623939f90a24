#include "PreviewEdit.h"

#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>

PreviewEdit::PreviewEdit(QWidget *parent) : QPlainTextEdit(parent) {}

void PreviewEdit::setRulerColumn(int bytes)
{
    if (m_column == bytes)
        return;
    m_column = bytes;
    viewport()->update();
}

int PreviewEdit::rulerX() const
{
    if (m_column <= 0)
        return -1;
    // A half-width character is one byte wide in the fixed-pitch font.
    const qreal perByte = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    return qRound(contentOffset().x() + document()->documentMargin() + m_column * perByte);
}

void PreviewEdit::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    const int x = rulerX();
    if (x < 0 || x >= viewport()->width())
        return;
    QPainter painter(viewport());
    QColor line = palette().color(QPalette::Highlight);
    line.setAlpha(140);
    painter.setPen(QPen(line, 1, Qt::DashLine));
    painter.drawLine(x, 0, x, viewport()->height());
}
