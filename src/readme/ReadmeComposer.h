#pragma once

#include "document/Document.h"

#include <QString>
#include <functional>

// Lays out the README text from a snapshot of the document: one piece per
// item list entry, widths counted in code page 932 bytes for a fixed-pitch
// font. The snapshot cannot change while the text is built.
class ReadmeComposer {
public:
    enum ItemLayout { EndLine = 0, CentredHeading = 1, OneSidedHeading = 2, FieldLine = 3 };

    // Called before entries 0, 10, 20, ... so a window can repaint.
    using EventPump = std::function<void()>;

    struct Result {
        bool ok = false;
        QString text;
        QString error;
    };

    // Widths beyond this are refused: a data file could otherwise ask for
    // separator lines of billions of characters.
    static constexpr int kMaxLineWidth = 10000;

    explicit ReadmeComposer(DocumentSnapshot snapshot);
    ReadmeComposer(const ReadmeComposer &) = delete; // m_names points into m_doc
    ReadmeComposer &operator=(const ReadmeComposer &) = delete;

    Result BuildReadme(const EventPump &pump = {});

    // Style state; valid after ReadStyles() returned true.
    bool ReadStyles(QString *error);
    int LineWidth = 0;
    QString SeparatorLine;
    QString LeftBracket;
    QString RightBracket;
    bool OneSidedBrackets = false;

    QString FormatItem(int index, ItemLayout layout) const;
    QString PadSpaces(int fieldWidth, int textWidth, int halve) const;
    QString FormatCustomHeading(int listIndex) const;

private:
    QString piece(int position, bool &inEndSection) const;
    QString customEndLine(const QString &text) const;
    QString copyrightLine() const;
    int itemIndexOf(QStringView trimmed) const;

    DocumentSnapshot m_doc;
    Items::NameIndex m_names; // refers to m_doc's names
};
