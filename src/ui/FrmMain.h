#pragma once

#include "document/Document.h"

#include <QMainWindow>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class ClickableLabel;
class ItemListView;
class TriStateCheckBox;

// The main window. Its controls mirror the Document: user input calls the
// Document's setters, and the Document's changes update the controls.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget *parent = nullptr);

    // Client area in twips.
    static constexpr int kClientWidth = 8805;
    static constexpr int kClientHeight = 9855;

    Document *document() const { return m_doc; }

    // A click on a field's caption label.
    void Label1_Click(int index);

signals:
    // A caption label of a field with a registered-entry list was clicked.
    void registerListRequested(int listIndex);

private:
    // FrmMain.cpp: building the controls from the inventory.
    void buildControls(QWidget *client);
    void findControls();
    void applyTabOrder();

    // FrmMainBinding.cpp: the two directions between controls and Document.
    void bindControls();
    void bindFields();
    void bindChecks();
    void bindStyles();
    void bindListControls();
    void mirror(Document::Control control, int index);
    void mirrorAll();
    void mirrorField(int index);
    void mirrorComboList(int index);

    Document *m_doc;

    std::array<QLineEdit *, 15> m_textFields{};
    std::array<QComboBox *, 15> m_combos{};
    std::array<ClickableLabel *, 16> m_label1{};
    std::array<TriStateCheckBox *, Items::kBodyCount> m_chkBody{};
    TriStateCheckBox *m_chkEndSentence = nullptr;
    std::array<TriStateCheckBox *, Items::kEndCount> m_chkEnd{};
    std::array<QRadioButton *, 4> m_optLineType{};
    std::array<QRadioButton *, 4> m_optBracketsType{};
    std::array<ClickableLabel *, 2> m_label5{};
    QLineEdit *m_txtLineType = nullptr;
    QLineEdit *m_txtLineCount = nullptr;
    std::array<QLineEdit *, 2> m_txtBracketsType{};
    QLineEdit *m_txtAdd = nullptr;
    std::array<QPushButton *, 2> m_cmdAddDel{};
    std::array<QPushButton *, 2> m_cmdUpDown{};
    ItemListView *m_lstItem = nullptr;
    QPlainTextEdit *m_txtPreView = nullptr;
};
