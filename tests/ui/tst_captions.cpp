// Every caption of the main window and the list editor shows whole, whatever font the desktop
// gives, and the window fits the screen it runs on. CTest runs this under a
// Japanese and a plain locale, on a small 96 dpi and a large 144 dpi screen.
#include "QueuedServices.h"
#include "TestSupport.h"
#include "ui/FrmMain.h"
#include "ui/FrmRegist.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString captionOf(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (const auto *box = qobject_cast<const QGroupBox *>(w))
        return box->title();
    return QString();
}

// Width the caption's text needs beside what the control draws around it.
int neededWidth(const QWidget *w)
{
    const QFontMetrics fm = w->fontMetrics();
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return fm.horizontalAdvance(label->text()) + w->width() - label->contentsRect().width();
    if (const auto *button = qobject_cast<const QPushButton *>(w)) {
        const QStyle *s = w->style(); // the style's least width for any button is not the text's
        return fm.horizontalAdvance(QString(button->text()).remove(u'&')) +
               s->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) +
               2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
    }
    if (qobject_cast<const QGroupBox *>(w))
        return w->minimumSizeHint().width();
    return w->sizeHint().width();
}

// Why the caption of w does not show whole, or "".
QString clipped(const QWidget *w)
{
    const QFontMetrics fm = w->fontMetrics();
    const QString text = captionOf(w);
    const int needed = neededWidth(w);
    if (fm.height() > w->height())
        return u"%1 px high, the font needs %2"_s.arg(w->height()).arg(fm.height());
    if (needed <= w->width())
        return QString();
    // A check box caption may wrap onto the lines its height holds.
    if (qobject_cast<const QCheckBox *>(w)) {
        const int room = w->width() - (needed - fm.horizontalAdvance(text));
        const QRect wrapped = fm.boundingRect(QRect(0, 0, room, 10000), Qt::TextWordWrap, text);
        if (wrapped.width() <= room && wrapped.height() <= w->height())
            return QString();
    }
    return u"%1 px wide, the caption needs %2"_s.arg(w->width()).arg(needed);
}

// The parts of a caption on screen, in its parent's coordinates: a label's
// words (full-width spaces may lie under another control), or the whole.
// The text stands in the middle of its control's height.
QList<QRect> drawnParts(const QWidget *w)
{
    const QFontMetrics fm = w->fontMetrics();
    const int lines = fm.height() * 2 <= w->height() && neededWidth(w) > w->width() ? 2 : 1;
    const int high = lines * fm.height();
    const QRect g = w->geometry().adjusted(0, (w->height() - high) / 2, 0, 0);
    const auto *label = qobject_cast<const QLabel *>(w);
    if (!label)
        return {QRect(g.topLeft(), QSize(std::min(neededWidth(w), g.width()), high))};
    QList<QRect> parts;
    const QString text = label->text();
    static const QRegularExpression word(u"[^\u3000]+"_s);
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int x = g.left() + label->contentsRect().left() +
                      fm.horizontalAdvance(text.left(m.capturedStart()));
        parts.append(QRect(x, g.top(), fm.horizontalAdvance(m.captured()), high));
    }
    return parts;
}

// Controls that paint their whole area; a check box or a label above
// another lets it show through.
bool opaque(const QWidget *w)
{
    return w->autoFillBackground() || qobject_cast<const QAbstractScrollArea *>(w) ||
           qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QPushButton *>(w);
}

// A caption part lies inside its container and under no opaque control
// stacked above it.
QString covered(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    const QObjectList &siblings = parent->children();
    for (const QRect &part : drawnParts(w)) {
        if (!parent->rect().contains(part))
            return u"cut off by the edge of %1"_s.arg(parent->objectName());
        for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
            const auto *above = qobject_cast<const QWidget *>(siblings.at(i));
            if (above && above->isVisible() && opaque(above) && above->geometry().intersects(part))
                return u"under %1"_s.arg(above->objectName());
        }
    }
    return QString();
}

struct Screen {
    QSize pixels;
    double dpi;
};

} // namespace

