#include "Document.h"

#include "document/Styles.h"
#include "entrylists/EntryLists.h"

using namespace Qt::StringLiterals;

namespace {
const std::array<const char16_t *, 4> kReprintChoices = {u"可", u"不可", u"転載前、作者に連絡",
                                                         u"転載後、作者に連絡"};
} // namespace

Document::Document(QObject *parent)
    : QObject(parent), m_items(new ItemList(this)), m_itemNames(Items::names())
{
    connect(m_items, &ItemList::entriesDeleted, this, &Document::dropTextsOf);
}

// A heading the author deletes takes its text with it (undo brings both
// back); a heading listed twice keeps it while one entry remains.
void Document::dropTextsOf(const QStringList &deletedEntries)
{
    BodyTexts texts = m_texts;
    for (const QString &entry : deletedEntries) {
        const QString key = Entry::trimSpaces(entry).toString();
        if (texts.headings.contains(key) && m_items->findItemEntry(key) < 0)
            texts.headings.remove(key);
    }
    setTexts(texts);
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
        EntryLists::appendListFile(QString::fromUtf16(list.fileName), entries);
        setComboEntries(list.itemIndex, entries);
    }
}

void Document::initialize()
{
    using namespace Items;
    fillComboLists();
    setFieldText(Reprinting, m_comboLists[Reprinting].first());
    for (const EntryLists::ListInfo &list : EntryLists::kLists) {
        const QStringList &entries = m_comboLists.at(size_t(list.itemIndex));
        setFieldText(list.itemIndex, entries.isEmpty() ? QString() : entries.first());
    }

    setTxtLineCount(QString::fromUtf16(kDefaultLineCount));
    for (int i = 0; i < kBodyCount; ++i)
        setChkBody(i, kBodyDefaults[size_t(i)]);
    setChkEndSentence(kEndDefault);
    for (int i = 0; i < kEndCount; ++i)
        setChkEnd(i, kEndDefault);
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
        else if (!itemValue(i).isEmpty())
            entries.append(Entry::indented(name));
    }
    for (int i = FirstBody; i <= LastBody; ++i) {
        if (m_chkBody[size_t(i - FirstBody)] != 0)
            entries.append(Entry::indented(m_itemNames[size_t(i)]));
    }
    const bool endAdded = m_chkEndSentence != 0;
    if (endAdded)
        entries.append(m_itemNames[EndMarker]);
    for (int i = FirstEnd; i <= LastEnd; ++i) {
        if (endAdded && m_chkEnd[size_t(i - FirstEnd)] != 0)
            entries.append(Entry::indented(m_itemNames[size_t(i)]));
    }
    m_items->setEntries(entries);
}

void Document::clearForm()
{
    using namespace Items;
    // The list first: each field cleared would search the whole old list.
    m_items->clear();
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
    setTexts(BodyTexts());
}

