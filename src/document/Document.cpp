#include "Document.h"

#include "project/Styles.h"

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
    QHash<QString, QString> own = m_ownValues;
    const QSet<QStringView> listed = listedNames();
    for (const QString &entry : deletedEntries) {
        const QString key = Entry::trimSpaces(entry).toString();
        if (listed.contains(key))
            continue;
        texts.headings.remove(key);
        own.remove(key); // a field of the author's goes with its value
    }
    setTexts(texts);
    setOwnValues(own);
}

// ---- start-up and reset -------------------------------------------------

void Document::setDropDowns(const DropDowns &registered)
{
    using namespace Items;
    for (int i = Writer; i <= HomePage; ++i) {
        if (!isComboField(i))
            continue;
        QStringList entries;
        if (i == Reprinting) {
            for (const char16_t *c : kReprintChoices)
                entries.append(QString::fromUtf16(c));
        }
        entries.append(registered[size_t(i)]);
        setComboEntries(i, entries);
    }
}

void Document::initialize(const DropDowns &registered)
{
    using namespace Items;
    setDropDowns(registered);
    for (int i = Writer; i <= HomePage; ++i) {
        if (isComboField(i)) {
            const QStringList &entries = m_comboLists[size_t(i)];
            setFieldText(i, entries.isEmpty() ? QString() : entries.first());
        }
    }

    setWidthText(QString::fromUtf16(kDefaultLineCount));
    for (int i = 0; i < kBodyCount; ++i)
        setBodyBox(i, kBodyDefaults[size_t(i)]);
    setEndSection(kEndDefault);
    for (int i = 0; i < kEndCount; ++i)
        setEndBox(i, kEndDefault);
    rebuildItemList();
    m_initialized = true;
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
        if (m_bodyBox[size_t(i - FirstBody)] != 0)
            entries.append(Entry::indented(m_itemNames[size_t(i)]));
    }
    const bool endAdded = m_endSection != 0;
    if (endAdded)
        entries.append(m_itemNames[EndMarker]);
    for (int i = FirstEnd; i <= LastEnd; ++i) {
        if (endAdded && m_endBox[size_t(i - FirstEnd)] != 0)
            entries.append(Entry::indented(m_itemNames[size_t(i)]));
    }
    m_items->setEntries(entries);
}

void Document::clearValues()
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
    setLineStyle(0);
    setLineText(QString());
    setWidthText(QString());
    setBracketStyle(0);
    setBracketText(0, QString());
    setBracketText(1, QString());
    setAddText(QString());
    setTexts(BodyTexts());
    setOwnValues({});
    setWrap(Project::Wrap::Off);
    setCheckProfile(QString());
    setSilenced({});
    setCredits({});
    setLanguages({});
}

void Document::reset(const DropDowns &registered)
{
    clearValues();
    initialize(registered);
}

void Document::setCheckQuietly(int &box, int state, Value value, int index)
{
    if (box == state)
        return;
    box = state;
    emit changed(value, index);
}

void Document::load(const Project &stored)
{
    setPreviewText(QString());
    setAddText(QString());
    restore(ProjectRules::settled(stored));
}

// The names the list's entries stand for, each looked up at once: deleting
// thousands of entries asks about each of them.
QSet<QStringView> Document::listedNames() const
{
    QSet<QStringView> names;
    names.reserve(m_items->count());
    for (const QString &entry : m_items->entries())
        names.insert(Entry::trimSpaces(entry));
    return names;
}

QStringList Document::unlistedTextHeadings() const
{
    QStringList found;
    const QSet<QStringView> listed = listedNames();
    for (auto it = m_texts.headings.cbegin(); it != m_texts.headings.cend(); ++it) {
        if (!listed.contains(it.key()))
            found.append(it.key());
    }
    found.sort();
    return found;
}

void Document::restore(const Project &state)
{
    using namespace Items;
    m_items->setEntries(state.entries);
    setFieldsQuietly(state.values);
    for (int i = 0; i < kBodyCount; ++i)
        setCheckQuietly(m_bodyBox[size_t(i)], state.boxState(FirstBody + i), Value::HeadingBox, i);
    const int endSection = state.boxState(EndMarker);
    setCheckQuietly(m_endSection, endSection, Value::EndSection, 0);
    for (int i = 0; i < kEndCount; ++i) {
        setCheckQuietly(m_endBox[size_t(i)], state.boxState(FirstEnd + i), Value::EndLineBox, i);
        setEndBoxEnabled(i, endSection != 0);
    }
    setStyles(state.lineStyle, state.lineText, state.bracketStyle, state.bracketText,
              state.widthText);
    setTexts(state.texts);
    setOwnValues(state.ownValues);
    setWrap(state.wrap);
    setCheckProfile(state.checkProfile);
    setSilenced(state.silenced);
    setCredits(state.credits);
    setLanguages(state.languages);
}

void Document::setWrap(Project::Wrap wrap)
{
    if (m_wrap == wrap)
        return;
    m_wrap = wrap;
    emit changed(Value::Settings, 0);
}

