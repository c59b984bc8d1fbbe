#pragma once

#include <QImage>
#include <QWidget>
#include <memory>
#include <optional>

#include "shapes/shape_building.h"

namespace quib {

class ShapeDocument;

enum class ShapeTool { Transform, Rectangle, Ellipse, Fill };

// The canvas on which the shapes of a ShapeDocument are drawn and edited with the mouse. Shape
// coordinates are unit coordinates mapped onto the widget's size.
class ShapeEditor : public QWidget {
public:
    explicit ShapeEditor(ShapeDocument& document, QWidget* parent = nullptr);

    ShapeTool tool() const { return m_tool; }
    // Tools that create shapes deselect every shape.
    void setTool(ShapeTool tool);

    // Pointer gestures in widget pixels; the mouse events come here, and so can tests.
    void press(QPoint at, Qt::KeyboardModifiers modifiers = {});
    void drag(QPoint to);
    void release(QPoint at);

    // Adds a shape at the end of the list, named and recorded ("Crea nuova Forma"), selected alone.
    void addShape(std::unique_ptr<Shape> shape);
    void selectAll();
    void deselectAll();
    // Removes the selected shapes that are not permanent; one step of undo.
    void deleteSelected();
    bool hasDeletableSelection() const;
    bool hasSelection() const;
    // Turns the selected shapes over: with Alt about their common range, with Ctrl each about its
    // own, otherwise about the whole box.
    void flip(FlipAxis axis, Qt::KeyboardModifiers modifiers);
    // The selected shapes through the clipboard; a paste adds its shapes selected, as one step.
    void copy();
    void cut();
    void paste();
    void undo();
    void redo();

    // The picture the widget shows, drawn afresh.
    QImage render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PointD unit(QPoint at) const;
    void changed();

    ShapeDocument& m_document;
    ShapeTool m_tool = ShapeTool::Transform;
    std::optional<ShapeDrag> m_creating;
    std::unique_ptr<Shape> m_preview;
    bool m_moving = false;
    bool m_moveRecorded = false;
    PointD m_last;
};

}  // namespace quib
