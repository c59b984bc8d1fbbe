// Every output against the frames as quib-cli frame composes them, through the programs themselves:
// the movie in quib-player and in the Linux projector at each stop and after its end, the PDF page
// pictures and the HTML pictures, for canvases of sizes that are not multiples of twenty. Then both
// projectors on a screen of their own (the Windows one under Wine): what they show, and a click on
// the Next button.

#include <gtest/gtest.h>
#include <zlib.h>

#include <QImage>
#include <chrono>
#include <optional>
#include <thread>

#include "capture/x11_test_client.h"
#include "capture/xvfb_server.h"
#include "export_test_util.h"
#include "model/default_buttons.h"
#include "model/project_storage.h"
#include "raster/gui_application.h"
#include "render/render_project.h"
#include "shapes/default_callouts.h"
#include "support/child_process.h"
#include "swf/swf_movie.h"
#include "swf_test_decoder.h"

namespace quib {
namespace {

struct Case {
    const char* name;
    Size canvas;
    Size frame;
    Point origin;
};

const Case kCases[] = {
    {"Odd333x217", {333, 217}, {333, 217}, {0, 0}},
    // A canvas larger than the frame, without a background picture: the rest is the editor's white.
    {"FrameInsideCanvas700x460", {700, 460}, {640, 400}, {30, 30}},
};

constexpr int kFrames = 3;

Rect textRect(const Case& c) {
    return Rect{c.origin.x + 20, c.origin.y + 20, c.origin.x + 180, c.origin.y + 90};
}
Rect titleRect(const Case& c) {
    return Rect{c.origin.x + 190, c.origin.y + 20, c.origin.x + 320, c.origin.y + 44};
}

class OutputFidelity : public ::testing::TestWithParam<Case> {
public:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }

    // The shipped callouts only: the programs run with a data home of their own.
    int run(const std::string& program, const std::string& args) {
        return test::runCommand("XDG_DATA_HOME=" + test::quoted(dir, "data") + " HOME='" + dir.dir() + "' " +
                                program + " " + args + " >/dev/null 2>>" + test::quoted(dir, "err.txt"));
    }
    int cli(const std::string& args) { return run(std::string(QUIB_BUILD_DIR) + "/cli/quib-cli", args); }
    int player(const std::string& args) { return run(QUIB_PLAYER_PATH, args); }
    // A written program run with nothing in its environment, as on a machine without our libraries.
    int bare(const std::string& name, const std::string& args) { return run("env -i " + quoted(name), args); }
    std::string quoted(const std::string& name) { return test::quoted(dir, name); }

    void buildProject(const Case& c) {
        test::makeProject(doc, c.frame.cx, c.frame.cy, kFrames);
        doc.backgroundSize = c.canvas;
        doc.frameOrigin = c.origin;
        doc.buttonImages = defaultButtonImages();
        doc.titles.enabled = 1;
        doc.titles.rect = titleRect(c);
        const std::string callout = defaultCalloutLibrary().at(0).name;
        for (int i = 0; i < kFrames; ++i) {
            Frame frame;
            doc.GetFrame(i, frame);
            frame.cursorVisible = 1;
            frame.cursorPos = Point{c.origin.x + 60 + 90 * i, c.origin.y + 140 + 7 * i};
            frame.textBox = TextBox{1, textRect(c), "Passo " + std::to_string(i + 1), callout, {}};
            const int bottom = c.origin.y + c.frame.cy - 40;
            // The last frame has no button, so the movie plays through it and ends.
            frame.prevButton = NavButton{i == 1, Point{c.origin.x + 13, bottom}, 0};
            frame.nextButton = NavButton{i < kFrames - 1, Point{c.origin.x + 101, bottom}, 0};
            frame.gotoButtons[0] = NavButton{i == 1, Point{c.origin.x + 187, bottom + 3}, -1};
            frame.displayTime = 700;
            doc.SetFrame(i, frame, true);
        }
        doc.SelectFrame(0, true);
        NullProgress progress;
        ASSERT_TRUE(SaveProject(dir.path("p.qbk"), doc, progress).ok());
        // Where each frame stops: the figures of the same pass the render command runs.
        SwfMovie movie;
        const CalloutLibrary callouts = defaultCalloutLibrary();
        stats = BuildProjectMovie(doc, callouts, progress, movie);
    }

