#include <gtest/gtest.h>

#include <zlib.h>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <algorithm>

#include "../ui/ui_test_support.h"
#include "base/zlib_util.h"
#include "model/quib_doc.h"
#include "support/bytes_and_pictures.h"
#include "support/project_contents.h"
#include "ui/command_ids.h"
#include "ui/quib_thumb_view.h"
#include "ui/thumbnail_scaler.h"

namespace quib {
namespace {

// Frames of flat colours, one picture per entry, each titled "F<index>".
void buildFlatProject(CQuibDoc& doc, int cx, int cy, const std::vector<uint32_t>& colours) {
    doc.InitNewProject();
    doc.frameSize = doc.backgroundSize = Size{cx, cy};
    doc.currentImage = Bitmap24(cx, cy);
    for (size_t k = 0; k < colours.size(); ++k) {
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                uint8_t* p = doc.currentImage.pixel(x, y);
                // A gradient on top of the colour so the scaling has something to average.
                p[0] = uint8_t(blueOf(colours[k]) ^ (x * 3)), p[1] = greenOf(colours[k]),
                p[2] = uint8_t(redOf(colours[k]) + y);
            }
        doc.currentFrame = Frame();
        doc.currentFrame.title = "F" + std::to_string(k);
        ASSERT_TRUE(doc.AppendCapturedFrame());
    }
    doc.SelectFrame(0, true);
}

std::vector<std::string> titles(const CQuibDoc& doc) {
    std::vector<std::string> out;
    for (int i = 0; i < doc.frameCount(); ++i)
        out.push_back(test::frameElements(doc, i).title);
    return out;
}

struct ThumbViewTest : ::testing::Test, test::WithApplication {
    // A strip in a shown window wide enough for every item.
    static void show(CQuibThumbView& view, int width = 900) {
        view.resize(width, 120);
        view.show();
        view.finishThumbnails();
        view.doItemsLayout();
        QApplication::processEvents();
    }
    // A strip over a project of 64 x 48 frames, one per colour.
    CQuibThumbView& open(const std::vector<uint32_t>& colours) {
        buildFlatProject(doc, 64, 48, colours);
        strip = std::make_unique<CQuibThumbView>(doc);
        return *strip;
    }
    static QPoint centreOf(CQuibThumbView& view, int row) {
        return view.visualItemRect(view.item(row)).center();
    }

