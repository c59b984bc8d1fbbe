#include "shape_editor.h"

#include <QClipboard>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "shape_document.h"
#include "shapes/fill_shape.h"
#include "shapes/shape_clipboard.h"

namespace quib {

namespace {

// Handles are drawn in green, whatever the shape's own colour.
const raster::Pen kHandlePen = raster::Pen::solid(0x0000FF00);
const raster::Pen kPreviewPen = raster::Pen::solid(0x00800000);

uint32_t colourRef(const QColor& c) {
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

bool isViewTool(ShapeTool tool) {
    return tool == ShapeTool::Pan || tool == ShapeTool::Zoom;
}

raster::Pen penOf(const Shape& shape) {
    return raster::Pen{raster::PenStyle(shape.penStyle), shape.penWidth, shape.colour};
}

}  // namespace

ShapeEditor::ShapeEditor(ShapeDocument& document, QWidget* parent) : QWidget(parent), m_document(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::ClickFocus);
    // The polyline's last vertex and the edit tool's snapping follow the pointer between clicks.
    setMouseTracking(true);
    setAcceptDrops(true);
}

bool ShapeEditor::canMovePointer() {
    // Wayland keeps the pointer to the compositor, and an off-screen platform has none.
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void ShapeEditor::setTool(ShapeTool tool) {
    if (isViewTool(tool)) {
        if (tool == m_tool)
            tool = m_previousTool;
        else if (!isViewTool(m_tool))
            m_previousTool = m_tool;
    }
    if (m_tool == ShapeTool::Edit && tool != ShapeTool::Edit)
        clearCurrentPoint();
    m_tool = tool;
    m_creating.reset();
    m_preview.reset();
    m_vertices.clear();
    m_follow.reset();
    m_polylineActive = false;
    m_stroking = false;
    m_stroke.clear();
    m_transform.reset();
    m_band.reset();
    m_draggingPoint = false;
    m_polylineDown = false;
    m_panFrom.reset();
    m_rightPan = false;
    updateCursor();
    if (tool == ShapeTool::Rectangle || tool == ShapeTool::Ellipse || tool == ShapeTool::Polyline ||
        tool == ShapeTool::Freehand)
        deselectAll();
    update();
}

void ShapeEditor::updateCursor() {
    switch (m_tool) {
        case ShapeTool::Transform:
            setCursor(Qt::ArrowCursor);
            return;
        case ShapeTool::Pan:
            setCursor(m_panFrom ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
            return;
        default:
            setCursor(Qt::CrossCursor);
    }
}

void ShapeEditor::zoomTo(QPoint about, double zoom) {
    m_view.zoomAbout(about, size(), zoom);
    update();
}

void ShapeEditor::zoomIn(QPoint about) {
    zoomTo(about, m_view.zoom() * 2);
}

void ShapeEditor::zoomOut(QPoint about) {
    zoomTo(about, m_view.zoom() / 2);
}

void ShapeEditor::resetView() {
    m_view.reset();
    update();
}

PointD ShapeEditor::unit(QPoint at) const {
    return PointD{double(at.x()) / areaWidth(), double(at.y()) / areaHeight()};
}

void ShapeEditor::changed() {
    m_document.shapesChanged();
    update();
}

void ShapeEditor::clearCurrentPoint() {
    m_currentShape = -1;
    m_currentPoint = -1;
    m_hovered = PointHit{};
}

void ShapeEditor::press(QPoint widgetAt, Qt::KeyboardModifiers modifiers, bool doubleClick) {
    if (m_tool == ShapeTool::Pan) {
        m_panFrom = widgetAt;
        updateCursor();
        return;
    }
    if (m_tool == ShapeTool::Zoom) {
        if (doubleClick)
            resetView();
        else if (modifiers.testFlag(Qt::ShiftModifier))
            zoomOut(widgetAt);
        else
            zoomIn(widgetAt);
        return;
    }
    if (!m_document.canEditShapes())
        return;
    const QPoint at = m_view.toArea(widgetAt);
    const PointD u = unit(at);
    switch (m_tool) {
        case ShapeTool::Rectangle:
        case ShapeTool::Ellipse:
            deselectAll();
            m_creating = ShapeDrag{u, u, areaWidth(), areaHeight(), modifiers.testFlag(Qt::ShiftModifier)};
            dragInArea(at);
            return;
        case ShapeTool::Polyline:
            if (!m_polylineActive) {
                deselectAll();
                m_polylineActive = true;
                m_vertices.clear();
            }
            m_polylineDown = true;
            m_follow = u;
            updatePolylinePreview();
            return;
        case ShapeTool::Freehand:
            deselectAll();
            m_stroking = true;
            m_stroke = {PointD{double(at.x()), double(at.y())}};
            update();
            return;
        case ShapeTool::Fill: {
            auto fill = FillShape::at(u.x, u.y, areaWidth(), areaHeight(), m_document.newShapePen().colour);
            fill->Update(0, false);
            addShape(std::move(fill));
            return;
        }
        case ShapeTool::Transform:
            pressTransform(at, modifiers);
            return;
        case ShapeTool::Edit:
            pressEdit(at, modifiers, doubleClick);
            return;
        case ShapeTool::Pan:
        case ShapeTool::Zoom:
            return;
    }
}

void ShapeEditor::pressTransform(QPoint at, Qt::KeyboardModifiers modifiers) {
    auto& shapes = m_document.shapes();
    const TransformKeys keys{modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                             modifiers.testFlag(Qt::AltModifier)};
    if (keys.ctrl && !keys.shift) {
        startShapeDrag(unit(at));
        return;
    }
    for (const auto& shape : shapes) {
        if (!shape->selected)
            continue;
        const int code = transformHandleAt(*shape, at.x(), at.y(), areaWidth(), areaHeight(), m_rotation);
        if (code < 0)
            continue;
        m_transform.emplace(shapes, m_document.history(), shape->GetBounds(areaWidth(), areaHeight()), code,
                            unit(at), areaWidth(), areaHeight(), keys);
        update();
        return;
    }
    // Off the handles a click picks a shape up by its outline and moves it.
    const int hit = shapeAtPoint(shapes, at.x(), at.y(), areaWidth(), areaHeight());
    if (hit < 0) {
        selectOrBand(at, keys.shift);
        return;
    }
    Shape& shape = *shapes[size_t(hit)];
    if (keys.shift) {
        shape.selected = !shape.selected;
    } else if (!shape.selected) {
        for (auto& other : shapes)
            other->selected = false;
        shape.selected = true;
    }
    if (shape.selected)
        m_transform.emplace(shapes, m_document.history(), shape.GetBounds(areaWidth(), areaHeight()),
                            handle::kMove, unit(at), areaWidth(), areaHeight(), TransformKeys{});
    changed();
}

void ShapeEditor::pressEdit(QPoint at, Qt::KeyboardModifiers modifiers, bool doubleClick) {
    auto& shapes = m_document.shapes();
    const PointD u = unit(at);
    if (modifiers.testFlag(Qt::ControlModifier)) {
        startShapeDrag(u);
        return;
    }
    const PointHit hit =
        nearestSelectedPoint(shapes, u, areaWidth(), areaHeight(), m_currentShape, m_currentPoint);
    if (hit.shape >= 0) {
        m_currentShape = hit.shape;
        m_currentPoint = hit.index;
    }
    if (hit.shape >= 0 && hit.distanceSquared <= 9) {
        m_draggingPoint = true;
        m_pointRecorded = false;
        m_linked = linkedControlPoint(*shapes[size_t(hit.shape)], hit.index, areaWidth(), areaHeight());
        changed();
        return;
    }
    if (hit.shape >= 0 && (modifiers.testFlag(Qt::ShiftModifier) || doubleClick)) {
        Shape& shape = *shapes[size_t(hit.shape)];
        m_document.history().recordAllPoints(hit.shape);
        const int index = shape.InsertPoint(u.x, u.y, areaWidth(), areaHeight());
        if (index < 0) {
            m_document.history().dropLast();
            return;
        }
        shape.Update(0, false);
        m_currentPoint = index;
        changed();
        return;
    }
    clearCurrentPoint();
    selectOrBand(at, modifiers.testFlag(Qt::ShiftModifier));
}

void ShapeEditor::selectOrBand(QPoint at, bool shift) {
    auto& shapes = m_document.shapes();
    const int hit = shapeAtPoint(shapes, at.x(), at.y(), areaWidth(), areaHeight());
    if (hit >= 0) {
        Shape& shape = *shapes[size_t(hit)];
        if (shift) {
            shape.selected = !shape.selected;
        } else {
            for (auto& other : shapes)
                other->selected = false;
            shape.selected = true;
        }
        changed();
        return;
    }
    m_band = QRect(at, at);
    m_bandShift = shift;
    update();
}

void ShapeEditor::updatePolylinePreview() {
    std::vector<PointD> points = m_vertices;
    if (m_follow)
        points.push_back(*m_follow);
    m_preview = points.size() >= 2 ? makePolyline(points, m_document.newShapePen()) : nullptr;
    update();
}

void ShapeEditor::drag(QPoint widgetTo) {
    if (m_panFrom) {
        m_view.panBy(widgetTo - *m_panFrom);
        m_panFrom = widgetTo;
        update();
        return;
    }
    dragInArea(m_view.toArea(widgetTo));
}

void ShapeEditor::dragInArea(QPoint to) {
    const PointD u = unit(to);
    if (m_band) {
        m_band->setBottomRight(to);
        update();
        return;
    }
    if (m_creating) {
        m_creating->end = u;
        m_preview = m_tool == ShapeTool::Ellipse ? makeEllipse(*m_creating, m_document.newShapePen())
                                                 : makeRectangle(*m_creating, m_document.newShapePen());
        update();
        return;
    }
    if (m_polylineActive) {
        m_follow = u;
        updatePolylinePreview();
        return;
    }
    if (m_stroking) {
        const PointD p{double(to.x()), double(to.y())};
        if (!(p == m_stroke.back()))
            m_stroke.push_back(p);
        update();
        return;
    }
    if (m_draggingPoint) {
        auto& shapes = m_document.shapes();
        if (m_currentShape < 0 || size_t(m_currentShape) >= shapes.size())
            return;
        Shape& shape = *shapes[size_t(m_currentShape)];
        if (!m_pointRecorded) {
            if (!shape.HasKeyframe(0))
                shape.AddKeyframe(0);
            m_document.history().recordPoints(m_currentShape, 0);
            m_pointRecorded = true;
        }
        movePoint(shape, m_currentPoint, u, m_linked, areaWidth(), areaHeight());
        changed();
        return;
    }
    if (m_transform && m_transform->dragTo(u)) {
        if (m_transform->code() == handle::kRotate)
            m_rotation = m_transform->angle();
        changed();
    }
}

void ShapeEditor::release(QPoint widgetAt) {
    if (m_tool == ShapeTool::Pan) {
        // A pan held by the right button lasts until that button comes up.
        if (m_panFrom && !m_rightPan) {
            drag(widgetAt);
            m_panFrom.reset();
            updateCursor();
        }
        return;
    }
    const QPoint at = m_view.toArea(widgetAt);
    if (m_band) {
        m_band->setBottomRight(at);
        const QRect r = m_band->normalized();
        m_band.reset();
        auto& shapes = m_document.shapes();
        const std::vector<int> inside =
            shapesInBand(shapes, Rect{r.left(), r.top(), r.right(), r.bottom()}, areaWidth(), areaHeight());
        for (size_t i = 0; i < shapes.size(); ++i) {
            const bool in = std::find(inside.begin(), inside.end(), int(i)) != inside.end();
            if (in)
                shapes[i]->selected = true;
            else if (!m_bandShift)
                shapes[i]->selected = false;
        }
        changed();
        return;
    }
    if (m_creating) {
        dragInArea(at);
        m_creating.reset();
        addShape(std::move(m_preview));
        return;
    }
    if (m_polylineActive) {
        m_polylineDown = false;
        m_vertices.push_back(unit(at));
        m_follow = unit(at);
        updatePolylinePreview();
        return;
    }
    if (m_stroking) {
        dragInArea(at);
        m_stroking = false;
        auto shape = makeFreehand(m_stroke, areaWidth(), areaHeight(), m_document.newShapePen());
        m_stroke.clear();
        if (shape)
            addShape(std::move(shape));
        else
            update();
        return;
    }
    if (m_draggingPoint) {
        dragInArea(at);
        m_draggingPoint = false;
        auto& shapes = m_document.shapes();
        if (m_pointRecorded && m_currentShape >= 0 && size_t(m_currentShape) < shapes.size())
            storeCurrentPoints(*shapes[size_t(m_currentShape)]);
        changed();
        return;
    }
    if (m_transform) {
        dragInArea(at);
        m_transform->finish();
        m_transform.reset();
        changed();
    }
}

void ShapeEditor::hover(QPoint widgetAt) {
    if (m_panFrom) {
        drag(widgetAt);
        return;
    }
    const QPoint at = m_view.toArea(widgetAt);
    if (m_polylineActive) {
        dragInArea(at);
        return;
    }
    if (m_tool == ShapeTool::Transform) {
        setCursor(transformCursor(at));
        return;
    }
    if (m_tool != ShapeTool::Edit)
        return;
    const PointHit hit = nearestSelectedPoint(m_document.shapes(), unit(at), areaWidth(), areaHeight(),
                                              m_currentShape, m_currentPoint);
    if (hit.shape < 0 || hit.distanceSquared >= 49) {
        m_hovered = PointHit{};
        return;
    }
    if (hit.shape == m_hovered.shape && hit.index == m_hovered.index)
        return;
    m_hovered = hit;
    if (!canMovePointer())
        return;
    // Snapping only moves the pointer; where it lands is read from the next event as usual.
    const PointD p = m_document.shapes()[size_t(hit.shape)]->current[size_t(hit.index)];
    QCursor::setPos(
        mapToGlobal(m_view.toWidget(QPoint(pixelTrunc(p.x, areaWidth()), pixelTrunc(p.y, areaHeight())))));
}

Qt::CursorShape ShapeEditor::transformCursor(QPoint at) const {
    for (const auto& shape : m_document.shapes()) {
        if (!shape->selected)
            continue;
        switch (transformHandleAt(*shape, at.x(), at.y(), areaWidth(), areaHeight(), m_rotation)) {
            case -1:
                continue;
            case handle::kMove:
                return Qt::SizeAllCursor;
            case handle::kLeft:
            case handle::kRight:
                return Qt::SizeHorCursor;
            case handle::kTop:
            case handle::kBottom:
                return Qt::SizeVerCursor;
            case handle::kLeft | handle::kTop:
            case handle::kRight | handle::kBottom:
                return Qt::SizeFDiagCursor;
            case handle::kRotate:
                return Qt::PointingHandCursor;
            default:
                return Qt::SizeBDiagCursor;
        }
    }
    return Qt::ArrowCursor;
}

void ShapeEditor::rightClick(QPoint widgetAt) {
    if (m_tool == ShapeTool::Zoom)
        zoomOut(widgetAt);
    if (isViewTool(m_tool))
        return;
    if (m_creating || (m_polylineActive && m_polylineDown)) {
        // The shape being drawn is dropped and the view follows the right button instead.
        setTool(ShapeTool::Pan);
        m_rightPan = true;
        m_panFrom = widgetAt;
        updateCursor();
        return;
    }
    if (m_polylineActive) {
        finishPolyline();
        return;
    }
    if (m_stroking) {
        m_stroking = false;
        m_stroke.clear();
        m_preview.reset();
        update();
        return;
    }
    if (m_transform || m_draggingPoint || m_band)
        return;
    // Shown without waiting for it, so the dialog keeps running its own events.
    QMenu* menu = contextMenu().release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(mapToGlobal(widgetAt));
}

void ShapeEditor::rightRelease(QPoint widgetAt) {
    if (!m_rightPan)
        return;
    drag(widgetAt);
    setTool(m_previousTool);
}

std::unique_ptr<QMenu> ShapeEditor::contextMenu() {
    auto menu = std::make_unique<QMenu>(QStringLiteral("Selected Shapes"), this);
    const bool any = !m_document.shapes().empty();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const bool canPaste = data && data->hasFormat(QString::fromLatin1(kShapesFormatMime));
    auto add = [&](const char* text, bool enabled, void (ShapeEditor::*run)()) {
        QAction* action = menu->addAction(QString::fromUtf8(text), this, run);
        action->setEnabled(enabled);
    };
    add("&Taglia\tCtrl+X", hasDeletableSelection(), &ShapeEditor::cut);
    add("&Copia\tCtrl+C", hasSelection(), &ShapeEditor::copy);
    add("&Incolla\tCtrl+V", canPaste, &ShapeEditor::paste);
    add("&Elimina\tDel", hasDeletableSelection() || m_currentPoint >= 0, &ShapeEditor::deletePointOrShapes);
    menu->addSeparator();
    add("&Annulla\tCtrl+Z", m_document.history().canUndo(), &ShapeEditor::undo);
    add("&Ripristina\tCtrl+Y", m_document.history().canRedo(), &ShapeEditor::redo);
    menu->addSeparator();
    add("Seleziona t&utto\tCtrl+A", any, &ShapeEditor::selectAll);
    add("Inverti &selezione\tCtrl+I", any, &ShapeEditor::invertSelection);
    return menu;
}

void ShapeEditor::finishPolyline() {
    m_polylineActive = false;
    m_follow.reset();
    m_preview.reset();
    auto shape = makePolyline(m_vertices, m_document.newShapePen());
    m_vertices.clear();
    if (shape)
        addShape(std::move(shape));
    else
        update();
}

void ShapeEditor::addShape(std::unique_ptr<Shape> shape) {
    if (!shape)
        return;
    auto& shapes = m_document.shapes();
    if (!shape->name)
        shape->name = nextShapeName(shapes);
    for (auto& other : shapes)
        other->selected = false;
    shape->selected = true;
    m_document.history().recordAdd(int(shapes.size()));
    shapes.push_back(std::move(shape));
    changed();
}

void ShapeEditor::selectAll() {
    if (m_tool != ShapeTool::Edit && m_tool != ShapeTool::Transform)
        setTool(ShapeTool::Transform);
    for (auto& shape : m_document.shapes())
        shape->selected = true;
    changed();
}

void ShapeEditor::invertSelection() {
    for (auto& shape : m_document.shapes())
        shape->selected = !shape->selected;
    changed();
}

void ShapeEditor::deselectAll() {
    bool any = false;
    for (auto& shape : m_document.shapes()) {
        any = any || shape->selected;
        shape->selected = false;
    }
    if (any)
        changed();
}

bool ShapeEditor::hasDeletableSelection() const {
    for (const auto& shape : m_document.shapes())
        if (shape->selected && !shape->permanent)
            return true;
    return false;
}

bool ShapeEditor::hasSelection() const {
    return !selectedShapes(m_document.shapes()).empty();
}

void ShapeEditor::flip(FlipAxis axis, Qt::KeyboardModifiers modifiers) {
    auto& shapes = m_document.shapes();
    const std::vector<int> selected = selectedShapes(shapes);
    if (selected.empty())
        return;
    const bool vertical = axis == FlipAxis::Vertical;
    for (int index : selected)
        m_document.history().recordAllPoints(index, vertical ? "Capovolgi Forma" : "Rifletti Forma");
    if (selected.size() > 1)
        m_document.history().recordGroup(int(selected.size()),
                                         vertical ? "Capovolgi Forme" : "Rifletti Forme");
    const FlipRange range = modifiers.testFlag(Qt::AltModifier)       ? FlipRange::Selection
                            : modifiers.testFlag(Qt::ControlModifier) ? FlipRange::EachShape
                                                                      : FlipRange::Box;
    flipSelected(shapes, axis, range);
    changed();
}

void ShapeEditor::deleteSelected() {
    auto& shapes = m_document.shapes();
    clearCurrentPoint();
    int count = 0;
    for (size_t i = shapes.size(); i-- > 0;) {
        if (!shapes[i]->selected || shapes[i]->permanent)
            continue;
        m_document.history().recordDelete(int(i));
        shapes.erase(shapes.begin() + ptrdiff_t(i));
        ++count;
    }
    if (count > 1)
        m_document.history().recordGroup(count, "Elimina Forme");
    if (count > 0)
        changed();
}

void ShapeEditor::deletePointOrShapes() {
    auto& shapes = m_document.shapes();
    if (m_tool == ShapeTool::Edit && m_currentShape >= 0 && size_t(m_currentShape) < shapes.size() &&
        m_currentPoint >= 0) {
        Shape& shape = *shapes[size_t(m_currentShape)];
        const int fewest = shape.type() == ShapeType::Curve ? 5 : 3;
        if (shape.pointCount >= fewest) {
            const int before = shape.pointCount;
            m_document.history().recordAllPoints(m_currentShape, "Cancella punto di controllo della Forma");
            shape.DeletePoint(m_currentPoint);
            if (shape.pointCount == before) {
                m_document.history().dropLast();
                return;
            }
            shape.Update(0, false);
            m_currentPoint = std::min(m_currentPoint, shape.pointCount - 1);
            changed();
            return;
        }
    }
    deleteSelected();
}

void ShapeEditor::copy() {
    if (hasSelection())
        QGuiApplication::clipboard()->setMimeData(selectedShapesData(PointD{}));
}

void ShapeEditor::cut() {
    copy();
    deleteSelected();
}

namespace {

std::optional<ShapeClipboard> readShapes(const QMimeData* data) {
    if (!data || !data->hasFormat(QString::fromLatin1(kShapesFormatMime)))
        return std::nullopt;
    const QByteArray bytes = data->data(QString::fromLatin1(kShapesFormatMime));
    return readShapeClipboard(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), 1);
}

}  // namespace

QMimeData* ShapeEditor::selectedShapesData(PointD origin) const {
    const std::vector<uint8_t> bytes = writeShapeClipboard(m_document.shapes(), 1, origin);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kShapesFormatMime),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    return data;
}

bool ShapeEditor::addShapesFrom(const QMimeData* data, PointD at) {
    std::optional<ShapeClipboard> clip = readShapes(data);
    if (!m_document.canEditShapes() || !clip)
        return false;
    auto& shapes = m_document.shapes();
    for (auto& shape : shapes)
        shape->selected = false;
    const int count = int(clip->shapes.size());
    for (auto& shape : clip->shapes) {
        // A copy of the text field is an ordinary outline.
        shape->permanent = false;
        shape->selected = true;
        moveShape(*shape, at.x - clip->origin.x, at.y - clip->origin.y);
        m_document.history().recordAdd(int(shapes.size()));
        shapes.push_back(std::move(shape));
    }
    m_document.history().recordGroup(count, "Incolla Forme");
    changed();
    return true;
}

void ShapeEditor::paste() {
    if (addShapesFrom(QGuiApplication::clipboard()->mimeData(), PointD{}))
        setTool(ShapeTool::Transform);
}

void ShapeEditor::startShapeDrag(PointD origin) {
    if (!hasSelection())
        return;
    // The source keeps its shapes whatever the target does with them.
    auto* drag = new QDrag(this);
    drag->setMimeData(selectedShapesData(origin));
    drag->exec(Qt::CopyAction);
}

void ShapeEditor::dragEnterEvent(QDragEnterEvent* event) {
    std::optional<ShapeClipboard> clip = readShapes(event->mimeData());
    if (!clip || !m_document.canEditShapes())
        return;
    m_dropPreview = std::move(clip->shapes);
    const PointD u = unit(m_view.toArea(event->position().toPoint()));
    for (auto& shape : m_dropPreview)
        moveShape(*shape, u.x - clip->origin.x, u.y - clip->origin.y);
    m_dropLast = u;
    event->acceptProposedAction();
    update();
}

void ShapeEditor::dragMoveEvent(QDragMoveEvent* event) {
    if (m_dropPreview.empty())
        return;
    const PointD u = unit(m_view.toArea(event->position().toPoint()));
    for (auto& shape : m_dropPreview)
        moveShape(*shape, u.x - m_dropLast.x, u.y - m_dropLast.y);
    m_dropLast = u;
    event->acceptProposedAction();
    update();
}

void ShapeEditor::dragLeaveEvent(QDragLeaveEvent*) {
    m_dropPreview.clear();
    update();
}

void ShapeEditor::dropEvent(QDropEvent* event) {
    m_dropPreview.clear();
    if (addShapesFrom(event->mimeData(), unit(m_view.toArea(event->position().toPoint()))))
        event->acceptProposedAction();
    update();
}

void ShapeEditor::undo() {
    clearCurrentPoint();
    if (m_document.history().undo()) {
        m_document.SetModified(true);
        changed();
    }
}

void ShapeEditor::redo() {
    clearCurrentPoint();
    if (m_document.history().redo()) {
        m_document.SetModified(true);
        changed();
    }
}

QImage ShapeEditor::render() {
    QImage area = renderArea();
    if (m_view.isDefault())
        return area;
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_ARGB32);
    image.fill(palette().color(QPalette::Dark));
    QPainter(&image).drawImage(m_view.scroll(), area);
    return image;
}

