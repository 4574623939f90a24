#include "TestSupport.h"
#include "ui/Controls.h"
#include "ui/FrmMain.h"
#include "ui/Inventory.h"
#include "ui/ItemListView.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Items;
using Inventory::element;

namespace {
QRect twipsOf(const QWidget *w)
{
    const double dpi = Twips::logicalDpi(w);
    const QRect g = w->geometry();
    return {Twips::toTwips(g.left(), dpi), Twips::toTwips(g.top(), dpi),
            Twips::toTwips(g.width(), dpi), Twips::toTwips(g.height(), dpi)};
}

bool kindMatches(const QWidget *w, Inventory::Kind kind)
{
    using K = Inventory::Kind;
    switch (kind) {
    case K::Label:
        return qobject_cast<const ClickableLabel *>(w);
    case K::TextBox:
        return qobject_cast<const QLineEdit *>(w);
    case K::ComboBox:
        return qobject_cast<const QComboBox *>(w) &&
               static_cast<const QComboBox *>(w)->isEditable();
    case K::CheckBox:
        return qobject_cast<const TriStateCheckBox *>(w);
    case K::OptionButton:
        return qobject_cast<const QRadioButton *>(w);
    case K::Frame:
        return qobject_cast<const QGroupBox *>(w);
    case K::Button:
        return qobject_cast<const QPushButton *>(w);
    case K::ListBox:
        return qobject_cast<const ItemListView *>(w);
    case K::Preview:
        return qobject_cast<const QPlainTextEdit *>(w);
    }
    return false;
}

QString captionOf(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    return QString();
}

void sendMouse(QWidget *viewport, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, viewport->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &e);
}
} // namespace

class TstFrmMain : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void captionAndClientArea();
    void inventory_data();
    void inventory();
    void spotChecksOfTheLayout();
    void tabOrderWalksTheInventory();
    void typingAndEmptyingFieldsMovesItems();
    void pickingAComboEntrySynchronises();
    void checkBoxClicksToggleAndGrayedBecomesChecked();
    void endSectionOffGraysAndDisablesEndBoxes();
    void priceFilterForKeysAndInputMethod();
    void stylesFollowOptionsAndLabels();
    void listKeys_data();
    void listKeys();
    void leftClickAndSpaceToggleSelection();
    void rightButtonDrag_data();
    void rightButtonDrag();
    void leftButtonDragNeverArms();

private:
    std::unique_ptr<TempAppDir> m_dir;
    std::unique_ptr<FrmMain> m_w;
    template <typename T> T *get(const QString &name) { return m_w->findChild<T *>(name); }
};

