#pragma once

#include "BodyTexts.h"
#include "ItemTables.h"
#include "itemlist/ItemList.h"
#include "platform/Result.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <bitset>

// A copy of everything the composer and the data file writer read.
struct DocumentSnapshot {
    std::array<QString, Items::kCount> itemNames;
    std::array<QString, Items::kCount> itemValues;
    QStringList entries;
    std::array<int, Items::kBodyCount> chkBody{};
    std::array<int, Items::kEndCount> chkEnd{};
    int optLineType = 0;
    QString txtLineType;
    QString txtLineCount;
    int optBracketsType = 0;
    std::array<QString, 2> txtBracketsType;
    BodyTexts texts;
};

// A document as a data file stores it, applied in one step by
// Document::load: the entries in list order, the last value read for each
// item (check box states already validated) and the style settings.
struct StoredDocument {
    QStringList entries;
    std::array<QString, Items::kCount> values;
    int optLineType = 0;
    QString txtLineType;
    int optBracketsType = 0;
    std::array<QString, 2> txtBracketsType;
    QString txtLineCount;
    BodyTexts texts;
    // A filled field the entries do not list is listed on load. A README
    // can show a field only in its end lines; its import keeps it unlisted.
    bool listFilledFields = true;
    // Values the data file keeps without an entry: they stay unlisted.
    std::bitset<Items::kCount> unlisted;
};

// All state of the main window and the rules that change it. Every setter
// that changes a value runs that control's handler before it returns, as a
// control's change or click event would; setting the value a control already
// has runs nothing. Widgets mirror the Document through changed().
class Document : public QObject {
    Q_OBJECT
public:
    // Which control changed. changed()'s index says which of its kind: the
    // item index for FieldText and ComboList, the box for BodyCheck, EndCheck
    // and EndCheckEnabled, the option for LineType and BracketsType, left (0)
    // or right (1) for the Brackets ones, and 0 for the single controls.
    enum class Control {
        FieldText,
        ComboList,
        BodyCheck,
        EndSentenceCheck,
        EndCheck,
        EndCheckEnabled,
        LineType,
        LineTypeText,
        LineTypeTextEnabled,
        LineCount,
        BracketsType,
        BracketsText,
        BracketsTextEnabled,
        AddText,
        Preview,
        Texts,
    };
    Q_ENUM(Control)

    explicit Document(QObject *parent = nullptr);

    // Start-up and reset.
    void initialize();
    void clearForm();
    void reset();
    bool FormReady() const { return m_formReady; }

    // Replaces the document by a stored one. Check boxes follow the list: a
    // listed heading's box takes the state stored (checked when none is),
    // an unlisted one is unchecked; the end section is on when its marker
    // is listed and not stored off. Filled fields whose entry is missing
    // are listed, unless stored as unlisted.
    // The drop-down lists are refilled as at start-up.
    void load(const StoredDocument &stored);
    // Puts the document back in a state it had (undo, redo): values, boxes,
    // styles, list and texts, without running the rules that led there.
    // The drop-downs and the add box are not part of it.
    void restore(const DocumentSnapshot &state);
    // A check box value as stored: 0, 1 or 2; the reason when it is not.
    static Result<int> parseCheckState(const QString &value);

    // Item tables.
    Result<> applyStoredValue(int index, const QString &value);
    const QString &itemName(int index) const { return m_itemNames.at(size_t(index)); }
    // The value an item stands for: a field's text, a check box state as
    // "0" to "2", nothing for the start and body markers.
    QString itemValue(int index) const;
    void syncItemEntry(int index);
    DocumentSnapshot snapshot() const;

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
    // After the list editor wrote a list file: the field's drop-down is
    // refilled from the file. The field keeps its text; an empty field shows
    // the list's first entry.
    void reloadRegisteredList(int listIndex);
    // Keystroke filter of the price field.
    static bool priceKeyAccepted(QChar c);

