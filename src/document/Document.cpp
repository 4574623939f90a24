#include "Document.h"

#include "entrylists/EntryLists.h"

#include <QSet>

using namespace Qt::StringLiterals;
using Items::indent;

namespace {
const std::array<const char16_t *, 4> kReprintChoices = {u"可", u"不可", u"転載前、作者に連絡",
                                                         u"転載後、作者に連絡"};
const std::array<int, Items::kBodyCount> kBodyDefaults = {1, 0, 1, 1, 1, 1, 0};
} // namespace

Document::Document(QObject *parent) : QObject(parent), m_items(new ItemList(this))
{
    using namespace Items;
    for (int i = 0; i <= BodyMarker; ++i)
        m_itemNames[size_t(i)] = QString::fromUtf16(kLabelCaptions[size_t(i)]);
    for (int i = 0; i < kBodyCount; ++i)
        m_itemNames[size_t(FirstBody + i)] = QString::fromUtf16(kBodyCaptions[size_t(i)]);
    m_itemNames[EndMarker] = QString::fromUtf16(kEndMarkerName);
    for (int i = 0; i < kEndCount; ++i)
        m_itemNames[size_t(FirstEnd + i)] = QString::fromUtf16(kEndCaptions[size_t(i)]);
}

// ---- start-up and reset -------------------------------------------------

// The reprint presets and the registered-entry lists, appended to whatever
// the drop-downs hold; the field texts are not touched.
void Document::fillComboLists()
{
    using namespace Items;
    QStringList reprint = m_comboLists[Reprinting];
    for (const char16_t *c : kReprintChoices)
        reprint.append(QString::fromUtf16(c));
    setComboEntries(Reprinting, reprint);
    for (const EntryLists::ListInfo &list : EntryLists::kLists) {
        QStringList entries = m_comboLists.at(size_t(list.itemIndex));
        EntryLists::LoadEntryList(QString::fromUtf16(list.fileName), entries);
        setComboEntries(list.itemIndex, entries);
    }
}

void Document::InitializeForm()
{
    using namespace Items;
    fillComboLists();
    setFieldText(Reprinting, m_comboLists[Reprinting].first());
    for (const EntryLists::ListInfo &list : EntryLists::kLists) {
        const QStringList &entries = m_comboLists.at(size_t(list.itemIndex));
        setFieldText(list.itemIndex, entries.isEmpty() ? QString() : entries.first());
    }

    setTxtLineCount(u"80"_s);
    for (int i = 0; i < kBodyCount; ++i)
        setChkBody(i, kBodyDefaults[size_t(i)]);
    setChkEndSentence(1);
    for (int i = 0; i < kEndCount; ++i)
        setChkEnd(i, 1);
    GatherFields();
    rebuildItemList();
    m_formReady = true;
}

// The start-up list depends only on the controls: whatever the handlers did
// on the way is discarded.
void Document::rebuildItemList()
{
    using namespace Items;
    QStringList entries;
    for (int i = 0; i <= BodyMarker; ++i) {
        const QString &name = m_itemNames[size_t(i)];
        if (name.startsWith(u'●'))
            entries.append(name);
        else if (!m_itemValues[size_t(i)].isEmpty())
            entries.append(indent() + name);
    }
    for (int i = FirstBody; i <= LastBody; ++i) {
        if (m_chkBody[size_t(i - FirstBody)] != 0)
            entries.append(indent() + m_itemNames[size_t(i)]);
    }
    const bool endAdded = m_chkEndSentence != 0;
    if (endAdded)
        entries.append(m_itemNames[EndMarker]);
    for (int i = FirstEnd; i <= LastEnd; ++i) {
        if (endAdded && m_chkEnd[size_t(i - FirstEnd)] != 0)
            entries.append(indent() + m_itemNames[size_t(i)]);
    }
    m_items->setEntries(entries);
}

void Document::ClearForm()
{
    using namespace Items;
    setPreviewText(QString());
    for (int i : {SoftName, Version, RegistName, Date})
        setFieldText(i, QString());
    for (int i : {Writer, Environment, Confirmation, Dll, Reprinting, SoftClass})
        clearCombo(i);
    setFieldText(Price, QString());
    for (int i : {Address, EMail, HomePage})
        clearCombo(i);
    setOptLineType(0);
    setTxtLineType(QString());
    setTxtLineCount(QString());
    setOptBracketsType(0);
    setTxtBracketsType(0, QString());
    setTxtBracketsType(1, QString());
    setTxtAdd(QString());
    m_items->clear();
}

