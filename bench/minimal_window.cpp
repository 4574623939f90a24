// The yardstick for start-up time and memory: Qt showing one empty main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MinimalWindow"));
    window.resize(587, 657);
    window.show();
    return QApplication::exec();
}
