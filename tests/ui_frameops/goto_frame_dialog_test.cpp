#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/goto_frame_dialog.h"

namespace quib {
namespace {

struct GotoFrame : test::FrameOpsFixture {
    std::unique_ptr<QuibProjectDocument> document = test::patternProject(4, 30, 20);
    CQuibDoc& doc = document->doc();
};

TEST_F(GotoFrame, Preview_ShowsSmallThumbnailsAsTheyAreAndShrinksLargeOnes) {
    QList<int> asked;
    GotoFrameDialog dialog(doc, 1, [&](int index) {
        asked << index;
        return QImage(index == 1 ? QSize(40, 30) : QSize(800, 400), QImage::Format_RGB32);
    });
    EXPECT_EQ(asked.last(), 1);
    EXPECT_EQ(dialog.preview()->pixmap().size(), QSize(40, 30));
    EXPECT_EQ(dialog.frameList()->item(3)->icon().availableSizes().value(0), QSize(96, 48));
    dialog.setSelectedIndex(3);
    EXPECT_EQ(asked.last(), 3);
    // Shrunk with its shape kept.
    EXPECT_EQ(dialog.preview()->pixmap().size(), QSize(320, 160));
}

TEST_F(GotoFrame, StoredFramePicture_IsTheFramesOwnPicture) {
    const QImage picture = storedFramePicture(doc, 2);
    ASSERT_EQ(picture.size(), QSize(30, 20));
    EXPECT_EQ(qBlue(picture.pixel(5, 6)), test::patternBlue(5, 6, 2));
    EXPECT_EQ(qRed(picture.pixel(5, 6)), test::patternRed(5, 6, 2));
    EXPECT_TRUE(storedFramePicture(doc, 4).isNull());
    GotoFrameDialog dialog(doc, 2);
    EXPECT_EQ(dialog.preview()->pixmap().size(), QSize(30, 20));
}

}  // namespace
}  // namespace quib
