#pragma once

#include "document/Document.h"
#include "platform/Result.h"

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

    // Widths beyond this are refused: a data file could otherwise ask for
    // separator lines of billions of characters.
    static constexpr int kMaxLineWidth = 10000;

    explicit ReadmeComposer(DocumentSnapshot snapshot);
    ReadmeComposer(const ReadmeComposer &) = delete; // m_names points into m_doc
    ReadmeComposer &operator=(const ReadmeComposer &) = delete;

    // The README text, or why the styles do not allow one.
    Result<QString> compose(const EventPump &pump = {});

    // Style state; valid after readStyles() succeeded.
    Result<> readStyles();
    int lineWidth = 0;
    QString separatorLine;
    QString leftBracket;
    QString rightBracket;
    bool oneSidedBrackets = false;

    QString formatItem(int index, ItemLayout layout) const;
    QString padding(int fieldWidth, int textWidth, int halve) const;
    QString formatCustomHeading(int listIndex) const;

private:
    QString entryText(int position, bool &inEndSection) const;
    QString customEndLine(const QString &text) const;
    QString copyrightLine() const;

    DocumentSnapshot m_doc;
    Items::NameIndex m_names; // refers to m_doc's names
};
