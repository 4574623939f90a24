#include "TestSupport.h"
#include "ui/FrmMain.h"
#include "ui/Twips.h"

#include <QTest>

class TstFrmMain : public QObject {
    Q_OBJECT
private slots:
    void captionAndClientArea();
};

void TstFrmMain::captionAndClientArea()
{
    TempAppDir dir;
    FrmMain w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillet"));
    const double dpi = Twips::logicalDpi(&w);
    QCOMPARE(w.centralWidget()->size(),
             QSize(Twips::toPixels(8805, dpi), Twips::toPixels(9855, dpi)));
}

QTEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
