#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "base/progress.h"
#include "model/frame_composition.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "raster/gui_application.h"
#include "shapes/callout_library.h"
#include "support/files_and_commands.h"
#include "support/full_filesystem.h"
#include "support/qt_pictures.h"

namespace quib {
namespace {

class FrameCommand : public ::testing::Test, protected test::CliFolder {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }

    // A small project whose frame 1 has a callout text box and a title.
    void writeProject() {
        CQuibDoc doc;
        ASSERT_TRUE(buildSyntheticProject(doc, 320, 200, 3));
        ASSERT_TRUE(doc.SelectFrame(1, true));
        doc.titles.enabled = 1;
        doc.currentFrame.title = "Secondo";
        doc.currentFrame.textBox = TextBox{1, Rect{100, 80, 260, 150}, "Testo nel riquadro", "Rettangolo",
                                           doc.currentFrame.textBox.font};
        ASSERT_TRUE(doc.CommitFrameElements(1));
        NullProgress progress;
        ASSERT_TRUE(SaveProject(path("p.qbk"), doc, progress));
    }
};

TEST_F(FrameCommand, ADamagedUserCalloutLibraryIsNamedAndTheShippedOneIsUsed) {
    writeProject();
    const std::string damaged = path("data/Corvander/Quib/callout.dat");
    ASSERT_TRUE(CalloutLibrary().SaveLibrary(damaged));  // with the folders it needs
    test::writeFile(damaged, "broken");
    CalloutLibrary shipped;
    bool found = false;
    ASSERT_TRUE(shipped.LoadLibrary(std::string(QUIB_BUILD_DIR) + "/share/quib/callout.dat", &found));
    ASSERT_TRUE(found);

    ASSERT_EQ(status("frame " + quoted("p.qbk") + " 1 " + quoted("f.png")), 0) << last.err;
    EXPECT_NE(last.err.find(damaged), std::string::npos) << last.err;
    for (const std::string& command : {"export-html " + quoted("p.qbk") + " " + quoted("page"),
                                       "export-pdf " + quoted("p.qbk") + " " + quoted("tour.pdf")}) {
        ASSERT_EQ(status(command), 0) << last.err;
        EXPECT_NE(last.err.find(damaged), std::string::npos) << command << ": " << last.err;
    }
    const Bitmap24 framed = test::readPictureFile(path("f.png"));
    EXPECT_EQ(test::readPictureFile(path("page1.png")), framed);
    // Frame 1 as the editor shows it with the shipped callouts.
    CQuibDoc loaded;
    NullProgress progress;
    ASSERT_TRUE(LoadProject(path("p.qbk"), loaded, progress));
    ASSERT_TRUE(loaded.SelectFrame(1, true));
    EXPECT_EQ(framed, ComposeFramePicture(loaded, shipped));
}

TEST_F(FrameCommand, IndexOutsideTheProjectMissingProjectBadArgumentsOrUnwritableTargetFail) {
    writeProject();
    EXPECT_EQ(status("frame " + quoted("p.qbk") + " 3 " + quoted("f.png")), 1);
    EXPECT_NE(last.err.find("3"), std::string::npos);
    EXPECT_TRUE(QImage(QString::fromStdString(path("f.png"))).isNull());
    EXPECT_EQ(status("frame " + quoted("none.qbk") + " 0 " + quoted("f.png")), 1);
    // Bad arguments print the usage.
    EXPECT_EQ(status("frame a.qbk"), 2);
    EXPECT_NE(last.err.find("frame FILE.qbk"), std::string::npos);
    EXPECT_EQ(status("frame a.qbk x out.png"), 2);
    // A target that cannot be written fails and keeps the old file.
    test::FullFilesystem full(path("full"), "f.png", "old picture");
    // The folder is a file; then no room left half way.
    for (const std::string& target : {path("p.qbk") + "/f.png", path("full/f.png")}) {
        if (target == path("full/f.png") && !full.mounted())
            continue;
        EXPECT_EQ(status("frame " + quoted("p.qbk") + " 1 '" + target + "'"), 1) << target;
        EXPECT_NE(last.err.find("Impossibile creare il file"), std::string::npos) << last.err;
        EXPECT_NE(last.err.find(target), std::string::npos) << last.err;
    }
    if (full.mounted()) {
        EXPECT_EQ(test::readFile(path("full/f.png")), "old picture");
    }
}

}  // namespace
}  // namespace quib
