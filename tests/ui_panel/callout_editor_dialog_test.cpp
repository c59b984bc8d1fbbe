#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

#include "model/frame_composition.h"
#include "panel_test_support.h"
#include "ui/application_callouts.h"
#include "ui/callout_editor_dialog.h"
#include "ui/command_ids.h"
#include "ui/shape_editor.h"

namespace quib {
namespace {

// The callout editor over the panel fixture's library, with every question answered by the test.
struct CalloutEditorTest : test::PanelFixture {
    std::unique_ptr<CalloutEditorDialog> open(const std::string& initial = "") {
        auto dialog = std::make_unique<CalloutEditorDialog>(library, initial, path());
        CalloutEditorInteraction& i = dialog->interaction();
        i.askYesNoCancel = [this](const QString& q) {
            questions << q;
            return yesNoCancel;
        };
        i.askYesNo = [this](const QString& q) {
            questions << q;
            return yes;
        };
        i.showStop = [this](const QString& text) { stops << text; };
        i.chooseColour = [](uint32_t) { return std::nullopt; };
        return dialog;
    }

    // The editor on a new callout of its own.
    std::unique_ptr<CalloutEditorDialog> openNew() {
        auto dialog = open();
        dialog->newCallout();
        return dialog;
    }

    // Draws a rectangle with the rectangle tool from a to b; the new shape is the last one.
    static const Shape& drawRectangle(CalloutEditorDialog& dialog, QPoint a, QPoint b) {
        dialog.setTool(ShapeTool::Rectangle);
        dialog.editor()->press(a);
        dialog.editor()->release(b);
        return *dialog.edited().shapes.back();
    }

    QString path() const { return dir.filePath(QStringLiteral("Quib/callout.dat")); }

    std::vector<std::string> savedNames() const {
        CalloutLibrary saved;
        bool found = false;
        EXPECT_TRUE(saved.LoadLibrary(path().toStdString(), &found).ok());
        EXPECT_TRUE(found);
        std::vector<std::string> names;
        for (const Callout& c : saved.callouts())
            names.push_back(c.name);
        return names;
    }

    // Pure green pixels of the first frame, as an output draws it.
    int greenPixels() {
        doc.SelectFrame(0);
        const Bitmap24 picture = ComposeFramePicture(doc, library);
        int count = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                count += std::equal(kGreenBgr.begin(), kGreenBgr.end(), picture.pixel(x, y));
        return count;
    }
    const std::vector<uint8_t> kGreenBgr{0, 255, 0};

