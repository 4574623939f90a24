#pragma once

#include "QueuedServices.h"
#include "TestSupport.h"
#include "readme/ReadmeComposer.h"
#include "ui/FrmMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <memory>

// Message boxes that also note whether the busy pointer was on.
class WatchedMessages : public QueuedMessages {
public:
    QList<bool> busy;
    void warning(const QString &text) override
    {
        busy.append(QApplication::overrideCursor() != nullptr);
        QueuedMessages::warning(text);
    }
};

// Types text as a keyboard with an input method would, one key per character.
inline void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Types an entry into the list editor's box and registers it with Insert.
inline void registerEntry(QDialog &editor, const QString &entry)
{
    QWidget *box = editor.findChild<QWidget *>(QStringLiteral("txtRegist"));
    type(box, entry);
    QTest::keyClick(box, Qt::Key_Insert);
}

// Sends one mouse event to w, the position in its coordinates.
inline void sendMouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The README the document composes, as written in a file.
inline QString composed(const Document &doc)
{
    return ReadmeComposer(doc.project()).compose().value() + QStringLiteral("\r\n");
}

// A shown main window in a folder of its own, with queued dialogs and
// messages, and settings that start empty for every test.
class WindowFixture : public QObject {
protected:
    // prepare fills the folder before the window reads its lists.
    void openWindow(const std::function<void(const TempAppDir &)> &prepare = {})
    {
        m_w.reset(); // the last test's window, then its folder
        m_dir.reset();
        m_dir = std::make_unique<TempAppDir>();
        m_settings = std::make_unique<TempSettings>();
        if (prepare)
            prepare(*m_dir);
        m_dialogs = {};
        m_messages = {};
        m_script = nullptr;
        m_shown.clear();
        m_w = std::make_unique<FrmMain>();
        m_w->setServices(&m_dialogs, &m_messages);
        m_w->setDialogRunner([this](QDialog &d) {
            m_shown.append(d.windowTitle());
            d.show();
            if (m_script)
                m_script(d);
            if (d.isVisible())
                d.close();
        });
        m_w->show();
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    }
    void closeWindow()
    {
        m_w.reset();
        m_dir.reset();
    }

    Document *doc() const { return m_w->document(); }
    template <typename T> T *get(const QString &name) { return m_w->findChild<T *>(name); }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void trigger(const QString &action) { m_w->action(action)->trigger(); }
    void openFile(const QString &file)
    {
        m_dialogs.answers = {file};
        trigger(QStringLiteral("mnuOpen"));
    }
    // Keys as the author presses them, to the control with the focus.
    void press(const QKeySequence &keys)
    {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keySequence(focus, keys);
    }

    std::unique_ptr<TempAppDir> m_dir;
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<FrmMain> m_w;
    QueuedDialogs m_dialogs;
    WatchedMessages m_messages;
    std::function<void(QDialog &)> m_script; // what the next dialog does before it closes
    QStringList m_shown;                     // titles of the dialogs run
};