    // Heading check boxes (0 unchecked, 1 checked, 2 grayed).
    int chkBody(int i) const { return m_chkBody.at(size_t(i)); }
    int chkEndSentence() const { return m_chkEndSentence; }
    int chkEnd(int i) const { return m_chkEnd.at(size_t(i)); }
    bool chkEndEnabled(int i) const { return m_chkEndEnabled.at(size_t(i)); }
    void setChkBody(int i, int state);
    void setChkEndSentence(int state);
    void setChkEnd(int i, int state);

    // Separator line and bracket styles.
    int optLineType() const { return m_optLineType; }
    void setOptLineType(int i);
    const QString &txtLineType() const { return m_txtLineType; }
    void setTxtLineType(const QString &text);
    bool txtLineTypeEnabled() const { return m_txtLineTypeEnabled; }
    const QString &txtLineCount() const { return m_txtLineCount; }
    void setTxtLineCount(const QString &text);
    int optBracketsType() const { return m_optBracketsType; }
    void setOptBracketsType(int i);
    const QString &txtBracketsType(int i) const { return m_txtBracketsType.at(size_t(i)); }
    void setTxtBracketsType(int i, const QString &text);
    bool txtBracketsTypeEnabled(int i) const { return m_txtBracketsEnabled.at(size_t(i)); }
    void chooseFreeBrackets();

    // Adding headings and the preview.
    const QString &txtAdd() const { return m_txtAdd; }
    void setTxtAdd(const QString &text);
    // Adds the heading typed in the add box in front of the focus entry.
    void addTypedHeading();
    // Text in the add box that no entry holds: typed, and not added since.
    bool hasUnaddedText() const { return !m_txtAdd.isEmpty() && !m_txtAddAdded; }
    const QString &previewText() const { return m_preview; }
    void setPreviewText(const QString &text);

    // The author's text under the headings, before and after the README.
    const BodyTexts &texts() const { return m_texts; }
    void setTexts(const BodyTexts &texts);
    // Headings that hold a text but are not listed, and dropping their texts.
    QStringList unlistedTextHeadings() const;
    void dropUnlistedTexts() { dropTextsOf(m_texts.headings.keys()); }

    ItemList *items() const { return m_items; }

signals:
    void changed(Document::Control control, int index);

private:
    void comboChange(int index);
    void bodyCheckRule(int i);
    void endCheckRule(int i);
    void endSectionRule();
    void lineOptionRule();
    void bracketOptionRule();
    void setChkEndEnabled(int i, bool enabled);
    void rebuildItemList();
    void fillComboLists();
    void setCheckQuietly(int &box, int state, Control control, int index);
    void dropTextsOf(const QStringList &deletedEntries);
    void setFieldsQuietly(const std::array<QString, Items::kCount> &values);
    void setStyles(int lineOption, const QString &lineText, int bracketOption,
                   const std::array<QString, 2> &brackets, const QString &width);

    ItemList *m_items;
    std::array<QString, Items::kCount> m_itemNames;
    bool m_formReady = false;

    std::array<QString, 15> m_fields;
    std::array<QStringList, 15> m_comboLists;

    std::array<int, Items::kBodyCount> m_chkBody = Items::kBodyDefaults;
    int m_chkEndSentence = Items::kEndDefault;
    std::array<int, Items::kEndCount> m_chkEnd{Items::kEndDefault, Items::kEndDefault,
                                               Items::kEndDefault, Items::kEndDefault,
                                               Items::kEndDefault};
    std::array<bool, Items::kEndCount> m_chkEndEnabled{true, true, true, true, true};

    int m_optLineType = 0;
    QString m_txtLineType;
    bool m_txtLineTypeEnabled = false;
    QString m_txtLineCount;
    int m_optBracketsType = 0;
    std::array<QString, 2> m_txtBracketsType;
    std::array<bool, 2> m_txtBracketsEnabled{false, false};

    QString m_txtAdd;
    bool m_txtAddAdded = false;
    QString m_preview;
    BodyTexts m_texts;
};
