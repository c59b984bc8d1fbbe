// Writes pictures of composed frames and of movie text boxes for looking at:
// composed_pictures <folder>.
#include <QImage>
#include <cstdio>
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

std::string g_folder;
bool g_failed = false;

void save(const Bitmap24& picture, const std::string& name) {
    const QImage image(picture.pixels.data(), picture.width, picture.height, qsizetype(picture.stride()),
                       QImage::Format_BGR888);
    const std::string path = g_folder + "/" + name;
    if (picture.isNull() || !image.save(QString::fromStdString(path), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        g_failed = true;
    }
}

void styleFrame(CQuibDoc& doc, const std::string& callout, const std::string& text, Rect rect) {
    TextBox& box = doc.currentFrame.textBox;
    box.visible = 1;
    box.calloutName = callout;
    box.text = text;
    box.rect = rect;
    box.font.logFont.setFace("DejaVu Sans");
    box.font.logFont.height = -15;
    box.font.align = uint32_t(TextAlign::Justify);
}

void framesWithCalloutsTitlesButtonsAndCursor(const CalloutLibrary& library) {
    CQuibDoc doc;
    if (!buildSyntheticProject(doc, 800, 500, 2) || !doc.SelectFrame(1, true)) {
        g_failed = true;
        return;
    }
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
    save(ComposeFramePicture(doc, library), "frame_bubble.png");

    doc.currentFrame.title.clear();
    styleFrame(doc, "Rettangolo", "", Rect{120, 300, 360, 380});
    doc.currentFrame.textBox.font.align = uint32_t(TextAlign::Centre);
    save(ComposeFramePicture(doc, library), "frame_placeholders.png");

    styleFrame(doc, "Evidenziatore", "Questa e' la barra dei menu", Rect{70, 40, 420, 200});
    doc.currentFrame.textBox.font.color = kCalloutTextColour;
    save(ComposeFramePicture(doc, library), "frame_highlight.png");
}

void movieTextBoxesOverAChequerboard(const CalloutLibrary& library) {
    LogFont font;
    font.setFace("DejaVu Sans");
    font.height = -16;
    const Callout plain;
    auto bubble =
        RenderTextBoxIndexed(*library.FindCallout("Fumetto in alto"), Rect{0, 0, 260, 130}, font,
                             kCalloutTextColour, "Testo del film su un fumetto, senza bordi scuri.", 3);
    auto title =
        RenderTextBoxIndexed(plain, Rect{0, 0, 260, 40}, font, rgb(255, 255, 255), "Titolo bianco", 0);
    if (!bubble || !title) {
        g_failed = true;
        return;
    }

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

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    g_folder = argv[1];
    raster::ensureGuiApplication();
    const CalloutLibrary library = defaultCalloutLibrary();
    framesWithCalloutsTitlesButtonsAndCursor(library);
    movieTextBoxesOverAChequerboard(library);
    return g_failed ? 1 : 0;
}
