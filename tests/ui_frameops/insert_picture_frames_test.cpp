#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/command_ids.h"
#include "ui/frame_operations.h"
#include "ui/insert_frames_dialog.h"

namespace quib {
namespace {

struct CountingProgress : Progress {
    int high = -1;
    int positions = 0;
    void setRange(int, int h) override { high = h; }
    void setPosition(int) override { ++positions; }
};

struct InsertPictureFrames : test::FrameOpsFixture {
    QTemporaryDir dir;
    CountingProgress progress;

    std::string picture(const QString& name, int cx, int cy, uint8_t blue) {
        return test::writeRawPicture(dir.path(), name, test::solidPicture(cx, cy, blue, 2, 3, 255))
            .toStdString();
    }
    static uint8_t blueAt(CQuibDoc& doc, int index, int x, int y) {
        doc.SelectFrame(index);
        return doc.currentImage.pixel(x, y)[0];
    }
};

TEST_F(InsertPictureFrames, EmptyProject_TakesTheFirstPicturesSize) {
    auto document = QuibProjectDocument::createNew();
    CQuibDoc& doc = document->doc();
    const std::vector<std::string> files = {picture("a.raw", 50, 30, 10), picture("b.raw", 20, 40, 20)};
    ASSERT_TRUE(insertPictureFrames(doc, test::rawFilterTable(), files, false, progress).ok());
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_EQ(doc.frameSize, (Size{50, 30}));
    EXPECT_EQ(blueAt(doc, 0, 49, 29), 10);
    EXPECT_EQ(blueAt(doc, 1, 19, 29), 20);  // inside the smaller picture
    EXPECT_EQ(blueAt(doc, 1, 20, 0), 0);    // padded black beside it
    EXPECT_EQ(progress.high, 2);
    EXPECT_GE(progress.positions, 2);
}

TEST_F(InsertPictureFrames, AfterTheCurrentFrame_InTheChosenOrder) {
    auto document = test::patternProject(3, 40, 30);
    CQuibDoc& doc = document->doc();
    doc.SelectFrame(1);
    const std::vector<std::string> files = {picture("a.raw", 40, 30, 11), picture("b.raw", 40, 30, 22)};
    ASSERT_TRUE(insertPictureFrames(doc, test::rawFilterTable(), files, true, progress).ok());
    EXPECT_EQ(doc.frameCount(), 5);
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_EQ(blueAt(doc, 2, 5, 5), 11);
    EXPECT_EQ(blueAt(doc, 3, 5, 5), 22);
    EXPECT_EQ(blueAt(doc, 4, 0, 0), test::patternBlue(0, 0, 2));
    Frame f;
    doc.GetFrame(2, f);
    EXPECT_EQ(f.textBox.visible, 0u);
    EXPECT_EQ(f.textBox.text, "");
    EXPECT_TRUE(doc.isModified());
}

TEST_F(InsertPictureFrames, BeforeTheCurrentFrame_KeepsItCurrent) {
    auto document = test::patternProject(2, 40, 30);
    CQuibDoc& doc = document->doc();
    doc.SelectFrame(1);
    ASSERT_TRUE(
        insertPictureFrames(doc, test::rawFilterTable(), {picture("a.raw", 40, 30, 7)}, false, progress)
            .ok());
    EXPECT_EQ(doc.currentFrameIndex, 2);
    EXPECT_EQ(doc.currentFrame.textBox.text, "frame 1");
    EXPECT_EQ(blueAt(doc, 1, 0, 0), 7);
}

TEST_F(InsertPictureFrames, OneUnreadableFile_NamesItAndChangesNothing) {
    auto document = test::patternProject(2, 40, 30);
    CQuibDoc& doc = document->doc();
    const std::string broken = test::makeFile(dir.path(), QStringLiteral("broken.raw")).toStdString();
    const Status status = insertPictureFrames(doc, test::rawFilterTable(),
                                              {picture("a.raw", 40, 30, 7), broken}, false, progress);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("Formato di file sconosciuto"), std::string::npos);
    EXPECT_NE(status.message().find("broken.raw"), std::string::npos);
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(InsertPictureFrames, TheCommand_InsertsTheFilesChosenInTheDialog) {
    auto document = test::patternProject(1, 40, 30);
    const QString a = QString::fromStdString(picture("a.raw", 40, 30, 5));
    const QString b = QString::fromStdString(picture("b.raw", 40, 30, 6));
    FrameOperationCommands::interaction().askImageFiles = [&](const QString&, const QString&) {
        return QStringList{a, b};
    };
    FrameOperationCommands::interaction().runInsertDialog = [](InsertFramesDialog& dialog) {
        dialog.chooseFiles();
        EXPECT_TRUE(dialog.filesChoice()->isChecked());
        EXPECT_FALSE(dialog.countEdit()->isEnabled());
        dialog.afterChoice()->setChecked(true);
        return true;
    };
    document->run(cmd::InsertFrames);
    CQuibDoc& doc = document->doc();
    ASSERT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(blueAt(doc, 1, 0, 0), 5);
    EXPECT_EQ(blueAt(doc, 2, 0, 0), 6);
    EXPECT_EQ(settings.lastImageLoadDir, QDir(dir.path()).absolutePath());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(InsertPictureFrames, Dialog_RefusesFilesChoiceWithoutFiles) {
    InsertFramesDialog dialog(true);
    dialog.setMessageFunction([this](const QString& text) { messages << text; });
    dialog.filesChoice()->setChecked(true);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages.size(), 1);
}

}  // namespace
}  // namespace quib
