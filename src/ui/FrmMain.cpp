#include "FrmMain.h"

#include "Twips.h"
#include "platform/AppInfo.h"

#include <QWidget>

FrmMain::FrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(AppInfo::title());
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    const double dpi = Twips::logicalDpi(this);
    client->setFixedSize(Twips::toPixels(kClientWidth, dpi), Twips::toPixels(kClientHeight, dpi));
    setCentralWidget(client);
}
