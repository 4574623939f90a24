#include "FrmRegist.h"

#include "CaptionFit.h"
#include "Fonts.h"
#include "Services.h"
#include "Twips.h"
#include "platform/UserTexts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

namespace {
// The buttons in order: the four commands of ListEditor::Command, then close.
constexpr int kCloseButton = 4;
struct ButtonRow {
    const char16_t *caption;
    const char16_t *tooltip;
    int left;
};
const ButtonRow kButtons[5] = {
    {u"登録(&R)", u"リストに登録します", 150},
    {u"削除(&D)", u"リストの選択されている行を削除します", 960},
    {u"全クリア(&A)", u"リストの項目を全て削除します", 1770},
    {u"取り消し(&U)", u"変更を取り消して、保存されている内容に戻します", 2580},
    {u"終了(&X)", u"このダイアログを閉じます", 3390},
};

// Escape is the dialog's: it closes as 終了 does, keeping the edits.
ListEditor::Key keyOf(int key)
{
    switch (key) {
    case Qt::Key_Insert:
        return ListEditor::Key::Insert;
    case Qt::Key_Delete:
        return ListEditor::Key::Delete;
    default:
        return ListEditor::Key::Other;
    }
}
} // namespace

FrmRegist::FrmRegist(Messages *messages, QWidget *parent) : QDialog(parent), m_messages(messages)
{
    setObjectName(u"frmRegist"_s);
    setModal(true);
    setFont(Fonts::proportionalGothic(9, false)); // the font its twips were laid out for
    setAttribute(Qt::WA_DeleteOnClose, false);
    build();
    connect(&m_editor, &ListEditor::changed, this, &FrmRegist::mirror);
    mirror();
}

void FrmRegist::build()
{
    m_list = new QListWidget(this);
    m_list->setObjectName(u"lstRegist"_s);
    m_list->setToolTip(u"登録されているリストを表示します"_s);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_text = new QLineEdit(this);
    m_text->setObjectName(u"txtRegist"_s);
    for (int i = 0; i < 5; ++i) {
        auto *b = new QPushButton(QString::fromUtf16(kButtons[i].caption), this);
        b->setObjectName(u"cmdRegist(%1)"_s.arg(i));
        b->setToolTip(QString::fromUtf16(kButtons[i].tooltip));
        // Enter registers what was typed, or presses the button that has the focus.
        b->setAutoDefault(true);
        b->setDefault(i == 0);
        b->installEventFilter(this);
        m_buttons[size_t(i)] = b;
        if (i == kCloseButton)
            connect(b, &QPushButton::clicked, this, &QWidget::close);
        else
            connect(b, &QPushButton::clicked, this,
                    [this, i] { m_editor.run(ListEditor::Command(i)); });
    }
    arrange();
    setTabOrder(m_text, m_buttons[0]);
    for (int i = 0; i < 4; ++i)
        setTabOrder(m_buttons[size_t(i)], m_buttons[size_t(i + 1)]);
    setTabOrder(m_buttons[4], m_list);
    m_text->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_text, &QLineEdit::textEdited, &m_editor, &ListEditor::setText);
    connect(m_list, &QListWidget::itemPressed, this,
            [this](QListWidgetItem *item) { m_editor.clickEntry(m_list->row(item)); });
    // Only a selection selects: the focus entry that Tab gives an unselected
    // list is not a pick.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> picked = m_list->selectedItems();
        const int row = picked.isEmpty() ? -1 : m_list->row(picked.first());
        if (row >= 0 && row != m_editor.selected())
            m_editor.clickEntry(row);
    });
    m_text->setFocus();
}

