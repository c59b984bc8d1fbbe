#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "model/frame_composition.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "offscreen_application.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"
#include "ui/quib_view.h"

namespace {

QApplication& application() {
    QApplication& app = offscreenApplication();
    // Text boxes draw their callouts, as in the application.
    static const quib::CalloutLibrary library = quib::defaultCalloutLibrary();
    quib::setApplicationCalloutLibrary(&library);
    return app;
}

void send(QWidget& view, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), view.mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
}

// One step of a drag on a 1080p frame: the mouse moves by a pixel and the view repaints what changed.
// The range picks what is dragged: 0 the Next button, 1 the text box, 2 the whole frame picture.
void EditorDragStep(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!quib::buildSyntheticProject(doc, 1920, 1080, 2)) {
        state.SkipWithError("project not built");
        return;
    }
    // A canvas larger than the picture, so the picture itself can move.
    doc.backgroundSize = quib::Size{1940, 1100};
    quib::CQuibView view(doc);
    view.resize(1960, 1120);
    view.show();
    QApplication::processEvents();

    QPoint grip;
    const quib::FrameElements& f = doc.currentFrame;
    switch (state.range(0)) {
        case 0:
            grip = QPoint(f.nextButton.pos.x + 10, f.nextButton.pos.y + 10);
            break;
        case 1:
            grip = QPoint(f.textBox.rect.left + 20, f.textBox.rect.top + 20);
            break;
        default:
            grip = QPoint(2, 500);
            break;
    }
    grip += view.canvasRect().topLeft();
    send(view, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        step ^= 1;
        send(view, QEvent::MouseMove, grip + QPoint(step * 3, step * 2), Qt::LeftButton);
        QApplication::processEvents();
    }
    send(view, QEvent::MouseButtonRelease, grip, Qt::NoButton);
    if (!view.isTracking() && doc.currentFrameIndex < 0)
        state.SkipWithError("no drag");
}
BENCHMARK(EditorDragStep)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Repainting the whole 1080p view, as after a change of frame.
void EditorFullRepaint(benchmark::State& state) {
    application();
    quib::CQuibDoc doc;
    if (!quib::buildSyntheticProject(doc, 1920, 1080, 2)) {
        state.SkipWithError("project not built");
        return;
    }
    quib::CQuibView view(doc);
    view.resize(1920, 1080);
    view.show();
    QApplication::processEvents();
    for (auto _ : state)
        view.repaint();
}
BENCHMARK(EditorFullRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
