#include <gtest/gtest.h>

#include "model/template_apply.h"
#include "model/template_file.h"
#include "template_test_util.h"

namespace quib {
namespace {

Point moved(Point p, int dx, int dy) {
    return {p.x + dx, p.y + dy};
}

Rect moved(Rect r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// A template taken from a project that differs in everything from the target.
TemplateSet otherLook(uint32_t mask = templ::AllElements) {
    CQuibDoc source;
    test::makeOtherProject(source);
    TemplateSet set;
    set.TakeFrom(source, mask);
    return set;
}

// Everything a template can change in a project.
struct ProjectSnapshot {
    Size backgroundSize;
    Bitmap24 background;
    Point frameOrigin;
    TitleSettings titles;
    ProjectSettings settings;
    ButtonImageSet buttons;
    std::vector<FrameElements> frames;
    bool operator==(const ProjectSnapshot&) const = default;
};

ProjectSnapshot snapshot(const CQuibDoc& doc) {
    return {doc.backgroundSize, doc.backgroundImage, doc.frameOrigin,           doc.titles,
            doc.settings,       doc.buttonImages,    test::frameElementsOf(doc)};
}

TEST(ApplyTemplate, EachElementChangesExactlyItsPart) {
    const TemplateSet set = otherLook();
    for (int bit = 0; bit < templ::ElementCount; ++bit) {
        const uint32_t element = 1u << bit;
        SCOPED_TRACE(templ::elementText(bit));
        CQuibDoc doc;
        test::makeStyledProject(doc);
        ProjectSnapshot expected = snapshot(doc);
        switch (element) {
            case templ::BackgroundImage:
                expected.background = set.background;
                expected.backgroundSize = set.backgroundSize;
                break;
            case templ::FramePosition: {
                const int dx = set.frameOrigin.x - doc.frameOrigin.x,
                          dy = set.frameOrigin.y - doc.frameOrigin.y;
                expected.frameOrigin = set.frameOrigin;
                expected.titles.rect = moved(expected.titles.rect, dx, dy);
                for (FrameElements& f : expected.frames) {
                    f.cursorPos = moved(f.cursorPos, dx, dy);
                    f.textBox.rect = moved(f.textBox.rect, dx, dy);
                    f.nextButton.pos = moved(f.nextButton.pos, dx, dy);
                    f.prevButton.pos = moved(f.prevButton.pos, dx, dy);
                    for (NavButton& b : f.gotoButtons)
                        b.pos = moved(b.pos, dx, dy);
                }
                break;
            }
            case templ::TitleEnable:
                expected.titles.enabled = set.titlesEnabled;
                break;
            case templ::TitleFont:
                expected.titles.font = set.titleFont;
                break;
            case templ::TitlePosition:
                expected.titles.rect = set.titleRect;
                break;
            case templ::Callout:
                for (FrameElements& f : expected.frames)
                    f.textBox.calloutName = set.calloutName;
                break;
            case templ::TextBoxFont:
                for (FrameElements& f : expected.frames)
                    f.textBox.font = set.textFont;
                break;
            case templ::NextButtonPosition:
                for (FrameElements& f : expected.frames)
                    f.nextButton.pos = set.nextPos;
                break;
            case templ::PrevButtonPosition:
                for (FrameElements& f : expected.frames)
                    f.prevButton.pos = set.prevPos;
                break;
            case templ::GotoButtonPositions:
                for (FrameElements& f : expected.frames)
                    for (int i = 0; i < 2; ++i)
                        f.gotoButtons[i].pos = set.gotoPos[i];
                break;
            case templ::NextButtonImage:
                expected.buttons.images[ButtonImageSet::Next] = set.nextPicture;
                break;
            case templ::PrevButtonImage:
                expected.buttons.images[ButtonImageSet::Previous] = set.prevPicture;
                break;
            case templ::GotoButtonImages:
                expected.buttons.images[ButtonImageSet::Goto1] = set.gotoPicture[0];
                expected.buttons.images[ButtonImageSet::Goto2] = set.gotoPicture[1];
                break;
            case templ::FrameRate:
                expected.settings.frameRate = set.frameRate;
                break;
            case templ::UsePalette:
                expected.settings.usePalette = set.usePalette;
                break;
            case templ::CursorMovement:
                expected.settings.cursorSmoothness = set.cursorSmoothness;
                break;
        }
        EXPECT_EQ(ApplyTemplate(doc, set, element), element);
        EXPECT_TRUE(snapshot(doc) == expected);
        // The working copy's change reaches the stored frame at once.
        const size_t current = size_t(doc.currentFrameIndex);
        EXPECT_EQ(doc.frames[current].elements(), expected.frames[current]);
    }
}

TEST(ApplyTemplate, PositionsAtTheEndsOfTheRangeSaturateInsteadOfOverflowing) {
    TemplateSet set = otherLook();
    set.frameOrigin = Point{INT32_MAX, INT32_MIN};
    CQuibDoc doc;
    test::makeStyledProject(doc);
    doc.frameOrigin = Point{INT32_MIN, INT32_MAX};
    doc.SelectFrame(1);
    doc.frames[0].cursorPos = Point{1, -1};
    doc.frames[0].textBox.rect = Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    ApplyTemplate(doc, set, templ::FramePosition);
    EXPECT_EQ(doc.frames[0].cursorPos, (Point{INT32_MAX, INT32_MIN}));
    EXPECT_EQ(doc.frames[0].textBox.rect, (Rect{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN}));
}

}  // namespace
}  // namespace quib