Q_DECLARE_METATYPE(Screen)

class TstCaptions : public QObject {
    Q_OBJECT
private slots:
    void captionsShowWhole_data();
    void captionsShowWhole();
    void windowFitsTheScreen_data();
    void windowFitsTheScreen();
};

void TstCaptions::captionsShowWhole_data()
{
    QTest::addColumn<bool>("editor");    // the list editor, else the main window
    QTest::addColumn<QString>("family"); // "" keeps the window's own font
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("captions"); // labels, boxes, options, buttons and frames
    for (const bool editor : {false, true}) {
        const char *window = editor ? "list editor" : "main window";
        const int captions = editor ? 5 : 48;
        QTest::addRow("%s, its own font", window) << editor << QString() << 0.0 << captions;
        QTest::addRow("%s, fixed-pitch gothic", window)
            << editor << u"IPAGothic"_s << 9.0 << captions;
    }
}

void TstCaptions::captionsShowWhole()
{
    QFETCH(bool, editor);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(int, captions);
    const TempAppDir dir;
    const TempSettings settings;
    QueuedMessages messages;
    std::unique_ptr<QWidget> w;
    if (editor)
        w = std::make_unique<FrmRegist>(&messages);
    else
        w = std::make_unique<FrmMain>();
    if (!family.isEmpty()) {
        QFont font(family);
        font.setPointSizeF(points);
        w->setFont(font);
    }
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->resize(w->minimumSizeHint()); // the tightest the author can make it
    QCoreApplication::processEvents();
    int checked = 0;
    QStringList faults;
    for (QWidget *c : w->findChildren<QWidget *>()) {
        if (!c->isVisible() || captionOf(c).isEmpty() || c->window() != w.get() ||
            qobject_cast<QMenuBar *>(c->parentWidget()))
            continue;
        ++checked;
        for (const QString &fault : {clipped(c), covered(c)}) {
            if (!fault.isEmpty())
                faults.append(u"%1 \"%2\": %3"_s.arg(c->objectName(), captionOf(c), fault));
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(u"\n"_s + faults.join(u'\n')));
    QCOMPARE(checked, captions);
}

// A screen of the given size and dpi, seen at the dpi this run lays out at:
// the same inches, as Qt's scaling on Windows would give them. Its room
// lacks a title bar and a taskbar.
void TstCaptions::windowFitsTheScreen_data()
{
    QTest::addColumn<Screen>("screen");
    QTest::newRow("1366x768 at 96 dpi") << Screen{{1366, 768}, 96};
    QTest::newRow("1920x1080 at 144 dpi") << Screen{{1920, 1080}, 144};
}

void TstCaptions::windowFitsTheScreen()
{
    QFETCH(Screen, screen);
    const TempAppDir dir;
    const TempSettings settings;
    FrmMain w;
    const double dpi = w.screen()->logicalDotsPerInch();
    const double scale = dpi / screen.dpi;
    const auto here = [dpi](int pixelsAt96) { return int(pixelsAt96 * dpi / 96); };
    const QSize room(int(screen.pixels.width() * scale) - here(16),
                     int(screen.pixels.height() * scale) - here(40 + 32));
    const QSize least = w.minimumSizeHint().expandedTo(w.minimumSize());
    const auto size = [](QSize s) { return u"%1x%2"_s.arg(s.width()).arg(s.height()); };
    QVERIFY2(least.width() <= room.width() && least.height() <= room.height(),
             qPrintable(u"at least %1, room %2 at %3 dpi"_s.arg(size(least), size(room)).arg(dpi)));
    // Opened on the screen of this run, the whole window is on it.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect screenRoom = w.screen()->availableGeometry();
    QVERIFY2(screenRoom.contains(w.frameGeometry()),
             qPrintable(u"window %1 on a screen of %2"_s.arg(size(w.frameGeometry().size()),
                                                             size(screenRoom.size()))));
}

QTEST_MAIN(TstCaptions)
#include "tst_captions.moc"
