#include <gtest/gtest.h>

#include "model/template_file.h"
#include "support/bytes_and_pictures.h"
#include "template_test_util.h"

namespace quib {
namespace {

TemplateSet takenFromStyledProject(uint32_t mask) {
    CQuibDoc doc;
    test::makeStyledProject(doc);
    TemplateSet set;
    set.TakeFrom(doc, mask);
    return set;
}

TEST(TemplateTakeFrom, CarriesTheProjectsLookAndTheWorkingCopysElementsFromAZeroedRecord) {
    CQuibDoc doc;
    test::makeStyledProject(doc);
    TemplateSet set;
    set.TakeFrom(doc, templ::AllElements);
    EXPECT_EQ(set.mask, templ::AllElements);
    EXPECT_EQ(set.background, doc.backgroundImage);
    EXPECT_EQ(set.backgroundSize, (Size{60, 50}));
    EXPECT_EQ(set.frameSize, doc.frameSize);
    EXPECT_EQ(set.frameOrigin, doc.frameOrigin);
    EXPECT_EQ(set.titleFont, doc.titles.font);
    EXPECT_EQ(set.titleRect, doc.titles.rect);
    EXPECT_EQ(set.calloutName, doc.currentFrame.textBox.calloutName);
    EXPECT_EQ(set.textFont, doc.currentFrame.textBox.font);
    EXPECT_EQ(set.nextPos, doc.currentFrame.nextButton.pos);
    EXPECT_EQ(set.prevPos, (Point{14, 15}));  // frame 1 is the working copy
    EXPECT_EQ(set.gotoPos[1], doc.currentFrame.gotoButtons[1].pos);
    EXPECT_EQ(set.prevPicture, doc.buttonImages.images[ButtonImageSet::Previous]);
    EXPECT_EQ(set.gotoPicture[1], doc.buttonImages.images[ButtonImageSet::Goto2]);
    EXPECT_EQ(set.frameRate, 8u);
    EXPECT_EQ(set.cursorSmoothness, 25u);
    // Taking again starts from a zeroed record.
    CQuibDoc other;
    test::makeOtherProject(other);
    set.TakeFrom(other, templ::FrameRate);
    EXPECT_TRUE(set.background.isNull());
    EXPECT_TRUE(set.prevPicture.isNull());
    EXPECT_EQ(set.backgroundSize, Size{});
    EXPECT_EQ(set.gotoPictureSize[0], Size{});
}

TEST(TemplateTakeFrom, PicturesTheProjectLacksClearTheirBitsAndWriteZeroSizes) {
    CQuibDoc doc;
    test::makeStyledProject(doc);
    doc.backgroundImage.clear();
    for (Bitmap32& picture : doc.buttonImages.images)
        picture.clear();
    TemplateSet set;
    set.TakeFrom(doc, templ::AllElements);
    EXPECT_EQ(set.mask, templ::AllElements & ~(templ::BackgroundImage | templ::PrevButtonImage |
                                               templ::NextButtonImage | templ::GotoButtonImages));
    // Go-to pictures the project lacks are written with zero sizes.
    set.TakeFrom(doc, templ::GotoButtonImages);
    EXPECT_EQ(set.mask, 0u);
    TemplateSet back;
    ASSERT_TRUE(TemplateSet::fromBytes(set.toBytes(), back).ok());
    EXPECT_EQ(back.gotoPictureSize[0], Size{});
    EXPECT_EQ(back.gotoPictureSize[1], Size{});
    EXPECT_TRUE(back.gotoPicture[0].isNull());
}

// Every element at once with a callout name that needs the wide form, and none at all.
TEST(TemplateFileRoundTrip, AllElementsOrNoneReadBackAsWritten) {
    TemplateSet all = takenFromStyledProject(templ::AllElements);
    all.calloutName = "Nuvola \xE2\x98\x81 grande";
    for (const TemplateSet& set : {all, takenFromStyledProject(0)}) {
        SCOPED_TRACE(set.mask);
        TemplateSet back;
        ASSERT_TRUE(TemplateSet::fromBytes(set.toBytes(), back).ok());
        // The file holds every field; that the writer leaves nothing out is checked against the
        // file written by hand below.
        EXPECT_EQ(back.toBytes(), set.toBytes());
    }
}

TEST(TemplateFileLayout, ABackgroundBitWithoutPictureIsNotWritten) {
    TemplateSet withBit = takenFromStyledProject(templ::FrameRate);
    withBit.mask |= templ::BackgroundImage;
    TemplateSet back;
    ASSERT_TRUE(TemplateSet::fromBytes(withBit.toBytes(), back).ok());
    EXPECT_EQ(back.mask, templ::FrameRate);
}

// A template written field by field from the layout: a 2 x 1 background, a 1 x 1 Previous
// picture and a 1 x 2 Goto 2 picture.
std::vector<uint8_t> handWrittenTemplate() {
    test::RawBytes t;
    t.chars("QTP ").u32(0x0001 | 0x0800 | 0x1000 | 0x2000).pair(2, 1).pair(1, 1).raw({1, 2, 3, 4, 5, 6});
    // Frame origin, titles shown, their font and rectangle, the text font and the callout name.
    t.pair(11, 12).u32(1).font(8, "Arial", kCalloutTextColour, 3, 400, 0).pair(1, 2).pair(3, 4);
    t.font(8, "MS Sans Serif", rgb(1, 2, 3), 3, 400, 0).text("Abc");
    // Next and Previous positions and sizes; Next has no pixels, its bit being clear.
    t.pair(21, 22).pair(23, 24).pair(1, 1).pair(9, 9).raw({7, 8, 9, 10});
    t.pair(31, 32).pair(0, 0).pair(33, 34).pair(1, 2).raw({40, 41, 42, 43, 44, 45, 46, 47});  // go-to
    t.u32(15).u32(30).u32(1);
    return t.b;
}

TEST(TemplateFileLayout, HandWrittenFileReadsWithPositionsClamped) {
    TemplateSet set;
    ASSERT_TRUE(TemplateSet::fromBytes(handWrittenTemplate(), set).ok());
    EXPECT_EQ(set.mask, 0x3801u);
    EXPECT_EQ(set.background.width, 2);
    EXPECT_EQ(set.background.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(set.frameSize, (Size{1, 1}));
    EXPECT_EQ(set.frameOrigin, (Point{11, 12}));
    EXPECT_EQ(set.titlesEnabled, 1u);
    EXPECT_EQ(set.titleFont.logFont.face(), "Arial");
    EXPECT_EQ(set.titleRect, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(set.textFont.color, rgb(1, 2, 3));
    EXPECT_EQ(set.calloutName, "Abc");
    EXPECT_EQ(set.nextPos, (Point{21, 22}));
    EXPECT_EQ(set.prevPos, (Point{23, 24}));
    EXPECT_EQ(set.prevPicture.pixels, (std::vector<uint8_t>{7, 8, 9, 10}));
    EXPECT_EQ(set.nextPictureSize, (Size{9, 9}));
    EXPECT_TRUE(set.nextPicture.isNull());
    EXPECT_EQ(set.gotoPos[0], (Point{31, 32}));
    EXPECT_TRUE(set.gotoPicture[0].isNull());
    EXPECT_EQ(set.gotoPicture[1].height, 2);
    EXPECT_EQ(set.gotoPicture[1].pixels.back(), 47);
    EXPECT_EQ(set.frameRate, 15u);
    EXPECT_EQ(set.cursorSmoothness, 30u);
    EXPECT_EQ(set.usePalette, 1u);
    EXPECT_EQ(set.toBytes(), handWrittenTemplate());
    // Positions are clamped to the coordinate range: frame origin INT32_MAX, INT32_MAX.
    std::vector<uint8_t> bytes = handWrittenTemplate();
    test::putU32(bytes, 30, INT32_MAX);
    test::putU32(bytes, 34, INT32_MAX);
    ASSERT_TRUE(TemplateSet::fromBytes(bytes, set).ok());
    EXPECT_EQ(set.frameOrigin, (Point{kMaxFileCoordinate, kMaxFileCoordinate}));
}

void expectRefusedAndUntouched(const std::vector<uint8_t>& bytes) {
    TemplateSet set = takenFromStyledProject(templ::AllElements);
    const TemplateSet before = set;
    EXPECT_EQ(TemplateSet::fromBytes(bytes, set).message(), "Formato del file inaspettato.");
    EXPECT_EQ(set.toBytes(), before.toBytes());
}

TEST(TemplateFileMalformed, DamagedFieldsAndMissingPicturesRefused) {
    struct Case {
        const char* what;
        std::vector<std::pair<size_t, uint32_t>> patches;  // u32 values in handWrittenTemplate()
    };
    const Case cases[] = {
        {"other magic", {{0, 0x21505451}}},
        {"background 0x7FFFFFFF x 0x7FFFFFFF, refused before allocating", {{8, INT32_MAX}, {12, INT32_MAX}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = handWrittenTemplate();
        for (const auto& [at, value] : c.patches)
            test::putU32(bytes, at, value);
        expectRefusedAndUntouched(bytes);
    }
    // A background element without a picture.
    expectRefusedAndUntouched(test::RawBytes().chars("QTP ").u32(0x0001).pair(0, 0).pair(0, 0).zeros(300).b);
}

TEST(TemplateFileMalformed, EveryTruncationRefused) {
    const std::vector<uint8_t> bytes = handWrittenTemplate();
    for (size_t n = 0; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        expectRefusedAndUntouched(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n)));
    }
}

}  // namespace
}  // namespace quib
