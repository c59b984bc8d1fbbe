#include <benchmark/benchmark.h>

#include "raster/gui_application.h"
#include "shapes/curve_shape.h"
#include "shapes/default_callouts.h"

using namespace quib;

namespace {

std::unique_ptr<CurveShape> wave(int segments) {
    std::vector<PointD> points;
    for (int s = 0; s <= segments; ++s) {
        const double x = double(s) / segments;
        points.push_back(PointD{x, s % 2 ? 0.2 : 0.8});
        if (s < segments) {
            points.push_back(PointD{x + 0.3 / segments, s % 2 ? -0.2 : 1.2});
            points.push_back(PointD{x + 0.7 / segments, s % 2 ? 1.2 : -0.2});
        }
    }
    auto curve = std::make_unique<CurveShape>();
    curve->SetPoints(points);
    return curve;
}

void BM_CurveUpdate(benchmark::State& state) {
    auto curve = wave(int(state.range(0)));
    for (auto _ : state) {
        curve->Update(0, false);
        benchmark::DoNotOptimize(curve->outline.data());
    }
    state.counters["outline points"] = double(curve->outline.size());
}
BENCHMARK(BM_CurveUpdate)->Arg(4)->Arg(32);

void BM_CurveInsertPoint(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto curve = wave(4);
        state.ResumeTiming();
        benchmark::DoNotOptimize(curve->InsertPoint(0.37, 0.5, 400, 300));
    }
}
BENCHMARK(BM_CurveInsertPoint)->Unit(benchmark::kMillisecond);

void BM_DrawCallout(benchmark::State& state) {
    raster::ensureGuiApplication();
    CalloutLibrary library = defaultCalloutLibrary();
    const Callout& callout = library.at(size_t(state.range(0)));
    QImage surface(320, 160, QImage::Format_ARGB32);
    LogFont font;
    font.height = -14;
    for (auto _ : state) {
        surface.fill(0x01010101);
        raster::DrawContext dc(surface);
        dc.setFont(font);
        dc.setTextColour(raster::kInvalidColour);
        callout.DrawCallout(dc, Rect{0, 0, 320, 160},
                            std::string_view("Fare clic sul pulsante Avvia per cominciare il lavoro."), 3);
    }
}
BENCHMARK(BM_DrawCallout)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_LibraryReadWrite(benchmark::State& state) {
    const std::vector<uint8_t> bytes = defaultCalloutLibrary().write();
    for (auto _ : state) {
        CalloutLibrary library;
        benchmark::DoNotOptimize(library.read(bytes.data(), bytes.size()).ok());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LibraryReadWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