void Document::New()
{
    ClearForm();
    InitializeForm();
}

void Document::setCheckQuietly(int &box, int state, Control control, int index)
{
    if (box == state)
        return;
    box = state;
    emit changed(control, index);
}

void Document::load(const StoredDocument &stored)
{
    using namespace Items;
    ClearForm();
    setOptLineType(stored.optLineType);
    setTxtLineType(stored.txtLineType);
    setOptBracketsType(stored.optBracketsType);
    setTxtBracketsType(0, stored.txtBracketsType[0]);
    setTxtBracketsType(1, stored.txtBracketsType[1]);
    setTxtLineCount(stored.txtLineCount);
    m_items->setEntries(stored.entries);

    // Field texts and check states are set without their handlers: the list
    // is already what the file says, and one pass at the end keeps reading
    // linear in the file's lines.
    for (int i = SoftName; i <= HomePage; ++i) {
        const QString &value = stored.values[size_t(i)];
        if (!value.isEmpty() && m_fields[size_t(i)] != value) {
            m_fields[size_t(i)] = value;
            emit changed(Control::FieldText, i);
        }
    }
    QSet<QStringView> listed;
    for (const QString &entry : stored.entries)
        listed.insert(ItemList::trimSpaces(entry));
    const auto stateOf = [&](int index, int unlisted) {
        if (!listed.contains(m_itemNames[size_t(index)]))
            return unlisted;
        const int state = stored.values[size_t(index)].toInt();
        return state != 0 ? state : 1;
    };
    for (int i = 0; i < kBodyCount; ++i)
        setCheckQuietly(m_chkBody[size_t(i)], stateOf(FirstBody + i, 0), Control::BodyCheck, i);
    const int endSection = stateOf(EndMarker, 0);
    setCheckQuietly(m_chkEndSentence, endSection, Control::EndSentenceCheck, 0);
    for (int i = 0; i < kEndCount; ++i) {
        // With the section off, unlisted lines are grayed as the switch leaves them.
        setCheckQuietly(m_chkEnd[size_t(i)], stateOf(FirstEnd + i, endSection != 0 ? 0 : 2),
                        Control::EndCheck, i);
        setChkEndEnabled(i, endSection != 0);
    }
    for (int i = SoftName; i <= HomePage; ++i) {
        if (!m_fields[size_t(i)].isEmpty())
            m_items->InsertItemEntry(m_itemNames[size_t(i)], m_itemNames[BodyMarker]);
    }
    fillComboLists();
}

Document::ApplyResult Document::parseCheckState(const QString &value, int *state)
{
    bool ok = false;
    *state = value.trimmed().toInt(&ok);
    if (!ok)
        return {false, u"チェック状態「%1」は整数ではありません"_s.arg(value)};
    if (*state < 0 || *state > 2)
        return {false, u"チェック状態「%1」は 0、1、2 のいずれでもありません"_s.arg(value)};
    return {};
}

// ---- item tables ----------------------------------------------------------

void Document::GatherFields()
{
    using namespace Items;
    m_itemValues[StartMarker].clear();
    m_itemValues[BodyMarker].clear();
    for (int i = SoftName; i <= HomePage; ++i)
        m_itemValues[size_t(i)] = m_fields[size_t(i)];
    for (int i = 0; i < kBodyCount; ++i)
        m_itemValues[size_t(FirstBody + i)] = QString::number(m_chkBody[size_t(i)]);
    m_itemValues[EndMarker] = QString::number(m_chkEndSentence);
    for (int i = 0; i < kEndCount; ++i)
        m_itemValues[size_t(FirstEnd + i)] = QString::number(m_chkEnd[size_t(i)]);
}

