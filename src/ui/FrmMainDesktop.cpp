// The habits of a desktop program: a window that grows and remembers its
// place, the file it works on in its title, recent files, dropped files,
// a status line, context menus that tell the truth, accessible names.
#include "CaptionFit.h"
#include "Controls.h"
#include "FrmMain.h"
#include "ItemListView.h"
#include "Twips.h"
#include "platform/AppInfo.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
const QString kGeometryKey = u"window/geometry"_s;

QString dataFileIn(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    return path.endsWith(u".pwk"_s, Qt::CaseInsensitive) ? path : QString();
}
} // namespace

// ---- the file in the title, recent files --------------------------------

// After New, Open, Import or Save: the title names the file, and what the
// status line said was about the last one.
void FrmMain::setCurrentFile()
{
    statusBar()->clearMessage();
    updateTitle();
}

void FrmMain::updateTitle()
{
    setWindowTitle(m_session->displayName() + u"[*] - "_s + AppInfo::title());
    setWindowModified(m_session->isModified());
    updateUndoActions();
}

// Many edits come in a row; the title and the menu follow once they stop.
void FrmMain::scheduleTitleUpdate()
{
    // A change not yet recorded is already there to undo.
    if (m_undoAction)
        m_undoAction->setEnabled(m_session->canUndo());
    if (m_titlePending)
        return;
    m_titlePending = true;
    QTimer::singleShot(0, this, [this] {
        m_titlePending = false;
        updateTitle();
    });
}

QStringList FrmMain::recentFiles() const
{
    return m_session->recentFiles();
}

void FrmMain::fillRecentMenu(QMenu *menu)
{
    menu->clear();
    const QStringList files = recentFiles();
    QStringList names;
    for (const QString &path : files)
        names.append(QFileInfo(path).fileName());
    for (int i = 0; i < files.size(); ++i) {
        const QString &path = files.at(i);
        QString label = u"&%1 %2"_s.arg(i + 1).arg(names.at(i));
        if (names.count(names.at(i)) > 1) // told apart by their folders
            label += u"（%1）"_s.arg(QDir::toNativeSeparators(QFileInfo(path).path()));
        QAction *a = menu->addAction(label);
        a->setObjectName(u"mnuRecent(%1)"_s.arg(i));
        a->setToolTip(QDir::toNativeSeparators(path));
        a->setStatusTip(QDir::toNativeSeparators(path));
        a->setEnabled(QFileInfo::exists(path)); // a moved file stays listed, greyed
        connect(a, &QAction::triggered, this, [this, path] {
            if (maybeSave())
                openPath(path);
        });
    }
    if (files.isEmpty())
        menu->addAction(u"（なし）"_s)->setEnabled(false);
}

// ---- dropped files ----------------------------------------------------------

void FrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!dataFileIn(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent *event)
{
    const QString path = dataFileIn(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (maybeSave())
        openPath(path);
}

// ---- status line --------------------------------------------------------

void FrmMain::tellWritten(const QString &what, const QString &path)
{
    AppInfo::rememberFolderOf(path);
    statusBar()->showMessage(u"%1を書き込みました: %2"_s.arg(what, QDir::toNativeSeparators(path)));
}

// ---- size and place -----------------------------------------------------

void FrmMain::restorePlace()
{
    const QByteArray geometry = QSettings().value(kGeometryKey).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

void FrmMain::savePlace()
{
    QSettings().setValue(kGeometryKey, saveGeometry());
}

// Places every control from its twips, then widens what the font cuts; the
// client is at least as wide as its controls need.
void FrmMain::arrangeControls()
{
    QWidget *client = centralWidget();
    const double dpi = Twips::logicalDpi(this);
    for (const auto &[w, twips] : m_twips)
        w->setGeometry(Twips::toPixels(twips, dpi));
    const int needed = CaptionFit::fit(client, Twips::toPixels(kClientWidth - 8670, dpi),
                                       Twips::toPixels(60, dpi));
    m_baseClient = {std::max(Twips::toPixels(kClientWidth, dpi), needed),
                    Twips::toPixels(kClientHeight, dpi)};
    const int wider = m_baseClient.width() - Twips::toPixels(kClientWidth, dpi);
    m_txtPreView->resize(m_txtPreView->width() + wider, m_txtPreView->height());
    m_base.clear();
    for (QWidget *w : client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        m_base.emplace_back(w, w->geometry());
    client->setMinimumSize(m_baseClient.width(),
                           m_baseClient.height() - Twips::toPixels(kPreviewGives, dpi));
    layoutGrowing(client->size().expandedTo(client->minimumSize()));
}

// A new font (the author's or the desktop's) measures the captions anew.
void FrmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && m_txtPreView)
        arrangeControls();
    QMainWindow::changeEvent(event);
}

// Opens with the whole layout where the screen has room for it, else as
// large as the screen allows.
void FrmMain::fitToScreen()
{
    QWidget *client = centralWidget();
    const QSize least = client->minimumSize();
    client->setMinimumSize(m_baseClient);
    const QSize whole = minimumSizeHint();
    client->setMinimumSize(least);
    QSize room = whole;
    if (const QScreen *s = screen()) {
        const double dpi = Twips::logicalDpi(this);
        const auto px = [dpi](int at96) { return int(at96 * dpi / 96); };
        room = s->availableGeometry().size() - QSize(px(16), px(40)); // the window's frame
    }
    resize(whole.boundedTo(room).expandedTo(minimumSizeHint()));
}

// The controls keep their places; extra width goes to the preview and the
// item list, extra height to the item list. A window lower than the layout
// takes the height from the preview and moves what lies below it up.
void FrmMain::layoutGrowing(QSize client)
{
    const int dx = std::max(0, client.width() - m_baseClient.width());
    const int dy = client.height() - m_baseClient.height();
    const int up = std::min(0, dy);
    // Extra height goes half to the preview and half to the item list; the
    // controls between them move down with the preview's bottom.
    const int grow = std::max(0, dy) / 2;
    const int shift = up + grow;
    for (const auto &[w, base] : m_base) {
        if (w == m_txtPreView)
            w->resize(base.width() + dx, base.height() + shift);
        else if (w == m_lstItem)
            w->setGeometry(base.adjusted(0, shift, dx, up + std::max(0, dy)));
        else
            w->move(base.topLeft() + QPoint(0, shift));
    }
}

// ---- context menus and accessible names ---------------------------------

// The window's shortcuts take Ctrl+X, Ctrl+C and Ctrl+A from the fields, so
// their menus offer the other keys that still do the same, or none.
QMenu *FrmMain::truthfulContextMenu(QWidget *edit)
{
    QMenu *menu = nullptr;
    if (auto *line = qobject_cast<QLineEdit *>(edit))
        menu = line->createStandardContextMenu();
    else if (auto *text = qobject_cast<QPlainTextEdit *>(edit))
        menu = text->createStandardContextMenu();
    if (!menu)
        return nullptr;
    const QList<QKeySequence::StandardKey> keys = {
        QKeySequence::Undo,  QKeySequence::Redo,   QKeySequence::Cut,      QKeySequence::Copy,
        QKeySequence::Paste, QKeySequence::Delete, QKeySequence::SelectAll};
    for (QAction *a : menu->actions()) {
        const qsizetype tab = a->text().indexOf(u'\t');
        if (tab < 0)
            continue;
        const QKeySequence shown(a->text().mid(tab + 1), QKeySequence::NativeText);
        if (!isOwnShortcut(shown))
            continue;
        QString other;
        for (QKeySequence::StandardKey key : keys) {
            const QList<QKeySequence> bindings = QKeySequence::keyBindings(key);
            if (!bindings.contains(shown))
                continue;
            for (const QKeySequence &b : bindings) {
                if (!isOwnShortcut(b)) {
                    other = b.toString(QKeySequence::NativeText);
                    break;
                }
            }
        }
        a->setText(a->text().left(tab) + (other.isEmpty() ? QString() : u"\t"_s + other));
    }
    return menu;
}

void FrmMain::installContextMenus()
{
    QList<QWidget *> edits;
    for (QLineEdit *e : findChildren<QLineEdit *>())
        edits.append(e);
    edits.append(m_txtPreView);
    for (QWidget *e : edits) {
        e->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(e, &QWidget::customContextMenuRequested, this, [this, e](QPoint pos) {
            if (QMenu *menu = truthfulContextMenu(e)) {
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(e->mapToGlobal(pos));
            }
        });
    }
}

void FrmMain::nameForAccessibility()
{
    for (int i = Items::SoftName; i <= Items::HomePage; ++i) {
        QWidget *field = m_combos[size_t(i)] ? static_cast<QWidget *>(m_combos[size_t(i)])
                                             : m_textFields[size_t(i)];
        QLabel *label = m_label1[size_t(i)];
        label->setBuddy(field);
        field->setAccessibleName(label->text());
        if (m_combos[size_t(i)])
            m_combos[size_t(i)]->lineEdit()->setAccessibleName(label->text());
    }
    for (const Inventory::Control &c : Inventory::mainWindow()) {
        if (!c.accessibleName.isEmpty())
            findChild<QWidget *>(c.name)->setAccessibleName(c.accessibleName);
    }
}
