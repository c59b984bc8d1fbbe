#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

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
    using Change = std::function<void(ProjectSnapshot&)>;
    auto everyFrame = [](std::function<void(FrameElements&)> change) {
        return [change](ProjectSnapshot& e) { std::for_each(e.frames.begin(), e.frames.end(), change); };
    };
    const std::map<uint32_t, Change> changes = {
        {templ::BackgroundImage,
         [&](ProjectSnapshot& e) { e.background = set.background, e.backgroundSize = set.backgroundSize; }},
        {templ::TitleEnable, [&](ProjectSnapshot& e) { e.titles.enabled = set.titlesEnabled; }},
        {templ::TitleFont, [&](ProjectSnapshot& e) { e.titles.font = set.titleFont; }},
        {templ::TitlePosition, [&](ProjectSnapshot& e) { e.titles.rect = set.titleRect; }},
        {templ::Callout, everyFrame([&](FrameElements& f) { f.textBox.calloutName = set.calloutName; })},
        {templ::TextBoxFont, everyFrame([&](FrameElements& f) { f.textBox.font = set.textFont; })},
        {templ::NextButtonPosition, everyFrame([&](FrameElements& f) { f.nextButton.pos = set.nextPos; })},
        {templ::PrevButtonPosition, everyFrame([&](FrameElements& f) { f.prevButton.pos = set.prevPos; })},
        {templ::GotoButtonPositions, everyFrame([&](FrameElements& f) {
             f.gotoButtons[0].pos = set.gotoPos[0], f.gotoButtons[1].pos = set.gotoPos[1];
         })},
        {templ::NextButtonImage,
         [&](ProjectSnapshot& e) { e.buttons.images[ButtonImageSet::Next] = set.nextPicture; }},
        {templ::PrevButtonImage,
         [&](ProjectSnapshot& e) { e.buttons.images[ButtonImageSet::Previous] = set.prevPicture; }},
        {templ::GotoButtonImages,
         [&](ProjectSnapshot& e) {
             e.buttons.images[ButtonImageSet::Goto1] = set.gotoPicture[0];
             e.buttons.images[ButtonImageSet::Goto2] = set.gotoPicture[1];
         }},
        {templ::FrameRate, [&](ProjectSnapshot& e) { e.settings.frameRate = set.frameRate; }},
        {templ::UsePalette, [&](ProjectSnapshot& e) { e.settings.usePalette = set.usePalette; }},
        {templ::CursorMovement,
         [&](ProjectSnapshot& e) { e.settings.cursorSmoothness = set.cursorSmoothness; }},
    };
    for (int bit = 0; bit < templ::ElementCount; ++bit) {
        const uint32_t element = 1u << bit;
        SCOPED_TRACE(templ::elementText(bit));
        CQuibDoc doc;
        test::makeStyledProject(doc);
        ProjectSnapshot expected = snapshot(doc);
        if (element == templ::FramePosition) {
            // Every element moves with the frame.
            const int dx = set.frameOrigin.x - doc.frameOrigin.x, dy = set.frameOrigin.y - doc.frameOrigin.y;
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
        } else {
            changes.at(element)(expected);
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
