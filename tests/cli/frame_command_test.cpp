#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "base/progress.h"
#include "model/frame_composition.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "raster/gui_application.h"
#include "shapes/default_callouts.h"
#include "support/full_filesystem.h"

namespace quib {
namespace {

class FrameCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }
    void SetUp() override {
        char pattern[] = "/tmp/quib-cli-frame-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { (void)std::system(("rm -rf '" + dir + "'").c_str()); }

    // Runs quib-cli with a data home of its own, so the user's callout library never enters.
    int run(const std::string& args, std::string* err = nullptr) {
        const std::string errFile = dir + "/stderr.txt";
        const std::string command = "XDG_DATA_HOME='" + dir + "/data' " + std::string(QUIB_BUILD_DIR) +
                                    "/cli/quib-cli " + args + " >/dev/null 2>'" + errFile + "'";
        const int status = std::system(command.c_str());
        if (err) {
            std::ifstream in(errFile);
            err->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string path(const std::string& name) { return dir + "/" + name; }

    // A small project whose frame 1 has a callout text box and a title.
    void writeProject(CQuibDoc& doc) {
        ASSERT_TRUE(buildSyntheticProject(doc, 320, 200, 3));
        ASSERT_TRUE(doc.SelectFrame(1, true));
        doc.titles.enabled = 1;
        doc.currentFrame.title = "Secondo";
        doc.currentFrame.textBox.visible = 1;
        doc.currentFrame.textBox.calloutName = "Rettangolo";
        doc.currentFrame.textBox.rect = Rect{100, 80, 260, 150};
        doc.currentFrame.textBox.text = "Testo nel riquadro";
        ASSERT_TRUE(doc.CommitFrameElements(1));
        NullProgress progress;
        ASSERT_TRUE(SaveProject(path("p.qbk"), doc, progress));
    }
    std::string dir;
};

TEST_F(FrameCommand, WritesTheComposedFrameAsPng) {
    CQuibDoc doc;
    writeProject(doc);
    ASSERT_EQ(run("frame '" + path("p.qbk") + "' 1 '" + path("f.png") + "'"), 0);

    CQuibDoc loaded;
    NullProgress progress;
    ASSERT_TRUE(LoadProject(path("p.qbk"), loaded, progress));
    ASSERT_TRUE(loaded.SelectFrame(1, true));
    const Bitmap24 expected = ComposeFramePicture(loaded, defaultCalloutLibrary());
    QImage image(QString::fromStdString(path("f.png")));
    ASSERT_FALSE(image.isNull());
    image = image.convertToFormat(QImage::Format_BGR888);
    ASSERT_EQ(image.width(), 320);
    ASSERT_EQ(image.height(), 200);
    for (int y = 0; y < 200; ++y)
        ASSERT_EQ(0, std::memcmp(image.constScanLine(y), expected.pixel(0, y), 320 * 3)) << "row " << y;

    // The text box was really drawn: without it the picture differs.
    const Bitmap24 withoutBox = ComposeFramePicture(loaded, CalloutLibrary{});
    EXPECT_NE(withoutBox, expected);
}

// The user's own callout library: its "Rettangolo" is drawn as the built-in "Nota".
CalloutLibrary userLibrary() {
    CalloutLibrary library = defaultCalloutLibrary();
    const size_t box = *library.Find("Rettangolo");
    Callout replacement = *library.FindCallout("Nota");
    replacement.name = "Rettangolo";
    library.Replace(box, replacement);
    return library;
}

Bitmap24 readPng(const std::string& file) {
    const QImage image = QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_BGR888);
    Bitmap24 picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(picture.pixel(0, y), image.constScanLine(y), size_t(image.width()) * 3);
    return picture;
}

TEST_F(FrameCommand, ADamagedUserCalloutLibraryIsNamedAndTheShippedOneIsUsed) {
    CQuibDoc doc;
    writeProject(doc);
    const std::string damaged = path("data/Corvander/Quib/callout.dat");
    ASSERT_TRUE(userLibrary().SaveLibrary(damaged));
    std::ofstream(damaged, std::ios::binary | std::ios::trunc) << "broken";
    CalloutLibrary shipped;
    bool found = false;
    ASSERT_TRUE(shipped.LoadLibrary(std::string(QUIB_BUILD_DIR) + "/share/quib/callout.dat", &found));
    ASSERT_TRUE(found);

    std::string err;
    ASSERT_EQ(run("frame '" + path("p.qbk") + "' 1 '" + path("f.png") + "'", &err), 0) << err;
    EXPECT_NE(err.find(damaged), std::string::npos) << err;
    for (const std::string& command : {"export-html '" + path("p.qbk") + "' '" + path("page") + "'",
                                       "export-pdf '" + path("p.qbk") + "' '" + path("tour.pdf") + "'"}) {
        ASSERT_EQ(run(command, &err), 0) << err;
        EXPECT_NE(err.find(damaged), std::string::npos) << command << ": " << err;
    }
    const Bitmap24 framed = readPng(path("f.png"));
    EXPECT_EQ(readPng(path("page1.png")), framed);
    CQuibDoc loaded;
    NullProgress progress;
    ASSERT_TRUE(LoadProject(path("p.qbk"), loaded, progress));
    ASSERT_TRUE(loaded.SelectFrame(1, true));
    EXPECT_EQ(framed, ComposeFramePicture(loaded, shipped));
}

TEST_F(FrameCommand, IndexOutsideTheProjectFails) {
    CQuibDoc doc;
    writeProject(doc);
    std::string err;
    EXPECT_EQ(run("frame '" + path("p.qbk") + "' 3 '" + path("f.png") + "'", &err), 1);
    EXPECT_NE(err.find("3"), std::string::npos);
    EXPECT_TRUE(QImage(QString::fromStdString(path("f.png"))).isNull());
}

TEST_F(FrameCommand, BadArgumentsPrintTheUsage) {
    std::string err;
    EXPECT_EQ(run("frame a.qbk", &err), 2);
    EXPECT_NE(err.find("frame FILE.qbk"), std::string::npos);
    EXPECT_EQ(run("frame a.qbk -1 out.png"), 2);
    EXPECT_EQ(run("frame a.qbk x out.png"), 2);
}

TEST_F(FrameCommand, MissingProjectFails) {
    EXPECT_EQ(run("frame '" + path("none.qbk") + "' 0 '" + path("f.png") + "'"), 1);
}

TEST_F(FrameCommand, TargetThatCannotBeWrittenFailsAndKeepsTheOldFile) {
    CQuibDoc doc;
    writeProject(doc);
    test::FullFilesystem full(path("full"), "f.png", "old picture");
    struct Case {
        std::string target;
        bool needsMount;
    };
    const Case cases[] = {
        {path("p.qbk") + "/f.png", false},  // the folder is a file
        {path("none/f.png"), false},
        {path("full/f.png"), true},  // no room left half way
    };
    for (const Case& c : cases) {
        if (c.needsMount && !full.mounted())
            continue;
        std::string err;
        EXPECT_EQ(run("frame '" + path("p.qbk") + "' 1 '" + c.target + "'", &err), 1) << c.target;
        EXPECT_NE(err.find("Impossibile creare il file"), std::string::npos) << err;
        EXPECT_NE(err.find(c.target), std::string::npos) << err;
    }
    if (full.mounted()) {
        std::ifstream in(path("full/f.png"));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                  "old picture");
    }
}

}  // namespace
}  // namespace quib
