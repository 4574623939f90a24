#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct Composition;
struct Project;

// A README file as it goes to disk: the text, a final line end, in the
// chosen encoding and line ends. The window and quillet-compose both write
// through here, so they write the same bytes.
namespace ReadmeFile {

enum class Encoding : quint8 { Cp932, Utf8 };
enum class LineEnd : quint8 { CrLf, Lf };

// How a README is written. The fixed-pitch layout keeps its code page 932
// widths in every text output; Markdown is made from the same composition.
struct Format {
    enum class Content : quint8 { Text, Markdown };

    // An encoding alone means its text with CR LF line ends.
    constexpr Format(Encoding e = Encoding::Cp932) : encoding(e) {}
    constexpr Format(Encoding e, bool withBom, LineEnd end, Content c = Content::Text)
        : encoding(e), bom(withBom), lineEnd(end), content(c)
    {
    }
    static constexpr Format markdown(bool withBom = false)
    {
        return {Encoding::Utf8, withBom, LineEnd::Lf, Content::Markdown};
    }

    Encoding encoding = Encoding::Cp932;
    bool bom = false; // UTF-8 only
    LineEnd lineEnd = LineEnd::CrLf;
    Content content = Content::Text;

    bool operator==(const Format &) const = default;
};

// A file type of the README save dialog: its caption with the pattern, as a
// dialog filter, and what it writes.
struct FileType {
    QString filter;
    QString suffix; // without the dot; empty for all files
    Format format;
    bool anyFile() const { return suffix.isEmpty(); }
};
const QList<FileType> &fileTypes();
QStringList filters();
// The file type a dialog hands back as its filter. Dialogs rewrite captions
// (Qt's collapses the full-width space to an ASCII one, a native dialog may
// drop spaces or change case), so spaces and case do not count. Null when
// the text names none of them.
const FileType *fileTypeOf(const QString &filter);
// The format a dialog filter stands for; the default one when unknown.
Format formatOf(const QString &filter);
// Where a README of the chosen type goes. A dialog set to all files gives
// the name a suffix of "*" ("README.*"): the suffix of the name proposed
// takes its place.
QString pathFor(const QString &chosen, const QString &proposedName);

// What bytes() takes for a composition: its text (every line followed by
// CR LF), or the Markdown made from it (lines joined by CR LF).
QString text(const Composition &composition, const Project &doc, const Format &format);

// text has CR LF line ends; they become the format's, nothing else changes.
// unmappable receives the characters written as "?" (code page 932 only).
QByteArray bytes(const QString &text, const Format &format, QStringList *unmappable);

// Replaces the file atomically.
Result<> write(const QString &path, const QString &text, const Format &format,
               QStringList *unmappable);

} // namespace ReadmeFile
