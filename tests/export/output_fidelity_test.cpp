// Every output against the frames as quib-cli frame composes them, through the programs themselves:
// the movie in quib-player at each stop and after its end, the PDF page pictures and the HTML
// pictures, for canvases of sizes that are not multiples of twenty.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zlib.h>

#include <QImage>
#include <cstdlib>

#include "export_test_util.h"
#include "model/default_buttons.h"
#include "model/project_storage.h"
#include "raster/gui_application.h"
#include "render/render_project.h"
#include "shapes/default_callouts.h"
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
    {"Screen1024x768", {1024, 768}, {1024, 768}, {0, 0}},
    {"Wide1366x768", {1366, 768}, {1366, 768}, {0, 0}},
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
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }

    // The shipped callouts only: the programs run with a data home of their own.
    int run(const std::string& program, const std::string& args) {
        const std::string command = "XDG_DATA_HOME='" + dir.path("data") + "' HOME='" + dir.dir() + "' " +
                                    program + " " + args + " >/dev/null 2>>'" + dir.path("err.txt") + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int cli(const std::string& args) { return run(std::string(QUIB_BUILD_DIR) + "/cli/quib-cli", args); }
    int player(const std::string& args) { return run(QUIB_PLAYER_PATH, args); }
    std::string quoted(const std::string& name) { return "'" + dir.path(name) + "'"; }

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

// Pixels whose colour differs; every pixel when the sizes differ.
int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return b.width() * b.height();
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += qRgb(qRed(a.pixel(x, y)), qGreen(a.pixel(x, y)), qBlue(a.pixel(x, y))) !=
                 qRgb(qRed(b.pixel(x, y)), qGreen(b.pixel(x, y)), qBlue(b.pixel(x, y)));
    return n;
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
    ASSERT_EQ(stats.projectFrames, kFrames);
    ASSERT_EQ(cli("render " + quoted("p.qbk") + " --output " + quoted("movie.swf") + " --type swf"), 0)
        << test::readFile(dir.path("err.txt"));
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
            const std::string shot = "shown" + std::to_string(moment) + ".png";
            ASSERT_EQ(player("--dump-frame " + std::to_string(moment) + " " + quoted("movie.swf") + " " +
                             quoted(shot)),
                      0);
            const QImage shown = load(shot);
            ASSERT_EQ(shown.size(), composed.size()) << "frame " << i;
            const Difference d = compare(shown, composed, c);
            EXPECT_EQ(d.outsideText, 0) << "frame " << i << " at movie frame " << moment;
            // Text in the movie has hard edges where the composition blends: only edge pixels differ.
            EXPECT_LT(d.insideText, d.textPixels / 20) << "frame " << i << " at movie frame " << moment;
        }

        EXPECT_EQ(differingPixels(pdfPicture(pdf, i, c.canvas), composed), 0) << "PDF page " << i;
        EXPECT_EQ(differingPixels(load("page" + index + ".png"), composed), 0) << "HTML picture " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, OutputFidelity, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quib
