// Undo and redo: every change to the project is a step of the history,
// recorded once the change (and the rules it ran) is complete.
#include "FrmMain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

void FrmMain::buildEditMenu(QMenu *edit)
{
    edit->setObjectName(u"mnuEdit"_s);
    m_undoAction = edit->addAction(QString());
    m_undoAction->setObjectName(u"mnuUndo"_s);
    m_undoAction->setShortcut(QKeySequence(u"Ctrl+Z"_s));
    m_redoAction = edit->addAction(QString());
    m_redoAction->setObjectName(u"mnuRedo"_s);
    m_redoAction->setShortcuts({QKeySequence(u"Ctrl+Y"_s), QKeySequence(u"Ctrl+Shift+Z"_s)});
    for (QAction *a : {m_undoAction, m_redoAction})
        a->setShortcutContext(Qt::WindowShortcut);
    connect(m_undoAction, &QAction::triggered, this, &FrmMain::undo);
    connect(m_redoAction, &QAction::triggered, this, &FrmMain::redo);
    // Typing in a field is one step until the focus leaves it.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this] {
        m_session->record();
        m_session->seal();
    });
    connect(m_session, &ProjectSession::stateChanged, this, &FrmMain::scheduleTitleUpdate);
    updateUndoActions();
}

void FrmMain::undo()
{
    m_session->undo();
    updateUndoActions();
}

void FrmMain::redo()
{
    m_session->redo();
    updateUndoActions();
}

void FrmMain::updateUndoActions()
{
    if (!m_undoAction)
        return;
    const auto caption = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + u": "_s + step;
    };
    m_undoAction->setText(caption(u"元に戻す"_s, m_session->undoName()));
    m_undoAction->setEnabled(m_session->canUndo());
    m_redoAction->setText(caption(u"やり直し"_s, m_session->redoName()));
    m_redoAction->setEnabled(m_session->canRedo());
}
