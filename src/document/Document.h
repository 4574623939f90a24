#pragma once

#include "itemlist/ItemList.h"
#include "platform/Result.h"
#include "project/Project.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <array>

// All state of the main window and the rules that change it. Every setter
// that changes a value runs that control's handler before it returns, as a
// control's change or click event would; setting the value a control already
// has runs nothing. Widgets mirror the Document through changed().
class Document : public QObject {
    Q_OBJECT
public:
    // The values a control of the window edits. changed()'s index says which
    // of its kind: the item for FieldText and DropDown, the heading for
    // HeadingBox, the end line for EndLineBox, left (0) or right (1) for
    // FreeBracket, and 0 for the single values. A change of whether a value
    // can be edited is told as a change of that value.
    enum class Value {
        FieldText,
        DropDown, // the entries a field offers
        HeadingBox,
        EndSection,
        EndLineBox,
        LineStyle,
        FreeLine,
        Width,
        BracketStyle,
        FreeBracket,
        AddText,
        Preview,
        Texts,    // shown only through the preview
        Settings, // breaking at the width, the check's profile and what it keeps quiet
    };
    Q_ENUM(Value)

    explicit Document(QObject *parent = nullptr);

    // The drop-down entries registered for each field, by item index.
    using DropDowns = std::array<QStringList, Items::HomePage + 1>;

    // Any value a control edits, by what it is: the text of a text value, the
    // state of a box or the option chosen of a style; setting runs the same
    // rules as the value's own setter.
    QString text(Value value, int index) const;
    void setText(Value value, int index, const QString &text);
    int state(Value value, int index) const;
    void setState(Value value, int index, int state);
    bool isEnabled(Value value, int index) const;

    // Start-up and New: the drop-downs take the registered entries and
    // each registered field the first of them.
    void initialize(const DropDowns &registered = {});
    void clearValues();
    void reset(const DropDowns &registered = {});
    bool isInitialized() const { return m_initialized; }
    // The drop-downs take the reprint presets and the registered entries;
    // the field texts stay.
    void setDropDowns(const DropDowns &registered);

    // Replaces the document by a stored project, settled as
    // ProjectRules::settled says. The drop-downs keep their entries.
    void load(const Project &stored);
    // Puts the document back in a state it had (undo, redo): values, boxes,
    // styles, list and texts, without running the rules that led there.
    // The drop-downs and the add box are not part of it.
    void restore(const Project &state);

    // Item tables.
    Result<> applyStoredValue(int index, const QString &value);
    const QString &itemName(int index) const { return m_itemNames.at(size_t(index)); }
    // The value an item stands for: a field's text, a check box state as
    // "0" to "2", nothing for the start and body markers.
    QString itemValue(int index) const;
    void syncItemEntry(int index);
    Project project() const;

    // Fields 1 to 14.
    const QString &fieldText(int index) const { return m_fields.at(size_t(index)); }
    void setFieldText(int index, const QString &text);
    const QStringList &comboEntries(int index) const { return m_comboLists.at(size_t(index)); }
    // Picking a drop-down entry: its text becomes the field's, then the
    // combo box's change handler runs.
    void pickComboEntry(int index, int entry);
    // Removes every drop-down entry and empties the edit text.
    void clearCombo(int index);
    // Replaces the drop-down entries of a combo box; nothing else runs.
    void setComboEntries(int index, const QStringList &entries);
    // After the list editor wrote a list: the field's drop-down takes the
    // entries. The field keeps its text; an empty field shows the first.
    void setRegisteredList(int index, const QStringList &entries);
    // Keystroke filter of the price field.
    static bool priceKeyAccepted(QChar c);

    // Heading check boxes (0 unchecked, 1 checked, 2 grayed).
    int bodyBox(int i) const { return m_bodyBox.at(size_t(i)); }
    int endSection() const { return m_endSection; }
    int endBox(int i) const { return m_endBox.at(size_t(i)); }
    bool endBoxEnabled(int i) const { return m_endBoxEnabled.at(size_t(i)); }
    void setBodyBox(int i, int state);
    void setEndSection(int state);
    void setEndBox(int i, int state);

