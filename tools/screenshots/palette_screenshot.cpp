// Shows "Modifica Palette" over a synthetic project with an octree palette made from its frames
// and saves a picture of the dialog: palette_screenshot <palette.png> [<new palette.png>]. Run it
// on a real (virtual) display.
#include <QApplication>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTimer>
#include <cstdio>

#include "model/synthetic_project.h"
#include "ui/new_palette_dialog.h"
#include "ui/palette_dialog.h"
#include "ui/palette_swatch_grid.h"

using namespace quib;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s palette.png [new-palette.png]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    CQuibDoc doc;
    if (!buildSyntheticProject(doc, 320, 200, 4))
        return 1;
    doc.SelectFrame(0, true);
    // A photo-like gradient over part of the first frame, so the octree has colours to choose.
    for (int y = 20; y < 180; ++y)
        for (int x = 160; x < 310; ++x) {
            uint8_t* p = doc.currentImage.pixel(x, y);
            p[0] = uint8_t((x - 160) * 255 / 150);
            p[1] = uint8_t((y - 20) * 255 / 160);
            p[2] = uint8_t(255 - (x - 160 + y - 20) * 255 / 310);
        }
    doc.imageChanged = true;

    const QString palettePicture = QString::fromLocal8Bit(argv[1]);
    const QString newPicture = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    PaletteDialog dialog(doc);
    PaletteDialog::prompts().runNewPalette = [&](NewPaletteDialog& choice) {
        choice.countEdit()->setValue(200);
        if (!newPicture.isEmpty()) {
            choice.show();
            QApplication::processEvents();
            choice.grab().save(newPicture);
        }
        return true;
    };
    dialog.show();
    dialog.createNew();
    QTimer::singleShot(400, [&] {
        PaletteSwatchGrid* grid = dialog.grid();
        const QPoint cell = PaletteSwatchGrid::cellRect(grid->cellArea(), 37).center();
        QMouseEvent press(QEvent::MouseButtonPress, cell, grid->mapToGlobal(cell), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &press);
        QTimer::singleShot(300, [&] {
            dialog.grab().save(palettePicture);
            app.quit();
        });
    });
    return app.exec();
}
