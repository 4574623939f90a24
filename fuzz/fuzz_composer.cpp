// Random styles, widths, values, entries and texts through the composer, lines
// broken at the width or not.
#include "FuzzSupport.h"
#include "project/Entry.h"

using namespace Qt::StringLiterals;

void fuzz(const QByteArray &bytes, const QString &)
{
    if (bytes.size() < 4)
        return;
    Project s = Document().project();
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
    s.lineStyle = b[0] % 4;
    s.bracketStyle = b[1] % 4;
    s.wrap = Project::Wrap((b[0] >> 2) % 3);
    const QStringList parts = QString::fromUtf8(bytes.mid(2)).split(u'\n');
    s.widthText = parts.value(0).left(3);
    s.lineText = parts.value(1);
    s.bracketText = {parts.value(2), parts.value(3)};
    for (int i = Items::SoftName; i <= Items::HomePage; ++i)
        s.values[size_t(i)] = parts.value(3 + i);
    for (int i = 0; i < Items::kBodyCount; ++i)
        s.values[size_t(Items::FirstBody + i)] = QString::number((b[2] >> i) & 1);
    for (int i = 0; i < Items::kEndCount; ++i)
        s.values[size_t(Items::FirstEnd + i)] = (b[3] >> i) & 1 ? u"2"_s : u"0"_s;
    for (const QString &p : parts.mid(18)) {
        const int pick = p.isEmpty() ? 0 : p.at(0).unicode() % 40;
        s.entries.append(pick < Items::kCount ? Entry::indented(Items::names()[size_t(pick)]) : p);
        // Text under it, long enough to be broken at the width.
        s.texts.setUnder(Entry::trimSpaces(s.entries.last()).toString(), {p + p + p, p});
    }
    compose(s);
}