void Document::setCheckProfile(const QString &name)
{
    if (m_checkProfile == name)
        return;
    m_checkProfile = name;
    emit changed(Value::Settings, 0);
}

void Document::setSilenced(const QStringList &silenced)
{
    if (m_silenced == silenced)
        return;
    m_silenced = silenced;
    emit changed(Value::Settings, 0);
}

void Document::setLanguages(const Project::LanguageSet &languages)
{
    if (m_languages == languages)
        return;
    m_languages = languages;
    emit changed(Value::Settings, 0);
}

void Document::setCredits(const QList<Credit> &credits)
{
    if (m_credits == credits)
        return;
    m_credits = credits;
    emit changed(Value::Texts, 0);
}

void Document::setOwnValues(const QHash<QString, QString> &values)
{
    if (m_ownValues == values)
        return;
    m_ownValues = values;
    emit changed(Value::Texts, 0);
}

void Document::setFieldsQuietly(const std::array<QString, Items::kCount> &values)
{
    for (int i = Items::SoftName; i <= Items::HomePage; ++i) {
        if (m_fields[size_t(i)] != values[size_t(i)]) {
            m_fields[size_t(i)] = values[size_t(i)];
            emit changed(Value::FieldText, i);
        }
    }
}

void Document::setStyles(int lineOption, const QString &lineText, int bracketOption,
                         const std::array<QString, 2> &brackets, const QString &width)
{
    setLineStyle(lineOption);
    setLineText(lineText);
    setBracketStyle(bracketOption);
    setBracketText(0, brackets[0]);
    setBracketText(1, brackets[1]);
    setWidthText(width);
}

// ---- item tables ----------------------------------------------------------

