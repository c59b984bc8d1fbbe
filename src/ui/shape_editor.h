#pragma once

#include <QImage>
#include <QWidget>
#include <memory>
#include <optional>

#include "shape_view.h"
#include "shapes/point_editing.h"
#include "shapes/shape_building.h"
#include "shapes/shape_transform.h"

class QMenu;
class QMimeData;

namespace quib {

class ShapeDocument;

enum class ShapeTool { Transform, Edit, Rectangle, Ellipse, Polyline, Freehand, Fill, Pan, Zoom };

// The canvas on which the shapes of a ShapeDocument are drawn and edited with the mouse. Shape
// coordinates are unit coordinates mapped onto the drawing area, which the view pans and zooms.
class ShapeEditor : public QWidget {
public:
    explicit ShapeEditor(ShapeDocument& document, QWidget* parent = nullptr);

    ShapeTool tool() const { return m_tool; }
    // Tools that create shapes deselect every shape; leaving the edit tool forgets its point. Pan
    // and zoom toggle: choosing one again returns to the tool in use before it.
    void setTool(ShapeTool tool);

    const ShapeView& view() const { return m_view; }
    // One zoom step in or out about a widget pixel; the unit point under it stays there.
    void zoomIn(QPoint about);
    void zoomOut(QPoint about);
    void resetView();

    // Pointer gestures in widget pixels; the mouse events come here, and so can tests.
    void press(QPoint at, Qt::KeyboardModifiers modifiers = {}, bool doubleClick = false);
    void drag(QPoint to);
    void release(QPoint at);
    // The pointer moving with no button held: the polyline's last vertex follows it, and the edit
    // tool snaps the pointer onto a point it comes near.
    void hover(QPoint at);
    // A right click: ends a polyline, drops a shape being drawn and pans while the button is held,
    // with the zoom tool zooms out, else opens the context menu.
    void rightClick(QPoint at);
    void rightRelease(QPoint at);

    // Adds a shape at the end of the list, named and recorded ("Crea nuova Forma"), selected alone.
    void addShape(std::unique_ptr<Shape> shape);
    // Selects every shape; a drawing tool gives way to the transform tool.
    void selectAll();
    void deselectAll();
    void invertSelection();
    // The "Selected Shapes" menu with its items enabled as the commands are; a right click away
    // from any gesture pops it up.
    std::unique_ptr<QMenu> contextMenu();
    // Removes the selected shapes that are not permanent; one step of undo.
    void deleteSelected();
    // The delete command: the edit tool's current point when the shape can spare it, else the
    // selected shapes.
    void deletePointOrShapes();
    bool hasDeletableSelection() const;
    bool hasSelection() const;
    // Turns the selected shapes over: with Alt about their common range, with Ctrl each about its
    // own, otherwise about the whole box.
    void flip(FlipAxis axis, Qt::KeyboardModifiers modifiers);
    // The selected shapes through the clipboard; a paste adds its shapes selected, as one step.
    void copy();
    void cut();
    void paste();
    // The selected shapes in the clipboard format, with the unit point a drag started from.
    QMimeData* selectedShapesData(PointD origin) const;
    // Adds the shapes of data moved by the offset from their origin to the unit point at, selected
    // and as one step ("Incolla Forme"); false when data holds no shapes.
    bool addShapesFrom(const QMimeData* data, PointD at);
    void undo();
    void redo();

    // The edit tool's current point (shape index and point index), or -1s.
    PointHit currentPoint() const { return PointHit{m_currentShape, m_currentPoint, 0}; }
    PointHit hoveredPoint() const { return m_hovered; }
    // Whether the platform lets a program put the pointer somewhere (not on Wayland or off-screen).
    static bool canMovePointer();

    // The picture the widget shows, drawn afresh.
    QImage render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Positions below are in the drawing area's pixels unless named widget.
    int areaWidth() const { return m_view.area(size()).width(); }
    int areaHeight() const { return m_view.area(size()).height(); }
    PointD unit(QPoint at) const;
    void zoomTo(QPoint about, double zoom);
    void updateCursor();
    void dragInArea(QPoint to);
    // The drawing area alone, at its zoomed size.
    QImage renderArea();
    void changed();
    // Ctrl with a press: the selected shapes go out as a drag, copied wherever they land.
    void startShapeDrag(PointD origin);
    void pressTransform(QPoint at, Qt::KeyboardModifiers modifiers);
    void pressEdit(QPoint at, Qt::KeyboardModifiers modifiers, bool doubleClick);
    // Click selection of the shape under the pointer, or a rubber band from there.
    void selectOrBand(QPoint at, bool shift);
    void finishPolyline();
    // The pointer's shape over the transform tool's handles.
    Qt::CursorShape transformCursor(QPoint at) const;
    void clearCurrentPoint();
    void updatePolylinePreview();
    void drawTransformFrames(raster::DrawContext& dc, int w, int h) const;

    ShapeDocument& m_document;
    ShapeTool m_tool = ShapeTool::Transform;
    ShapeTool m_previousTool = ShapeTool::Transform;
    ShapeView m_view;
    // Pan: the last widget pixel of a drag, and whether the right button started it.
    std::optional<QPoint> m_panFrom;
    bool m_rightPan = false;
    std::optional<ShapeDrag> m_creating;
    std::unique_ptr<Shape> m_preview;
    // Polyline: the fixed vertices and the one following the pointer.
    std::vector<PointD> m_vertices;
    std::optional<PointD> m_follow;
    bool m_polylineActive = false;
    bool m_polylineDown = false;
    // Freehand: the stroke in pixels while the button is down.
    std::vector<PointD> m_stroke;
    bool m_stroking = false;
    // Edit tool.
    int m_currentShape = -1;
    int m_currentPoint = -1;
    bool m_draggingPoint = false;
    bool m_pointRecorded = false;
    int m_linked = -1;
    PointHit m_hovered;
    // Transform tool.
    std::optional<ShapeTransform> m_transform;
    double m_rotation = 0;
    // Shapes of a drag over the editor, shown where they would land.
    std::vector<std::unique_ptr<Shape>> m_dropPreview;
    PointD m_dropLast;
    // Rubber band in pixels.
    std::optional<QRect> m_band;
    bool m_bandShift = false;
};

}  // namespace quib
