// The html5 output played by a real headless Chromium: what the page shows after each frame, where
// buttons and keys lead, the gliding cursor, the end of the movie and damaged pictures.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonObject>
#include <filesystem>

#include "export/project_output.h"
#include "export_test_util.h"
#include "headless_browser.h"
#include "raster/gui_application.h"
#include "shapes/default_callouts.h"

namespace quib {
namespace {

constexpr int kNone = -100;

struct FrameSetup {
    Point cursor;  // x < 0: hidden
    uint32_t displayTime = 0;
    bool previous = false, next = false;
    int goto1 = kNone, goto2 = kNone;  // target offsets
    const char* text = nullptr;
};

struct Tutorial {
    const char* name;
    Size size;
    bool paletteAndSoftCursor;  // 16 colours, and a cursor with partly transparent pixels
    std::vector<FrameSetup> frames;
};

Bitmap32 cursorPicture(bool soft) {
    Bitmap32 picture(12, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12; ++x) {
            uint8_t* p = picture.pixels.data() + (size_t(y) * 12 + size_t(x)) * 4;
            const bool inside = x <= y * 3 / 4;
            p[0] = uint8_t(40 * x), p[1] = uint8_t(15 * y), p[2] = 200;
            p[3] = !inside ? 0 : soft ? uint8_t(std::min(255, 50 + 25 * x)) : 255;
        }
    return picture;
}

void makeTutorial(CQuibDoc& doc, const Tutorial& tutorial, const CalloutLibrary& callouts) {
    test::makeProject(doc, tutorial.size.cx, tutorial.size.cy, int(tutorial.frames.size()));
    doc.titles.enabled = 1;
    doc.titles.rect = Rect{4, 4, 150, 24};
    if (tutorial.paletteAndSoftCursor) {
        doc.settings.usePalette = 1;
        doc.settings.paletteCount = 16;
    }
    const int bottom = tutorial.size.cy - 26;
    for (size_t i = 0; i < tutorial.frames.size(); ++i) {
        const FrameSetup& setup = tutorial.frames[i];
        Frame frame;
        doc.GetFrame(int(i), frame);
        frame.cursorVisible = setup.cursor.x >= 0;
        frame.cursorPos = setup.cursor;
        frame.setCursorImage(cursorPicture(tutorial.paletteAndSoftCursor));
        frame.displayTime = setup.displayTime;
        frame.prevButton = NavButton{setup.previous, Point{2, bottom}, 0};
        frame.nextButton = NavButton{setup.next, Point{66, bottom}, 0};
        frame.gotoButtons[0] = NavButton{setup.goto1 != kNone, Point{130, bottom}, setup.goto1};
        frame.gotoButtons[1] = NavButton{setup.goto2 != kNone, Point{174, bottom}, setup.goto2};
        if (setup.text)
            frame.textBox = TextBox{1, Rect{20, 30, 150, 80}, setup.text, callouts.at(0).name, {}};
        doc.SetFrame(int(i), frame, true);
    }
    doc.SelectFrame(0, true);
}

const Tutorial kTutorials[] = {
    {"OddSizeWithEveryButton",
     {333, 217},
     false,
     {{{20, 30}, 0, false, true, kNone, kNone, "Benvenuti"},
      {{20, 30}, 500},
      {{220, 130}, 0, true, true, -2, 2, "Scegliete il menu"},
      {{-1, 0}, 250},
      {{100, 100}, 0, true}}},
    {"PaletteAndSoftCursor",
     {241, 121},
     true,
     {{{5, 5}, 0, false, true},
      {{60, 40}, 125, false, false, kNone, kNone, "Un testo"},
      {{200, 90}, 0, false, false, -1}}},
};

class Html5Browser : public ::testing::TestWithParam<Tutorial> {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }

    void SetUp() override {
        if (test::HeadlessBrowser::program().empty())
            GTEST_SKIP() << "chromium is not installed";
        callouts = defaultCalloutLibrary();
        makeTutorial(doc, GetParam(), callouts);
        OutputOptions options;
        options.callouts = &callouts;
        NullProgress progress;
        const ExportResult result = html5Output().write(doc, dir.path("movie.html"), options, progress);
        ASSERT_TRUE(result.status.ok()) << result.status.message();
        browser = std::make_unique<test::HeadlessBrowser>(dir.path("browser"));
        ASSERT_TRUE(browser->running());
    }

