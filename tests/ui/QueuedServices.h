#pragma once

#include "ui/Services.h"

#include <QList>

// File dialogs that answer from a queue and remember what they were asked.
class QueuedDialogs : public FileDialogs {
public:
    QStringList answers; // an empty answer is a cancel
    QList<FileDialogRequest> requests;
    QStringList kinds;   // "open" or "save", per request
    QStringList filters; // the file type each save answers; none left: the one shown first

    QString open(const FileDialogRequest &r) override { return next(r, QStringLiteral("open")); }
    QString save(FileDialogRequest &r) override
    {
        const QString answer = next(r, QStringLiteral("save"));
        if (!filters.isEmpty())
            r.selectedFilter = filters.takeFirst();
        else if (r.selectedFilter.isEmpty())
            r.selectedFilter = r.filters.value(0);
        return answer;
    }

private:
    QString next(const FileDialogRequest &r, const QString &kind)
    {
        requests.append(r);
        kinds.append(kind);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// Message boxes that answer from a queue and remember their texts.
class QueuedMessages : public Messages {
public:
    QStringList warnings;
    QStringList questions;
    QList<Answer> answers; // none left means the box was closed

    void warning(const QString &text) override { warnings.append(text); }
    Answer question(const QString &text, const QList<Choice> &) override
    {
        questions.append(text);
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
};
