#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The author's own words in the README, kept from release to release: the
// lines under each heading, before the README's first line and after its
// last. A text is a list of lines: no lines and one empty line differ.
struct BodyTexts {
    QStringList lead;
    QStringList tail;
    // By the heading's entry text without the spaces around it. A text stays
    // when its heading leaves the list: putting the heading back brings it back.
    QHash<QString, QStringList> headings;

    const QStringList &under(const QString &heading) const
    {
        static const QStringList none;
        const auto it = headings.constFind(heading);
        return it == headings.cend() ? none : *it;
    }
    void setUnder(const QString &heading, const QStringList &lines)
    {
        if (lines.isEmpty())
            headings.remove(heading);
        else
            headings.insert(heading, lines);
    }
    bool isEmpty() const { return lead.isEmpty() && tail.isEmpty() && headings.isEmpty(); }
    bool operator==(const BodyTexts &other) const = default;
};