void TstFrmMain::init()
{
    m_dir = std::make_unique<TempAppDir>();
    m_dir->writeLines(u"Writer.dat"_s, {u"Sample Works"_s, u"Other"_s});
    m_w = std::make_unique<FrmMain>();
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

void TstFrmMain::cleanup()
{
    m_w.reset();
    m_dir.reset();
}

void TstFrmMain::captionAndClientArea()
{
    QCOMPARE(m_w->windowTitle(), u"Quillet"_s);
    QCOMPARE(twipsOf(m_w->centralWidget()).size(), QSize(8805, 9855));
}

void TstFrmMain::inventory_data()
{
    QTest::addColumn<QString>("name");
    for (const Inventory::Control &c : Inventory::mainWindow())
        QTest::newRow(c.name.toUtf8().constData()) << c.name;
}

void TstFrmMain::inventory()
{
    QFETCH(QString, name);
    const Inventory::Control *c = Inventory::find(name);
    QWidget *w = get<QWidget>(name);
    QVERIFY(w);
    QVERIFY(kindMatches(w, c->kind));
    QCOMPARE(captionOf(w), c->caption);
    QCOMPARE(w->toolTip(), c->tooltip);
    const QRect t = twipsOf(w);
    QVERIFY2(std::abs(t.left() - c->twips.left()) <= 15 && std::abs(t.top() - c->twips.top()) <= 15,
             qPrintable(u"%1,%2"_s.arg(t.left()).arg(t.top())));
    QVERIFY(std::abs(t.height() - c->twips.height()) <= 15);
    QVERIFY(t.width() >= c->twips.width() - 15); // a caption may need more room
    QCOMPARE(w->isEnabled(), !(c->flags & Inventory::Disabled));
    if (c->kind == Inventory::Kind::CheckBox)
        QCOMPARE(static_cast<TriStateCheckBox *>(w)->state(), c->flags & Inventory::On ? 1 : 0);
    if (c->kind == Inventory::Kind::OptionButton)
        QCOMPARE(static_cast<QRadioButton *>(w)->isChecked(), bool(c->flags & Inventory::On));
    if (!c->frame.isEmpty())
        QCOMPARE(w->parentWidget()->objectName(), c->frame);
}

void TstFrmMain::spotChecksOfTheLayout()
{
    // A few rows as the layout drawing gives them, independent of the table.
    QCOMPARE(twipsOf(get<QWidget>(u"cboHP"_s)), QRect(1500, 8070, 2670, 300));
    QCOMPARE(twipsOf(get<QWidget>(u"Label1(1)"_s)).topLeft(), QPoint(165, 3045));
    QCOMPARE(get<QLabel>(u"Label1(11)"_s)->text(), u"シェアウエア代金"_s);
    QCOMPARE(get<QWidget>(u"txtPrice"_s)->toolTip(), u"ソフトのシェアウェア代金を入力します"_s);
    QCOMPARE(twipsOf(get<QWidget>(u"lstItem"_s)), QRect(6210, 3030, 2460, 6720));
    QCOMPARE(get<QRadioButton>(u"optBracketsType(2)"_s)->text(), u"  <  >"_s);
    QCOMPARE(get<QLineEdit>(u"txtLineCount"_s)->maxLength(), 3);
    QCOMPARE(get<QLineEdit>(u"txtLineCount"_s)->text(), u"80"_s);
    const QFont preview = get<QPlainTextEdit>(u"txtPreView"_s)->font();
    const QFontMetrics fm(preview);
    QCOMPARE(fm.horizontalAdvance(u"あ"_s), 2 * fm.horizontalAdvance(u"a"_s));
}

void TstFrmMain::tabOrderWalksTheInventory()
{
    QStringList expected(46);
    for (const Inventory::Control &c : Inventory::mainWindow()) {
        if (c.tab >= 0)
            expected[c.tab] = c.name;
    }
    QStringList walked;
    QWidget *w = get<QWidget>(u"txtSoftName"_s);
    for (int guard = 0; guard < 400 && walked.size() < 46; ++guard, w = w->nextInFocusChain()) {
        if (expected.contains(w->objectName()) && !walked.contains(w->objectName()))
            walked.append(w->objectName());
    }
    QCOMPARE(walked, expected);
}

void TstFrmMain::typingAndEmptyingFieldsMovesItems()
{
    ItemList *list = m_w->document()->items();
    QTest::keyClicks(get<QLineEdit>(u"txtSoftName"_s), u"Vi"_s);
    QCOMPARE(list->entry(list->FindItemEntry(u"●本文内の項目") - 1), u"   ソフト名"_s);
    QTest::keyClick(get<QLineEdit>(u"txtSoftName"_s), Qt::Key_Backspace);
    QTest::keyClick(get<QLineEdit>(u"txtSoftName"_s), Qt::Key_Backspace);
    QCOMPARE(list->FindItemEntry(u"ソフト名"), -1);
    QComboBox *env = get<QComboBox>(u"cboEnvironment"_s);
    QTest::keyClicks(env->lineEdit(), u"Linux"_s);
    QCOMPARE(m_w->document()->fieldText(Environment), u"Linux"_s);
    QVERIFY(list->FindItemEntry(u"動作環境") > 0);
    // The document's changes reach the widget.
    m_w->document()->setFieldText(Environment, u"BSD"_s);
    QCOMPARE(env->currentText(), u"BSD"_s);
}

void TstFrmMain::pickingAComboEntrySynchronises()
{
    QComboBox *writer = get<QComboBox>(u"cboWriter"_s);
    QCOMPARE(writer->count(), 2);
    QCOMPARE(writer->currentText(), u"Sample Works"_s);
    writer->setFocus();
    QTest::keyClick(writer, Qt::Key_Down);
    QCOMPARE(m_w->document()->fieldText(Writer), u"Other"_s);
    QVERIFY(m_w->document()->items()->FindItemEntry(u"著作権者") > 0);
}

void TstFrmMain::checkBoxClicksToggleAndGrayedBecomesChecked()
{
    Document *doc = m_w->document();
    auto *box = get<TriStateCheckBox>(element(u"chkBody"_s, 1));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QCOMPARE(doc->chkBody(1), 1);
    QVERIFY(doc->items()->FindItemEntry(u"ファイルの説明") > 0);
    doc->setChkBody(1, 2);
    QCOMPARE(box->checkState(), Qt::PartiallyChecked);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QCOMPARE(doc->chkBody(1), 1);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QCOMPARE(doc->chkBody(1), 0);
    QCOMPARE(doc->items()->FindItemEntry(u"ファイルの説明"), -1);
}

void TstFrmMain::endSectionOffGraysAndDisablesEndBoxes()
{
    auto *section = get<TriStateCheckBox>(u"chkEndSentence"_s);
    QTest::mouseClick(section, Qt::LeftButton, {}, QPoint(8, section->height() / 2));
    for (int i = 0; i < kEndCount; ++i) {
        auto *box = get<TriStateCheckBox>(element(u"chkEnd"_s, i));
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QVERIFY(!box->isEnabled());
    }
    QTest::mouseClick(section, Qt::LeftButton, {}, QPoint(8, section->height() / 2));
    QVERIFY(get<QWidget>(element(u"chkEnd"_s, 0))->isEnabled());
    QCOMPARE(m_w->document()->items()->entries().last(), u"   著作権"_s);
}

void TstFrmMain::priceFilterForKeysAndInputMethod()
{
    auto *price = get<QLineEdit>(u"txtPrice"_s);
    QTest::keyClicks(price, u"\\1a,0-0.0 "_s);
    QCOMPARE(price->text(), u"\\1,000 "_s);
    QInputMethodEvent ime(QString(), {});
    ime.setCommitString(u"１２3円"_s);
    QApplication::sendEvent(price, &ime);
    QCOMPARE(price->text(), u"\\1,000 3"_s);
    QCOMPARE(m_w->document()->fieldText(Price), u"\\1,000 3"_s);
    m_w->document()->setFieldText(Price, u"千円"_s); // text from the program is not filtered
    QCOMPARE(price->text(), u"千円"_s);
}

void TstFrmMain::stylesFollowOptionsAndLabels()
{
    Document *doc = m_w->document();
    QTest::mouseClick(get<QRadioButton>(element(u"optLineType"_s, 3)), Qt::LeftButton);
    QCOMPARE(doc->optLineType(), 3);
    QVERIFY(get<QLineEdit>(u"txtLineType"_s)->isEnabled());
    QTest::mouseClick(get<QRadioButton>(element(u"optBracketsType"_s, 1)), Qt::LeftButton);
    QTest::mouseClick(get<QLabel>(element(u"Label5"_s, 1)), Qt::LeftButton);
    QVERIFY(get<QRadioButton>(element(u"optBracketsType"_s, 3))->isChecked());
    QVERIFY(get<QLineEdit>(element(u"txtBracketsType"_s, 0))->isEnabled());
    QTest::keyClicks(get<QLineEdit>(u"txtLineCount"_s), u"56"_s);
    QCOMPARE(doc->txtLineCount(), u"805"_s); // at most three characters
}

void TstFrmMain::listKeys_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("focusAfter");
    QTest::newRow("Delete") << u"a b* c"_s << 2 << int(Qt::Key_Delete) << 0 << u"a* c"_s << 1;
    QTest::newRow("Up moves then focus moves")
        << u"a b* c"_s << 2 << int(Qt::Key_Up) << 0 << u"b* a c"_s << 1;
    QTest::newRow("Down") << u"a* b c"_s << 0 << int(Qt::Key_Down) << 0 << u"b a* c"_s << 1;
    QTest::newRow("Shift+A") << u"a b c"_s << 0 << int(Qt::Key_A) << int(Qt::ShiftModifier)
                             << u"a* b* c*"_s << 0;
    QTest::newRow("Enter") << u"a b c"_s << 1 << int(Qt::Key_Return) << 0 << u"a b* c"_s << 1;
    QTest::newRow("Escape") << u"a* b* c"_s << 1 << int(Qt::Key_Escape) << 0 << u"a b c"_s << 1;
    QTest::newRow("Space toggles focus entry")
        << u"a b c"_s << 2 << int(Qt::Key_Space) << 0 << u"a b c*"_s << 2;
}