void Document::reset()
{
    clearForm();
    initialize();
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
    clearForm();
    setStyles(stored.optLineType, stored.txtLineType, stored.optBracketsType,
              stored.txtBracketsType, stored.txtLineCount);
    setTexts(stored.texts);
    m_items->setEntries(stored.entries);

    // Field texts and check states are set without their handlers: the list
    // is already what the file says, and one pass at the end keeps reading
    // linear in the file's lines.
    setFieldsQuietly(stored.values);
    // Which item names the list holds: a look-up among the few names per
    // entry, rather than a set of all the entries.
    const NameIndex names(m_itemNames);
    std::array<bool, kCount> listed{};
    for (const QString &entry : stored.entries) {
        if (const int k = names.itemOfEntry(entry); k >= 0)
            listed[size_t(k)] = true;
    }
    const auto stateOf = [&](int index, int unlisted) {
        if (!listed[size_t(names.indexOf(m_itemNames[size_t(index)]))])
            return unlisted;
        // A listed box takes the state stored, checked when none is.
        const QString &state = stored.values[size_t(index)];
        return state.isEmpty() ? 1 : state.toInt();
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
    for (int i = SoftName; i <= HomePage && stored.listFilledFields; ++i) {
        if (!m_fields[size_t(i)].isEmpty() && !stored.unlisted.test(size_t(i)))
            m_items->insertItemEntry(m_itemNames[size_t(i)], m_itemNames[BodyMarker]);
    }
    fillComboLists();
}

QStringList Document::unlistedTextHeadings() const
{
    QStringList found;
    for (auto it = m_texts.headings.cbegin(); it != m_texts.headings.cend(); ++it) {
        if (m_items->findItemEntry(it.key()) < 0)
            found.append(it.key());
    }
    found.sort();
    return found;
}

void Document::restore(const DocumentSnapshot &state)
{
    using namespace Items;
    m_items->setEntries(state.entries);
    setFieldsQuietly(state.itemValues);
    for (int i = 0; i < kBodyCount; ++i)
        setCheckQuietly(m_chkBody[size_t(i)], state.chkBody[size_t(i)], Control::BodyCheck, i);
    const int endSection = state.itemValues[EndMarker].toInt();
    setCheckQuietly(m_chkEndSentence, endSection, Control::EndSentenceCheck, 0);
    for (int i = 0; i < kEndCount; ++i) {
        setCheckQuietly(m_chkEnd[size_t(i)], state.chkEnd[size_t(i)], Control::EndCheck, i);
        setChkEndEnabled(i, endSection != 0);
    }
    setStyles(state.optLineType, state.txtLineType, state.optBracketsType, state.txtBracketsType,
              state.txtLineCount);
    setTexts(state.texts);
}

void Document::setFieldsQuietly(const std::array<QString, Items::kCount> &values)
{
    for (int i = Items::SoftName; i <= Items::HomePage; ++i) {
        if (m_fields[size_t(i)] != values[size_t(i)]) {
            m_fields[size_t(i)] = values[size_t(i)];
            emit changed(Control::FieldText, i);
        }
    }
}

void Document::setStyles(int lineOption, const QString &lineText, int bracketOption,
                         const std::array<QString, 2> &brackets, const QString &width)
{
    setOptLineType(lineOption);
    setTxtLineType(lineText);
    setOptBracketsType(bracketOption);
    setTxtBracketsType(0, brackets[0]);
    setTxtBracketsType(1, brackets[1]);
    setTxtLineCount(width);
}

Result<int> Document::parseCheckState(const QString &value)
{
    bool ok = false;
    const int state = value.trimmed().toInt(&ok);
    if (!ok)
        return Result<int>::failure(u"チェック状態「%1」は整数ではありません"_s.arg(value));
    if (state < 0 || state > 2)
        return Result<int>::failure(
            u"チェック状態「%1」は 0、1、2 のいずれでもありません"_s.arg(value));
    return state;
}

// ---- item tables ----------------------------------------------------------

QString Document::itemValue(int index) const
{
    using namespace Items;
    switch (kindOf(index)) {
    case Kind::Field:
        return m_fields[size_t(index)];
    case Kind::BodyHeading:
        return QString::number(m_chkBody[size_t(index - FirstBody)]);
    case Kind::EndMarker:
        return QString::number(m_chkEndSentence);
    case Kind::EndLine:
        return QString::number(m_chkEnd[size_t(index - FirstEnd)]);
    default:
        return QString();
    }
}

Result<> Document::applyStoredValue(int index, const QString &value)
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
    const Result<int> parsed = parseCheckState(value);
    if (!parsed.ok())
        return Result<>::failure(parsed.reason());
    const int state = parsed.value();
    if (index == EndMarker)
        setChkEndSentence(state);
    else if (index >= FirstEnd)
        setChkEnd(index - FirstEnd, state);
    else
        setChkBody(index - FirstBody, state);
    return {};
}