    QImage load(const std::string& name) {
        return QImage(QString::fromStdString(dir.path(name))).convertToFormat(QImage::Format_RGB32);
    }

    test::TempDir dir;
    CQuibDoc doc;
    RenderStats stats;
};

struct Difference {
    int outsideText = 0;
    int insideText = 0;
    int textPixels = 0;
};

Difference compare(const QImage& shown, const QImage& composed, const Case& c) {
    Difference d;
    const Rect text = textRect(c), title = titleRect(c);
    auto inside = [](const Rect& r, int x, int y) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    };
    for (int y = 0; y < composed.height(); ++y) {
        for (int x = 0; x < composed.width(); ++x) {
            const bool inText = inside(text, x, y) || inside(title, x, y);
            const bool differs = shown.pixel(x, y) != composed.pixel(x, y);
            d.textPixels += inText;
            (inText ? d.insideText : d.outsideText) += differs;
        }
    }
    return d;
}

// exact: no pixel may differ, text included.
void expectShows(const QImage& shown, const QImage& composed, const Case& c, const std::string& what,
                 bool exact = false) {
    ASSERT_EQ(shown.size(), composed.size()) << what;
    const Difference d = compare(shown, composed, c);
    EXPECT_EQ(d.outsideText, 0) << what;
    // Text in the movie has hard edges where the composition blends: only edge pixels differ.
    EXPECT_LT(d.insideText, exact ? 1 : d.textPixels / 20) << what;
}

void expectNoQtLibrary(const test::TempDir& dir, const std::string& program) {
    (void)test::runCommand("ldd '" + program + "' >" + test::quoted(dir, "ldd.txt") + " 2>&1");
    const std::string listed = test::readFile(dir.path("ldd.txt"));
    EXPECT_EQ(listed.find("Qt"), std::string::npos) << listed;
    EXPECT_EQ(listed.find("libz"), std::string::npos) << listed;
#ifndef QUIB_SANITIZED  // the sanitizers bring their own runtime, shared
    EXPECT_EQ(listed.find("libstdc++"), std::string::npos) << listed;
#endif
}

// Every position and size the movie holds lies on a whole pixel: twenty twips to the pixel, and
// bitmaps drawn one bitmap pixel to one stage pixel.
void expectWholePixels(const std::vector<uint8_t>& bytes, Size canvas) {
    const swftest::Movie movie = swftest::decodeMovie(bytes);
    EXPECT_EQ(movie.header.xMax, canvas.cx * 20);
    EXPECT_EQ(movie.header.yMax, canvas.cy * 20);
    int bitmaps = 0;
    for (const swftest::Tag& tag : movie.tags) {
        if (tag.code == 32) {
            const swftest::DefineShape3 shape = swftest::parseDefineShape3(tag);
            for (int32_t v : {shape.bounds.xMin, shape.bounds.xMax, shape.bounds.yMin, shape.bounds.yMax})
                EXPECT_EQ(v % 20, 0);
            for (const swftest::FillStyle& fill : shape.fills) {
                if (fill.type != 0x41 || fill.bitmapId == 65535)
                    continue;
                ++bitmaps;
                EXPECT_EQ(fill.matrix.scaleX, 20 * 65536);
                EXPECT_EQ(fill.matrix.scaleY, 20 * 65536);
                EXPECT_EQ(fill.matrix.translateX, shape.bounds.xMin);
                EXPECT_EQ(fill.matrix.translateY, shape.bounds.yMin);
            }
        } else if (tag.code == 26) {
            const swftest::PlaceObject2 place = swftest::parsePlaceObject2(tag);
            if (place.matrix) {
                EXPECT_EQ(place.matrix->translateX % 20, 0);
                EXPECT_EQ(place.matrix->translateY % 20, 0);
            }
        }
    }
    EXPECT_GT(bitmaps, 0);
}