QImage ShapeEditor::renderArea() {
    // The whole area is drawn, not only the part in sight, so that a fill is bounded by outlines
    // that are out of view.
    QImage image(areaWidth(), areaHeight(), QImage::Format_ARGB32);
    raster::DrawContext dc(image);
    const int w = image.width(), h = image.height();
    if (m_tool == ShapeTool::Fill) {
        m_document.DrawOutputPreview(dc);
        return image;
    }
    m_document.DrawBackground(dc);
    const auto& shapes = m_document.shapes();
    for (const auto& shape : shapes)
        shape->Draw(dc, w, h, false, penOf(*shape), kHandlePen, kHandlePen, -1);
    if (m_tool == ShapeTool::Edit) {
        for (size_t i = 0; i < shapes.size(); ++i)
            if (shapes[i]->selected)
                shapes[i]->Draw(dc, w, h, true, penOf(*shapes[i]), kHandlePen, kHandlePen,
                                int(i) == m_currentShape ? m_currentPoint : -1);
    }
    m_document.DrawOverlay(dc);
    if (m_tool == ShapeTool::Transform && !(m_transform && m_transform->started()))
        drawTransformFrames(dc, w, h);
    if (m_preview)
        m_preview->Draw(dc, w, h, false, kPreviewPen, kHandlePen, kHandlePen, -1);
    for (const auto& shape : m_dropPreview)
        shape->Draw(dc, w, h, false, kPreviewPen, kHandlePen, kHandlePen, -1);
    if (m_stroking && m_stroke.size() >= 2) {
        std::vector<Point> line;
        for (const PointD& p : m_stroke)
            line.push_back(Point{int(p.x), int(p.y)});
        dc.setPen(kPreviewPen);
        dc.polyline(line);
    }
    if (m_band) {
        const QRect r = m_band->normalized();
        dc.setBrush(raster::Brush::hollowBrush());
        dc.setPen(raster::Pen{raster::PenStyle::Dot, 1, 0});
        dc.rectangle(Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    }
    return image;
}

void ShapeEditor::drawTransformFrames(raster::DrawContext& dc, int w, int h) const {
    const uint32_t colour = colourRef(palette().color(QPalette::Highlight));
    dc.setBrush(raster::Brush::hollowBrush());
    for (const auto& shape : m_document.shapes()) {
        if (!shape->selected)
            continue;
        const Rect frame = shape->GetBounds(w, h);
        dc.setPen(raster::Pen{raster::PenStyle::Dot, 1, colour});
        dc.rectangle(frame);
        dc.setPen(raster::Pen::solid(colour));
        for (const auto& [code, c] : sizingHandles(frame))
            dc.rectangle(Rect{c.x - 3, c.y - 3, c.x + 4, c.y + 4});
        const Point r = rotationHandleCentre(frame, m_rotation);
        dc.ellipse(Rect{r.x - 3, r.y - 3, r.x + 4, r.y + 4});
    }
}

void ShapeEditor::paintEvent(QPaintEvent*) {
    const QImage picture = render();
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}

void ShapeEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        press(event->position().toPoint(), event->modifiers());
    else if (event->button() == Qt::RightButton)
        rightClick(event->position().toPoint());
}

void ShapeEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        press(event->position().toPoint(), event->modifiers(), true);
}

void ShapeEditor::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) || m_panFrom)
        drag(event->position().toPoint());
    else
        hover(event->position().toPoint());
}

void ShapeEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        release(event->position().toPoint());
    else if (event->button() == Qt::RightButton)
        rightRelease(event->position().toPoint());
}

void ShapeEditor::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (!event->modifiers().testFlag(Qt::ControlModifier) || steps == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    if (steps > 0)
        zoomIn(event->position().toPoint());
    else
        zoomOut(event->position().toPoint());
    event->accept();
}

void ShapeEditor::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomIn(rect().center());
            return;
        case Qt::Key_Minus:
            zoomOut(rect().center());
            return;
        case Qt::Key_0:
            resetView();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace quib