void TstFrmMain::listKeys()
{
    QFETCH(QString, before);
    QFETCH(int, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QFETCH(int, focusAfter);
    ItemList *list = m_w->document()->items();
    auto *view = get<ItemListView>(u"lstItem"_s);
    loadItemList(*list, before);
    list->setFocusEntry(focus);
    view->setFocus();
    QTest::keyClick(view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(dumpItemList(*list), after);
    QCOMPARE(list->focusEntry(), focusAfter);
}

void TstFrmMain::leftClickAndSpaceToggleSelection()
{
    ItemList *list = m_w->document()->items();
    auto *view = get<ItemListView>(u"lstItem"_s);
    loadItemList(*list, u"a b c"_s);
    const QPoint b = view->visualRect(list->index(1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, b);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(list->index(2)).center());
    QCOMPARE(dumpItemList(*list), u"a b* c*"_s);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, b);
    QCOMPARE(dumpItemList(*list), u"a b c*"_s);
    QCOMPARE(list->focusEntry(), 1);
}

void TstFrmMain::rightButtonDrag_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("releaseOn"); // entry index; -1 below the last entry; -2 outside
    QTest::addColumn<QString>("after");
    QTest::newRow("block in front of A") << u"A B* C D* E"_s << 0 << u"B D A C E"_s;
    QTest::newRow("below the last entry") << u"A* B C"_s << -1 << u"B C A"_s;
    QTest::newRow("on a selected entry") << u"A B* C* D"_s << 2 << u"A B C D"_s;
    QTest::newRow("on the next entry") << u"A B* C"_s << 2 << u"A B C"_s;
    QTest::newRow("on D") << u"A B* C D"_s << 3 << u"A C B D"_s;
    QTest::newRow("outside the list") << u"A B* C"_s << -2 << u"A B* C"_s;
    QTest::newRow("nothing selected") << u"A B C"_s << 0 << u"A B C"_s;
}

