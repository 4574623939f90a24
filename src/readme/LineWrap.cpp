#include "LineWrap.h"

#include "platform/Cp932.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <bitset>

using namespace Qt::StringLiterals;

namespace LineWrap {

namespace {

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\u3000';
}
bool isWordChar(QChar c)
{
    return c > u' ' && c < u'\x7f';
}

// Unicode line breaking leaves these to the setting; a Japanese README is
// set strictly (JIS X 4051): they never start a line, opening brackets never
// end one. Looked up in a table of the BMP made once: a line asks at every
// character.
struct Kinsoku {
    std::bitset<0x10000> noStart, noEnd;
    Kinsoku()
    {
        for (char16_t c :
             u"、。，．・：；？！ー々ゝゞヽヾ゛゜‐゠–〜～,.:;?!)]}"
             u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ")
            noStart.set(c);
        for (char32_t u = 0; u < 0x10000; ++u) {
            const QChar::Category cat = QChar::category(u);
            if (cat == QChar::Punctuation_Close || cat == QChar::Punctuation_FinalQuote)
                noStart.set(u);
            if (cat == QChar::Punctuation_Open || cat == QChar::Punctuation_InitialQuote)
                noEnd.set(u);
        }
        noStart.reset(0);
    }
};
const Kinsoku &kinsoku()
{
    static const Kinsoku table;
    return table;
}

// …… and ―― are one mark in two characters.
bool pairedMark(QChar a, QChar b)
{
    return a == b && QStringView(u"…‥―—").contains(a);
}

bool mayHang(QChar c)
{
    return QStringView(u"、。，．").contains(c);
}

enum : quint8 { kNone, kBreak, kLastResort };

// Where a URL runs from and to: it is never broken.
void keepUrlsWhole(QStringView line, std::vector<quint8> &breaks)
{
    static const QStringView schemes[] = {u"http://", u"https://", u"ftp://", u"mailto:", u"www."};
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = line[i].unicode() | 0x20; // lower case, for letters
        if ((c != u'h' && c != u'f' && c != u'm' && c != u'w') ||
            (i > 0 && isWordChar(line[i - 1])))
            continue;
        const bool url = std::any_of(std::begin(schemes), std::end(schemes), [&](QStringView s) {
            return line.mid(i).startsWith(s, Qt::CaseInsensitive);
        });
        if (!url)
            continue;
        qsizetype end = i;
        while (end < line.size() && isWordChar(line[end]))
            ++end;
        std::fill(breaks.begin() + i + 1, breaks.begin() + end, quint8(0));
        i = end;
    }
}

// The places line may break before: kBreak, or kLastResort after / or -
// inside an ASCII word that is wider than a line.
std::vector<quint8> breakPlaces(QStringView line, qsizetype after)
{
    const Kinsoku &rules = kinsoku();
    std::vector<quint8> breaks(size_t(line.size()) + 1, kNone);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, line.data(), line.size());
    for (qsizetype p = finder.toNextBoundary(); p > 0 && p < line.size();
         p = finder.toNextBoundary()) {
        if (p <= after)
            continue;
        const QChar before = line[p - 1], next = line[p];
        if (rules.noStart.test(next.unicode()) || rules.noEnd.test(before.unicode()) ||
            pairedMark(before, next))
            continue;
        if (isWordChar(before) && isWordChar(next))
            breaks[size_t(p)] = before == u'/' || before == u'-' ? kLastResort : kNone;
        else
            breaks[size_t(p)] = kBreak;
    }
    keepUrlsWhole(line, breaks);
    return breaks;
}