// Places the controls from their twips; buttons whose captions the font
// draws wider grow and move the ones at their right, and the dialog, its
// list and its text box widen with them.
void FrmRegist::arrange()
{
    const double dpi = Twips::logicalDpi(this);
    m_list->setGeometry(Twips::toPixels(QRect(120, 120, 4080, 1320), dpi));
    m_text->setGeometry(Twips::toPixels(QRect(120, 1590, 4080, 270), dpi));
    for (size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setGeometry(Twips::toPixels(QRect(kButtons[i].left, 2010, 810, 420), dpi));
    const int base = Twips::toPixels(kClientWidth, dpi);
    const int width =
        std::max(base, CaptionFit::fit(this, Twips::toPixels(120, dpi), Twips::toPixels(60, dpi)));
    for (QWidget *w : {static_cast<QWidget *>(m_list), static_cast<QWidget *>(m_text)})
        w->resize(w->width() + width - base, w->height());
    setFixedSize(width, Twips::toPixels(kClientHeight, dpi));
}

void FrmRegist::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && m_list)
        arrange();
    QDialog::changeEvent(event);
}

void FrmRegist::prepare(const QString &caption, const QString &tooltip)
{
    m_editor.setCaption(caption);
    setWindowTitle(caption);
    m_text->setToolTip(tooltip);
}

void FrmRegist::mirror()
{
    const QSignalBlocker blockList(m_list);
    const QStringList &entries = m_editor.entries();
    bool same = m_list->count() == entries.size();
    for (int i = 0; same && i < entries.size(); ++i)
        same = m_list->item(i)->text() == entries.at(i);
    if (!same) {
        m_list->clear();
        m_list->addItems(entries);
    }
    if (m_editor.selected() >= 0)
        m_list->setCurrentRow(m_editor.selected());
    else
        m_list->clearSelection();
    if (m_text->text() != m_editor.text()) {
        const QSignalBlocker blockText(m_text);
        m_text->setText(m_editor.text());
    }
    m_buttons[0]->setEnabled(m_editor.registerEnabled());
    m_buttons[1]->setEnabled(m_editor.deleteEnabled());
}

bool FrmRegist::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const ListEditor::Key key = keyOf(static_cast<QKeyEvent *>(event)->key());
        if (watched == m_list)
            m_editor.listKey(key);
        else if (watched == m_text)
            m_editor.textKey(key);
        else
            m_editor.buttonKey(key);
    }
    return QDialog::eventFilter(watched, event); // the control still handles the key
}

// Saves the list on the way out; false keeps the dialog open.
bool FrmRegist::finish()
{
    using Answer = Messages::Answer;
    if (m_finished)
        return true;
    if (!m_editor.readError().isEmpty()) {
        if (m_editor.isChanged() &&
            m_messages->question(u"%1\nこのリストは読めなかったため、変更を保存できません。"
                                 "保存せずに閉じますか？"_s.arg(m_editor.readError()),
                                 {{Answer::Discard, u"保存せずに閉じる"_s},
                                  {Answer::Cancel, u"キャンセル"_s}}) != Answer::Discard)
            return false;
        m_finished = true;
        return true;
    }
    for (;;) {
        const Result<EntryLists::ListSaved> r = m_editor.save();
        if (r.ok()) {
            m_wrote = r->written;
            if (!r->unmappable.isEmpty())
                m_messages->warning(UserTexts::unmappable(r->unmappable));
            break;
        }
        const Answer answer =
            m_messages->question(u"登録リストを保存できませんでした: "_s + r.reason() +
                                     u"\n保存されていた内容はそのまま残っています。"_s,
                                 {{Answer::Retry, u"再試行"_s},
                                  {Answer::Discard, u"保存せずに閉じる"_s},
                                  {Answer::Cancel, u"キャンセル"_s}});
        if (answer == Answer::Discard)
            break;
        if (answer != Answer::Retry)
            return false; // stay open with the edits
    }
    m_finished = true;
    return true;
}

void FrmRegist::closeEvent(QCloseEvent *event)
{
    if (!finish()) {
        event->ignore();
        return;
    }
    event->accept();
    QDialog::closeEvent(event);
}

void FrmRegist::done(int result)
{
    if (finish())
        QDialog::done(result);
}
