#include "platform/AppInfo.h"
#include "ui/FrmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    FrmMain window;
    window.show();
    return QApplication::exec();
}
