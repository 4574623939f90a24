#pragma once

#include <QApplication>
#include <utility>

// The hourglass while a command works; restored however the command ends,
// or earlier by done(), before a message asks for the author's attention.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { done(); }
    void done()
    {
        if (std::exchange(m_on, false))
            QApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_on = true;
};

// Lets the window repaint during a long composition, but takes no input:
// the list must not change while the composer reads it.
inline void paintOnly()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
