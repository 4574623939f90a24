#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// Breaks a README line at a width counted in code page 932 bytes, the way a
// Japanese text is set: what may not start a line (、。ー small kana, closing
// brackets) is never put first, what may not end one (opening brackets) never
// last, numbers and ……/―― stay whole, ASCII words and URLs break only at
// spaces. A run that cannot break and is wider than the line gets a line of
// its own, unbroken.
namespace LineWrap {

struct Layout {
    int width = 0;       // bytes per line; 0 or less: no breaking
    bool hang = false;   // 、。 may stand one character past the width (ぶら下げ)
    qsizetype from = -1; // breaks only after this offset; continuation lines
                         // start under it (a field's value). -1: the line's
                         // own indent, or the text after a bullet or number
};

// One line of a broken line. Joined back, the pieces give the line again.
struct Piece {
    QString text;
    qsizetype indent = 0; // spaces put before a continuation line
    qsizetype gap = 0;    // spaces the break took at the end of the line before
};

// The pieces of line; one piece, the line itself, when it fits.
std::vector<Piece> wrap(QStringView line, const Layout &layout);

// A continuation line joined to the line it continued: its indent (as far as
// it is still spaces) taken away and the spaces the break took put back.
void join(QString &previous, QStringView continuation, qsizetype indent, qsizetype gap);

// The indent a continuation of line takes: its own leading spaces, and past
// a bullet or number at its start (・ ※ - * 1. (1) ①), the text's column.
QString continuationIndent(QStringView line);

} // namespace LineWrap
