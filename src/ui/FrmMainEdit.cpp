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
        recordStep();
        m_history.seal();
    });
    updateUndoActions();
}

void FrmMain::recordStep()
{
    if (m_restoring)
        return;
    m_history.record(m_doc->project());
    updateUndoActions();
}

void FrmMain::undo()
{
    recordStep();
    if (m_history.canUndo())
        restore(m_history.undo());
}

void FrmMain::redo()
{
    recordStep();
    if (m_history.canRedo())
        restore(m_history.redo());
}

void FrmMain::restore(const Project &state)
{
    m_restoring = true;
    m_doc->restore(state);
    m_restoring = false;
    updateUndoActions();
    updateTitle();
}

void FrmMain::startHistory()
{
    m_history.reset(m_doc->project());
    updateUndoActions();
}

void FrmMain::updateUndoActions()
{
    if (!m_undoAction)
        return;
    const auto caption = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + u": "_s + step;
    };
    m_undoAction->setText(caption(u"元に戻す"_s, m_history.undoName()));
    m_undoAction->setEnabled(m_history.canUndo());
    m_redoAction->setText(caption(u"やり直し"_s, m_history.redoName()));
    m_redoAction->setEnabled(m_history.canRedo());
}
