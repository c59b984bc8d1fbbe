#include <gtest/gtest.h>

#include <QSpinBox>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/command_ids.h"
#include "ui/crop_frames_dialog.h"

namespace quib {
namespace {

struct CropFrames : test::FrameOpsFixture {
    std::unique_ptr<QuibProjectDocument> document = test::patternProject(3, 120, 70);
    CQuibDoc& doc = document->doc();

    void expectPatternShiftedBy(int dx, int dy) { test::expectPatternShiftedBy(doc, dx, dy); }
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

}  // namespace
}  // namespace quib
