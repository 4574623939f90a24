#include "FrmMain.h"
#include "entrylists/EntryLists.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QResizeEvent>

using namespace Qt::StringLiterals;

namespace {
QAction *addItem(QWidget *menu, const QString &name, const QString &caption,
                 const QKeySequence &shortcut = {})
{
    auto *action = new QAction(caption, menu);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    menu->addAction(action);
    return action;
}
} // namespace

void FrmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(u"ファイル(&F)"_s);
    file->setObjectName(u"mnuFile"_s);
    connect(addItem(file, u"mnuNew"_s, u"新規作成"_s, QKeySequence(u"Ctrl+N"_s)),
            &QAction::triggered, this, &FrmMain::newDocument);
    connect(addItem(file, u"mnuNewFromTemplate"_s, u"テンプレートから新規作成…"_s),
            &QAction::triggered, this, &FrmMain::newFromTemplate);
    file->addSeparator()->setObjectName(u"mnuBlank1"_s);
    connect(addItem(file, u"mnuOpen"_s, u"データを開く"_s, QKeySequence(u"Ctrl+O"_s)),
            &QAction::triggered, this, &FrmMain::openDocument);
    connect(addItem(file, u"mnuSave"_s, u"データの保存"_s, QKeySequence(u"Ctrl+S"_s)),
            &QAction::triggered, this, [this] { saveDocument(); });
    connect(addItem(file, u"mnuSaveAs"_s, u"名前を付けて保存…"_s, QKeySequence(u"Ctrl+Shift+S"_s)),
            &QAction::triggered, this, [this] { saveDocumentAs(); });
    connect(addItem(file, u"mnuSaveTemplate"_s, u"テンプレートとして保存…"_s), &QAction::triggered,
            this, &FrmMain::saveAsTemplate);
    connect(addItem(file, u"mnuImport"_s, u"README.TXTを取り込む…"_s, QKeySequence(u"Ctrl+I"_s)),
            &QAction::triggered, this, &FrmMain::importReadme);
    QMenu *recent = file->addMenu(u"最近使ったファイル"_s);
    recent->setObjectName(u"mnuRecent"_s);
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    file->addSeparator()->setObjectName(u"mnuBlank2"_s);
    connect(addItem(file, u"mnuClose"_s, u"閉じる"_s, QKeySequence(u"Ctrl+X"_s)),
            &QAction::triggered, this, &FrmMain::closeWindow);

    buildEditMenu(bar->addMenu(u"編集(&E)"_s));

    QMenu *create = bar->addMenu(u"作成(&S)"_s);
    create->setObjectName(u"mnuCreate"_s);
    connect(addItem(create, u"mnuPreview"_s, u"プレビューの表示"_s, QKeySequence(u"Ctrl+P"_s)),
            &QAction::triggered, this, &FrmMain::showPreview);
    connect(addItem(create, u"mnuPreReadme"_s, u"プレビューを使ってREADME.TXTの作成"_s,
                    QKeySequence(u"Ctrl+Q"_s)),
            &QAction::triggered, this, &FrmMain::writeReadmeFromPreview);
    connect(addItem(create, u"mnuReadme"_s, u"README.TXTの作成"_s, QKeySequence(u"Ctrl+R"_s)),
            &QAction::triggered, this, &FrmMain::composeAndWriteReadme);
    create->addSeparator();
    buildWrapMenu(create);
    buildLanguageMenu(create);

    QMenu *regist = bar->addMenu(u"登録(&R)"_s);
    regist->setObjectName(u"mnuRegistration"_s);
    for (int i = 0; i < EntryLists::kListCount; ++i) {
        const EntryLists::ListInfo &l = EntryLists::kLists[size_t(i)];
        QAction *a = addItem(regist, u"mnuRegist(%1)"_s.arg(i), QString::fromUtf16(l.caption),
                             QKeySequence(QString::fromLatin1(l.shortcut)));
        connect(a, &QAction::triggered, this, [this, i] { editRegisteredList(i); });
    }

    QAction *version = bar->addAction(u"バージョン情報(&V)"_s);
    version->setObjectName(u"mnuVersion"_s);
    connect(version, &QAction::triggered, this, &FrmMain::showAbout);

    // Menu shortcuts win over the focused field's own editing keys.
    qApp->installEventFilter(this);
}

QAction *FrmMain::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

bool FrmMain::isOwnShortcut(const QKeySequence &keys) const
{
    const QList<QAction *> actions = findChildren<QAction *>();
    return std::any_of(actions.begin(), actions.end(),
                       [&](const QAction *a) { return a->shortcuts().contains(keys); });
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == centralWidget())
        layoutGrowing(static_cast<QResizeEvent *>(event)->size());
    if (event->type() == QEvent::ShortcutOverride) {
        auto *widget = qobject_cast<QWidget *>(watched);
        // The preview is no part of the project: it keeps its own undo.
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool previewUndo =
            widget && widget == static_cast<QWidget *>(m_txtPreView) &&
            (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo));
        if (widget && widget->window() == this && !previewUndo &&
            isOwnShortcut(QKeySequence(static_cast<QKeyEvent *>(event)->keyCombination()))) {
            event->ignore(); // not wanted by the field: the shortcut runs
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