    void open() {
        ASSERT_TRUE(browser->open("file://" + dir.path("movie.html")));
        browser->evaluate(
            "QuibPlayer.ready.then(() => { QuibPlayer.useManualClock(); return QuibPlayer.loaded; })"
            ".then(() => QuibPlayer.goTo(0, true))");
    }

    QJsonObject state() { return browser->evaluate("QuibPlayer.state()").toObject(); }
    int shown() { return state().value("shown").toInt(); }
    bool resting() {
        const QString phase = state().value("phase").toString();
        return phase != "glide" && phase != "waiting";
    }
    void advance(int ms) { browser->evaluate("QuibPlayer.advance(" + std::to_string(ms) + ")"); }
    // Moves the clock on a display frame at a time until a frame is shown whole.
    void settle() {
        for (int n = 0; n < 1000 && !resting(); ++n)
            advance(125);
    }

    Bitmap24 canvas() {
        const QByteArray bytes = QByteArray::fromBase64(
            browser
                ->evaluate(
                    "(() => { const c = document.getElementById('quib-canvas');"
                    "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data; let s = '';"
                    "for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i + 2], d[i + 1], "
                    "d[i]);"
                    "return btoa(s); })()")
                .toString()
                .toLatin1());
        Bitmap24 picture(doc.backgroundSize.cx, doc.backgroundSize.cy);
        if (size_t(bytes.size()) == picture.pixels.size())
            std::copy(bytes.begin(), bytes.end(), picture.pixels.begin());
        return picture;
    }

    void expectSamePixels(const Bitmap24& expected, const std::string& what) {
        const Bitmap24 actual = canvas();
        size_t differing = 0, first = 0;
        for (size_t p = 0; p < expected.pixels.size(); p += 3)
            if (std::memcmp(&expected.pixels[p], &actual.pixels[p], 3) != 0 && differing++ == 0)
                first = p / 3;
        EXPECT_EQ(differing, 0u) << what << ": first at x " << first % size_t(expected.width) << ", y "
                                 << first / size_t(expected.width);
    }

    // A click in the middle of a button of the shown frame.
    void clickButton(const NavButton& button, int kind) {
        const Bitmap32& picture = doc.buttonImages.images[kind];
        const QJsonObject box =
            browser
                ->evaluate(
                    "(() => { const r = document.getElementById('quib-canvas').getBoundingClientRect();"
                    "return {x: r.left, y: r.top, scale: r.width / " +
                    std::to_string(doc.backgroundSize.cx) + "}; })()")
                .toObject();
        const double scale = box.value("scale").toDouble();
        browser->click(box.value("x").toDouble() + (button.pos.x + picture.width / 2.0) * scale,
                       box.value("y").toDouble() + (button.pos.y + picture.height / 2.0) * scale);
    }

