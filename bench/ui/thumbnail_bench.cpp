#include <benchmark/benchmark.h>

#include <QApplication>

#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "ui/quib_thumb_view.h"

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "ui_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Rebuilding the strip of a project: decompress and scale every frame.
void ThumbnailRebuild(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!quib::buildSyntheticProject(doc, 1920, 1080, int(state.range(0)))) {
        state.SkipWithError("project not built");
        return;
    }
    quib::CQuibThumbView view(doc);
    for (auto _ : state) {
        view.rebuild();
        benchmark::DoNotOptimize(view.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ThumbnailRebuild)->Arg(30)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
