#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>

#include "base/progress.h"
#include "model/project_storage.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "offscreen_application.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/main_frame.h"
#include "ui/project_views.h"
#include "ui/quib_thumb_view.h"
#include "ui/thumbnail_scaler.h"

namespace {

QApplication& application() {
    return offscreenApplication();
}

// Every frame differs from the one before it: no picture can be reused.
void ThumbnailRebuild(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!quib::buildSyntheticProject(doc, 1920, 1080, int(state.range(0)))) {
        state.SkipWithError("project not built");
        return;
    }
    quib::CQuibThumbView view(doc);
    view.finishThumbnails();
    for (auto _ : state) {
        view.rebuild();
        view.finishThumbnails();
        benchmark::DoNotOptimize(view.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ThumbnailRebuild)->Arg(30)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Until the strip is usable: every item is there, the pictures still on their way.
void ThumbnailRebuildItemsShown(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!quib::buildSyntheticProject(doc, 1920, 1080, int(state.range(0)))) {
        state.SkipWithError("project not built");
        return;
    }
    quib::CQuibThumbView view(doc);
    view.finishThumbnails();
    for (auto _ : state) {
        view.rebuild();
        benchmark::DoNotOptimize(view.count());
        state.PauseTiming();
        view.finishThumbnails();
        state.ResumeTiming();
    }
}
BENCHMARK(ThumbnailRebuildItemsShown)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A capture with pauses: each picture held for four frames, as the hot key often leaves them.
void ThumbnailRebuildRepeatedFrames(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    const int distinct = int(state.range(0)) / 4;
    if (!quib::buildSyntheticProject(doc, 1920, 1080, distinct)) {
        state.SkipWithError("project not built");
        return;
    }
    std::vector<quib::Frame> frames;
    for (const quib::Frame& frame : doc.frames)
        for (int k = 0; k < 4; ++k)
            frames.push_back(frame);
    doc.frames = std::move(frames);
    quib::CQuibThumbView view(doc);
    view.finishThumbnails();
    for (auto _ : state) {
        view.rebuild();
        view.finishThumbnails();
        benchmark::DoNotOptimize(view.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ThumbnailRebuildRepeatedFrames)
    ->Arg(300)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// One picture on one thread: inflate in bands straight into the box filter.
void ThumbnailOfOneStoredFrame(benchmark::State& state) {
    quib::CQuibDoc doc;
    if (!quib::buildSyntheticProject(doc, 1920, 1080, 1)) {
        state.SkipWithError("project not built");
        return;
    }
    const auto& stream = doc.frames[0].imageData;
    quib::BoxFilter filter(1920, 1080, 64, 36);
    std::vector<uint8_t> scratch;
    std::vector<uint8_t> out(64 * 36 * 3);
    for (auto _ : state) {
        filter.reset();
        quib::filterCompressedPicture(stream.data(), stream.size(), filter, scratch);
        filter.write(out.data(), 64 * 3);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["stream_kB"] = double(stream.size()) / 1024.0;
}
BENCHMARK(ThumbnailOfOneStoredFrame)->Unit(benchmark::kMillisecond);

// The box filter alone over a decompressed picture.
void BoxFilterOfOnePicture(benchmark::State& state) {
    std::vector<uint8_t> picture(size_t(1920) * 1080 * 3);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = uint8_t(i * 7 / 5);
    std::vector<uint8_t> out(64 * 36 * 3);
    for (auto _ : state) {
        quib::boxScale(picture.data(), 1920, 1080, 1920 * 3, out.data(), 64, 36, 64 * 3);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BoxFilterOfOnePicture)->Unit(benchmark::kMillisecond);

// Opening a saved project in the main window: load, editor, strip with every item. The pictures
// of the strip are still being made when this returns; the counter "all_thumbnails_ms" says when
// the last one arrived.
void ProjectWindowOpen(benchmark::State& state) {
    application();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.qbk"));
    {
        quib::CQuibDoc doc;
        quib::NullProgress progress;
        if (!quib::buildSyntheticProject(doc, 1920, 1080, int(state.range(0))) ||
            !quib::SaveProject(path.toStdString(), doc, progress).ok()) {
            state.SkipWithError("project not written");
            return;
        }
    }
    QSettings store(folder.filePath(QStringLiteral("Quib.conf")), QSettings::IniFormat);
    quib::AppSettings settings = quib::AppSettings::defaults(folder.path());
    quib::CMainFrame frame(settings, store);
    quib::installProjectDocument(frame);
    frame.resize(1200, 800);
    frame.show();
    double allMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!frame.openProject(path)) {
            state.SkipWithError("project not opened");
            return;
        }
        QApplication::processEvents();
        state.PauseTiming();
        auto* strip = dynamic_cast<quib::CQuibThumbView*>(frame.activeChild()->thumbnailView());
        strip->finishThumbnails();
        allMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        delete frame.activeChild()->parentWidget();  // the window, before the next opening
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["all_thumbnails_ms"] = allMs;
}
BENCHMARK(ProjectWindowOpen)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
