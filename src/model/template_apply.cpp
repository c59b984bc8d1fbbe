#include "template_apply.h"

#include "frame.h"
#include "project_edit.h"
#include "quib_doc.h"
#include "template_file.h"

namespace quib {

namespace {

Point moved(Point p, int64_t dx, int64_t dy) {
    return {saturate32(p.x + dx), saturate32(p.y + dy)};
}

Rect moved(const Rect& r, int64_t dx, int64_t dy) {
    return {saturate32(r.left + dx), saturate32(r.top + dy), saturate32(r.right + dx),
            saturate32(r.bottom + dy)};
}

}  // namespace

static uint32_t ApplyTemplateNow(CQuibDoc& doc, const TemplateSet& set, uint32_t chosen) {
    const uint32_t m = chosen & set.mask & templ::AllElements;
    int64_t dx = 0, dy = 0;

    if ((m & templ::BackgroundImage) && !set.background.isNull()) {
        doc.backgroundImage = set.background;
        doc.backgroundSize = {set.background.width, set.background.height};
    }
    if (m & templ::FramePosition) {
        dx = int64_t(set.frameOrigin.x) - doc.frameOrigin.x;
        dy = int64_t(set.frameOrigin.y) - doc.frameOrigin.y;
        doc.frameOrigin = set.frameOrigin;
    }
    if (m & templ::TitleEnable)
        doc.titles.enabled = set.titlesEnabled;
    if (m & templ::TitleFont)
        doc.titles.font = set.titleFont;
    doc.titles.rect = (m & templ::TitlePosition) ? set.titleRect : moved(doc.titles.rect, dx, dy);
    if (m & templ::FrameRate)
        doc.settings.frameRate = set.frameRate;
    if (m & templ::UsePalette)
        doc.settings.usePalette = set.usePalette;
    if (m & templ::CursorMovement)
        doc.settings.cursorSmoothness = set.cursorSmoothness;

    Bitmap32* images = doc.buttonImages.images;
    if (m & templ::NextButtonImage)
        images[ButtonImageSet::Next] = set.nextPicture;
    if (m & templ::PrevButtonImage)
        images[ButtonImageSet::Previous] = set.prevPicture;
    if (m & templ::GotoButtonImages) {
        images[ButtonImageSet::Goto1] = set.gotoPicture[0];
        images[ButtonImageSet::Goto2] = set.gotoPicture[1];
    }

    for (int index = 0; index < doc.frameCount(); ++index) {
        Frame frame;
        doc.GetFrame(index, frame);
        if (m & templ::Callout)
            frame.textBox.calloutName = set.calloutName;
        if (m & templ::TextBoxFont)
            frame.textBox.font = set.textFont;
        frame.nextButton.pos =
            (m & templ::NextButtonPosition) ? set.nextPos : moved(frame.nextButton.pos, dx, dy);
        frame.prevButton.pos =
            (m & templ::PrevButtonPosition) ? set.prevPos : moved(frame.prevButton.pos, dx, dy);
        for (int i = 0; i < 2; ++i)
            frame.gotoButtons[i].pos =
                (m & templ::GotoButtonPositions) ? set.gotoPos[i] : moved(frame.gotoButtons[i].pos, dx, dy);
        frame.cursorPos = moved(frame.cursorPos, dx, dy);
        frame.textBox.rect = moved(frame.textBox.rect, dx, dy);
        doc.SetFrame(index, frame, false);
    }
    // A project without frames still keeps its working copy in step.
    if (!doc.isValidIndex(doc.currentFrameIndex)) {
        FrameElements& frame = doc.currentFrame;
        if (m & templ::Callout)
            frame.textBox.calloutName = set.calloutName;
        if (m & templ::TextBoxFont)
            frame.textBox.font = set.textFont;
    }
    return m;
}

uint32_t ApplyTemplate(CQuibDoc& doc, const TemplateSet& set, uint32_t chosen) {
    uint32_t result = 0;
    editProject(doc, "Applica modello", [&] {
        result = ApplyTemplateNow(doc, set, chosen);
        return result != 0;
    });
    return result;
}

}  // namespace quib
