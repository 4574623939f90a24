#pragma once

#include "project/Project.h"

// A README in more than one language. The stored project keeps the main
// language in front and the others as translations; to edit or compose
// another language, the project is viewed in it: that language's versions
// in front (the main language's where it has none) and the main language
// kept whole among the translations, so the view folds back exactly.
namespace Languages {

inline constexpr char16_t kJapanese[] = u"ja";

QString mainOf(const Project &p); // the main language's code
// The language the project shows in front.
QString shownOf(const Project &p);
// The languages in order: the main one first.
QStringList all(const Project &p);

// The project in language (one of all()); the project as it is when it
// already shows that language.
Project viewIn(const Project &p, const QString &language);
// The project with the main language in front again: what the data file
// stores. A view's value equal to the main language's is no version of its own.
Project folded(const Project &p);

// Adds a language with no versions of its own yet; false when it is there.
bool add(Project &p, const QString &language);

// A language as the author calls it: 英語 for en; the code when unknown.
QString displayName(const QString &language);
// The languages offered when one is added, by code.
const QStringList &offered();

// What a translation lacks, in the author's words: 「ソフト紹介」の文章 ...
QStringList missing(const Project &folded, const Translation &t);

// The README's file name for a language: README.TXT for the main one,
// README_en.txt for the others (README_en.md for Markdown).
QString fileName(const Project &p, const QString &language, bool markdown);

} // namespace Languages