    // A drag of the strip's selection entering target and moving to point, with the modifiers;
    // dropped there unless drop is cleared.
    static void drag(CQuibThumbView& source, CQuibThumbView& target, QPoint point,
                     Qt::KeyboardModifiers modifiers = {}, bool drop = true) {
        std::unique_ptr<QMimeData> data(source.dragData());
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(point, actions, data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(target.viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDragMoveEvent move(point, actions, data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(target.viewport(), &move);
        ASSERT_TRUE(move.isAccepted());
        if (drop) {
            QDropEvent dropped(QPointF(point), actions, data.get(), Qt::LeftButton, modifiers);
            QApplication::sendEvent(target.viewport(), &dropped);
            ASSERT_TRUE(dropped.isAccepted());
        }
    }

    CQuibDoc doc;
    std::unique_ptr<CQuibThumbView> strip;
};

TEST_F(ThumbViewTest, ChangedCurrentPictureIsRescaledFromTheWorkingCopy) {
    CQuibThumbView& view = open({0x102030, 0x405060});
    view.finishThumbnails();
    std::fill(doc.currentImage.pixels.begin(), doc.currentImage.pixels.end(), uint8_t(7));
    doc.imageChanged = true;
    doc.UpdateAllViews(hint::CurrentPicture);
    EXPECT_EQ(view.thumbnail(0).pixel(10, 10), qRgb(7, 7, 7));
    EXPECT_EQ(view.thumbnail(0).pixel(1, 1), qRgb(128, 128, 128));
    // A rebuild also shows the unsaved picture rather than the stored one.
    view.rebuild();
    view.finishThumbnails();
    EXPECT_EQ(view.thumbnail(0).pixel(10, 10), qRgb(7, 7, 7));
}

TEST_F(ThumbViewTest, PopupOffersTheCommandsAndDeletingEveryFrameLeavesAnEmptyList) {
    CQuibThumbView& view = open({1, 2, 3, 4});
    // The popup offers the thumbnail commands in order, delete enabled for the selected frame.
    std::unique_ptr<QMenu> menu(view.createPopupMenu(nullptr));
    EXPECT_EQ(menu->title(), QStringLiteral("Miniature"));
    const std::vector<int> expected = {cmd::EditDelete, cmd::EditCut,      cmd::EditCopy,   cmd::CopyMerged,
                                       cmd::EditPaste,  cmd::InsertFrames, cmd::Preferences};
    std::vector<int> offered;
    for (QAction* action : menu->actions())
        offered.push_back(action->data().toInt());
    EXPECT_EQ(offered, expected);
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    view.run(cmd::EditSelectAll);
    view.run(cmd::EditDelete);
    EXPECT_EQ(view.count(), 0);
    EXPECT_EQ(doc.frameCount(), 0);
    EXPECT_EQ(doc.frameSize, (Size{0, 0}));
    EXPECT_TRUE(view.itemRectUnion().isEmpty());
    EXPECT_FALSE(view.enabled(cmd::EditDelete));
}

TEST_F(ThumbViewTest, ClickingEmptySpaceKeepsTheCurrentFrameSelected) {
    CQuibThumbView& view = open({1, 2, 3});
    show(view);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centreOf(view, 1));
    const QPoint empty(view.itemRectUnion().right() + 100, 10);
    ASSERT_FALSE(view.indexAt(empty).isValid());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(view.selectedRows(), std::vector<int>{1});
    EXPECT_EQ(doc.currentFrameIndex, 1);
}

TEST_F(ThumbViewTest, DroppingIntoAnotherProjectCopiesAndAMoveRemovesFromTheSource) {
    CQuibDoc source, target;
    buildFlatProject(source, 64, 48, {1, 2, 3});
    buildFlatProject(target, 64, 48, {4, 5});
    CQuibThumbView from(source), to(target);
    show(from);
    show(to);
    from.run(cmd::NextFrame);  // F1 selected
    drag(from, to, centreOf(to, 1));
    EXPECT_EQ(titles(target), (std::vector<std::string>{"F0", "F1", "F1"}));
    EXPECT_EQ(titles(source), (std::vector<std::string>{"F0", "F1", "F2"}));
    EXPECT_EQ(to.count(), 3);
    EXPECT_EQ(to.selectedRows(), std::vector<int>{1});
    // With Shift the drop moves: the source loses its frame.
    drag(from, to, QPoint(to.itemRectUnion().right() + 50, 10), Qt::ShiftModifier);
    EXPECT_EQ(titles(target), (std::vector<std::string>{"F0", "F1", "F1", "F1"}));
    EXPECT_EQ(titles(source), (std::vector<std::string>{"F0", "F2"}));
    EXPECT_EQ(from.count(), 2);
}

// Changes the current frame's title and picture in its working copy only, as the editor does.
void editCurrentFrame(CQuibDoc& doc, const std::string& title, uint8_t fill) {
    doc.currentFrame.title = title;
    std::fill(doc.currentImage.pixels.begin(), doc.currentImage.pixels.end(), fill);
    doc.imageChanged = doc.elementsChanged = true;
}

// Whether a frame of doc has the title and a picture all of fill.
bool holdsEdit(CQuibDoc& doc, const std::string& title, uint8_t fill) {
    doc.SelectFrame(doc.currentFrameIndex, true);
    for (int i = 0; i < doc.frameCount(); ++i) {
        if (doc.frames[size_t(i)].title != title)
            continue;
        const std::vector<uint8_t> pixels = test::storedFramePicture(doc, i).pixels;
        return !pixels.empty() &&
               std::all_of(pixels.begin(), pixels.end(), [fill](uint8_t b) { return b == fill; });
    }
    return false;
}

TEST_F(ThumbViewTest, PasteDropAndCutKeepThePendingEditsOfBothProjects) {
    constexpr uint8_t inSource = 0x31, inTarget = 0x62;
    const struct {
        const char* name;
        bool sourceEdited;
        void (*run)(CQuibDoc& source, CQuibThumbView& from, CQuibDoc& target, CQuibThumbView& to);
    } cases[] = {
        {"move within the strip", false,
         [](CQuibDoc&, CQuibThumbView&, CQuibDoc& target, CQuibThumbView& to) {
             editCurrentFrame(target, "target", inTarget);
             drag(to, to, centreOf(to, 0));
         }},
        {"copy into another project", true,
         [](CQuibDoc& source, CQuibThumbView& from, CQuibDoc& target, CQuibThumbView& to) {
             editCurrentFrame(source, "source", inSource);
             editCurrentFrame(target, "target", inTarget);
             drag(from, to, centreOf(to, 0));
         }},
        {"cut and paste", true,
         [](CQuibDoc& source, CQuibThumbView& from, CQuibDoc& target, CQuibThumbView& to) {
             editCurrentFrame(source, "source", inSource);
             from.run(cmd::EditCut);
             editCurrentFrame(target, "target", inTarget);
             to.run(cmd::EditPaste);
         }},
    };
    for (const auto& c : cases) {
        CQuibDoc source, target;
        buildFlatProject(source, 64, 48, {1, 2, 3});
        buildFlatProject(target, 64, 48, {4, 5, 6});
        CQuibThumbView from(source), to(target);
        show(from);
        show(to);
        from.run(cmd::NextFrame);
        to.run(cmd::NextFrame);
        c.run(source, from, target, to);
        EXPECT_TRUE(holdsEdit(target, "target", inTarget)) << c.name;
        EXPECT_EQ(holdsEdit(target, "source", inSource), c.sourceEdited) << c.name;
    }
}

TEST_F(ThumbViewTest, DoubleClickOnAnItemTogglesWrapModeAndItemsFlowIntoRows) {
    CQuibThumbView& view = open(std::vector<uint32_t>(10, 1));
    bool editorHidden = false;
    view.setWrapModeHandler([&](bool wrap) { editorHidden = wrap; });
    show(view, 300);
    const QSize cell = view.gridSize();
    EXPECT_EQ(view.itemRectUnion(), QRect(0, 0, 10 * cell.width(), cell.height()));
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centreOf(view, 0));
    EXPECT_TRUE(view.wrapMode());
    EXPECT_TRUE(view.checked(cmd::ThumbnailsOnly));
    EXPECT_TRUE(editorHidden);
    const int perRow = view.viewport()->width() / cell.width();
    ASSERT_GT(perRow, 0);
    EXPECT_EQ(view.itemRectUnion().height(), ((10 + perRow - 1) / perRow) * cell.height());
    view.run(cmd::ThumbnailsOnly);
    EXPECT_FALSE(view.wrapMode());
    EXPECT_FALSE(editorHidden);
}

TEST_F(ThumbViewTest, MoveAllElementsShiftsTheSelectedFramesElementsAndTheFramePicture) {
    CQuibThumbView& view = open({1, 2, 3});
    EXPECT_FALSE(view.enabled(cmd::MoveAllElements));  // no background picture
    doc.backgroundImage = Bitmap24(100, 80);
    ASSERT_TRUE(view.enabled(cmd::MoveAllElements));
    const FrameElements before0 = test::frameElements(doc, 0), before2 = test::frameElements(doc, 2);
    const Rect title = doc.titles.rect;
    view.selectionModel()->select(QItemSelection(view.model()->index(1, 0), view.model()->index(2, 0)),
                                  QItemSelectionModel::ClearAndSelect);
    view.setOffsetAsker([](int& dx, int& dy) {
        dx = 5, dy = -3;
        return true;
    });
    view.run(cmd::MoveAllElements);
    EXPECT_EQ(doc.frameOrigin.x, 5);
    EXPECT_EQ(doc.frameOrigin.y, -3);
    EXPECT_EQ(doc.titles.rect.left, title.left + 5);
    EXPECT_EQ(doc.titles.rect.bottom, title.bottom - 3);
    const FrameElements after0 = test::frameElements(doc, 0), after2 = test::frameElements(doc, 2);
    EXPECT_EQ(after0, before0);
    EXPECT_EQ(after2.cursorPos.x, before2.cursorPos.x + 5);
    EXPECT_EQ(after2.textBox.rect.top, before2.textBox.rect.top - 3);
    EXPECT_EQ(after2.nextButton.pos.x, before2.nextButton.pos.x + 5);
    EXPECT_EQ(after2.gotoButtons[1].pos.y, before2.gotoButtons[1].pos.y - 3);
    EXPECT_TRUE(doc.isModified());
    // Cancelling changes nothing.
    view.setOffsetAsker([](int&, int&) { return false; });
    view.run(cmd::MoveAllElements);
    EXPECT_EQ(doc.frameOrigin.x, 5);
}

// Straightforward reference: every destination pixel sums its inclusive source box.
std::vector<uint8_t> referenceBoxFilter(const std::vector<uint8_t>& src, int sw, int sh, int dw, int dh) {
    std::vector<uint8_t> out(size_t(dw) * size_t(dh) * 3);
    for (int y = 0; y < dh; ++y) {
        const int y0 = std::min(y * sh / dh, sh - 1), y1 = std::min((y + 1) * sh / dh, sh - 1);
        for (int x = 0; x < dw; ++x) {
            const int x0 = std::min(x * sw / dw, sw - 1), x1 = std::min((x + 1) * sw / dw, sw - 1);
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0, n = 0;
                for (int yy = y0; yy <= y1; ++yy)
                    for (int xx = x0; xx <= x1; ++xx, ++n)
                        sum += src[(size_t(yy) * size_t(sw) + size_t(xx)) * 3 + size_t(c)];
                out[(size_t(y) * size_t(dw) + size_t(x)) * 3 + size_t(c)] = uint8_t(sum / n);
            }
        }
    }
    return out;
}

TEST(BoxFilter, CompressedStreamGivesTheDecompressedPictureAndDamagedOrShortOnesLeaveMissingRowsBlack) {
    const int sw = 333, sh = 250, dw = 40, dh = 30;
    const auto src = test::noisePicture(sw, sh, 7).pixels;
    const auto stream = *zlibCompress(src.data(), src.size(), 1);
    BoxFilter filter(sw, sh, dw, dh);
    std::vector<uint8_t> scratch;
    EXPECT_TRUE(filterCompressedPicture(stream.data(), stream.size(), filter, scratch));
    std::vector<uint8_t> out(size_t(dw) * size_t(dh) * 3);
    filter.write(out.data(), size_t(dw) * 3);
    EXPECT_EQ(out, referenceBoxFilter(src, sw, sh, dw, dh));

    const std::vector<uint8_t> white(64 * 64 * 3, 255);
    auto half = *zlibCompress(white.data(), white.size(), 1);
    half.resize(half.size() / 2);
    BoxFilter small(64, 64, 8, 8);
    EXPECT_FALSE(filterCompressedPicture(half.data(), half.size(), small, scratch));
    std::vector<uint8_t> shrunk(8 * 8 * 3);
    small.write(shrunk.data(), 8 * 3);
    EXPECT_EQ(shrunk[0], 255);                // the top was read
    EXPECT_EQ(shrunk[shrunk.size() - 1], 0);  // the bottom never came
    const uint8_t garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
    small.reset();
    EXPECT_FALSE(filterCompressedPicture(garbage, sizeof garbage, small, scratch));
    EXPECT_FALSE(filterCompressedPicture(garbage, 0, small, scratch));
}

}  // namespace
}  // namespace quib