    QTemporaryDir dir;
    QStringList questions;
    QStringList stops;
    bool yes = true;
    QMessageBox::StandardButton yesNoCancel = QMessageBox::Yes;
};

TEST_F(CalloutEditorTest, ACalloutDrawnFilledAndSavedIsChosenForTheFrameAndDrawnThere) {
    constexpr uint32_t kGreen = 0x0000FF00;
    const size_t shipped = library.size();
    const int greenBefore = greenPixels();

    panel->setChoices([&] {
        PanelChoices choices = fakes.make();
        choices.chooseCallout = [&](const CalloutLibrary&,
                                    const std::string& current) -> std::optional<size_t> {
            auto dialog = open(current);
            dialog->newCallout();
            ShapeEditor* editor = dialog->editor();

            dialog->setDrawColour(0x000000FF);
            dialog->setTool(ShapeTool::Rectangle);
            editor->press({20, 20});
            editor->drag({200, 100});
            editor->release({340, 220});
            dialog->setTool(ShapeTool::Ellipse);
            editor->press({60, 60}, Qt::ShiftModifier);
            editor->release({200, 120});
            dialog->setDrawColour(kGreen);
            dialog->setTool(ShapeTool::Fill);
            editor->press({330, 40});

            QStringList labels;
            for (int i = 0; i < dialog->shapeList()->count(); ++i)
                labels << dialog->shapeList()->item(i)->text();
            EXPECT_EQ(labels,
                      (QStringList{"TextField", "Polygon (Shape2)", "Curve (Shape3)", "Fill (0,255,0)"}));
            EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Crea nuova Forma"));
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Callout Editor- [Untitled *]"));
            editor->undo();
            EXPECT_EQ(dialog->shapeList()->count(), 3);
            editor->redo();
            EXPECT_EQ(dialog->shapeList()->count(), 4);

            dialog->save();
            EXPECT_EQ(questions, QStringList{"Overwrite existing callout?"});
            EXPECT_EQ(library.at(shipped).shapes.size(), 4u);
            dialog->accept();
            return size_t(dialog->resultIndex());
        };
        return choices;
    }());
    panel->run(cmd::ChooseCallout);

    EXPECT_EQ(frame(0).textBox.calloutName, "Untitled");
    EXPECT_GT(greenPixels(), greenBefore + 100) << "the fill floods the frame's text box";
    const std::vector<std::string> saved = savedNames();
    ASSERT_EQ(saved.size(), shipped + 1);
    EXPECT_EQ(saved.back(), "Untitled");
}

TEST_F(CalloutEditorTest, RenamingAsksToOverwriteSaveAsRefusesATakenNameAndFramesFollow) {
    auto dialog = open(library.at(1).name);
    const std::string second = library.at(1).name;
    ASSERT_EQ(dialog->currentIndex(), 1);
    dialog->nameField()->setText(QString::fromStdString(library.at(0).name));
    emit dialog->nameField()->textEdited(dialog->nameField()->text());
    dialog->saveAs();
    EXPECT_EQ(
        stops,
        QStringList{QString::fromUtf8("Esiste già un Callout con questo nome. Indicare un nome diverso.")});

    dialog->nameField()->setText(QStringLiteral("Nuvola"));
    emit dialog->nameField()->textEdited(dialog->nameField()->text());
    yes = false;
    dialog->save();
    EXPECT_EQ(library.at(1).name, second) << "no to the question keeps the entry";
    yes = true;
    dialog->save();
    EXPECT_EQ(library.at(1).name, "Nuvola");
    EXPECT_EQ(dialog->calloutList()->item(1)->text(), QStringLiteral("Nuvola"));
    ASSERT_EQ(dialog->nameChanges().size(), 1u);
    EXPECT_EQ(dialog->nameChanges()[0].oldName, second);
    dialog->reject();
    EXPECT_EQ(dialog->resultIndex(), -1);
    EXPECT_EQ(savedNames()[1], "Nuvola") << "a cancelled dialog still writes the changed library";

    // The frames that used the old name take the new one in one step.
    Frame changed;
    doc.GetFrame(2, changed);
    changed.textBox.calloutName = "Nota";
    doc.SetFrame(2, changed, false);

    EXPECT_EQ(renameCalloutInFrames(doc, "Fumetto a sinistra", "Nuvola"), 3);
    EXPECT_EQ(frame(0).textBox.calloutName, "Nuvola");
    EXPECT_EQ(frame(2).textBox.calloutName, "Nota");
    EXPECT_EQ(doc.commands.undoName(), "Rinomina Callout");
    ASSERT_TRUE(doc.commands.undo(doc));
    EXPECT_EQ(frame(3).textBox.calloutName, "Fumetto a sinistra");
}

TEST_F(CalloutEditorTest, DeletingAsksFirstAndUnsavedChangesKeepTheFileUnwritten) {
    const size_t before = library.size();
    const std::string first = library.at(0).name;
    auto dialog = open();
    dialog->calloutList()->setFocus();
    yes = false;
    dialog->deleteCallout();
    EXPECT_EQ(questions.back(),
              QStringLiteral("Sicuri di voler eliminare questo Callout?\n(Non sara' piu' recuperabile!)"));
    EXPECT_EQ(library.size(), before);
    // One in use by frames of the open projects says so.
    dialog->setUseCounter([&](const std::string& name) { return name == first ? 3 : 0; });
    yes = true;
    dialog->deleteCallout();
    EXPECT_TRUE(questions.back().contains(QString::fromUtf8("È usato da 3 frame dei progetti aperti")));
    EXPECT_EQ(library.size(), before - 1);
    EXPECT_FALSE(library.Find(first));
    EXPECT_EQ(dialog->currentIndex(), 0) << "the next callout takes its place";

    // An edit left unsaved at closing, the question cancelled: nothing is written.
    dialog->editor()->selectAll();
    dialog->SetModified(true);
    yesNoCancel = QMessageBox::Cancel;
    dialog->reject();
    EXPECT_EQ(questions.back(), QString::fromUtf8("Il Callout è stato modificato. Volete salvarlo?"));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(CalloutEditorTest, ATransformDragMovesTheClickedShapeAndUndoPutsItBack) {
    auto dialog = openNew();
    dialog->penStyleBox()->setCurrentIndex(2);
    dialog->penWidthBox()->setCurrentIndex(2);
    EXPECT_EQ(dialog->penStyleBox()->currentIndex(), 0) << "a wide pen is always solid";
    EXPECT_FALSE(dialog->penStyleBox()->isEnabled());
    ShapeEditor* editor = dialog->editor();
    const Shape& rectangle = drawRectangle(*dialog, {100, 100}, {200, 200});
    EXPECT_EQ(rectangle.penWidth, 3);
    const Rect before = rectangle.GetBounds(editor->width(), editor->height());

    dialog->setTool(ShapeTool::Transform);
    editor->deselectAll();
    editor->press({101, 150});  // on the left side
    editor->drag({131, 160});
    editor->release({141, 170});
    const Rect moved = rectangle.GetBounds(editor->width(), editor->height());
    EXPECT_NEAR(moved.left - before.left, 40, 1);
    EXPECT_NEAR(moved.top - before.top, 20, 1);
    EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Trasforma Forme"));
    editor->undo();
    EXPECT_EQ(dialog->edited().shapes.back()->GetBounds(editor->width(), editor->height()), before);

    ASSERT_TRUE(dialog->mirrorAction()->isEnabled()) << "the rectangle is still selected";
    editor->flip(FlipAxis::Horizontal, {});
    const Rect mirrored = dialog->edited().shapes.back()->GetBounds(editor->width(), editor->height());
    EXPECT_NEAR(mirrored.left, editor->width() - before.right, 3) << "turned over the whole canvas";
    EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Rifletti Forma"));

    editor->copy();
    editor->paste();
    ASSERT_EQ(dialog->edited().shapes.size(), 3u);
    EXPECT_EQ(dialog->edited().shapes[2]->GetBounds(editor->width(), editor->height()), mirrored)
        << "a pasted shape keeps its place";
    EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Incolla Forme"));
    editor->undo();
    EXPECT_EQ(dialog->edited().shapes.size(), 2u);
}

// Pixels of a 360 x 240 canvas as unit coordinates.
PointD unitOf(double x, double y) {
    return PointD{x / 360, y / 240};
}

TEST_F(CalloutEditorTest, PolylineAndFreehandEachMakeOneShapeInOneStep) {
    auto dialog = openNew();
    ShapeEditor* editor = dialog->editor();
    ASSERT_EQ(editor->size(), QSize(360, 240));
    const auto& shapes = dialog->edited().shapes;

    dialog->setTool(ShapeTool::Rectangle);
    editor->press({40, 40});
    editor->drag({100, 100});
    editor->rightClick({100, 100});
    editor->release({100, 100});
    EXPECT_EQ(shapes.size(), 1u) << "a right click drops the rectangle being drawn";

    dialog->setTool(ShapeTool::Polyline);
    editor->press({40, 40});
    editor->release({40, 40});
    editor->rightClick({40, 40});
    EXPECT_EQ(shapes.size(), 1u) << "one vertex makes nothing";
    for (QPoint p : {QPoint(40, 40), QPoint(200, 60), QPoint(180, 200)}) {
        editor->hover(p + QPoint(5, 5));
        editor->press(p);
        editor->release(p);
    }
    editor->hover({300, 100});
    editor->rightClick({300, 100});
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[1]->current, (std::vector<PointD>{unitOf(40, 40), unitOf(200, 60), unitOf(180, 200)}))
        << "the vertex following the pointer is dropped";
    EXPECT_FALSE(shapes[1]->closed);

    dialog->setTool(ShapeTool::Freehand);
    editor->press({20, 120});
    for (int x = 24; x <= 340; x += 4)
        editor->drag({x, 120 + int(60 * std::sin(x / 40.0))});
    editor->release({340, 120 + int(60 * std::sin(340 / 40.0))});
    ASSERT_EQ(shapes.size(), 3u);
    const Shape& curve = *shapes[2];
    EXPECT_EQ(curve.type(), ShapeType::Curve);
    EXPECT_GT(curve.pointCount, 4) << "a wave needs more than one segment";
    EXPECT_EQ(curve.current.front(), unitOf(20, 120));
    EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Crea nuova Forma"));
    editor->undo();
    editor->undo();
    EXPECT_EQ(shapes.size(), 1u);
}

TEST_F(CalloutEditorTest, TheEditToolDragsInsertsAndDeletesPointsWithUndo) {
    auto dialog = openNew();
    ShapeEditor* editor = dialog->editor();
    const Shape& rectangle = drawRectangle(*dialog, {90, 60}, {180, 120});
    dialog->setTool(ShapeTool::Edit);
    ASSERT_TRUE(rectangle.selected);

    editor->hover({92, 61});
    EXPECT_EQ(editor->hoveredPoint().index, 0) << "near enough to snap";
    EXPECT_FALSE(ShapeEditor::canMovePointer()) << "off-screen the pointer stays put";
    editor->hover({120, 90});
    EXPECT_EQ(editor->hoveredPoint().index, -1);

    editor->press({181, 119});
    editor->drag({190, 125});
    editor->release({200, 130});
    EXPECT_EQ(rectangle.keyframePoints[2], unitOf(200, 130));
    EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Modifica Forma"));
    editor->undo();
    EXPECT_EQ(rectangle.keyframePoints[2], unitOf(180, 120));

    editor->press({135, 61}, Qt::ShiftModifier);  // on the top side
    ASSERT_EQ(rectangle.pointCount, 6);
    EXPECT_EQ(editor->currentPoint().index, 4);
    EXPECT_NEAR(rectangle.current[4].x * 360, 135, 0.1);
    editor->deletePointOrShapes();
    EXPECT_EQ(rectangle.pointCount, 5);
    EXPECT_EQ(dialog->undoAction()->toolTip(),
              QStringLiteral("Annulla Cancella punto di controllo della Forma"));
    editor->undo();
    editor->undo();
    EXPECT_EQ(rectangle.current, rectanglePoints({unitOf(90, 60), unitOf(180, 120)}));

    // A band round the rectangle selects it again after a click on empty canvas.
    editor->press({300, 200});
    editor->release({300, 200});
    EXPECT_FALSE(rectangle.selected);
    editor->press({80, 50});
    editor->drag({150, 100});
    editor->release({200, 140});
    EXPECT_TRUE(rectangle.selected);

    // The context menu follows the same rules as the commands; the text field is not deletable.
    QGuiApplication::clipboard()->clear();
    auto enabledItems = [&] {
        QStringList items;
        const std::unique_ptr<QMenu> menu = editor->contextMenu();
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->isEnabled())
                items << action->text().section(QLatin1Char('\t'), 0, 0);
        return items;
    };
    EXPECT_EQ(enabledItems(), (QStringList{"&Taglia", "&Copia", "&Elimina", "&Annulla", "&Ripristina",
                                           "Seleziona t&utto", "Inverti &selezione"}));
    editor->invertSelection();
    EXPECT_FALSE(rectangle.selected);
    EXPECT_TRUE(dialog->edited().shapes[0]->selected);
    EXPECT_EQ(enabledItems(),
              (QStringList{"&Copia", "&Annulla", "&Ripristina", "Seleziona t&utto", "Inverti &selezione"}));
}

TEST_F(CalloutEditorTest, TheTransformHandlesScaleAndTurnTheSelection) {
    auto dialog = openNew();
    ShapeEditor* editor = dialog->editor();
    const Shape& rectangle = drawRectangle(*dialog, {90, 60}, {180, 120});
    dialog->setTool(ShapeTool::Transform);
    ASSERT_EQ(rectangle.GetBounds(360, 240), (Rect{88, 58, 183, 123}));

    editor->hover({183, 90});
    EXPECT_EQ(editor->cursor().shape(), Qt::SizeHorCursor);
    editor->press({183, 90});  // the right handle; the left side stays
    editor->drag({230, 90});
    editor->release({273, 90});
    EXPECT_NEAR(rectangle.GetXRange().max * 360, 88 + 92 * 185.0 / 95, 1e-6);
    EXPECT_NEAR(rectangle.GetXRange().min * 360, 88 + 2 * 185.0 / 95, 1e-6);
    EXPECT_NEAR(rectangle.GetYRange().max, 0.5, 1e-12);
    editor->undo();
    EXPECT_EQ(rectangle.GetBounds(360, 240), (Rect{88, 58, 183, 123}));

    // The rotation handle sits right of the centre (135.5, 90.5) at first; a quarter turn.
    const Point grip = rotationHandleCentre(Rect{88, 58, 183, 123}, 0);
    editor->press({grip.x, grip.y});
    editor->release({135, int(90.5 - (grip.x - 135.5))});
    const Range x = rectangle.GetXRange(), y = rectangle.GetYRange();
    EXPECT_NEAR((x.max - x.min) * 360, 60, 3) << "the sides swap";
    EXPECT_NEAR((y.max - y.min) * 240, 90, 3);
    EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Trasforma Forme"));

    // Dragged from (100, 100) and dropped at (150, 120): a copy 50 pixels right and 20 down.
    std::unique_ptr<QMimeData> data(editor->selectedShapesData(unitOf(100, 100)));
    QDragEnterEvent enter(QPoint(120, 110), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(editor, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(150, 120), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(editor, &drop);
    const auto& shapes = dialog->edited().shapes;
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_NEAR((shapes[2]->GetXRange().min - x.min) * 360, 50, 1e-6);
    EXPECT_NEAR((shapes[2]->GetYRange().min - y.min) * 240, 20, 1e-6);
    EXPECT_TRUE(shapes[2]->selected && !shapes[1]->selected);
    EXPECT_EQ(dialog->undoAction()->toolTip(), QStringLiteral("Annulla Incolla Forme"));
}

void sendCtrlWheel(ShapeEditor& editor, QPoint at, int delta) {
    QWheelEvent event(at, editor.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&editor, &event);
}

// Each way of moving the view, then a rectangle dragged from (90, 60) to (150, 120) on the
// 360 x 240 canvas: where its corners land in unit space and that it is painted under the pointer.
TEST_F(CalloutEditorTest, PanAndZoomMoveWhereTheMouseDrawsAndWhereShapesArePainted) {
    struct Case {
        const char* name;
        std::function<void(ShapeEditor&)> moveView;
        PointD from, to;
    };
    const Case cases[] = {
        {"zoom tool click at the origin, 200%",
         [](ShapeEditor& e) {
             e.setTool(ShapeTool::Zoom);
             e.press({0, 0});
             e.release({0, 0});
             e.setTool(ShapeTool::Zoom);
         },
         {90.0 / 720, 60.0 / 480},
         {150.0 / 720, 120.0 / 480}},
        {"pan tool drag",
         [](ShapeEditor& e) {
             e.setTool(ShapeTool::Pan);
             e.press({100, 100});
             e.drag({130, 110});
             e.release({140, 120});
             e.setTool(ShapeTool::Pan);
         },
         unitOf(50, 40), unitOf(110, 100)},
        {"right drag while drawing a rectangle",
         [](ShapeEditor& e) {
             e.press({40, 40});
             e.drag({60, 60});
             e.rightClick({60, 60});
             EXPECT_EQ(e.tool(), ShapeTool::Pan);
             e.drag({80, 70});
             e.release({85, 75});
             e.rightRelease({90, 80});
             e.release({90, 80});
         },
         unitOf(60, 40), unitOf(120, 100)},
        {"Ctrl+wheel keeps the point under the pointer",
         [](ShapeEditor& e) {
             sendCtrlWheel(e, {90, 60}, 120);
         },
         unitOf(90, 60),
         {240.0 / 720, 180.0 / 480}},
        {"zoom tool Shift+click and right click zoom out",
         [](ShapeEditor& e) {
             e.setTool(ShapeTool::Zoom);
             e.press({120, 80}, Qt::ShiftModifier);
             e.rightClick({120, 80});
             EXPECT_EQ(e.view().zoom(), 0.25);
             e.setTool(ShapeTool::Zoom);
         },
         {0, 0},
         {60.0 / 90, 1.0}},
        {"zoom tool double click back to the default",
         [](ShapeEditor& e) {
             e.setTool(ShapeTool::Zoom);
             e.press({10, 10});
             e.press({10, 10}, {}, true);
             e.setTool(ShapeTool::Zoom);
         },
         unitOf(90, 60), unitOf(150, 120)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = openNew();
        dialog->setDrawColour(0x000000FF);
        ShapeEditor* editor = dialog->editor();
        const auto& shapes = dialog->edited().shapes;
        dialog->setTool(ShapeTool::Rectangle);
        c.moveView(*editor);
        ASSERT_EQ(editor->tool(), ShapeTool::Rectangle) << "the previous tool is back";
        ASSERT_EQ(shapes.size(), 1u) << "moving the view makes no shape";

        editor->press({90, 60});
        editor->drag({120, 90});
        editor->release({150, 120});
        ASSERT_EQ(shapes.size(), 2u);
        EXPECT_NEAR(shapes[1]->current[0].x, c.from.x, 1e-9);
        EXPECT_NEAR(shapes[1]->current[0].y, c.from.y, 1e-9);
        EXPECT_NEAR(shapes[1]->current[2].x, c.to.x, 1e-9);
        EXPECT_NEAR(shapes[1]->current[2].y, c.to.y, 1e-9);
        const QImage picture = editor->render();
        EXPECT_EQ(picture.pixel(90, 90), qRgb(255, 0, 0)) << "the left side is painted where it was drawn";
        EXPECT_NE(picture.pixel(80, 90), qRgb(255, 0, 0));
    }
}

TEST_F(CalloutEditorTest, MovingKeepsTheCalloutSelectedAndStopsAtTheEnds) {
    const std::string first = library.at(0).name, second = library.at(1).name;
    auto dialog = open(first);
    dialog->moveUp();
    EXPECT_FALSE(dialog->libraryChanged()) << "the first callout cannot go up";
    dialog->moveDown();
    EXPECT_EQ(library.at(1).name, first);
    EXPECT_EQ(library.at(0).name, second);
    EXPECT_EQ(dialog->calloutList()->currentRow(), 1);
    EXPECT_EQ(dialog->calloutList()->item(1)->text(), QString::fromStdString(first));
    dialog->selectCallout(dialog->calloutList()->count() - 1);
    const std::string last = library.at(library.size() - 1).name;
    dialog->moveDown();
    EXPECT_EQ(library.at(library.size() - 1).name, last);
}

}  // namespace
}  // namespace quib