void Document::syncItemEntry(int index)
{
    Q_ASSERT(index >= 0 && index < Items::kCount);
    const QString &name = m_itemNames[size_t(index)];
    if (!itemValue(index).isEmpty())
        m_items->insertItemEntry(name, m_itemNames[Items::BodyMarker]);
    else
        m_items->removeItemEntries(name);
}

DocumentSnapshot Document::snapshot() const
{
    DocumentSnapshot s;
    s.itemNames = m_itemNames;
    for (int i = 0; i < Items::kCount; ++i)
        s.itemValues[size_t(i)] = itemValue(i);
    s.entries = m_items->entries();
    s.chkBody = m_chkBody;
    s.chkEnd = m_chkEnd;
    s.optLineType = m_optLineType;
    s.txtLineType = m_txtLineType;
    s.txtLineCount = m_txtLineCount;
    s.optBracketsType = m_optBracketsType;
    s.txtBracketsType = m_txtBracketsType;
    s.texts = m_texts;
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
        syncItemEntry(index);
}

void Document::comboChange(int index)
{
    if (m_formReady)
        syncItemEntry(index);
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
    EntryLists::appendListFile(QString::fromUtf16(row.fileName), entries);
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
    bodyCheckRule(i);
}

void Document::setChkEndSentence(int state)
{
    if (m_chkEndSentence == state)
        return;
    m_chkEndSentence = state;
    emit changed(Control::EndSentenceCheck, 0);
    endSectionRule();
}

void Document::setChkEnd(int i, int state)
{
    if (m_chkEnd.at(size_t(i)) == state)
        return;
    m_chkEnd[size_t(i)] = state;
    emit changed(Control::EndCheck, i);
    endCheckRule(i);
}

void Document::setChkEndEnabled(int i, bool enabled)
{
    if (m_chkEndEnabled[size_t(i)] == enabled)
        return;
    m_chkEndEnabled[size_t(i)] = enabled;
    emit changed(Control::EndCheckEnabled, i);
}

void Document::bodyCheckRule(int i)
{
    const QString &name = m_itemNames[size_t(Items::FirstBody + i)];
    if (m_chkBody[size_t(i)] != 0)
        m_items->insertItemEntry(name, m_itemNames[Items::EndMarker]);
    else
        m_items->removeItemEntries(name);
}

void Document::endCheckRule(int i)
{
    if (m_chkEndSentence == 0)
        return;
    const QString &name = m_itemNames[size_t(Items::FirstEnd + i)];
    if (m_chkEnd[size_t(i)] != 0)
        m_items->appendItemEntry(name);
    else
        m_items->removeItemEntries(name);
}

void Document::endSectionRule()
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
        m_items->removeItemEntries(m_itemNames[size_t(Items::FirstEnd + i)]);
        m_items->removeItemEntries(marker);
    }
}

// ---- styles ---------------------------------------------------------------

void Document::setOptLineType(int i)
{
    if (m_optLineType == i)
        return;
    m_optLineType = i;
    emit changed(Control::LineType, i);
    lineOptionRule();
}

void Document::lineOptionRule()
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
    bracketOptionRule();
}

void Document::bracketOptionRule()
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

// A click on 左側 or 右側: the free brackets become the chosen style.
void Document::chooseFreeBrackets()
{
    setOptBracketsType(Styles::kFree);
    bracketOptionRule();
}

// ---- adding headings and the preview -------------------------------------

void Document::setTxtAdd(const QString &text)
{
    if (m_txtAdd == text)
        return;
    m_txtAdd = text;
    m_txtAddAdded = false;
    emit changed(Control::AddText, 0);
}

void Document::addTypedHeading()
{
    m_items->addHeading(m_txtAdd);
    m_txtAddAdded = true; // the box keeps its text, but the list has it now
}

void Document::setPreviewText(const QString &text)
{
    if (m_preview == text)
        return;
    m_preview = text;
    emit changed(Control::Preview, 0);
}

void Document::setTexts(const BodyTexts &texts)
{
    if (m_texts == texts)
        return;
    m_texts = texts;
    emit changed(Control::Texts, 0);
}