// The picture of page index of an export: its image stream inflated, red, green, blue.
QImage pdfPicture(const std::string& pdf, int index, Size size) {
    const std::string object = test::pdfObject(pdf, 5 + 8 * index + 1);
    const size_t length = object.find("/Length ");
    const size_t stream = object.find(">>\r\nstream\r\n");
    if (length == std::string::npos || stream == std::string::npos)
        return {};
    const size_t packed = std::stoul(object.substr(length + 8));
    std::vector<uint8_t> rgb(size_t(size.cx) * size_t(size.cy) * 3);
    uLongf produced = uLongf(rgb.size());
    if (uncompress(rgb.data(), &produced, reinterpret_cast<const Bytef*>(object.data() + stream + 12),
                   uLong(packed)) != Z_OK ||
        produced != rgb.size())
        return {};
    return QImage(rgb.data(), size.cx, size.cy, size.cx * 3, QImage::Format_RGB888)
        .convertToFormat(QImage::Format_RGB32);
}

TEST_P(OutputFidelity, EveryOutputShowsTheComposedFrames) {
    const Case& c = GetParam();
    buildProject(c);
    ASSERT_EQ(cli("render " + quoted("p.qbk") + " --output " + quoted("movie.swf") + " --type swf"), 0)
        << test::readFile(dir.path("err.txt"));
    ASSERT_EQ(cli("render " + quoted("p.qbk") + " --output " + quoted("movie") + " --type linux"), 0);
    expectNoQtLibrary(dir, dir.path("movie"));
    ASSERT_EQ(cli("export-pdf " + quoted("p.qbk") + " " + quoted("tour.pdf")), 0);
    ASSERT_EQ(cli("export-html " + quoted("p.qbk") + " " + quoted("page") + " --format png"), 0);
    const std::string pdf = test::readFile(dir.path("tour.pdf"));
    const std::string movie = test::readFile(dir.path("movie.swf"));
    expectWholePixels(std::vector<uint8_t>(movie.begin(), movie.end()), c.canvas);

    for (int i = 0; i < kFrames; ++i) {
        const std::string index = std::to_string(i);
        ASSERT_EQ(cli("frame " + quoted("p.qbk") + " " + index + " " + quoted("frame" + index + ".png")), 0);
        const QImage composed = load("frame" + index + ".png");
        ASSERT_EQ(composed.size(), QSize(c.canvas.cx, c.canvas.cy));

        // The movie at the frame's stop; for the last frame also after the movie has ended.
        std::vector<int> moments{stats.stopFrame[size_t(i)]};
        if (i == kFrames - 1) {
            ASSERT_GT(stats.swfFrames - 1, stats.stopFrame[size_t(i)]);
            moments.push_back(stats.swfFrames - 1);
        }
        for (int moment : moments) {
            const std::string m = std::to_string(moment);
            ASSERT_EQ(player("--dump-frame " + m + " " + quoted("movie.swf") + " " + quoted("player.png")),
                      0);
            ASSERT_EQ(bare("movie", "--dump-frame " + m + " " + quoted("projector.png")), 0);
            for (const char* shot : {"player.png", "projector.png"})
                expectShows(load(shot), composed, c, "frame " + index + " at movie frame " + m + ": " + shot);
        }

        expectShows(pdfPicture(pdf, i, c.canvas), composed, c, "PDF page " + index, true);
        expectShows(load("page" + index + ".png"), composed, c, "HTML picture " + index, true);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, OutputFidelity, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr int kScreenWidth = 640, kScreenHeight = 480;

// The projectors on a screen of their own: the window shows each stop as quib-cli frame composes
// it, wherever the window lies, and a click on the Next button moves on to the next stop.
class ProjectorWindow : public OutputFidelity {
protected:
    void SetUp() override {
        if (!testing::XvfbServer::installed())
            GTEST_SKIP() << "Xvfb is not installed: projector window tests skipped";
        buildProject(GetParam());
        for (int i = 0; i < kFrames; ++i) {
            const std::string name = "frame" + std::to_string(i) + ".png";
            ASSERT_EQ(cli("frame " + quoted("p.qbk") + " " + std::to_string(i) + " " + quoted(name)), 0);
            composed.push_back(load(name));
        }
        server = std::make_unique<testing::XvfbServer>("640x480x24");
        ASSERT_TRUE(server->running()) << "Xvfb did not start";
        client = std::make_unique<testing::X11TestClient>(server->display().c_str());
        ASSERT_TRUE(client->connected());
    }

    // Where the screen shows frame (its top left corner), waiting for it up to a minute.
    std::optional<Point> waitForFrame(const QImage& frame) {
        const Case& c = GetParam();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::vector<uint32_t> screen = client->grabRoot(kScreenWidth, kScreenHeight);
            if (std::optional<Point> at = find(screen, frame, c))
                return at;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return std::nullopt;
    }

    // Shows the movie, then clicks the Next button of its first frame.
    void expectClickOnNextMovesOn(const std::vector<std::string>& command,
                                  const std::vector<std::string>& env) {
        test::ChildProcess program;
        ASSERT_TRUE(program.start(command, env));
        const std::optional<Point> at = waitForFrame(composed[0]);
        ASSERT_TRUE(at) << "the first stop never showed";
        Frame first;
        doc.GetFrame(0, first);
        const Bitmap32& next = doc.buttonImages.images[ButtonImageSet::Next];
        client->movePointer(at->x + first.nextButton.pos.x + next.width / 2,
                            at->y + first.nextButton.pos.y + next.height / 2);
        ASSERT_TRUE(client->clickButton(1));
        const std::optional<Point> then = waitForFrame(composed[1]);
        ASSERT_TRUE(then) << "the second stop never showed";
        EXPECT_EQ(*then, *at);
    }

    std::vector<QImage> composed;
    std::unique_ptr<testing::XvfbServer> server;
    std::unique_ptr<testing::X11TestClient> client;

private:
    static std::optional<Point> find(const std::vector<uint32_t>& screen, const QImage& frame,
                                     const Case& c) {
        if (screen.size() != size_t(kScreenWidth) * kScreenHeight)
            return std::nullopt;
        const QImage shot(reinterpret_cast<const uchar*>(screen.data()), kScreenWidth, kScreenHeight,
                          QImage::Format_RGB32);
        for (int y = 0; y + frame.height() <= kScreenHeight; ++y) {
            for (int x = 0; x + frame.width() <= kScreenWidth; ++x) {
                // The top row holds no text: it must match exactly before the whole frame is compared.
                bool topRow = true;
                for (int col = 0; col < frame.width() && topRow; ++col)
                    topRow = shot.pixel(x + col, y) == frame.pixel(col, 0);
                if (!topRow)
                    continue;
                const Difference d = compare(shot.copy(x, y, frame.width(), frame.height()), frame, c);
                if (d.outsideText == 0 && d.insideText < d.textPixels / 20)
                    return Point{x, y};
            }
        }
        return std::nullopt;
    }
};

TEST_P(ProjectorWindow, LinuxProjectorShowsTheStopsAndFollowsAClickOnNext) {
    ASSERT_EQ(cli("render " + quoted("p.qbk") + " --output " + quoted("tour") + " --type linux"), 0);
    // Nothing but the display in its environment.
    expectClickOnNextMovesOn({"env", "-i", "DISPLAY=" + server->display(), dir.path("tour")}, {});
}

// Wine runs in a fresh prefix of the test's own; its first start sets the prefix up.
TEST_P(ProjectorWindow, WindowsProjectorUnderWineShowsTheStopsAndFollowsAClickOnNext) {
    ASSERT_TRUE(test::programInstalled("wine"))
        << "Wine is needed to run the Windows projector (package wine)";
    ASSERT_EQ(cli("render " + quoted("p.qbk") + " --output " + quoted("tour.exe") + " --type exe"), 0);
    const std::vector<std::string> env = {"WINEPREFIX=" + dir.path("wine"), "WINEDEBUG=-all",
                                          "WINEDLLOVERRIDES=mscoree,mshtml=", "DISPLAY=" + server->display()};
    std::string wine;
    for (const std::string& entry : env)
        wine += "'" + entry + "' ";
    wine = "env " + wine + "timeout -k 5 240 wine";
    // Wine's own server and services of this prefix go at the end, whatever happens.
    struct WineServerStop {
        OutputFidelity& test;
        std::string prefix;
        ~WineServerStop() { test.run("env 'WINEPREFIX=" + prefix + "' timeout 30 wineserver -k", ""); }
    } stop{*this, dir.path("wine")};
    ASSERT_EQ(run(wine + " wineboot -i", ""), 0)
        << "Wine cannot start: " << test::readFile(dir.path("err.txt"));

    std::vector<std::string> command = {"timeout", "-k", "5", "240", "wine", dir.path("tour.exe")};
    expectClickOnNextMovesOn(command, env);
}

INSTANTIATE_TEST_SUITE_P(Projectors, ProjectorWindow, ::testing::Values(kCases[0]),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quib
