#include "FrmMain.h"

#include "Controls.h"
#include "Fonts.h"
#include "FrmAbout.h"
#include "Inventory.h"
#include "ItemListView.h"
#include "PreviewEdit.h"
#include "Services.h"
#include "Twips.h"
#include "entrylists/EntryLists.h"
#include "platform/AppInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;
using Inventory::Kind;

namespace {

QWidget *createControl(const Inventory::Control &c, QWidget *parent)
{
    switch (c.kind) {
    case Kind::Label: {
        auto *label = new ClickableLabel(c.caption, parent);
        return label;
    }
    case Kind::TextBox: {
        QLineEdit *edit = c.flags & Inventory::PriceKeys
                              ? new FilteredLineEdit(&Document::priceKeyAccepted, parent)
                              : new QLineEdit(parent);
        if (c.flags & Inventory::MaxLength3)
            edit->setMaxLength(3);
        return edit;
    }
    case Kind::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->setLineEdit(new QLineEdit(combo)); // editable
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr); // the field takes what is typed, nothing more
        combo->setMaxVisibleItems(12);
        return combo;
    }
    case Kind::CheckBox: {
        auto *box = new TriStateCheckBox(c.caption, parent);
        box->setTristate(true);
        box->setState(c.flags & Inventory::On ? 1 : 0);
        return box;
    }
    case Kind::OptionButton: {
        auto *option = new QRadioButton(c.caption, parent);
        option->setChecked(c.flags & Inventory::On);
        return option;
    }
    case Kind::Frame:
        return new QGroupBox(c.caption, parent);
    case Kind::Button: {
        auto *button = new QPushButton(c.caption, parent);
        button->setAutoDefault(false);
        if (c.flags & Inventory::ArrowFont)
            button->setFont(Fonts::proportionalGothic(11.25, true));
        return button;
    }
    case Kind::ListBox:
        return new ItemListView(parent);
    case Kind::Preview: {
        auto *preview = new PreviewEdit(parent);
        preview->setLineWrapMode(QPlainTextEdit::NoWrap);
        preview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        preview->setFont(Fonts::preview());
        preview->setTabChangesFocus(true);
        return preview;
    }
    }
    return nullptr;
}

} // namespace

FrmMain::FrmMain(QWidget *parent)
    : QMainWindow(parent), m_session(new ProjectSession(this)), m_doc(m_session->document())
{
    setObjectName(u"FrmMain"_s);
    // The layout in twips is made for a 9 pt proportional Japanese font.
    setFont(Fonts::proportionalGothic(9, false));
    auto *client = new QWidget(this);
    client->setObjectName(u"client"_s);
    client->installEventFilter(this);
    setCentralWidget(client);
    buildControls(client);
    arrangeControls();
    bindControls();
    nameForAccessibility();
    installContextMenus();
    setAcceptDrops(true);
    statusBar()->setSizeGripEnabled(true);
    m_ownDialogs = std::make_unique<WidgetFileDialogs>(this);
    m_ownMessages = std::make_unique<WidgetMessages>(this);
    setServices(m_ownDialogs.get(), m_ownMessages.get());
    m_runDialog = [](QDialog &dialog) { dialog.exec(); };
    setWindowIcon(applicationIcon());
    buildMenus();
    m_session->newProject(EntryLists::readAll());
    mirrorAll();
    updateTitle();
    fitToScreen();
    restorePlace();
}

// The base destructor hides the window, and the field losing the focus
// would still signal this half-destroyed window: silence its children and
// its application-wide filter first.
FrmMain::~FrmMain()
{
    qApp->removeEventFilter(this);
    disconnect(m_focusWatch);
    for (QWidget *child : findChildren<QWidget *>())
        child->blockSignals(true);
}

void FrmMain::setServices(FileDialogs *dialogs, Messages *messages)
{
    m_dialogs = dialogs;
    m_messages = messages;
}

void FrmMain::buildControls(QWidget *client)
{
    std::map<QString, QWidget *> frames;
    std::map<int, QWidget *> tabOrder;
    for (const Inventory::Control &c : Inventory::mainWindow()) {
        QWidget *parent = c.frame.isEmpty() ? client : frames.at(c.frame);
        QWidget *w = createControl(c, parent);
        w->setObjectName(c.name);
        w->setToolTip(c.tooltip);
        m_twips.emplace_back(w, c.twips);
        w->setEnabled(!(c.flags & Inventory::Disabled));
        if (c.kind == Kind::Frame)
            frames[c.name] = w;
        if (c.tab >= 0)
            tabOrder[c.tab] = w;
        else
            w->setFocusPolicy(Qt::NoFocus);
        if (c.flags & Inventory::Behind)
            w->lower();
        keep(c, w);
    }
    QWidget *previous = nullptr;
    for (const auto &[tab, w] : tabOrder) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

// Keeps the widget in its typed slot; createControl made it of that type.
// A control that edits a value is bound and mirrored through its declaration.
void FrmMain::keep(const Inventory::Control &c, QWidget *w)
{
    using Inventory::Role;
    using Value = Document::Value;
    const auto as = [w]<typename T>(T *&slot) { slot = static_cast<T *>(w); };
    if (c.edits) {
        m_bound.push_back({&c, w});
        if (*c.edits == Value::FieldText && c.kind == Kind::ComboBox)
            as(m_combos[size_t(c.item)]);
        else if (*c.edits == Value::FieldText)
            as(m_textFields[size_t(c.item)]);
        else if (*c.edits == Value::AddText)
            as(m_txtAdd);
        else if (*c.edits == Value::Preview)
            as(m_txtPreView);
        return;
    }
    switch (c.role) {
    case Role::FreeBracketLabel:
        return as(m_label5[size_t(c.index)]);
    case Role::AddButton:
        return as(m_addButton);
    case Role::DeleteButton:
        return as(m_deleteButton);
    case Role::UpButton:
        return as(m_upButton);
    case Role::DownButton:
        return as(m_downButton);
    case Role::ItemList:
        return as(m_lstItem);
    case Role::None:
        break;
    }
    if (c.kind == Kind::Label && c.item >= 0)
        as(m_label1[size_t(c.item)]);
}

void FrmMain::fieldLabelClicked(int index)
{
    const int list = EntryLists::listForItem(index);
    if (list >= 0)
        editRegisteredList(list);
}
