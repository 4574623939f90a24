#include "app/ComposeCli.h"
#include "platform/AppInfo.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
#endif

int main(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    // A README goes to standard output byte for byte: no LF becomes CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    // Messages are UTF-8; a console shows them as such.
    SetConsoleOutputCP(CP_UTF8);
#endif
    QCoreApplication app(argc, argv);
    AppInfo::setApplicationIdentity(); // the same list folder as the window's
    return ComposeCli::run(QCoreApplication::arguments().mid(1));
}