void TstFrmMain::rightButtonDrag()
{
    QFETCH(QString, before);
    QFETCH(int, releaseOn);
    QFETCH(QString, after);
    ItemList *list = m_w->document()->items();
    auto *view = get<ItemListView>(u"lstItem"_s);
    QWidget *vp = view->viewport();
    loadItemList(*list, before);
    const QPoint start = view->visualRect(list->index(1)).center();
    QPoint end;
    if (releaseOn >= 0)
        end = view->visualRect(list->index(releaseOn)).center();
    else if (releaseOn == -1)
        end = QPoint(start.x(), vp->height() - 30);
    else
        end = QPoint(vp->width() + 40, start.y());
    const QPoint armed = releaseOn == -2 ? start : end;
    sendMouse(vp, QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    sendMouse(vp, QEvent::MouseMove, armed, Qt::NoButton, Qt::RightButton);
    const bool anySelected = before.contains(u'*');
    QCOMPARE(view->dropArmed(), anySelected);
    QCOMPARE(vp->cursor().shape(), anySelected ? Qt::CrossCursor : Qt::ArrowCursor);
    if (releaseOn >= 0)
        QCOMPARE(list->focusEntry(), releaseOn); // the focus follows the pointer
    sendMouse(vp, QEvent::MouseButtonRelease, end, Qt::RightButton, Qt::NoButton);
    QCOMPARE(dumpItemList(*list), after);
    QVERIFY(!view->dropArmed());
    QCOMPARE(vp->cursor().shape(), Qt::ArrowCursor);
}

void TstFrmMain::leftButtonDragNeverArms()
{
    ItemList *list = m_w->document()->items();
    auto *view = get<ItemListView>(u"lstItem"_s);
    QWidget *vp = view->viewport();
    loadItemList(*list, u"A B* C"_s);
    const QPoint a = view->visualRect(list->index(0)).center();
    const QPoint c = view->visualRect(list->index(2)).center();
    sendMouse(vp, QEvent::MouseMove, c, Qt::NoButton, Qt::LeftButton);
    QVERIFY(!view->dropArmed());
    sendMouse(vp, QEvent::MouseButtonRelease, a, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dumpItemList(*list), u"A B* C"_s);
}

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
