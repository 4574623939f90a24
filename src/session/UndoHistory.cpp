#include "UndoHistory.h"

#include "project/Entry.h"

using namespace Qt::StringLiterals;
using namespace Items;

namespace {
QString quoted(int item)
{
    return u"「%1」"_s.arg(Entry::trimSpaces(Items::names().at(size_t(item))));
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

QString describeChecks(const Project &before, const Project &after)
{
    // The heading boxes, the end section's and its lines' follow each other.
    for (int i = FirstBody; i <= LastEnd; ++i) {
        if (before.values.at(size_t(i)) != after.values.at(size_t(i)))
            return quoted(i) + u"のチェック"_s;
    }
    return QString();
}

QString describeStyles(const Project &before, const Project &after, QString *mergeKey)
{
    struct Change {
        bool changed;
        const char16_t *name;
        const char16_t *key; // typing in its box merges
    };
    const Change changes[] = {
        {before.lineStyle != after.lineStyle, u"線の種類の変更", u""},
        {before.lineText != after.lineText, u"線の種類の変更", u"line"},
        {before.bracketStyle != after.bracketStyle, u"括弧の種類の変更", u""},
        {before.bracketText != after.bracketText, u"括弧の種類の変更", u"brackets"},
        {before.widthText != after.widthText, u"文字数の変更", u"width"},
        {before.wrap != after.wrap, u"折り返しの変更", u""},
        {before.silenced != after.silenced, u"チェックの設定の変更", u""},
        {before.checkProfile != after.checkProfile, u"チェックの設定の変更", u""},
        {before.credits != after.credits, u"クレジットの変更", u""},
        {before.languages.viewing != after.languages.viewing, u"言語の切り替え", u""},
        {before.languages != after.languages, u"言語の変更", u""},
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

QString describeChange(const Project &before, const Project &after, QString *mergeKey)
{
    mergeKey->clear();
    for (int i = SoftName; i <= HomePage; ++i) {
        if (before.values.at(size_t(i)) != after.values.at(size_t(i))) {
            *mergeKey = u"field %1"_s.arg(i);
            return quoted(i) + u"の入力"_s;
        }
    }
    if (QString checks = describeChecks(before, after); !checks.isEmpty())
        return checks;
    if (before.entries != after.entries)
        return describeEntries(before.entries, after.entries);
    if (QString styles = describeStyles(before, after, mergeKey); !styles.isEmpty())
        return styles;
    if (before.ownValues != after.ownValues) {
        for (auto it = after.ownValues.cbegin(); it != after.ownValues.cend(); ++it) {
            if (before.ownValues.value(it.key()) != it.value()) {
                *mergeKey = u"own "_s + it.key();
                return u"「%1」の入力"_s.arg(it.key());
            }
        }
        return u"項目の削除"_s;
    }
    return before.texts == after.texts ? QString() : u"文章の変更"_s;
}

void UndoHistory::reset(const Project &state)
{
    m_steps.clear();
    m_index = 0;
    m_clean = state;
    m_current = state;
    m_sealed = true;
}

bool UndoHistory::record(const Project &state, const QString &stepName)
{
    QString key;
    QString name = describeChange(m_current, state, &key);
    if (name.isEmpty())
        return false;
    if (!stepName.isEmpty()) {
        name = stepName;
        key.clear(); // a named step never merges with typing
    }
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

const Project &UndoHistory::undo()
{
    Q_ASSERT(canUndo());
    m_sealed = true;
    m_current = m_steps.at(--m_index).before;
    return m_current;
}

const Project &UndoHistory::redo()
{
    Q_ASSERT(canRedo());
    m_sealed = true;
    m_current = m_steps.at(m_index++).after;
    return m_current;
}
