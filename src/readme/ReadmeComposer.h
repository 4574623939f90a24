#pragma once

#include "platform/Result.h"
#include "project/Project.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <vector>

// One line of a composed README and what wrote it. The views point into
// the Composition that holds the line.
struct ComposedLine {
    enum class Kind : quint8 {
        Field,       // a field's name and value (item, or -1 and key for one of the author's)
        Heading,     // a heading; key names the text under it (item, or -1 for a custom one)
        Separator,   // a section marker's line
        Copyright,   // the end section's copyright line
        Credit,      // a material credited; item 0 its name, 1 to 4 a detail
        LeadText,    // the author's text before the first line
        HeadingText, // the author's text under the heading key
        TailText,    // the author's text after the last line
    };
    Kind kind;
    bool inEnd = false; // written after the end marker, in the end section's layout
    int item = -1;
    QStringView text; // without its line end
    QStringView key;
    // A line the composer broke at the width: the indent (in characters) it
    // put before this continuation, or -1, and the spaces the break took.
    int continues = -1;
    int gap = 0;

    bool isText() const { return kind >= Kind::LeadText; }
};

// A composed README: its text and its lines in order. Every output (code
// page 932 or UTF-8 text, Markdown) is made from one composition. Copies
// share the text, so the lines' views stay valid in every copy.
struct Composition {
    QString text;        // every line followed by CR LF
    QStringList entries; // the list it was composed from; the keys point into it
    std::vector<ComposedLine> lines;
};

// Lays out the README from a snapshot of the document: one piece per item
// list entry, widths counted in code page 932 bytes for a fixed-pitch font,
// each heading followed by the author's text under it. The snapshot cannot
// change while the README is built.
class ReadmeComposer {
public:
    // Called before entries 0, 10, 20, ... so a window can repaint.
    using EventPump = std::function<void()>;

    // Widths beyond this are refused: a data file could otherwise ask for
    // separator lines of billions of characters.
    static constexpr int kMaxLineWidth = 10000;

    explicit ReadmeComposer(Project snapshot);
    ReadmeComposer(const ReadmeComposer &) = delete; // m_names points into m_doc
    ReadmeComposer &operator=(const ReadmeComposer &) = delete;

    // The README, or why the styles do not allow one.
    Result<Composition> composeLines(const EventPump &pump = {});
    // The README text with CR LF line ends.
    Result<QString> compose(const EventPump &pump = {});

    // Style state; valid after readStyles() succeeded.
    Result<> readStyles();
    int lineWidth = 0;
    QString separatorLine; // without its line end
    QString leftBracket;
    QString rightBracket;
    bool oneSidedBrackets = false;

    // Single lines appended to out, after readStyles(); the importer lays
    // out its guesses with them too.
    enum ItemLayout { EndLine, CentredHeading, OneSidedHeading, FieldLine };
    void formatItem(QString &out, int index, ItemLayout layout) const;
    void formatItem(QString &out, QStringView name, QStringView value, ItemLayout layout) const;
    void customHeading(QString &out, QStringView text) const;
    void customEndLine(QString &out, QStringView text) const;
    void copyrightLine(QString &out) const;

private:
    void padding(QString &out, int fieldWidth, int textWidth, int halve) const;
    QStringView shown(QStringView name) const;
    void addEntry(int position, bool &inEnd, Composition &c);
    void addHeading(int item, int position, bool inEnd, Composition &c);
    void addField(int item, int position, bool inEnd, Composition &c);
    void addTextUnder(QStringView key, bool inEnd, Composition &c);
    void addCredits(bool inEnd, Composition &c);
    void endLine(Composition &c, ComposedLine line, qsizetype start);
    void endWrapped(Composition &c, ComposedLine line, qsizetype start, qsizetype valueAt = -1);

    Project m_doc;
    Items::NameIndex m_names;                             // refers to m_doc's names
    QSet<const QStringList *> m_textsWritten;             // into m_doc.texts
    std::vector<std::pair<qsizetype, qsizetype>> m_spans; // of the lines, while composing
    bool m_keepLines = true;
    bool m_creditsToWrite = true;
};