    CQuibDoc doc;
    CalloutLibrary callouts;
    test::TempDir dir;
    std::unique_ptr<test::HeadlessBrowser> browser;
};

// Played from the start, Avanti after each stop: every frame, once shown whole, is the frame as
// quib-cli draws it, and the movie stays on its last frame.
TEST_P(Html5Browser, EveryFrameShowsAsComposedAndTheMovieEndsOnTheLast) {
    open();
    const int count = doc.frameCount();
    for (int i = 0; i < count; ++i) {
        settle();
        ASSERT_EQ(shown(), i);
        expectSamePixels(test::composedFrame(doc, i, ComposeAll, callouts), "frame " + std::to_string(i));
        if (i == count - 1)
            break;
        const Frame frame = doc.readFrame(i);
        if (state().value("phase").toString() != "stopped")
            advance(int((frame.displayTime * 8 + 500) / 1000 + 1) * 125);  // its display frames at 8 a second
        else
            clickButton(frame.nextButton, ButtonImageSet::Next);
    }
    advance(60000);
    EXPECT_EQ(shown(), count - 1);
    EXPECT_NE(state().value("phase").toString(), "glide");
}

INSTANTIATE_TEST_SUITE_P(Projects, Html5Browser, ::testing::ValuesIn(kTutorials),
                         [](const auto& info) { return std::string(info.param.name); });

// The tutorial with every kind of button.
class Html5EveryButton : public Html5Browser {};

struct Navigation {
    int from;
    const char* input;  // a button kind ("prev", "next", "goto1", "goto2") or a key
    int to;
};

// Half way between two frames the cursor is half way between their positions, over the earlier
// frame. Buttons go where the movie's go, Previous to the last stopping frame; keys step and jump.
TEST_P(Html5EveryButton, CursorGlidesAndButtonsAndKeysLandOnTheirFrames) {
    open();
    browser->evaluate("QuibPlayer.goTo(1, true)");
    advance(625);  // frame 1's 500 ms at 8 frames a second: 5 frames
    ASSERT_EQ(state().value("phase").toString(), "glide");
    advance(500);  // 200 x 100 pixels at 25 a step: 8 steps, 1000 ms
    const QJsonObject cursor = state().value("cursor").toObject();
    EXPECT_EQ(cursor.value("x").toInt(), 120);
    EXPECT_EQ(cursor.value("y").toInt(), 80);
    Bitmap24 expected = test::composedFrame(doc, 1, ComposeAll & ~uint32_t(ComposeCursor), callouts);
    AlphaBlend32(expected.pixels.data(), int(expected.stride()), Point{120, 80},
                 Rect{0, 0, expected.width, expected.height}, doc.readFrame(1).cursorImage());
    expectSamePixels(expected, "half way");
    const Navigation cases[] = {
        {2, "prev", 0},       {2, "next", 3},      {2, "goto1", 0}, {2, "goto2", 4}, {4, "prev", 2},
        {2, "ArrowRight", 3}, {2, "ArrowLeft", 1}, {2, " ", 3},     {3, "Home", 0},  {1, "End", 4},
    };
    for (const Navigation& c : cases) {
        browser->evaluate("QuibPlayer.goTo(" + std::to_string(c.from) + ", false)");
        const Frame frame = doc.readFrame(c.from);
        const std::string input = c.input;
        if (input == "prev")
            clickButton(frame.prevButton, ButtonImageSet::Previous);
        else if (input == "next")
            clickButton(frame.nextButton, ButtonImageSet::Next);
        else if (input.starts_with("goto"))
            clickButton(frame.gotoButtons[input[4] - '1'], ButtonImageSet::Goto1 + (input[4] - '1'));
        else
            browser->press(input, input == " " ? "Space" : input, input == " " ? 32 : 0);
        settle();
        EXPECT_EQ(shown(), c.to) << input << " from frame " << c.from;
    }
    // The shown frame's title and callout text are text of the page.
    browser->evaluate("QuibPlayer.goTo(2, false)");
    EXPECT_EQ(browser->evaluate("document.getElementById('quib-live').textContent").toString(),
              "Frame 3. Scegliete il menu");
    EXPECT_TRUE(browser->evaluate("document.title").toString().startsWith("Frame 3"));
}

// A missing or damaged picture is named in a message on the page instead of a blank stage.
TEST_P(Html5EveryButton, AMissingOrDamagedPictureIsNamedInAVisibleMessage) {
    std::string name;  // the last picture written, one of the last frame's
    for (const auto& entry : std::filesystem::directory_iterator(dir.path("movie_files")))
        if (entry.path().extension() == ".webp")
            name = std::max(name, entry.path().filename().string());
    for (bool missing : {true, false}) {
        const std::string picture = dir.path("movie_files/" + name);
        if (missing)
            std::filesystem::remove(picture);
        else
            test::writeFile(picture, "RIFF\x10\0\0\0WEBPVP8L garbage");
        ASSERT_TRUE(browser->open("file://" + dir.path("movie.html")));
        const QJsonObject message =
            browser
                ->evaluate(
                    "QuibPlayer.loaded.then(() => { const m = document.getElementById('quib-message');"
                    "return {text: m.textContent, visible: !m.hidden && m.offsetHeight > 0}; })")
                .toObject();
        EXPECT_TRUE(message.value("visible").toBool()) << (missing ? "missing" : "damaged");
        EXPECT_TRUE(message.value("text").toString().contains(QString::fromStdString(name)))
            << (missing ? "missing" : "damaged") << " " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Projects, Html5EveryButton, ::testing::Values(kTutorials[0]),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quib
