#include "Controls.h"
#include "FrmMain.h"
#include "ItemListView.h"
#include "itemlist/ItemList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

namespace {
void setTextIfDifferent(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text) {
        const QSignalBlocker block(edit);
        edit->setText(text);
    }
}

void setStateIfDifferent(TriStateCheckBox *box, int state)
{
    if (box->state() != state) {
        const QSignalBlocker block(box);
        box->setState(state);
    }
}

void check(QRadioButton *option)
{
    if (!option->isChecked()) {
        const QSignalBlocker block(option);
        option->setChecked(true);
    }
}

// The preview shows lines; the Document keeps the text with CR LF.
QString toDocumentText(QString text)
{
    return text.replace(u'\n', u"\r\n"_s);
}
QString toPreviewText(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s);
}
} // namespace

void FrmMain::bindControls()
{
    connect(m_doc, &Document::changed, this, &FrmMain::mirror);
    for (const Bound &b : m_bound)
        bind(b);
    bindCommands();
}

// User input calls the document's setter of the value the control edits.
void FrmMain::bind(const Bound &b)
{
    using Kind = Inventory::Kind;
    const Document::Value value = *b.declared->edits;
    const int index = b.declared->valueIndex;
    const auto setText = [this, value, index](const QString &t) {
        m_doc->setText(value, index, t);
    };
    switch (b.declared->kind) {
    case Kind::ComboBox: {
        auto *combo = static_cast<QComboBox *>(b.widget);
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, setText);
        connect(combo, &QComboBox::activated, this,
                [this, index](int entry) { m_doc->pickComboEntry(index, entry); });
        break;
    }
    case Kind::TextBox:
        connect(static_cast<QLineEdit *>(b.widget), &QLineEdit::textEdited, this, setText);
        break;
    case Kind::CheckBox: {
        auto *box = static_cast<TriStateCheckBox *>(b.widget);
        connect(box, &QCheckBox::clicked, this,
                [this, value, index, box] { m_doc->setState(value, index, box->state()); });
        break;
    }
    case Kind::OptionButton:
        connect(static_cast<QRadioButton *>(b.widget), &QRadioButton::clicked, this,
                [this, value, option = b.declared->index] { m_doc->setState(value, 0, option); });
        break;
    case Kind::Preview: {
        auto *preview = static_cast<QPlainTextEdit *>(b.widget);
        connect(preview, &QPlainTextEdit::textChanged, this,
                [this, preview] { m_doc->setPreviewText(toDocumentText(preview->toPlainText())); });
        break;
    }
    default:
        break;
    }
}

// The controls that run a command rather than edit a value.
void FrmMain::bindCommands()
{
    for (int i = 0; i < 16; ++i)
        connect(m_label1[size_t(i)], &ClickableLabel::clicked, this,
                [this, i] { fieldLabelClicked(i); });
    for (ClickableLabel *label : m_label5)
        connect(label, &ClickableLabel::clicked, m_doc, &Document::chooseFreeBrackets);
    m_lstItem->setItemList(m_doc->items());
    ItemList *items = m_doc->items();
    connect(m_addButton, &QPushButton::clicked, m_doc, &Document::addTypedHeading);
    connect(m_deleteButton, &QPushButton::clicked, items, &ItemList::deleteSelected);
    connect(m_upButton, &QPushButton::clicked, items, &ItemList::moveSelectedUp);
    connect(m_downButton, &QPushButton::clicked, items, &ItemList::moveSelectedDown);
}

void FrmMain::mirrorComboList(int index)
{
    QComboBox *combo = m_combos[size_t(index)];
    const QSignalBlocker block(combo);
    const QSignalBlocker blockEdit(combo->lineEdit());
    combo->clear();
    combo->addItems(m_doc->comboEntries(index));
    // The drop-down opens at the entry the text shows, if it is one.
    combo->setCurrentIndex(combo->findText(m_doc->fieldText(index), Qt::MatchExactly));
    combo->setEditText(m_doc->fieldText(index));
}

// A control shows its value and whether it can be edited; it is set only
// where it differs, so a caret does not jump.
void FrmMain::mirrorControl(const Bound &b)
{
    using Kind = Inventory::Kind;
    const Document::Value value = *b.declared->edits;
    const int index = b.declared->valueIndex;
    switch (b.declared->kind) {
    case Kind::ComboBox: {
        auto *combo = static_cast<QComboBox *>(b.widget);
        if (combo->currentText() != m_doc->text(value, index)) {
            const QSignalBlocker block(combo);
            const QSignalBlocker blockEdit(combo->lineEdit());
            combo->setEditText(m_doc->text(value, index));
        }
        break;
    }
    case Kind::TextBox:
        setTextIfDifferent(static_cast<QLineEdit *>(b.widget), m_doc->text(value, index));
        break;
    case Kind::CheckBox:
        setStateIfDifferent(static_cast<TriStateCheckBox *>(b.widget), m_doc->state(value, index));
        break;
    case Kind::OptionButton:
        if (m_doc->state(value, 0) == b.declared->index)
            check(static_cast<QRadioButton *>(b.widget));
        break;
    case Kind::Preview: {
        auto *preview = static_cast<QPlainTextEdit *>(b.widget);
        if (toDocumentText(preview->toPlainText()) != m_doc->previewText()) {
            const QSignalBlocker block(preview);
            preview->setPlainText(toPreviewText(m_doc->previewText()));
        }
        break;
    }
    default:
        break;
    }
    b.widget->setEnabled(m_doc->isEnabled(value, index));
}

void FrmMain::mirror(Document::Value value, int index)
{
    if (value == Document::Value::DropDown)
        return mirrorComboList(index);
    if (value == Document::Value::Settings || value == Document::Value::Width)
        mirrorSettings();
    const bool anyIndex = value == Document::Value::LineStyle ||
                          value == Document::Value::BracketStyle; // one value, four options
    for (const Bound &b : m_bound) {
        if (b.declared->edits == value && (anyIndex || b.declared->valueIndex == index))
            mirrorControl(b);
    }
}

void FrmMain::mirrorAll()
{
    for (int i = Items::SoftName; i <= Items::HomePage; ++i) {
        if (m_combos[size_t(i)])
            mirrorComboList(i);
    }
    for (const Bound &b : m_bound)
        mirrorControl(b);
    mirrorSettings();
}
