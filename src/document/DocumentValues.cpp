// The document's values by what they are, for controls declared in a table
// rather than bound one by one.
#include "Document.h"

// ---- values by what they are -------------------------------------------------

QString Document::text(Value value, int index) const
{
    switch (value) {
    case Value::FieldText:
        return fieldText(index);
    case Value::FreeLine:
        return m_lineText;
    case Value::Width:
        return m_widthText;
    case Value::FreeBracket:
        return bracketText(index);
    case Value::AddText:
        return m_addText;
    case Value::Preview:
        return m_preview;
    default:
        return QString::number(state(value, index));
    }
}

void Document::setText(Value value, int index, const QString &text)
{
    switch (value) {
    case Value::FieldText:
        return setFieldText(index, text);
    case Value::FreeLine:
        return setLineText(text);
    case Value::Width:
        return setWidthText(text);
    case Value::FreeBracket:
        return setBracketText(index, text);
    case Value::AddText:
        return setAddText(text);
    case Value::Preview:
        return setPreviewText(text);
    default:
        break; // no text of its own
    }
}

int Document::state(Value value, int index) const
{
    switch (value) {
    case Value::HeadingBox:
        return bodyBox(index);
    case Value::EndSection:
        return m_endSection;
    case Value::EndLineBox:
        return endBox(index);
    case Value::LineStyle:
        return m_lineStyle;
    case Value::BracketStyle:
        return m_bracketStyle;
    default:
        return 0;
    }
}

void Document::setState(Value value, int index, int state)
{
    switch (value) {
    case Value::HeadingBox:
        return setBodyBox(index, state);
    case Value::EndSection:
        return setEndSection(state);
    case Value::EndLineBox:
        return setEndBox(index, state);
    case Value::LineStyle:
        return setLineStyle(state);
    case Value::BracketStyle:
        return setBracketStyle(state);
    default:
        break; // no state of its own
    }
}

bool Document::isEnabled(Value value, int index) const
{
    switch (value) {
    case Value::EndLineBox:
        return endBoxEnabled(index);
    case Value::FreeLine:
        return m_lineTextEnabled;
    case Value::FreeBracket:
        return bracketTextEnabled(index);
    default:
        return true;
    }
}
