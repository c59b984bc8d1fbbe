// Draws the callout editor with a callout being made from a rectangle, an ellipse, a fill, a
// polyline and a freehand stroke, the stroke selected in the transform tool.
#include <QApplication>
#include <QTemporaryDir>
#include <cmath>

#include "shapes/default_callouts.h"
#include "ui/callout_editor_dialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("callout_editor.png");
    QTemporaryDir dir;
    quib::CalloutLibrary library = quib::defaultCalloutLibrary();
    quib::CalloutEditorDialog dialog(library, "", dir.filePath(QStringLiteral("callout.dat")));
    dialog.show();
    app.processEvents();
    dialog.newCallout();
    quib::ShapeEditor* editor = dialog.editor();
    dialog.setDrawColour(0x00804000);
    dialog.setTool(quib::ShapeTool::Rectangle);
    editor->press({20, 20});
    editor->release({340, 200});
    dialog.setTool(quib::ShapeTool::Ellipse);
    editor->press({40, 150}, Qt::ShiftModifier);
    editor->release({120, 230});
    dialog.setDrawColour(0x00A0FFFF);
    dialog.setTool(quib::ShapeTool::Fill);
    editor->press({200, 100});
    dialog.setDrawColour(0x000000C0);
    dialog.setTool(quib::ShapeTool::Polyline);
    for (QPoint p : {QPoint(250, 215), QPoint(290, 180), QPoint(330, 225)}) {
        editor->press(p);
        editor->release(p);
    }
    editor->rightClick({330, 225});
    dialog.setDrawColour(0x00006000);
    dialog.setTool(quib::ShapeTool::Freehand);
    editor->press({150, 140});
    for (int x = 152; x <= 240; x += 2)
        editor->drag({x, 140 + int(25 * std::sin((x - 150) / 20.0))});
    editor->release({240, 140 + int(25 * std::sin(90 / 20.0))});
    dialog.setTool(quib::ShapeTool::Transform);
    app.processEvents();
    return dialog.grab().save(out) ? 0 : 1;
}