Document::ApplyResult Document::ApplyFields(int index, const QString &value)
{
    using namespace Items;
    if (isField(index)) {
        setFieldText(index, value);
        return {};
    }
    const bool isBox = (index >= FirstBody && index <= LastBody) || index == EndMarker ||
                       (index >= FirstEnd && index <= LastEnd);
    if (!isBox)
        return {};
    int state = 0;
    if (const ApplyResult r = parseCheckState(value, &state); !r.ok)
        return r;
    if (index == EndMarker)
        setChkEndSentence(state);
    else if (index >= FirstEnd)
        setChkEnd(index - FirstEnd, state);
    else
        setChkBody(index - FirstBody, state);
    return {};
}

void Document::SyncItem(int index)
{
    Q_ASSERT(index >= 0 && index < Items::kCount);
    GatherFields();
    const QString &name = m_itemNames[size_t(index)];
    if (!m_itemValues[size_t(index)].isEmpty())
        m_items->InsertItemEntry(name, m_itemNames[Items::BodyMarker]);
    else
        m_items->RemoveItemEntries(name);
}

DocumentSnapshot Document::snapshot()
{
    GatherFields();
    DocumentSnapshot s;
    s.itemNames = m_itemNames;
    s.itemValues = m_itemValues;
    s.entries = m_items->entries();
    s.chkBody = m_chkBody;
    s.chkEnd = m_chkEnd;
    s.optLineType = m_optLineType;
    s.txtLineType = m_txtLineType;
    s.txtLineCount = m_txtLineCount;
    s.optBracketsType = m_optBracketsType;
    s.txtBracketsType = m_txtBracketsType;
    return s;
}

// ---- fields ---------------------------------------------------------------

void Document::setFieldText(int index, const QString &text)
{
    Q_ASSERT(Items::isField(index));
    QString &field = m_fields[size_t(index)];
    if (field == text)
        return;
    field = text;
    emit changed(Control::FieldText, index);
    if (Items::isComboField(index))
        comboChange(index);
    else
        SyncItem(index);
}

void Document::comboChange(int index)
{
    if (m_formReady)
        SyncItem(index);
}

void Document::pickComboEntry(int index, int entry)
{
    const QStringList &list = m_comboLists.at(size_t(index));
    if (entry < 0 || entry >= list.size())
        return;
    const QString text = list.at(entry);
    if (m_fields[size_t(index)] != text) {
        m_fields[size_t(index)] = text;
        emit changed(Control::FieldText, index);
    }
    comboChange(index); // the click handler runs the change handler
}

void Document::clearCombo(int index)
{
    setComboEntries(index, {});
    setFieldText(index, QString());
}

void Document::setComboEntries(int index, const QStringList &entries)
{
    QStringList &list = m_comboLists[size_t(index)];
    if (list == entries)
        return;
    list = entries;
    emit changed(Control::ComboList, index);
}

void Document::reloadRegisteredList(int listIndex)
{
    const EntryLists::ListInfo &row = EntryLists::kLists.at(size_t(listIndex));
    QStringList entries;
    EntryLists::LoadEntryList(QString::fromUtf16(row.fileName), entries);
    setComboEntries(row.itemIndex, entries);
    if (m_fields[size_t(row.itemIndex)].isEmpty() && !entries.isEmpty())
        setFieldText(row.itemIndex, entries.first());
}

bool Document::priceKeyAccepted(QChar c)
{
    const char16_t u = c.unicode();
    // The yen sign is what the backslash key types on some Japanese layouts.
    return (u >= u'0' && u <= u'9') || u == 8 || u == u' ' || u == u',' || u == u'\\' ||
           u == u'\u00a5';
}

// ---- heading check boxes ------------------------------------------------

void Document::setChkBody(int i, int state)
{
    if (m_chkBody.at(size_t(i)) == state)
        return;
    m_chkBody[size_t(i)] = state;
    emit changed(Control::BodyCheck, i);
    chkBody_Click(i);
}

void Document::setChkEndSentence(int state)
{
    if (m_chkEndSentence == state)
        return;
    m_chkEndSentence = state;
    emit changed(Control::EndSentenceCheck, 0);
    chkEndSentence_Click();
}

void Document::setChkEnd(int i, int state)
{
    if (m_chkEnd.at(size_t(i)) == state)
        return;
    m_chkEnd[size_t(i)] = state;
    emit changed(Control::EndCheck, i);
    chkEnd_Click(i);
}

