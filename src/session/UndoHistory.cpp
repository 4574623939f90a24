#include "UndoHistory.h"

#include "itemlist/Entry.h"

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
QString quoted(const DocumentSnapshot &s, int item)
{
    return u"「%1」"_s.arg(Entry::trimSpaces(s.itemNames.at(size_t(item))));
}

int firstDifference(const QStringList &a, const QStringList &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a.at(i) != b.at(i))
            return int(i);
    }
    return int(n);
}

// The list's change: an entry added, deleted or moved.
QString describeEntries(const QStringList &before, const QStringList &after)
{
    const int i = firstDifference(before, after);
    const auto name = [](const QString &entry) {
        return u"「%1」"_s.arg(Entry::trimSpaces(entry));
    };
    if (after.size() > before.size())
        return name(after.at(i)) + u"の追加"_s;
    if (after.size() < before.size())
        return name(before.at(i)) + u"の削除"_s;
    return name(after.at(i)) + u"の移動"_s;
}

QString describeChecks(const DocumentSnapshot &before, const DocumentSnapshot &after)
{
    for (int i = 0; i < kBodyCount; ++i) {
        if (before.chkBody.at(size_t(i)) != after.chkBody.at(size_t(i)))
            return quoted(after, FirstBody + i) + u"のチェック"_s;
    }
    if (before.itemValues.at(EndMarker) != after.itemValues.at(EndMarker))
        return quoted(after, EndMarker) + u"のチェック"_s;
    for (int i = 0; i < kEndCount; ++i) {
        if (before.chkEnd.at(size_t(i)) != after.chkEnd.at(size_t(i)))
            return quoted(after, FirstEnd + i) + u"のチェック"_s;
    }
    return QString();
}

QString describeStyles(const DocumentSnapshot &before, const DocumentSnapshot &after,
                       QString *mergeKey)
{
    struct Change {
        bool changed;
        const char16_t *name;
        const char16_t *key; // typing in its box merges
    };
    const Change changes[] = {
        {before.optLineType != after.optLineType, u"線の種類の変更", u""},
        {before.txtLineType != after.txtLineType, u"線の種類の変更", u"line"},
        {before.optBracketsType != after.optBracketsType, u"括弧の種類の変更", u""},
        {before.txtBracketsType != after.txtBracketsType, u"括弧の種類の変更", u"brackets"},
        {before.txtLineCount != after.txtLineCount, u"文字数の変更", u"width"},
    };
    for (const Change &c : changes) {
        if (c.changed) {
            *mergeKey = QString::fromUtf16(c.key);
            return QString::fromUtf16(c.name);
        }
    }
    return QString();
}
} // namespace

QString describeChange(const DocumentSnapshot &before, const DocumentSnapshot &after,
                       QString *mergeKey)
{
    mergeKey->clear();
    for (int i = SoftName; i <= HomePage; ++i) {
        if (before.itemValues.at(size_t(i)) != after.itemValues.at(size_t(i))) {
            *mergeKey = u"field %1"_s.arg(i);
            return quoted(after, i) + u"の入力"_s;
        }
    }
    if (QString checks = describeChecks(before, after); !checks.isEmpty())
        return checks;
    if (before.entries != after.entries)
        return describeEntries(before.entries, after.entries);
    if (QString styles = describeStyles(before, after, mergeKey); !styles.isEmpty())
        return styles;
    return before.texts == after.texts ? QString() : u"文章の変更"_s;
}

void UndoHistory::reset(const DocumentSnapshot &state)
{
    m_steps.clear();
    m_index = 0;
    m_current = state;
    m_sealed = true;
}

bool UndoHistory::record(const DocumentSnapshot &state)
{
    QString key;
    const QString name = describeChange(m_current, state, &key);
    if (name.isEmpty())
        return false;
    const bool merges = !m_sealed && !key.isEmpty() && m_index == m_steps.size() && m_index > 0 &&
                        m_steps.last().mergeKey == key;
    if (merges) {
        m_steps.last().after = state;
    } else {
        m_steps.resize(m_index); // what was undone cannot be redone after a change
        m_steps.append({name, key, m_current, state});
        ++m_index;
    }
    m_current = state;
    m_sealed = key.isEmpty();
    return true;
}

const DocumentSnapshot &UndoHistory::undo()
{
    Q_ASSERT(canUndo());
    m_sealed = true;
    m_current = m_steps.at(--m_index).before;
    return m_current;
}

const DocumentSnapshot &UndoHistory::redo()
{
    Q_ASSERT(canRedo());
    m_sealed = true;
    m_current = m_steps.at(m_index++).after;
    return m_current;
}