// Length of the bullet or number at the start of s, with the spaces after it.
qsizetype markLength(QStringView s)
{
    qsizetype n = 0;
    const auto spacesFrom = [&](qsizetype i) {
        while (i < s.size() && isSpace(s[i]))
            ++i;
        return i;
    };
    if (s.isEmpty())
        return 0;
    if (QStringView(u"・※●○■□◆◇★☆◎▼▲").contains(s[0]) || (s[0] >= u'\u2460' && s[0] <= u'\u2473')) {
        n = spacesFrom(1);
    } else if ((s[0] == u'-' || s[0] == u'*') && s.size() > 1 && s[1] == u' ') {
        n = spacesFrom(1);
    } else {
        const bool paren = s[0] == u'(' || s[0] == u'（';
        qsizetype i = paren ? 1 : 0;
        while (i < s.size() && i < 4 && s[i].isDigit())
            ++i;
        if (i == (paren ? 1 : 0) || i >= s.size())
            return 0;
        const QChar close = s[i];
        if (paren ? (close != u')' && close != u'）') : (close != u'.' && close != u')'))
            return 0;
        // "1.5" is a number, not a mark.
        if (!paren && i + 1 < s.size() && s[i + 1].unicode() < 0x80 && s[i + 1] != u' ')
            return 0;
        n = spacesFrom(i + 1);
    }
    return n < s.size() ? n : 0;
}

qsizetype leadingSpaces(QStringView s)
{
    return std::find_if(s.begin(), s.end(), [](QChar c) { return !isSpace(c); }) - s.begin();
}

} // namespace

QString continuationIndent(QStringView line)
{
    const qsizetype lead = leadingSpaces(line);
    const qsizetype mark = markLength(line.mid(lead));
    return line.left(lead).toString() + QString(Cp932::byteWidth(line.mid(lead, mark)), u' ');
}

std::vector<Piece> wrap(QStringView line, const Layout &layout)
{
    const int width = layout.width;
    if (width <= 0 || Cp932::byteWidth(line) <= width)
        return {{line.toString(), 0, 0}};
    const std::vector<int> col = Cp932::columns(line);
    const qsizetype n = line.size();
    QString indent;
    qsizetype after = 0; // no break at or before: a line has text
    if (layout.from >= 0) {
        after = layout.from;
        indent = QString(col[size_t(std::min(layout.from, n))], u' ');
    } else {
        indent = continuationIndent(line);
        after = leadingSpaces(line) + markLength(line.mid(leadingSpaces(line)));
    }
    if (Cp932::byteWidth(indent) * 2 > width)
        indent.clear();
    const std::vector<quint8> breaks = breakPlaces(line, after);
    const auto trimmedEnd = [&](qsizetype from, qsizetype p) {
        while (p > from + 1 && line[p - 1] == u' ')
            --p;
        return p;
    };
    std::vector<Piece> pieces;
    qsizetype pos = 0, gap = 0;
    while (true) {
        const int avail = width - (pieces.empty() ? 0 : Cp932::byteWidth(indent));
        const auto widthTo = [&](qsizetype p) { return col[size_t(p)] - col[size_t(pos)]; };
        qsizetype best = -1;
        if (widthTo(trimmedEnd(pos, n)) > avail) {
            // The furthest break that fits; a break inside a word only when
            // the word alone is wider than the line.
            for (const quint8 kind : {kBreak, kLastResort}) {
                for (qsizetype p = pos + 1; p < n; ++p) {
                    if (kind == kLastResort && breaks[size_t(p)] == kBreak)
                        break;
                    if (breaks[size_t(p)] != kind)
                        continue;
                    const qsizetype e = trimmedEnd(pos, p);
                    const int w = widthTo(e);
                    if (w <= avail || (layout.hang && e == p && mayHang(line[p - 1]) &&
                                       w - (col[size_t(p)] - col[size_t(p - 1)]) <= avail))
                        best = p;
                    else if (w > avail + 2)
                        break;
                }
                if (best >= 0)
                    break;
            }
            if (best < 0) // a run that cannot break: a line of its own
                best =
                    std::find(breaks.begin() + pos + 1, breaks.end() - 1, kBreak) - breaks.begin();
        } else {
            best = n;
        }
        const qsizetype e = best < n ? trimmedEnd(pos, best) : n;
        Piece piece{line.mid(pos, e - pos).toString(), 0, gap};
        if (!pieces.empty()) {
            piece.text.prepend(indent);
            piece.indent = indent.size();
        }
        pieces.push_back(std::move(piece));
        if (best >= n)
            return pieces;
        gap = best - e;
        pos = best;
    }
}

void join(QString &previous, QStringView continuation, qsizetype indent, qsizetype gap)
{
    const qsizetype strip = std::min(indent, leadingSpaces(continuation));
    previous += QString(gap, u' ');
    previous += continuation.mid(strip);
}

} // namespace LineWrap
