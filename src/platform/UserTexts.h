#pragma once

#include <QString>
#include <QStringList>

class QDateTime;

// The words the author reads when something needs attention, shared by the
// window and quillet-compose so that both say the same thing.
namespace UserTexts {

// Characters code page 932 cannot hold, written as "?".
QString unmappable(const QStringList &chars);
// A file whose bytes do not read as code page 932 text.
QString foreignEncoding(const QString &path);
// Texts that a data file cannot give back as they are.
QString notIntact(const QStringList &texts);
// A data file line that could not be read; the lines before it were.
QString malformedLine(const QString &path, int line, const QString &reason);
// Asked before a data file is opened that could be read only in part.
QString openDamaged(const QString &path, int line, const QString &reason, int unread);
// Asked once after Open: texts kept under headings the list does not hold.
QString unlistedTexts(const QStringList &headings);
// Asked before such a file is overwritten: what would be lost.
QString overwriteDamaged(const QString &path, int line, int unread, const QStringList &sample);

QString dataOpenFailed(const QString &reason);
QString dataSaveFailed(const QString &reason);
QString previewFailed(const QString &reason);
QString readmeComposeFailed(const QString &reason);
QString readmeWriteFailed(const QString &reason);
QString importFailed(const QString &reason);
// A file type the README save dialog handed back that names no format.
QString unknownFileType(const QString &filter);

// Preview lines that stand under no heading the preview was composed with.
QString unplacedText(const QStringList &lines);
// What an import of a README that Quillet did not compose made of it: a
// summary, and the decisions one a line.
QString importReport(const QString &path, const QString &encoding, int mapped, int kept);
QString importDetails(const QStringList &mapped, const QStringList &kept);
QString importTotals(const QString &encoding, int mapped, int kept);
// Characters an imported README holds that Shift-JIS cannot.
QString importUnmappable(const QStringList &chars);
// Lines where bytes stood for no character of the encoding found.
QString damagedLines(const QString &encoding, const QList<int> &lines);

// Asked at start: a recovery file a session left when it did not end in order.
QString recoveryFound(const QString &project, const QDateTime &when);
// A recovery file that cannot be read, kept under another name.
QString recoveryUnreadable(const QString &keptAs, const QString &reason);

} // namespace UserTexts
