#include "app/ComposeCli.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return ComposeCli::run(QCoreApplication::arguments().mid(1));
}
