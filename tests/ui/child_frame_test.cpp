#include <gtest/gtest.h>

#include <QApplication>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>

#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/placeholder_document.h"
#include "ui/placeholder_views.h"
#include "ui/thumbnail_row.h"
#include "ui_test_support.h"

namespace quib {
namespace {

// A thumbnail strip with chosen metrics.
struct FakeStrip : QWidget, ThumbnailRowMetrics {
    bool empty = false;
    int item = 70;
    int scrollBar = 0;
    bool isEmpty() const override { return empty; }
    int itemHeight() const override { return item; }
    int horizontalScrollBarHeight() const override { return scrollBar; }
};

class ChildFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureApplication();
        strip = new FakeStrip;
        editor = new QWidget;
        child = std::make_unique<CChildFrame>(
            std::make_unique<PlaceholderDocument>(QStringLiteral("/x/p.qbk")), editor, strip);
        child->resize(600, 500);
        child->show();
    }
    QSplitter* splitter() const { return child->findChild<QSplitter*>(); }
    int available() const { return splitter()->height() - splitter()->handleWidth(); }

    FakeStrip* strip = nullptr;
    QWidget* editor = nullptr;
    std::unique_ptr<CChildFrame> child;
};

// One item plus two pixels, plus the scroll bar when there is one; 110 pixels when empty.
TEST_F(ChildFrameTest, ThumbnailRowIsOneItemPlusTwoPixels) {
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), 72);
    EXPECT_EQ(child->editorRowHeight(), available() - 72);
    strip->scrollBar = 15;
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), 87);
    strip->empty = true;
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), 110);
}

TEST_F(ChildFrameTest, HiddenEditorRowGivesTheThumbnailsEverything) {
    child->setEditorRowHidden(true);
    QApplication::processEvents();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(child->editorRowHeight(), 0);
    EXPECT_GE(strip->height(), available() - 1);
    child->setEditorRowHidden(false);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child->thumbnailRowHeight(), 72);
}

TEST_F(ChildFrameTest, SplitterBarCannotBeDragged) {
    child->recalcRows();
    const QList<int> before = splitter()->sizes();
    QSplitterHandle* handle = splitter()->handle(1);
    ASSERT_NE(handle, nullptr);
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(5, 1));
    QTest::mouseMove(handle, QPoint(5, -120));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(5, -120));
    EXPECT_EQ(splitter()->sizes(), before);
}

}  // namespace
}  // namespace quib
