// Frame composition and the movie picture helpers on a 1920 x 1080 screen-like frame with a
// callout text box, a title, all four buttons and the cursor.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "model/frame_composition.h"
#include "model/movie_image_helpers.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "palette/octree.h"
#include "raster/gui_application.h"
#include "shapes/default_callouts.h"

namespace {

using namespace quib;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Scene {
    CQuibDoc doc;
    CalloutLibrary library = defaultCalloutLibrary();
    std::vector<uint8_t> canvas = std::vector<uint8_t>(size_t(kWidth) * kHeight * 3);
};

Scene& scene() {
    static std::unique_ptr<Scene> s = [] {
        raster::ensureGuiApplication();
        auto s = std::make_unique<Scene>();
        CQuibDoc& doc = s->doc;
        buildSyntheticProject(doc, kWidth, kHeight, 3);
        doc.SelectFrame(1, true);
        doc.titles.enabled = 1;
        doc.titles.font.logFont.setFace("DejaVu Sans");
        doc.titles.font.logFont.height = -24;
        doc.currentFrame.title = "Aprire il menu File";
        TextBox& box = doc.currentFrame.textBox;
        box.visible = 1;
        box.calloutName = "Fumetto in basso";
        box.rect = Rect{1100, 600, 1500, 800};
        box.text =
            "Fate clic sul menu File per vedere i comandi che salvano e aprono i progetti del vostro lavoro.";
        box.font.logFont.setFace("DejaVu Sans");
        box.font.logFont.height = -16;
        for (int i = 0; i < 4; ++i) {
            NavButton* button = i == 0   ? &doc.currentFrame.prevButton
                                : i == 1 ? &doc.currentFrame.nextButton
                                         : &doc.currentFrame.gotoButtons[i - 2];
            button->visible = 1;
            button->pos = Point{1600 + 70 * i - 280 * (i / 2), kHeight - 40 - 40 * (i / 2)};
        }
        doc.currentFrame.cursorVisible = 1;
        return s;
    }();
    return *s;
}

void BM_ComposeWholeFrame(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        ComposeFrame(s.doc, s.library, s.canvas.data(), ComposeAll);
        benchmark::DoNotOptimize(s.canvas.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_ComposeWholeFrame)->Unit(benchmark::kMillisecond);

// What the editor repaints after dragging a button: a 200 x 100 area away from the text box.
void BM_ComposeSmallClip(benchmark::State& state) {
    Scene& s = scene();
    const Rect clip{1550, 960, 1750, 1060};
    for (auto _ : state) {
        ComposeFrame(s.doc, s.library, s.canvas.data(), ComposeAll, -1, clip);
        benchmark::DoNotOptimize(s.canvas.data());
    }
}
BENCHMARK(BM_ComposeSmallClip)->Unit(benchmark::kMicrosecond);

// A 200 x 100 area over the text box: the callout and its text are drawn again.
void BM_ComposeSmallClipOverTheTextBox(benchmark::State& state) {
    Scene& s = scene();
    const Rect clip{1200, 650, 1400, 750};
    for (auto _ : state) {
        ComposeFrame(s.doc, s.library, s.canvas.data(), ComposeAll, -1, clip);
        benchmark::DoNotOptimize(s.canvas.data());
    }
}
BENCHMARK(BM_ComposeSmallClipOverTheTextBox)->Unit(benchmark::kMicrosecond);

struct MappingInput {
    std::vector<uint8_t> pixels32;
    std::vector<PaletteEntry> palette;
    std::vector<uint8_t> output = std::vector<uint8_t>(size_t(IndexedStride(kWidth)) * kHeight);
};

MappingInput& mappingInput() {
    static std::unique_ptr<MappingInput> input = [] {
        auto in = std::make_unique<MappingInput>();
        Scene& s = scene();
        ComposeFrame(s.doc, s.library, s.canvas.data(), ComposeAll);
        in->pixels32.resize(size_t(kWidth) * kHeight * 4);
        for (size_t i = 0, n = size_t(kWidth) * kHeight; i < n; ++i) {
            std::copy_n(&s.canvas[i * 3], 3, &in->pixels32[i * 4]);
            in->pixels32[i * 4 + 3] = 255;
        }
        in->palette.push_back(PaletteEntry{0, 0, 0, 0});
        for (const PaletteEntry& e : OctreePalette(in->pixels32.data(), kWidth, kHeight, 4, 255))
            in->palette.push_back(e);
        return in;
    }();
    return *input;
}

void BM_MapToPaletteFullFrame(benchmark::State& state) {
    MappingInput& in = mappingInput();
    for (auto _ : state) {
        MapToPalette(in.pixels32.data(), kWidth, kHeight, in.output.data(), in.palette.data(),
                     int(in.palette.size()), kTransparentMarker);
        benchmark::DoNotOptimize(in.output.data());
    }
    state.counters["colours"] = double(in.palette.size());
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_MapToPaletteFullFrame)->Unit(benchmark::kMillisecond);

void BM_ConvertImageForMovieWithPalette(benchmark::State& state) {
    MappingInput& in = mappingInput();
    Scene& s = scene();
    for (auto _ : state) {
        ConvertImageForMovie(s.canvas.data(), kWidth, kHeight, in.output.data(), in.palette.data(),
                             int(in.palette.size()), true);
        benchmark::DoNotOptimize(in.output.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_ConvertImageForMovieWithPalette)->Unit(benchmark::kMillisecond);

void BM_RenderTextBoxIndexed(benchmark::State& state) {
    Scene& s = scene();
    const TextBox& box = s.doc.currentFrame.textBox;
    const Callout* callout = s.library.FindCallout(box.calloutName);
    for (auto _ : state) {
        auto picture = RenderTextBoxIndexed(*callout, box.rect, box.font.logFont, box.font.color, box.text,
                                            box.font.align);
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(BM_RenderTextBoxIndexed)->Unit(benchmark::kMicrosecond);

}  // namespace