    // Separator line and bracket styles.
    int lineStyle() const { return m_lineStyle; }
    void setLineStyle(int i);
    const QString &lineText() const { return m_lineText; }
    void setLineText(const QString &text);
    bool lineTextEnabled() const { return m_lineTextEnabled; }
    const QString &widthText() const { return m_widthText; }
    void setWidthText(const QString &text);
    int bracketStyle() const { return m_bracketStyle; }
    void setBracketStyle(int i);
    const QString &bracketText(int i) const { return m_bracketText.at(size_t(i)); }
    void setBracketText(int i, const QString &text);
    bool bracketTextEnabled(int i) const { return m_bracketTextEnabled.at(size_t(i)); }
    void chooseFreeBrackets();

    // Adding headings and the preview.
    const QString &addText() const { return m_addText; }
    void setAddText(const QString &text);
    // Adds the heading typed in the add box in front of the focus entry.
    void addTypedHeading();
    // Text in the add box that no entry holds: typed, and not added since.
    bool hasUnaddedText() const { return !m_addText.isEmpty() && !m_addTextAdded; }
    const QString &previewText() const { return m_preview; }
    void setPreviewText(const QString &text);

    // The author's text under the headings, before and after the README.
    const BodyTexts &texts() const { return m_texts; }
    void setTexts(const BodyTexts &texts);
    // Values of the author's own header fields, by entry.
    const QHash<QString, QString> &ownValues() const { return m_ownValues; }
    void setOwnValues(const QHash<QString, QString> &values);
    // Breaking lines at the width, and the check before release.
    Project::Wrap wrap() const { return m_wrap; }
    void setWrap(Project::Wrap wrap);
    const QString &checkProfile() const { return m_checkProfile; }
    void setCheckProfile(const QString &name);
    const QStringList &silenced() const { return m_silenced; }
    void setSilenced(const QStringList &silenced);
    // The materials credited.
    const QList<Credit> &credits() const { return m_credits; }
    void setCredits(const QList<Credit> &credits);
    // The README's languages, and which one the values above are in.
    const Project::LanguageSet &languages() const { return m_languages; }
    void setLanguages(const Project::LanguageSet &languages);
    // Headings that hold a text but are not listed, and dropping their texts.
    QStringList unlistedTextHeadings() const;
    void dropUnlistedTexts() { dropTextsOf(m_texts.headings.keys()); }

    ItemList *items() const { return m_items; }

signals:
    void changed(Document::Value value, int index);

private:
    void comboChange(int index);
    void bodyCheckRule(int i);
    void endCheckRule(int i);
    void endSectionRule();
    void lineOptionRule();
    void bracketOptionRule();
    void setEndBoxEnabled(int i, bool enabled);
    void rebuildItemList();
    void setCheckQuietly(int &box, int state, Value value, int index);
    void dropTextsOf(const QStringList &deletedEntries);
    // Views into the list's entries: valid while the list is unchanged.
    QSet<QStringView> listedNames() const;
    void setFieldsQuietly(const std::array<QString, Items::kCount> &values);
    void setStyles(int lineOption, const QString &lineText, int bracketOption,
                   const std::array<QString, 2> &brackets, const QString &width);

    ItemList *m_items;
    std::array<QString, Items::kCount> m_itemNames;
    bool m_initialized = false;

    std::array<QString, 15> m_fields;
    std::array<QStringList, 15> m_comboLists;

    std::array<int, Items::kBodyCount> m_bodyBox = Items::kBodyDefaults;
    int m_endSection = Items::kEndDefault;
    std::array<int, Items::kEndCount> m_endBox{Items::kEndDefault, Items::kEndDefault,
                                               Items::kEndDefault, Items::kEndDefault,
                                               Items::kEndDefault};
    std::array<bool, Items::kEndCount> m_endBoxEnabled{true, true, true, true, true};

    int m_lineStyle = 0;
    QString m_lineText;
    bool m_lineTextEnabled = false;
    QString m_widthText;
    int m_bracketStyle = 0;
    std::array<QString, 2> m_bracketText;
    std::array<bool, 2> m_bracketTextEnabled{false, false};

    QString m_addText;
    bool m_addTextAdded = false;
    QString m_preview;
    BodyTexts m_texts;
    QHash<QString, QString> m_ownValues;
    Project::Wrap m_wrap = Project::Wrap::Off;
    QString m_checkProfile;
    QStringList m_silenced;
    QList<Credit> m_credits;
    Project::LanguageSet m_languages;
};
