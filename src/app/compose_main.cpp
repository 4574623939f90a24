#include "app/ComposeCli.h"
#include "platform/AppInfo.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    AppInfo::setApplicationIdentity(); // the same list folder as the window's
    return ComposeCli::run(QCoreApplication::arguments().mid(1));
}
