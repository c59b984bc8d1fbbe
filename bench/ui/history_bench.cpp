#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/progress.h"
#include "model/frame_operations.h"
#include "model/project_edit.h"
#include "model/project_storage.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "offscreen_application.h"
#include "ui/element_tracker.h"
#include "ui/quib_thumb_view.h"
#include "ui/quib_view.h"

// Undo and redo as the editor meets them. Set QUIB_BENCH_PROJECT to a project of real screen
// recordings (made with `quib-cli import-images` from screen_frames.py pictures); without it a
// synthetic 1080p project stands in.
namespace {

QApplication& application() {
    return offscreenApplication();
}

bool loadProject(quib::CQuibDoc& doc, int frames) {
    if (const char* path = std::getenv("QUIB_BENCH_PROJECT"); path && *path) {
        quib::NullProgress progress;
        if (!quib::LoadProject(path, doc, progress).ok())
            return false;
        while (doc.frameCount() > frames)
            doc.DeleteFrame(doc.frameCount() - 1);
        doc.commands.clear();
        return doc.frameCount() == frames;
    }
    return quib::buildSyntheticProject(doc, 1920, 1080, frames);
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

// Undo or redo of an arrow-key move of the Next button, with the repaint of the 1080p view.
void UndoMoveRepaint(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!loadProject(doc, 2)) {
        state.SkipWithError("project not loaded");
        return;
    }
    quib::CQuibView view(doc);
    view.resize(1920, 1080);
    view.setZoom(1.0);
    view.show();
    QApplication::processEvents();
    view.setSelection(quib::selectionBit(quib::ElementKind::NextButton));
    view.moveSelection(-40, 0);
    view.repaint();
    bool undo = true;
    for (auto _ : state) {
        undo ? doc.commands.undo(doc) : doc.commands.redo(doc);
        view.repaint();
        undo = !undo;
    }
}
BENCHMARK(UndoMoveRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// Undo of deleting 100 frames of 300, with the thumbnail strip showing them again.
void UndoDeleteHundredFrames(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!loadProject(doc, 300)) {
        state.SkipWithError("project not loaded");
        return;
    }
    quib::CQuibThumbView strip(doc);
    strip.resize(1600, 120);
    strip.show();
    strip.finishThumbnails();
    quib::editProject(doc, "Elimina 100 frame", [&] {
        for (int k = 0; k < 100; ++k)
            doc.DeleteFrame(100);
        return true;
    });
    strip.rebuild();
    strip.finishThumbnails();
    for (auto _ : state) {
        doc.commands.undo(doc);
        strip.finishThumbnails();
        benchmark::DoNotOptimize(strip.count());
        state.PauseTiming();
        doc.commands.redo(doc);
        strip.finishThumbnails();
        state.ResumeTiming();
    }
}
BENCHMARK(UndoDeleteHundredFrames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// 100 steps on a 300-frame project: every tenth a crop of all frames, the others one frame deleted.
// Reports what the history holds and how much the process grew.
void HistoryMemoryCropsAndDeletes(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!loadProject(doc, 300)) {
        state.SkipWithError("project not loaded");
        return;
    }
    const long before = residentKb();
    for (auto _ : state) {
        quib::NullProgress progress;
        for (int step = 0; step < 100; ++step) {
            if (step % 10 == 0) {
                const quib::Size size = doc.frameSize;
                if (!quib::cropFrames(doc, quib::Rect{0, 0, size.cx - 2, size.cy - 2}, progress))
                    state.SkipWithError("crop failed");
            } else {
                quib::editProject(doc, "Elimina frame",
                                  [&] { return doc.DeleteFrame(doc.frameCount() / 2); });
            }
        }
    }
    state.counters["steps_kept"] = double(doc.commands.count());
    state.counters["history_MB"] = double(doc.commands.cost()) / (1 << 20);
    state.counters["rss_growth_MB"] = double(residentKb() - before) / 1024;
}
BENCHMARK(HistoryMemoryCropsAndDeletes)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
