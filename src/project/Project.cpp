#include "project/Project.h"

#include "project/Entry.h"

using namespace Qt::StringLiterals;

namespace ProjectRules {
namespace {

qsizetype findEntry(const QStringList &entries, QStringView name)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (Entry::standsFor(entries.at(i), name))
            return i;
    }
    return -1;
}

} // namespace

Result<int> parseBoxState(const QString &value)
{
    bool ok = false;
    const int state = value.trimmed().toInt(&ok);
    if (!ok)
        return Result<int>::failure(u"チェック状態「%1」は整数ではありません"_s.arg(value));
    if (state < 0 || state > 2)
        return Result<int>::failure(
            u"チェック状態「%1」は 0、1、2 のいずれでもありません"_s.arg(value));
    return state;
}

bool isListed(const Project &p, QStringView name)
{
    return findEntry(p.entries, name) >= 0;
}

void listHeading(Project &p, const QString &name)
{
    qsizetype at = findEntry(p.entries, Items::names()[Items::LastBody]);
    if (at < 0)
        at = findEntry(p.entries, Items::names()[Items::EndMarker]);
    p.entries.insert(at < 0 ? p.entries.size() : at, Entry::indented(name));
}

Project settled(Project p)
{
    using namespace Items;
    const std::array<QString, kCount> &names = Items::names();
    const NameIndex index(names);
    // Which item names the list holds: a look-up among the few names per
    // entry, rather than a set of all the entries.
    std::array<bool, kCount> listed{};
    for (const QString &entry : std::as_const(p.entries)) {
        if (const int k = index.itemOfEntry(entry); k >= 0)
            listed[size_t(k)] = true;
    }
    const auto settle = [&](int item, int unlistedState) {
        int state = unlistedState;
        if (listed[size_t(index.indexOf(names[size_t(item)]))])
            state = p.values[size_t(item)].isEmpty() ? 1 : p.boxState(item);
        p.values[size_t(item)] = QString::number(state);
        return state;
    };
    for (int i = FirstBody; i <= LastBody; ++i)
        settle(i, 0);
    const int endSection = settle(EndMarker, 0);
    for (int i = FirstEnd; i <= LastEnd; ++i)
        settle(i, endSection != 0 ? 0 : 2);

    for (int i = SoftName; i <= HomePage; ++i) {
        const QString &name = names[size_t(i)];
        if (p.values[size_t(i)].isEmpty() || p.unlisted.test(size_t(i)) ||
            findEntry(p.entries, name) >= 0)
            continue;
        const qsizetype marker = findEntry(p.entries, names[BodyMarker]);
        p.entries.insert(marker < 0 ? p.entries.size() : marker, Entry::indented(name));
    }
    return p;
}

} // namespace ProjectRules