void Document::setChkEndEnabled(int i, bool enabled)
{
    if (m_chkEndEnabled[size_t(i)] == enabled)
        return;
    m_chkEndEnabled[size_t(i)] = enabled;
    emit changed(Control::EndCheckEnabled, i);
}

void Document::chkBody_Click(int i)
{
    const QString &name = m_itemNames[size_t(Items::FirstBody + i)];
    if (m_chkBody[size_t(i)] != 0)
        m_items->InsertItemEntry(name, m_itemNames[Items::EndMarker]);
    else
        m_items->RemoveItemEntries(name);
}

void Document::chkEnd_Click(int i)
{
    if (m_chkEndSentence == 0)
        return;
    const QString &name = m_itemNames[size_t(Items::FirstEnd + i)];
    if (m_chkEnd[size_t(i)] != 0)
        m_items->AppendItemEntry(name);
    else
        m_items->RemoveItemEntries(name);
}

void Document::chkEndSentence_Click()
{
    const QString &marker = m_itemNames[Items::EndMarker];
    if (m_chkEndSentence != 0) {
        m_items->appendEntry(marker);
        for (int i = 0; i < Items::kEndCount; ++i) {
            setChkEnd(i, 1);
            setChkEndEnabled(i, true);
        }
        return;
    }
    for (int i = 0; i < Items::kEndCount; ++i) {
        setChkEnd(i, 2);
        setChkEndEnabled(i, false);
        m_items->RemoveItemEntries(m_itemNames[size_t(Items::FirstEnd + i)]);
        m_items->RemoveItemEntries(marker);
    }
}

// ---- styles ---------------------------------------------------------------

void Document::setOptLineType(int i)
{
    if (m_optLineType == i)
        return;
    m_optLineType = i;
    emit changed(Control::LineType, i);
    optLineType_Click();
}

void Document::optLineType_Click()
{
    const bool enabled = m_optLineType == 3;
    if (m_txtLineTypeEnabled == enabled)
        return;
    m_txtLineTypeEnabled = enabled;
    emit changed(Control::LineTypeTextEnabled, 0);
}

void Document::setTxtLineType(const QString &text)
{
    if (m_txtLineType == text)
        return;
    m_txtLineType = text;
    emit changed(Control::LineTypeText, 0);
}

void Document::setTxtLineCount(const QString &text)
{
    if (m_txtLineCount == text)
        return;
    m_txtLineCount = text;
    emit changed(Control::LineCount, 0);
}

void Document::setOptBracketsType(int i)
{
    if (m_optBracketsType == i)
        return;
    m_optBracketsType = i;
    emit changed(Control::BracketsType, i);
    optBracketsType_Click();
}

void Document::optBracketsType_Click()
{
    const bool enabled = m_optBracketsType == 3;
    for (int i = 0; i < 2; ++i) {
        if (m_txtBracketsEnabled[size_t(i)] != enabled) {
            m_txtBracketsEnabled[size_t(i)] = enabled;
            emit changed(Control::BracketsTextEnabled, i);
        }
    }
}

void Document::setTxtBracketsType(int i, const QString &text)
{
    if (m_txtBracketsType.at(size_t(i)) == text)
        return;
    m_txtBracketsType[size_t(i)] = text;
    emit changed(Control::BracketsText, i);
}

void Document::Label5_Click(int)
{
    setOptBracketsType(3);
    optBracketsType_Click();
}

// ---- adding headings and the preview -------------------------------------

void Document::setTxtAdd(const QString &text)
{
    if (m_txtAdd == text)
        return;
    m_txtAdd = text;
    emit changed(Control::AddText, 0);
}

void Document::cmdAddDel_Click(int index)
{
    if (index == 0)
        m_items->AddEntry(m_txtAdd);
    else
        m_items->DeleteSelectedItems();
}

void Document::cmdUpDown_Click(int index)
{
    if (index == 0)
        m_items->MoveSelectedUp();
    else
        m_items->MoveSelectedDown();
}

void Document::setPreviewText(const QString &text)
{
    if (m_preview == text)
        return;
    m_preview = text;
    emit changed(Control::Preview, 0);
}
