#pragma once

#include "ui/Services.h"

#include <QList>

// File dialogs that answer from a queue and remember what they were asked.
// They hand back what Qt's own dialog does: filters simplified (a
// full-width space becomes an ASCII one), and a name whose suffix follows
// the file type the author switched to ("README.TXT" becomes "README.*").
class QueuedDialogs : public FileDialogs {
public:
    // Enter pressed at once: the proposed name in the proposed folder.
    static inline const QString kEnter = QStringLiteral("<Enter>");
    QStringList answers; // an empty answer is a cancel
    QList<FileDialogRequest> requests;
    QStringList kinds;   // "open" or "save", per request
    QStringList filters; // the file type switched to per save; none left: the one shown first

    QString open(const FileDialogRequest &r) override { return next(r, QStringLiteral("open")); }
    QString save(FileDialogRequest &r) override
    {
        QString answer = next(r, QStringLiteral("save"));
        QString chosen =
            r.filters.contains(r.selectedFilter) ? r.selectedFilter : r.filters.value(0);
        if (!filters.isEmpty()) {
            chosen = filters.takeFirst();
            answer = withSuffixOf(answer, chosen);
        }
        r.selectedFilter = chosen.simplified();
        return answer;
    }

private:
    QString next(const FileDialogRequest &r, const QString &kind)
    {
        requests.append(r);
        kinds.append(kind);
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        return answer == kEnter ? r.directory + QLatin1Char('/') + r.fileName : answer;
    }
    // The typed name's suffix becomes the first pattern's, "*" included.
    static QString withSuffixOf(const QString &path, const QString &filter)
    {
        const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
        const QString pattern = filter.mid(open + 1).section(QLatin1Char(' '), 0, 0);
        const QString suffix = pattern.section(QLatin1Char('.'), -1).remove(QLatin1Char(')'));
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        if (path.isEmpty() || dot <= path.lastIndexOf(QLatin1Char('/')) || suffix.isEmpty())
            return path;
        return path.left(dot + 1) + suffix;
    }
};

// Message boxes that answer from a queue and remember their texts.
class QueuedMessages : public Messages {
public:
    QStringList warnings;
    QStringList questions;
    QList<Answer> answers;   // none left means the box was closed, or Enter was pressed
    bool pressEnter = false; // with none left: the default (first) choice
    QList<QList<Choice>> choices;

    void warning(const QString &text) override { warnings.append(text); }
    Answer question(const QString &text, const QList<Choice> &offered) override
    {
        questions.append(text);
        choices.append(offered);
        if (answers.isEmpty())
            return pressEnter && !offered.isEmpty() ? offered.first().answer : Answer::Cancel;
        return answers.takeFirst();
    }
};
