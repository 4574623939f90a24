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
using Control = Document::Control;

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
    bindFields();
    bindChecks();
    bindStyles();
    bindListControls();
}

void FrmMain::bindFields()
{
    for (int i = Items::SoftName; i <= Items::HomePage; ++i) {
        if (QComboBox *combo = m_combos[size_t(i)]) {
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [this, i](const QString &t) { m_doc->setFieldText(i, t); });
            connect(combo, &QComboBox::activated, this,
                    [this, i](int entry) { m_doc->pickComboEntry(i, entry); });
        } else {
            connect(m_textFields[size_t(i)], &QLineEdit::textEdited, this,
                    [this, i](const QString &t) { m_doc->setFieldText(i, t); });
        }
    }
    for (int i = 0; i < 16; ++i)
        connect(m_label1[size_t(i)], &ClickableLabel::clicked, this,
                [this, i] { fieldLabelClicked(i); });
}

void FrmMain::bindChecks()
{
    for (int i = 0; i < Items::kBodyCount; ++i) {
        TriStateCheckBox *box = m_chkBody[size_t(i)];
        connect(box, &QCheckBox::clicked, this,
                [this, i, box] { m_doc->setBodyBox(i, box->state()); });
    }
    connect(m_chkEndSentence, &QCheckBox::clicked, this,
            [this] { m_doc->setEndSection(m_chkEndSentence->state()); });
    for (int i = 0; i < Items::kEndCount; ++i) {
        TriStateCheckBox *box = m_chkEnd[size_t(i)];
        connect(box, &QCheckBox::clicked, this,
                [this, i, box] { m_doc->setEndBox(i, box->state()); });
    }
}

void FrmMain::bindStyles()
{
    for (int i = 0; i < 4; ++i) {
        connect(m_optLineType[size_t(i)], &QRadioButton::clicked, this,
                [this, i] { m_doc->setLineStyle(i); });
        connect(m_optBracketsType[size_t(i)], &QRadioButton::clicked, this,
                [this, i] { m_doc->setBracketStyle(i); });
    }
    connect(m_txtLineType, &QLineEdit::textEdited, m_doc, &Document::setLineText);
    connect(m_txtLineCount, &QLineEdit::textEdited, m_doc, &Document::setWidthText);
    for (int i = 0; i < 2; ++i) {
        connect(m_txtBracketsType[size_t(i)], &QLineEdit::textEdited, this,
                [this, i](const QString &t) { m_doc->setBracketText(i, t); });
        connect(m_label5[size_t(i)], &ClickableLabel::clicked, this,
                [this] { m_doc->chooseFreeBrackets(); });
    }
}

void FrmMain::bindListControls()
{
    m_lstItem->setItemList(m_doc->items());
    connect(m_txtAdd, &QLineEdit::textEdited, m_doc, &Document::setAddText);
    ItemList *items = m_doc->items();
    connect(m_addButton, &QPushButton::clicked, m_doc, &Document::addTypedHeading);
    connect(m_deleteButton, &QPushButton::clicked, items, &ItemList::deleteSelected);
    connect(m_upButton, &QPushButton::clicked, items, &ItemList::moveSelectedUp);
    connect(m_downButton, &QPushButton::clicked, items, &ItemList::moveSelectedDown);
    connect(m_txtPreView, &QPlainTextEdit::textChanged, this,
            [this] { m_doc->setPreviewText(toDocumentText(m_txtPreView->toPlainText())); });
}

void FrmMain::mirrorField(int index)
{
    if (QComboBox *combo = m_combos[size_t(index)]) {
        if (combo->currentText() != m_doc->fieldText(index)) {
            const QSignalBlocker block(combo);
            const QSignalBlocker blockEdit(combo->lineEdit());
            combo->setEditText(m_doc->fieldText(index));
        }
    } else {
        setTextIfDifferent(m_textFields[size_t(index)], m_doc->fieldText(index));
    }
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

void FrmMain::mirror(Document::Control control, int index)
{
    switch (control) {
    case Control::FieldText:
        mirrorField(index);
        break;
    case Control::ComboList:
        mirrorComboList(index);
        break;
    case Control::BodyCheck:
        setStateIfDifferent(m_chkBody[size_t(index)], m_doc->bodyBox(index));
        break;
    case Control::EndSentenceCheck:
        setStateIfDifferent(m_chkEndSentence, m_doc->endSection());
        break;
    case Control::EndCheck:
        setStateIfDifferent(m_chkEnd[size_t(index)], m_doc->endBox(index));
        break;
    case Control::EndCheckEnabled:
        m_chkEnd[size_t(index)]->setEnabled(m_doc->endBoxEnabled(index));
        break;
    case Control::LineType:
        check(m_optLineType[size_t(m_doc->lineStyle())]);
        break;
    case Control::LineTypeText:
        setTextIfDifferent(m_txtLineType, m_doc->lineText());
        break;
    case Control::LineTypeTextEnabled:
        m_txtLineType->setEnabled(m_doc->lineTextEnabled());
        break;
    case Control::LineCount:
        setTextIfDifferent(m_txtLineCount, m_doc->widthText());
        break;
    case Control::BracketsType:
        check(m_optBracketsType[size_t(m_doc->bracketStyle())]);
        break;
    case Control::BracketsText:
        setTextIfDifferent(m_txtBracketsType[size_t(index)], m_doc->bracketText(index));
        break;
    case Control::BracketsTextEnabled:
        m_txtBracketsType[size_t(index)]->setEnabled(m_doc->bracketTextEnabled(index));
        break;
    case Control::AddText:
        setTextIfDifferent(m_txtAdd, m_doc->addText());
        break;
    case Control::Preview:
        if (toDocumentText(m_txtPreView->toPlainText()) != m_doc->previewText()) {
            const QSignalBlocker block(m_txtPreView);
            m_txtPreView->setPlainText(toPreviewText(m_doc->previewText()));
        }
        break;
    case Control::Texts:
        break; // shown in the preview when it is composed
    }
}

void FrmMain::mirrorAll()
{
    for (int i = Items::SoftName; i <= Items::HomePage; ++i) {
        if (m_combos[size_t(i)])
            mirrorComboList(i);
        mirrorField(i);
    }
    for (int i = 0; i < Items::kBodyCount; ++i)
        mirror(Control::BodyCheck, i);
    mirror(Control::EndSentenceCheck, 0);
    for (int i = 0; i < Items::kEndCount; ++i) {
        mirror(Control::EndCheck, i);
        mirror(Control::EndCheckEnabled, i);
    }
    for (Control c :
         {Control::LineType, Control::LineTypeText, Control::LineTypeTextEnabled,
          Control::LineCount, Control::BracketsType, Control::AddText, Control::Preview})
        mirror(c, 0);
    for (int i = 0; i < 2; ++i) {
        mirror(Control::BracketsText, i);
        mirror(Control::BracketsTextEnabled, i);
    }
}