QString Document::itemValue(int index) const
{
    using namespace Items;
    switch (kindOf(index)) {
    case Kind::Field:
        return m_fields[size_t(index)];
    case Kind::BodyHeading:
        return QString::number(m_bodyBox[size_t(index - FirstBody)]);
    case Kind::EndMarker:
        return QString::number(m_endSection);
    case Kind::EndLine:
        return QString::number(m_endBox[size_t(index - FirstEnd)]);
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
    const Result<int> parsed = ProjectRules::parseBoxState(value);
    if (!parsed.ok())
        return Result<>::failure(parsed.reason());
    const int state = parsed.value();
    if (index == EndMarker)
        setEndSection(state);
    else if (index >= FirstEnd)
        setEndBox(index - FirstEnd, state);
    else
        setBodyBox(index - FirstBody, state);
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

Project Document::project() const
{
    Project p;
    for (int i = 0; i < Items::kCount; ++i)
        p.values[size_t(i)] = itemValue(i);
    p.entries = m_items->entries();
    p.lineStyle = m_lineStyle;
    p.lineText = m_lineText;
    p.widthText = m_widthText;
    p.bracketStyle = m_bracketStyle;
    p.bracketText = m_bracketText;
    p.texts = m_texts;
    p.ownValues = m_ownValues;
    p.wrap = m_wrap;
    p.checkProfile = m_checkProfile;
    p.silenced = m_silenced;
    p.credits = m_credits;
    p.languages = m_languages;
    return p;
}

// ---- fields ---------------------------------------------------------------

void Document::setFieldText(int index, const QString &text)
{
    Q_ASSERT(Items::isField(index));
    QString &field = m_fields[size_t(index)];
    if (field == text)
        return;
    field = text;
    emit changed(Value::FieldText, index);
    if (Items::isComboField(index))
        comboChange(index);
    else
        syncItemEntry(index);
}

void Document::comboChange(int index)
{
    if (m_initialized)
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
        emit changed(Value::FieldText, index);
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
    emit changed(Value::DropDown, index);
}

void Document::setRegisteredList(int index, const QStringList &entries)
{
    setComboEntries(index, entries);
    if (m_fields[size_t(index)].isEmpty() && !entries.isEmpty())
        setFieldText(index, entries.first());
}

bool Document::priceKeyAccepted(QChar c)
{
    const char16_t u = c.unicode();
    // The yen sign is what the backslash key types on some Japanese layouts.
    return (u >= u'0' && u <= u'9') || u == 8 || u == u' ' || u == u',' || u == u'\\' ||
           u == u'\u00a5';
}

// ---- heading check boxes ------------------------------------------------

void Document::setBodyBox(int i, int state)
{
    if (m_bodyBox.at(size_t(i)) == state)
        return;
    m_bodyBox[size_t(i)] = state;
    emit changed(Value::HeadingBox, i);
    bodyCheckRule(i);
}

void Document::setEndSection(int state)
{
    if (m_endSection == state)
        return;
    m_endSection = state;
    emit changed(Value::EndSection, 0);
    endSectionRule();
}

void Document::setEndBox(int i, int state)
{
    if (m_endBox.at(size_t(i)) == state)
        return;
    m_endBox[size_t(i)] = state;
    emit changed(Value::EndLineBox, i);
    endCheckRule(i);
}

void Document::setEndBoxEnabled(int i, bool enabled)
{
    if (m_endBoxEnabled[size_t(i)] == enabled)
        return;
    m_endBoxEnabled[size_t(i)] = enabled;
    emit changed(Value::EndLineBox, i);
}

void Document::bodyCheckRule(int i)
{
    const QString &name = m_itemNames[size_t(Items::FirstBody + i)];
    if (m_bodyBox[size_t(i)] != 0)
        m_items->insertItemEntry(name, m_itemNames[Items::EndMarker]);
    else
        m_items->removeItemEntries(name);
}

void Document::endCheckRule(int i)
{
    if (m_endSection == 0)
        return;
    const QString &name = m_itemNames[size_t(Items::FirstEnd + i)];
    if (m_endBox[size_t(i)] != 0)
        m_items->appendItemEntry(name);
    else
        m_items->removeItemEntries(name);
}

void Document::endSectionRule()
{
    const QString &marker = m_itemNames[Items::EndMarker];
    if (m_endSection != 0) {
        m_items->appendEntry(marker);
        for (int i = 0; i < Items::kEndCount; ++i) {
            setEndBox(i, 1);
            setEndBoxEnabled(i, true);
        }
        return;
    }
    for (int i = 0; i < Items::kEndCount; ++i) {
        setEndBox(i, 2);
        setEndBoxEnabled(i, false);
        m_items->removeItemEntries(m_itemNames[size_t(Items::FirstEnd + i)]);
        m_items->removeItemEntries(marker);
    }
}

// ---- styles ---------------------------------------------------------------

void Document::setLineStyle(int i)
{
    if (m_lineStyle == i)
        return;
    m_lineStyle = i;
    emit changed(Value::LineStyle, i);
    lineOptionRule();
}

void Document::lineOptionRule()
{
    const bool enabled = m_lineStyle == 3;
    if (m_lineTextEnabled == enabled)
        return;
    m_lineTextEnabled = enabled;
    emit changed(Value::FreeLine, 0);
}

void Document::setLineText(const QString &text)
{
    if (m_lineText == text)
        return;
    m_lineText = text;
    emit changed(Value::FreeLine, 0);
}

void Document::setWidthText(const QString &text)
{
    if (m_widthText == text)
        return;
    m_widthText = text;
    emit changed(Value::Width, 0);
}

void Document::setBracketStyle(int i)
{
    if (m_bracketStyle == i)
        return;
    m_bracketStyle = i;
    emit changed(Value::BracketStyle, i);
    bracketOptionRule();
}

void Document::bracketOptionRule()
{
    const bool enabled = m_bracketStyle == 3;
    for (int i = 0; i < 2; ++i) {
        if (m_bracketTextEnabled[size_t(i)] != enabled) {
            m_bracketTextEnabled[size_t(i)] = enabled;
            emit changed(Value::FreeBracket, i);
        }
    }
}

void Document::setBracketText(int i, const QString &text)
{
    if (m_bracketText.at(size_t(i)) == text)
        return;
    m_bracketText[size_t(i)] = text;
    emit changed(Value::FreeBracket, i);
}

// A click on 左側 or 右側: the free brackets become the chosen style.
void Document::chooseFreeBrackets()
{
    setBracketStyle(Styles::kFree);
    bracketOptionRule();
}

// ---- adding headings and the preview -------------------------------------

void Document::setAddText(const QString &text)
{
    if (m_addText == text)
        return;
    m_addText = text;
    m_addTextAdded = false;
    emit changed(Value::AddText, 0);
}

void Document::addTypedHeading()
{
    // 「名前：値」 adds a header field of the author's own.
    if (const qsizetype colon = m_addText.indexOf(u'：');
        colon > 0 && !m_addText.startsWith(u'●')) {
        const QString name = m_addText.left(colon).trimmed();
        const QString value = m_addText.mid(colon + 1).trimmed();
        // Typed again with another value, it edits the field's value.
        const bool listed = m_items->findItemEntry(name) >= 0;
        if (!name.isEmpty() && !value.isEmpty() &&
            Items::NameIndex(Items::names()).indexOf(name) < 0 &&
            (!listed || m_ownValues.contains(name))) {
            QHash<QString, QString> own = m_ownValues;
            own.insert(name, value);
            setOwnValues(own);
            if (!listed)
                m_items->addHeading(name);
            m_addTextAdded = true;
            return;
        }
    }
    m_items->addHeading(m_addText);
    m_addTextAdded = true; // the box keeps its text, but the list has it now
}

void Document::setPreviewText(const QString &text)
{
    if (m_preview == text)
        return;
    m_preview = text;
    emit changed(Value::Preview, 0);
}

void Document::setTexts(const BodyTexts &texts)
{
    if (m_texts == texts)
        return;
    m_texts = texts;
    emit changed(Value::Texts, 0);
}
