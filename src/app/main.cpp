#include "platform/AppInfo.h"
#include "ui/FrmMain.h"
#include "ui/Language.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppInfo::setApplicationIdentity();
    Language::useJapanese();

    FrmMain window;
    window.show();
    window.startRecovery(AppInfo::pathInListDirectory(QStringLiteral("recovery")));
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.openPath(args.at(1)); // a double-clicked or dropped-on-icon project
    return QApplication::exec();
}
