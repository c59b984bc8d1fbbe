#include <gtest/gtest.h>

#include <QSpinBox>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/command_ids.h"
#include "ui/crop_frames_dialog.h"

namespace quib {
namespace {

using test::patternBlue;
using test::patternGreen;
using test::patternRed;

struct CropFrames : test::FrameOpsFixture {
    std::unique_ptr<QuibProjectDocument> document = test::patternProject(3, 120, 70);
    CQuibDoc& doc = document->doc();

    // Every pixel of every frame is the pattern pixel at its place plus (dx, dy).
    void expectPatternShiftedBy(int dx, int dy) {
        for (int i = 0; i < doc.frameCount(); ++i) {
            ASSERT_TRUE(doc.SelectFrame(i));
            ASSERT_EQ(doc.currentImage.width, doc.frameSize.cx);
            ASSERT_EQ(doc.currentImage.height, doc.frameSize.cy);
            for (int y = 0; y < doc.frameSize.cy; ++y)
                for (int x = 0; x < doc.frameSize.cx; ++x) {
                    const uint8_t* p = doc.currentImage.pixel(x, y);
                    ASSERT_EQ(p[0], patternBlue(x + dx, y + dy, i)) << i << " " << x << "," << y;
                    ASSERT_EQ(p[1], patternGreen(x + dx, y + dy, i));
                    ASSERT_EQ(p[2], patternRed(x + dx, y + dy, i));
                }
        }
    }
};

TEST_F(CropFrames, Dialog_StartsAtTheWholeFrameAndClampsEveryValue) {
    CropFramesDialog dialog(doc);
    EXPECT_EQ(dialog.cropRect(), (Rect{0, 0, 120, 70}));
    EXPECT_EQ(dialog.previewPicture().size(), QSize(120, 70));
    dialog.setBounds(-5, -5, 500, 500);
    EXPECT_EQ(dialog.left(), 0);
    EXPECT_EQ(dialog.top(), 0);
    EXPECT_EQ(dialog.right(), 119);
    EXPECT_EQ(dialog.bottom(), 69);
}

TEST_F(CropFrames, Dialog_RefusesCrossedBounds) {
    CropFramesDialog dialog(doc);
    dialog.setMessageFunction([this](const QString& text) { messages << text; });
    dialog.setBounds(50, 0, 40, 69);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0],
              QStringLiteral("La dimensione di ritaglio deve essere inferiore a quella corrente."));
    dialog.setBounds(10, 10, 109, 59);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(CropFrames, TheCommand_CropsThroughTheDialogAndIsDisabledWithoutFrames) {
    EXPECT_TRUE(document->enabled(cmd::CropFrames));
    FrameOperationCommands::interaction().runCropDialog = [](CropFramesDialog& dialog) {
        dialog.setBounds(10, 10, 109, 59);
        return true;
    };
    document->run(cmd::CropFrames);
    EXPECT_EQ(doc.frameSize, (Size{100, 50}));
    expectPatternShiftedBy(10, 10);

    auto empty = QuibProjectDocument::createNew();
    EXPECT_FALSE(empty->enabled(cmd::CropFrames));
    EXPECT_FALSE(empty->enabled(cmd::BackgroundImage));
}

}  // namespace
}  // namespace quib
