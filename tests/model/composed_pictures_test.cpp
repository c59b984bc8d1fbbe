#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "model/frame_composition.h"
#include "model/movie_image_helpers.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "raster/gui_application.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"

using namespace quib;

namespace {

// Writes pictures of composed frames and movie text boxes to the build tree for looking at.
class ComposedPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }

    static std::string outputPath(const std::string& name) {
        const std::string dir = std::string(QUIB_BUILD_DIR) + "/test-output/compose";
        std::filesystem::create_directories(dir);
        return dir + "/" + name;
    }

    static void save(const Bitmap24& picture, const std::string& name) {
        const QImage image(picture.pixels.data(), picture.width, picture.height, qsizetype(picture.stride()),
                           QImage::Format_BGR888);
        EXPECT_TRUE(image.save(QString::fromStdString(outputPath(name)), "PNG"));
    }

    static void styleFrame(CQuibDoc& doc, const std::string& callout, const std::string& text, Rect rect) {
        TextBox& box = doc.currentFrame.textBox;
        box.visible = 1;
        box.calloutName = callout;
        box.text = text;
        box.rect = rect;
        box.font.logFont.setFace("DejaVu Sans");
        box.font.logFont.height = -15;
        box.font.align = uint32_t(TextAlign::Justify);
    }

    CalloutLibrary library = defaultCalloutLibrary();
};

TEST_F(ComposedPictures, FramesWithCalloutsTitlesButtonsAndCursor) {
    CQuibDoc doc;
    ASSERT_TRUE(buildSyntheticProject(doc, 800, 500, 2));
    ASSERT_TRUE(doc.SelectFrame(1, true));
    doc.titles.enabled = 1;
    doc.titles.rect = Rect{20, 12, 500, 44};
    doc.titles.font.logFont.setFace("DejaVu Sans");
    doc.titles.font.logFont.height = -22;
    doc.titles.font.logFont.weight = 700;
    doc.titles.font.color = rgb(255, 255, 255);
    doc.currentFrame.title = "Aprire il menu File";
    styleFrame(doc, "Fumetto in basso",
               "Fate clic sul menu File per vedere i comandi che salvano e aprono i progetti.",
               Rect{430, 250, 700, 380});
    const Bitmap24 bubble = ComposeFramePicture(doc, library);
    ASSERT_FALSE(bubble.isNull());
    save(bubble, "frame_bubble.png");

    doc.currentFrame.title.clear();
    styleFrame(doc, "Rettangolo", "", Rect{120, 300, 360, 380});
    doc.currentFrame.textBox.font.align = uint32_t(TextAlign::Centre);
    save(ComposeFramePicture(doc, library), "frame_placeholders.png");

    styleFrame(doc, "Evidenziatore", "Questa e' la barra dei menu", Rect{70, 40, 420, 200});
    doc.currentFrame.textBox.font.color = kCalloutTextColour;
    save(ComposeFramePicture(doc, library), "frame_highlight.png");
}

TEST_F(ComposedPictures, MovieTextBoxesOverAChequerboard) {
    LogFont font;
    font.setFace("DejaVu Sans");
    font.height = -16;
    const Callout plain;
    auto bubble =
        RenderTextBoxIndexed(*library.FindCallout("Fumetto in alto"), Rect{0, 0, 260, 130}, font,
                             kCalloutTextColour, "Testo del film su un fumetto, senza bordi scuri.", 3);
    auto title =
        RenderTextBoxIndexed(plain, Rect{0, 0, 260, 40}, font, rgb(255, 255, 255), "Titolo bianco", 0);
    ASSERT_TRUE(bubble && title);

    Bitmap24 sheet(280, 190);
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x) {
            uint8_t* p = sheet.pixel(x, y);
            const uint8_t v = ((x / 10 + y / 10) % 2) ? 60 : 110;
            p[0] = v, p[1] = uint8_t(v + 20), p[2] = uint8_t(v / 2);
        }
    auto paste = [&](const IndexedPicture& picture, int left, int top) {
        const int stride = IndexedStride(picture.width);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const uint8_t index = picture.pixels[size_t(y) * size_t(stride) + size_t(x)];
                if (index == 0)
                    continue;
                const PaletteEntry& e = picture.palette[index];
                uint8_t* p = sheet.pixel(left + x, top + y);
                p[0] = e.blue, p[1] = e.green, p[2] = e.red;
            }
    };
    paste(*bubble, 10, 5);
    paste(*title, 10, 145);
    save(sheet, "movie_text_boxes.png");
}

}  // namespace
