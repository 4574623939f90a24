#pragma once

#include "platform/Result.h"
#include "project/Project.h"

#include <QList>
#include <QString>
#include <optional>

// Projects to start from: data files in a templates folder, named after
// the file. The author's own live in the data folder (beside the program
// when portable); the shipped ones in the install's share folder.
namespace Templates {

struct Template {
    QString name; // the file's name without .pwk
    QString path;
    bool own = false; // one the author saved
};

QStringList folders();
QString ownFolder();
// Every template in the folders by name; an earlier folder's wins.
QList<Template> list(const QStringList &folders, const QString &ownFolder);
std::optional<Template> find(const QList<Template> &templates, const QString &name);

// A name that is a file name on every system, or why not.
Result<> checkName(const QString &name);
// Saves the project as the author's template; gives its path.
Result<QString> save(const Project &project, const QString &name, const QString &folder);

} // namespace Templates
