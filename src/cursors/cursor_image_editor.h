#pragma once

#include <cstdint>
#include <optional>

#include "base/cursor_picture.h"

namespace quib {

// A colour the editor paints with: an opaque colour or the transparent pixel.
struct CursorColour {
    bool transparent = false;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    static CursorColour clear() { return CursorColour{true, 0, 0, 0}; }
    static CursorColour rgb(uint8_t r, uint8_t g, uint8_t b) { return CursorColour{false, r, g, b}; }
    friend bool operator==(const CursorColour&, const CursorColour&) = default;
};

enum class CursorTool { Pen, Eraser, Fill, Line, Rectangle, FilledRectangle, Ellipse, FilledEllipse };

// The editing model of the cursor image editor: one picture with 0/255 alpha, the drawing tools,
// the whole-picture operations and a single undo step. The hot spot is carried through unchanged.
class CursorImageEditor {
public:
    explicit CursorImageEditor(CursorPicture input);

    // Enlargement of the editing area for a picture of that size, and whether a grid separates
    // the enlarged pixels.
    static int zoomFor(int width, int height);
    static bool gridAt(int zoom) { return zoom >= 5; }

    const Bitmap32& picture() const { return m_picture; }
    CursorPicture result() const { return CursorPicture{m_picture, m_hotSpot}; }
    int width() const { return m_picture.width; }
    int height() const { return m_picture.height; }
    bool contains(Point p) const { return p.x >= 0 && p.y >= 0 && p.x < width() && p.y < height(); }
    CursorColour colourAt(Point p) const;

    // What transparent pixels show as; the fill treats them as this colour.
    void setScreenColour(CursorColour colour) { m_screen = colour; }
    CursorColour screenColour() const { return m_screen; }

    void setTool(CursorTool tool) { m_tool = tool; }
    CursorTool tool() const { return m_tool; }

    // A button press on pixel p with that button's colour and the other button's colour: saves
    // the undo copy and starts the current tool. Ignored while a press is under way.
    void press(Point p, CursorColour colour, CursorColour otherColour);
    // The pointer reached p (only acts when it is another pixel than the last one).
    void moveTo(Point p);
    void release();
    bool pressed() const { return m_pressed; }

    void clear(CursorColour colour);
    void flip();
    void mirror();
    // Inverts the colour of opaque pixels; transparent pixels stay transparent.
    void invertColours();
    // Makes every pixel opaque and copies source to the top-left corner, clipped to the picture.
    void paste(const Bitmap32& source);

    bool canUndo() const { return m_undo.has_value(); }
    // Restores the picture from before the last change; one step only.
    bool undo();
    bool changed() const { return m_changed; }

private:
    void saveUndo();
    void set(Point p, CursorColour colour);
    void applyTool(Point p);
    void drawLine(Point a, Point b, CursorColour colour);
    void drawBox(Point a, Point b, CursorColour colour, bool filled);
    void drawEllipse(Point a, Point b, CursorColour colour, bool filled);
    void fill(Point p, CursorColour colour);
    CursorColour shownAt(Point p) const;

    Bitmap32 m_picture;
    Point m_hotSpot;
    std::optional<Bitmap32> m_undo;
    CursorTool m_tool = CursorTool::Pen;
    CursorColour m_screen = CursorColour::rgb(192, 192, 192);
    CursorColour m_colour;
    CursorColour m_otherColour;
    Point m_start;
    Point m_last;
    bool m_pressed = false;
    bool m_changed = false;
};

}  // namespace quib
