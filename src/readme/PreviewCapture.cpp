#include "PreviewCapture.h"

#include "LineWrap.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace PreviewCapture {

namespace {
struct Match {
    qsizetype skeleton; // index among the composer's own lines
    qsizetype line;     // where it stands in the preview
};

// The longest run of pairs whose preview lines rise with their skeleton
// order (pairs come sorted by skeleton); n log n, for long READMEs.
std::vector<Match> longestRising(const std::vector<Match> &pairs)
{
    std::vector<qsizetype> tails; // index of the pair ending a run of each length
    std::vector<qsizetype> before(pairs.size(), -1);
    for (qsizetype i = 0; i < qsizetype(pairs.size()); ++i) {
        const auto at = std::lower_bound(
            tails.begin(), tails.end(), pairs[size_t(i)].line,
            [&](qsizetype t, qsizetype line) { return pairs[size_t(t)].line < line; });
        if (at != tails.begin())
            before[size_t(i)] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<Match> run;
    for (qsizetype i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[size_t(i)])
        run.push_back(pairs[size_t(i)]);
    std::reverse(run.begin(), run.end());
    return run;
}

// Finds the composer's lines in the preview, in order: first those that
// occur once in both (headings, mostly), then the rest between them.
std::vector<Match> findSkeleton(const QList<QStringView> &skeleton, const QStringList &lines)
{
    QHash<QStringView, int> inSkeleton;
    for (QStringView s : skeleton)
        ++inSkeleton[s];
    QHash<QStringView, std::pair<int, qsizetype>> inPreview; // count, last place
    for (qsizetype p = 0; p < lines.size(); ++p) {
        if (inSkeleton.contains(lines.at(p))) {
            auto &seen = inPreview[lines.at(p)];
            ++seen.first;
            seen.second = p;
        }
    }
    std::vector<Match> unique;
    for (qsizetype s = 0; s < skeleton.size(); ++s) {
        const auto it = inPreview.constFind(skeleton.at(s));
        if (inSkeleton.value(skeleton.at(s)) == 1 && it != inPreview.cend() && it->first == 1)
            unique.push_back({s, it->second});
    }
    std::vector<Match> anchors = longestRising(unique);
    anchors.push_back({skeleton.size(), lines.size()});

    std::vector<Match> found;
    Match from{-1, -1};
    for (const Match &to : anchors) {
        qsizetype cursor = from.line + 1;
        for (qsizetype s = from.skeleton + 1; s < to.skeleton; ++s) {
            for (qsizetype p = cursor; p < to.line; ++p) {
                if (lines.at(p) == skeleton.at(s)) {
                    found.push_back({s, p});
                    cursor = p + 1;
                    break;
                }
            }
        }
        if (to.skeleton < skeleton.size())
            found.push_back(to);
        from = to;
    }
    return found;
}
using TextRun = std::vector<const ComposedLine *>;

// The author's text lines the composer wrote after each of its own lines;
// the first run is the one before them all.
std::vector<TextRun> textRuns(const Composition &composed)
{
    std::vector<TextRun> runs(1);
    for (const ComposedLine &l : composed.lines) {
        if (l.isText())
            runs.back().push_back(&l);
        else
            runs.emplace_back();
    }
    return runs;
}

// Lines taken from the preview, with those the composer broke at the width
// joined again. An edited line stands where the composed line it replaced
// stood: lines equal at both ends are paired, those between by position.
QStringList unwrapped(const QStringList &lines, const TextRun &composed)
{
    if (std::none_of(composed.begin(), composed.end(),
                     [](const ComposedLine *l) { return l->continues >= 0; }))
        return lines;
    const qsizetype a = lines.size(), b = qsizetype(composed.size());
    qsizetype same = 0, sameEnd = 0;
    while (same < std::min(a, b) && lines.at(same) == composed[size_t(same)]->text)
        ++same;
    while (sameEnd < std::min(a, b) - same &&
           lines.at(a - 1 - sameEnd) == composed[size_t(b - 1 - sameEnd)]->text)
        ++sameEnd;
    QStringList out;
    for (qsizetype i = 0; i < a; ++i) {
        const ComposedLine *from = i < same || (i < a - sameEnd && i < b - sameEnd)
                                       ? composed[size_t(i)]
                                   : i >= a - sameEnd ? composed[size_t(i - a + b)]
                                                      : nullptr;
        if (from && from->continues >= 0 && !out.isEmpty())
            LineWrap::join(out.last(), lines.at(i), from->continues, from->gap);
        else
            out.append(lines.at(i));
    }
    return out;
}
} // namespace

Captured capture(const Composition &composed, const QStringList &lines, const BodyTexts &texts)
{
    std::vector<const ComposedLine *> own;
    QList<QStringView> skeleton;
    for (const ComposedLine &l : composed.lines) {
        if (!l.isText()) {
            own.push_back(&l);
            skeleton.append(l.text);
        }
    }
    Captured c{texts, {}};
    const std::vector<Match> found = findSkeleton(skeleton, lines);
    const std::vector<TextRun> runs = textRuns(composed);
    const auto region = [&](qsizetype from, qsizetype to) { return lines.mid(from, to - from); };
    if (found.empty()) {
        if (skeleton.isEmpty())
            c.texts.lead = lines;
        else
            c.unplaced = lines;
        return c;
    }
    if (found.front().skeleton == 0)
        c.texts.lead = unwrapped(region(0, found.front().line), runs.front());
    else
        c.unplaced += region(0, found.front().line);

    QSet<QStringView> slotsTaken;
    for (size_t i = 0; i < found.size(); ++i) {
        const Match &m = found[i];
        const bool last = i + 1 == found.size();
        const Match next = last ? Match{skeleton.size(), lines.size()} : found[i + 1];
        const QStringList between =
            unwrapped(region(m.line + 1, next.line), runs[size_t(m.skeleton) + 1]);
        const ComposedLine &line = *own[size_t(m.skeleton)];
        // A heading's text follows it, a field's its line (or the price line
        // its class writes with it).
        const bool fieldWithText = line.kind == ComposedLine::Kind::Field && !line.inEnd &&
                                   !line.key.isEmpty() &&
                                   !(size_t(m.skeleton + 1) < own.size() &&
                                     own[size_t(m.skeleton + 1)]->kind == line.kind &&
                                     own[size_t(m.skeleton + 1)]->key == line.key);
        const bool slot = line.kind == ComposedLine::Kind::Heading || fieldWithText;
        const bool opensSlot = slot && !slotsTaken.contains(line.key);
        if (slot)
            slotsTaken.insert(line.key);
        // A composer's line missing in between: the lines cannot be told apart.
        if (next.skeleton != m.skeleton + 1) {
            c.unplaced += between;
            continue;
        }
        if (last) {
            // After the last heading, text and tail look alike; the tail
            // keeps its lines when they still end the preview.
            const QStringList &tail = texts.tail;
            const bool tailKept = opensSlot && between.size() >= tail.size() &&
                                  between.mid(between.size() - tail.size()) == tail;
            c.texts.tail = opensSlot ? (tailKept ? tail : QStringList()) : between;
            if (opensSlot)
                c.texts.setUnder(line.key.toString(),
                                 tailKept ? between.mid(0, between.size() - tail.size()) : between);
        } else if (opensSlot) {
            c.texts.setUnder(line.key.toString(), between);
        } else {
            c.unplaced += between;
        }
    }
    return c;
}

} // namespace PreviewCapture
