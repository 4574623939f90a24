#pragma once

#include "QueuedServices.h"
#include "TestSupport.h"
#include "ui/FrmMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
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
        m_settings = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings->path());
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

    std::unique_ptr<TempAppDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_settings;
    std::unique_ptr<FrmMain> m_w;
    QueuedDialogs m_dialogs;
    WatchedMessages m_messages;
    std::function<void(QDialog &)> m_script; // what the next dialog does before it closes
    QStringList m_shown;                     // titles of the dialogs run
};
