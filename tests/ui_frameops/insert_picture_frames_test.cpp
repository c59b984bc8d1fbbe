#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/command_ids.h"
#include "ui/insert_frames_dialog.h"

namespace quib {
namespace {

struct InsertPictureFrames : test::FrameOpsFixture {
    QTemporaryDir dir;

    std::string picture(const QString& name, int cx, int cy, uint8_t blue) {
        return test::writeRawPicture(dir.path(), name, test::solidPicture(cx, cy, blue, 2, 3, 255))
            .toStdString();
    }
    static uint8_t blueAt(CQuibDoc& doc, int index, int x, int y) {
        doc.SelectFrame(index);
        return doc.currentImage.pixel(x, y)[0];
    }
};

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
