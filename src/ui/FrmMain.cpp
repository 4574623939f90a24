#include "FrmMain.h"

#include "Controls.h"
#include "Fonts.h"
#include "FrmAbout.h"
#include "Inventory.h"
#include "ItemListView.h"
#include "Services.h"
#include "Twips.h"
#include "entrylists/EntryLists.h"
#include "platform/AppInfo.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>

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
        QLineEdit *edit = c.name == u"txtPrice"
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
        auto *preview = new QPlainTextEdit(parent);
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

// A caption that the font draws wider than its place grows to the right,
// as far as its container has room and no other control is touched.
void widenToCaption(QWidget *w)
{
    const auto *label = qobject_cast<const QLabel *>(w);
    const int wanted =
        label ? label->fontMetrics().horizontalAdvance(label->text()) + 2 : w->sizeHint().width();
    if (wanted <= w->width())
        return;
    QRect r = w->geometry();
    r.setWidth(std::min(wanted, w->parentWidget()->width() - r.left() - 4));
    for (QObject *o : w->parentWidget()->children()) {
        auto *sibling = qobject_cast<QWidget *>(o);
        if (!sibling || sibling == w || sibling->geometry().intersects(w->geometry()))
            continue;
        if (sibling->geometry().intersects(r))
            r.setRight(std::min(r.right(), sibling->geometry().left() - 1));
    }
    if (r.width() > w->width())
        w->setGeometry(r);
}

} // namespace

FrmMain::FrmMain(QWidget *parent) : QMainWindow(parent), m_doc(new Document(this))
{
    setObjectName(u"FrmMain"_s);
    setWindowTitle(AppInfo::title());
    // The layout in twips is made for a 9 pt proportional Japanese font.
    setFont(Fonts::proportionalGothic(9, false));
    auto *client = new QWidget(this);
    client->setObjectName(u"client"_s);
    const double dpi = Twips::logicalDpi(this);
    client->setFixedSize(Twips::toPixels(kClientWidth, dpi), Twips::toPixels(kClientHeight, dpi));
    setCentralWidget(client);
    buildControls(client);
    findControls();
    applyTabOrder();
    bindControls();
    m_ownDialogs = std::make_unique<WidgetFileDialogs>(this);
    m_ownMessages = std::make_unique<WidgetMessages>(this);
    setServices(m_ownDialogs.get(), m_ownMessages.get());
    m_runDialog = [](QDialog &dialog) { dialog.exec(); };
    setWindowIcon(applicationIcon());
    buildMenus();
    m_doc->InitializeForm();
    mirrorAll();
    markUnmodified();
}

FrmMain::~FrmMain() = default;

void FrmMain::setServices(FileDialogs *dialogs, Messages *messages)
{
    m_dialogs = dialogs;
    m_messages = messages;
}

void FrmMain::buildControls(QWidget *client)
{
    const double dpi = Twips::logicalDpi(this);
    std::map<QString, QWidget *> frames;
    for (const Inventory::Control &c : Inventory::mainWindow()) {
        QWidget *parent = c.frame.isEmpty() ? client : frames.at(c.frame);
        QWidget *w = createControl(c, parent);
        w->setObjectName(c.name);
        w->setToolTip(c.tooltip);
        w->setGeometry(Twips::toPixels(c.twips, dpi));
        w->setEnabled(!(c.flags & Inventory::Disabled));
        if (c.kind == Kind::Frame)
            frames[c.name] = w;
        if (c.tab < 0)
            w->setFocusPolicy(Qt::NoFocus);
        if (c.name == u"Label2")
            w->lower(); // the width box stands over its label
    }
    for (const Inventory::Control &c : Inventory::mainWindow()) {
        if (c.kind == Kind::Label)
            widenToCaption(findChild<QWidget *>(c.name));
    }
}

void FrmMain::findControls()
{
    using Inventory::element;
    const auto get = [this]<typename T>(T *&out, const QString &name) {
        out = findChild<T *>(name);
        Q_ASSERT(out);
    };
    for (int i = Items::SoftName; i <= Items::HomePage; ++i) {
        const QString name = QString::fromUtf16(Items::kFieldControlNames[size_t(i)]);
        if (Items::isComboField(i))
            get(m_combos[size_t(i)], name);
        else
            get(m_textFields[size_t(i)], name);
    }
    for (int i = 0; i < 16; ++i)
        get(m_label1[size_t(i)], element(u"Label1"_s, i));
    for (int i = 0; i < Items::kBodyCount; ++i)
        get(m_chkBody[size_t(i)], element(u"chkBody"_s, i));
    get(m_chkEndSentence, u"chkEndSentence"_s);
    for (int i = 0; i < Items::kEndCount; ++i)
        get(m_chkEnd[size_t(i)], element(u"chkEnd"_s, i));
    for (int i = 0; i < 4; ++i) {
        get(m_optLineType[size_t(i)], element(u"optLineType"_s, i));
        get(m_optBracketsType[size_t(i)], element(u"optBracketsType"_s, i));
    }
    for (int i = 0; i < 2; ++i) {
        get(m_label5[size_t(i)], element(u"Label5"_s, i));
        get(m_txtBracketsType[size_t(i)], element(u"txtBracketsType"_s, i));
        get(m_cmdAddDel[size_t(i)], element(u"cmdAddDel"_s, i));
        get(m_cmdUpDown[size_t(i)], element(u"cmdUpDown"_s, i));
    }
    get(m_txtLineType, u"txtLineType"_s);
    get(m_txtLineCount, u"txtLineCount"_s);
    get(m_txtAdd, u"txtAdd"_s);
    get(m_lstItem, u"lstItem"_s);
    get(m_txtPreView, u"txtPreView"_s);
}

void FrmMain::applyTabOrder()
{
    std::map<int, QWidget *> order;
    for (const Inventory::Control &c : Inventory::mainWindow()) {
        if (c.tab >= 0)
            order[c.tab] = findChild<QWidget *>(c.name);
    }
    QWidget *previous = nullptr;
    for (const auto &[tab, w] : order) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

void FrmMain::Label1_Click(int index)
{
    const int list = EntryLists::listForItem(index);
    if (list >= 0)
        mnuRegist_Click(list);
}
