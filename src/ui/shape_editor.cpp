#include "shape_editor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "shape_document.h"
#include "shapes/fill_shape.h"
#include "shapes/shape_clipboard.h"

namespace quib {

namespace {

// Handles are drawn in green, whatever the shape's own colour.
const raster::Pen kHandlePen = raster::Pen::solid(0x0000FF00);
const raster::Pen kPreviewPen = raster::Pen::solid(0x00800000);

raster::Pen penOf(const Shape& shape) {
    return raster::Pen{raster::PenStyle(shape.penStyle), shape.penWidth, shape.colour};
}

}  // namespace

ShapeEditor::ShapeEditor(ShapeDocument& document, QWidget* parent) : QWidget(parent), m_document(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::ClickFocus);
}

void ShapeEditor::setTool(ShapeTool tool) {
    m_tool = tool;
    m_creating.reset();
    m_preview.reset();
    m_moving = false;
    if (tool == ShapeTool::Rectangle || tool == ShapeTool::Ellipse)
        deselectAll();
    update();
}

PointD ShapeEditor::unit(QPoint at) const {
    return PointD{double(at.x()) / std::max(1, width()), double(at.y()) / std::max(1, height())};
}

void ShapeEditor::changed() {
    m_document.shapesChanged();
    update();
}

void ShapeEditor::press(QPoint at, Qt::KeyboardModifiers modifiers) {
    if (!m_document.canEditShapes())
        return;
    const PointD u = unit(at);
    auto& shapes = m_document.shapes();
    switch (m_tool) {
        case ShapeTool::Rectangle:
        case ShapeTool::Ellipse:
            deselectAll();
            m_creating = ShapeDrag{u, u, width(), height(), modifiers.testFlag(Qt::ShiftModifier)};
            drag(at);
            return;
        case ShapeTool::Fill: {
            auto fill = FillShape::at(u.x, u.y, width(), height(), m_document.newShapePen().colour);
            fill->Update(0, false);
            addShape(std::move(fill));
            return;
        }
        case ShapeTool::Transform: {
            const int hit = shapeAtPoint(shapes, at.x(), at.y(), width(), height());
            if (hit < 0) {
                deselectAll();
                return;
            }
            Shape& shape = *shapes[size_t(hit)];
            if (modifiers.testFlag(Qt::ShiftModifier)) {
                shape.selected = !shape.selected;
            } else if (!shape.selected) {
                for (auto& other : shapes)
                    other->selected = false;
                shape.selected = true;
            }
            m_moving = shape.selected;
            m_moveRecorded = false;
            m_last = u;
            changed();
            return;
        }
    }
}

void ShapeEditor::drag(QPoint to) {
    const PointD u = unit(to);
    if (m_creating) {
        m_creating->end = u;
        m_preview = m_tool == ShapeTool::Ellipse ? makeEllipse(*m_creating, m_document.newShapePen())
                                                 : makeRectangle(*m_creating, m_document.newShapePen());
        update();
        return;
    }
    if (!m_moving || u == m_last)
        return;
    auto& shapes = m_document.shapes();
    ShapeEditHistory& history = m_document.history();
    if (!m_moveRecorded) {
        int count = 0;
        for (size_t i = 0; i < shapes.size(); ++i) {
            if (!shapes[i]->selected)
                continue;
            if (!shapes[i]->HasKeyframe(0))
                shapes[i]->AddKeyframe(0);
            history.recordPoints(int(i), 0);
            ++count;
        }
        history.recordGroup(count, "Trasforma Forme");
        m_moveRecorded = true;
    }
    for (auto& shape : shapes)
        if (shape->selected)
            moveShape(*shape, u.x - m_last.x, u.y - m_last.y);
    m_last = u;
    changed();
}

void ShapeEditor::release(QPoint at) {
    if (m_creating) {
        drag(at);
        m_creating.reset();
        addShape(std::move(m_preview));
        return;
    }
    if (m_moving)
        drag(at);
    m_moving = false;
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
    for (auto& shape : m_document.shapes())
        shape->selected = true;
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

void ShapeEditor::copy() {
    if (!hasSelection())
        return;
    const std::vector<uint8_t> bytes = writeShapeClipboard(m_document.shapes(), 1);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kShapesFormatMime),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void ShapeEditor::cut() {
    copy();
    deleteSelected();
}

void ShapeEditor::paste() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!m_document.canEditShapes() || !data || !data->hasFormat(QString::fromLatin1(kShapesFormatMime)))
        return;
    const QByteArray bytes = data->data(QString::fromLatin1(kShapesFormatMime));
    ShapeClipboard clip =
        readShapeClipboard(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), 1);
    auto& shapes = m_document.shapes();
    for (auto& shape : shapes)
        shape->selected = false;
    for (auto& shape : clip.shapes) {
        // A pasted copy of the text field is an ordinary outline.
        shape->permanent = false;
        shape->selected = true;
        m_document.history().recordAdd(int(shapes.size()));
        shapes.push_back(std::move(shape));
    }
    m_document.history().recordGroup(int(clip.shapes.size()), "Incolla Forme");
    changed();
}

void ShapeEditor::undo() {
    if (m_document.history().undo()) {
        m_document.SetModified(true);
        changed();
    }
}

void ShapeEditor::redo() {
    if (m_document.history().redo()) {
        m_document.SetModified(true);
        changed();
    }
}

QImage ShapeEditor::render() {
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_ARGB32);
    raster::DrawContext dc(image);
    const int w = image.width(), h = image.height();
    if (m_tool == ShapeTool::Fill) {
        m_document.DrawOutputPreview(dc);
        return image;
    }
    m_document.DrawBackground(dc);
    for (const auto& shape : m_document.shapes()) {
        shape->Draw(dc, w, h, false, penOf(*shape), kHandlePen, kHandlePen, -1);
    }
    m_document.DrawOverlay(dc);
    // Selected shapes show their frame: the bounds the mouse picks them up by.
    dc.setBrush(raster::Brush::hollowBrush());
    dc.setPen(raster::Pen{raster::PenStyle::Dot, 1, 0x00D77800});
    for (const auto& shape : m_document.shapes())
        if (shape->selected)
            dc.rectangle(shape->GetBounds(w, h));
    if (m_preview)
        m_preview->Draw(dc, w, h, false, kPreviewPen, kHandlePen, kHandlePen, -1);
    return image;
}

void ShapeEditor::paintEvent(QPaintEvent*) {
    const QImage picture = render();
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}

void ShapeEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        press(event->position().toPoint(), event->modifiers());
}

void ShapeEditor::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        drag(event->position().toPoint());
}

void ShapeEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        release(event->position().toPoint());
}

}  // namespace quib
