#include "document/Document.h"
#include "itemlist/ItemList.h"
#include "session/ProjectSession.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {
QStringList makeEntries(int n)
{
    QStringList entries;
    entries.reserve(n);
    for (int i = 0; i < n; ++i)
        entries.append(QStringLiteral("   項目 %1").arg(i));
    return entries;
}

// n entries, every second one selected.
void load(ItemList &list, const QStringList &entries)
{
    list.setEntries(entries);
    for (int i = 0; i < entries.size(); i += 2)
        list.setSelected(i, true);
}

template <typename Op> void runListOp(benchmark::State &state, Op op)
{
    const QStringList entries = makeEntries(int(state.range(0)));
    ItemList list;
    // A view would listen to these; keep the model's signals connected.
    QObject::connect(&list, &QAbstractItemModel::dataChanged, [] {});
    QObject::connect(&list, &QAbstractItemModel::modelReset, [] {});
    for (auto _ : state) {
        state.PauseTiming();
        load(list, entries);
        state.ResumeTiming();
        op(list);
    }
}

// The least work on the same data: one pass over a vector of flags.
void BM_VectorPassBaseline(benchmark::State &state)
{
    std::vector<char> flags(size_t(state.range(0)), 0);
    for (size_t i = 0; i < flags.size(); i += 2)
        flags[i] = 1;
    for (auto _ : state) {
        for (size_t i = 1; i < flags.size(); ++i) {
            if (flags[i] && !flags[i - 1])
                std::swap(flags[i], flags[i - 1]);
        }
        benchmark::DoNotOptimize(flags.data());
    }
}
} // namespace

static void BM_MoveSelectedUp(benchmark::State &s)
{
    runListOp(s, [](ItemList &l) { l.moveSelectedUp(); });
}
static void BM_MoveSelectedDown(benchmark::State &s)
{
    runListOp(s, [](ItemList &l) { l.moveSelectedDown(); });
}
static void BM_DropSelected(benchmark::State &s)
{
    runListOp(s, [](ItemList &l) { l.dropSelected(10, true); });
}
static void BM_DeleteSelectedItems(benchmark::State &s)
{
    runListOp(s, [](ItemList &l) { l.deleteSelected(); });
}

static void BM_SyncItem(benchmark::State &state)
{
    Document doc;
    doc.initialize();
    doc.setFieldText(Items::SoftName, QStringLiteral("Sample"));
    const QStringList extra = makeEntries(int(state.range(0)));
    for (const QString &e : extra)
        doc.items()->appendEntry(e);
    for (auto _ : state) {
        doc.setFieldText(Items::SoftName, QString());
        doc.setFieldText(Items::SoftName, QStringLiteral("Sample"));
    }
}

// One undo or redo step among 100 list moves, through the session as the
// window takes it: the state restored, then the title's question whether
// the project differs from its file.
void BM_UndoRedoStep(benchmark::State &state)
{
    ProjectSession session;
    Document &doc = *session.document();
    session.newProject();
    doc.items()->setEntries(makeEntries(int(state.range(0))));
    session.record();
    doc.items()->setSelected(int(state.range(0)) - 1, true);
    for (int i = 0; i < 100; ++i) {
        doc.items()->moveSelectedUp();
        session.record();
    }
    bool back = true;
    for (auto _ : state) {
        if (back ? !session.canUndo() : !session.canRedo())
            back = !back;
        back ? session.undo() : session.redo();
        benchmark::DoNotOptimize(session.isModified());
    }
}

BENCHMARK(BM_VectorPassBaseline)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveSelectedUp)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveSelectedDown)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DropSelected)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteSelectedItems)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SyncItem)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoStep)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
