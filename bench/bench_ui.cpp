#include "platform/AppInfo.h"
#include "ui/FrmMain.h"
#include "ui/ItemListView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Each operation runs as the user starts it (a button click, a right-button
// drop) and includes the view's update: layout and a synchronous repaint.

namespace {
struct Window {
    QTemporaryDir dir;
    std::unique_ptr<FrmMain> w;
    ItemListView *view = nullptr;
    ItemList *list = nullptr;
    QStringList entries;

    explicit Window(int n)
    {
        AppInfo::setApplicationDirectory(dir.path());
        w = std::make_unique<FrmMain>();
        w->show();
        view = w->findChild<ItemListView *>(QStringLiteral("lstItem"));
        list = w->document()->items();
        for (int i = 0; i < n; ++i)
            entries.append(QStringLiteral("   項目 %1").arg(i));
    }
    void reload()
    {
        list->setEntries(entries);
        for (int i = 0; i < entries.size(); i += 2)
            list->setSelected(i, true);
        settle();
    }
    void settle()
    {
        QCoreApplication::processEvents();
        view->viewport()->repaint();
    }
    void click(const char *name)
    {
        w->findChild<QPushButton *>(QString::fromLatin1(name))->click();
    }
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton b, Qt::MouseButtons bs)
    {
        QWidget *vp = view->viewport();
        QMouseEvent e(type, pos, vp->mapToGlobal(pos), b, bs, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }
};

template <typename Op> void runUi(benchmark::State &state, Op op)
{
    Window win(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        win.reload();
        state.ResumeTiming();
        op(win);
        win.settle();
    }
}
} // namespace

static void BM_UiMoveSelectedUp(benchmark::State &s)
{
    runUi(s, [](Window &w) { w.click("cmdUpDown(0)"); });
}
static void BM_UiMoveSelectedDown(benchmark::State &s)
{
    runUi(s, [](Window &w) { w.click("cmdUpDown(1)"); });
}
static void BM_UiDeleteSelectedItems(benchmark::State &s)
{
    runUi(s, [](Window &w) { w.click("cmdAddDel(1)"); });
}
static void BM_UiDropSelected(benchmark::State &s)
{
    runUi(s, [](Window &w) {
        const QPoint p = w.view->visualRect(w.list->index(3)).center();
        w.mouse(QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
        w.mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::RightButton);
        w.mouse(QEvent::MouseButtonRelease, p, Qt::RightButton, Qt::NoButton);
    });
}

BENCHMARK(BM_UiMoveSelectedUp)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UiMoveSelectedDown)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UiDeleteSelectedItems)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UiDropSelected)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
