#include "cursor_image_editor.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace quib {

CursorImageEditor::CursorImageEditor(CursorPicture input)
    : m_picture(std::move(input.image)), m_hotSpot(input.hotSpot) {
    // Normalise to the two pixel kinds the editor knows.
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            set({x, y}, colourAt({x, y}));
}

int CursorImageEditor::zoomFor(int width, int height) {
    if (width < 1 || height < 1)
        return 1;
    return std::max(225 / width, std::min(430 / std::max(width, height), 8));
}

CursorColour CursorImageEditor::colourAt(Point p) const {
    const uint8_t* q = m_picture.pixel(p.x, p.y);
    if (q[3] < 128)
        return CursorColour::clear();
    return CursorColour::rgb(q[2], q[1], q[0]);
}

CursorColour CursorImageEditor::shownAt(Point p) const {
    const CursorColour c = colourAt(p);
    return c.transparent ? m_screen : c;
}

void CursorImageEditor::set(Point p, CursorColour colour) {
    if (!contains(p))
        return;
    uint8_t* q = m_picture.pixel(p.x, p.y);
    if (colour.transparent) {
        q[0] = q[1] = q[2] = 1, q[3] = 0;
    } else {
        q[0] = colour.blue, q[1] = colour.green, q[2] = colour.red, q[3] = 255;
    }
}

void CursorImageEditor::saveUndo() {
    m_undo = m_picture;
    m_changed = true;
}

bool CursorImageEditor::undo() {
    if (!m_undo || m_pressed)
        return false;
    m_picture = std::move(*m_undo);
    m_undo.reset();
    return true;
}

void CursorImageEditor::press(Point p, CursorColour colour, CursorColour otherColour) {
    if (m_pressed || !contains(p))
        return;
    saveUndo();
    m_pressed = true;
    m_colour = colour;
    m_otherColour = otherColour;
    m_start = m_last = p;
    applyTool(p);
}

void CursorImageEditor::moveTo(Point p) {
    if (!m_pressed || p == m_last)
        return;
    m_last = p;
    applyTool(p);
}

void CursorImageEditor::release() {
    m_pressed = false;
}

void CursorImageEditor::applyTool(Point p) {
    switch (m_tool) {
        case CursorTool::Pen:
            set(p, m_colour);
            return;
        case CursorTool::Eraser:
            if (contains(p) && colourAt(p) == m_otherColour)
                set(p, m_colour);
            return;
        case CursorTool::Fill:
            if (p == m_start)
                fill(p, m_colour);
            return;
        default:
            break;
    }
    // Rubber-band shapes start again from the picture at the press each time.
    m_picture = *m_undo;
    switch (m_tool) {
        case CursorTool::Line:
            drawLine(m_start, p, m_colour);
            break;
        case CursorTool::Rectangle:
        case CursorTool::FilledRectangle:
            drawBox(m_start, p, m_colour, m_tool == CursorTool::FilledRectangle);
            break;
        case CursorTool::Ellipse:
        case CursorTool::FilledEllipse:
            drawEllipse(m_start, p, m_colour, m_tool == CursorTool::FilledEllipse);
            break;
        default:
            break;
    }
}

void CursorImageEditor::drawLine(Point a, Point b, CursorColour colour) {
    const int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    const int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        set(a, colour);
        if (a == b)
            return;
        const int e2 = 2 * error;
        if (e2 >= dy)
            error += dy, a.x += sx;
        if (e2 <= dx)
            error += dx, a.y += sy;
    }
}

void CursorImageEditor::drawBox(Point a, Point b, CursorColour colour, bool filled) {
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (filled || x == left || x == right || y == top || y == bottom)
                set({x, y}, colour);
}

void CursorImageEditor::drawEllipse(Point a, Point b, CursorColour colour, bool filled) {
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    const double cx = (left + right + 1) / 2.0, cy = (top + bottom + 1) / 2.0;
    const double rx = (right - left + 1) / 2.0, ry = (bottom - top + 1) / 2.0;
    const auto inside = [&](int x, int y) {
        if (x < left || x > right || y < top || y > bottom)
            return false;
        const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge =
                !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (filled || edge)
                set({x, y}, colour);
        }
    }
}

void CursorImageEditor::fill(Point start, CursorColour colour) {
    const CursorColour target = shownAt(start);
    std::vector<uint8_t> seen(size_t(width()) * size_t(height()), 0);
    std::vector<Point> pending{start};
    while (!pending.empty()) {
        const Point p = pending.back();
        pending.pop_back();
        if (!contains(p))
            continue;
        uint8_t& mark = seen[size_t(p.y) * size_t(width()) + size_t(p.x)];
        if (mark || !(shownAt(p) == target))
            continue;
        mark = 1;
        set(p, colour);
        pending.push_back({p.x + 1, p.y});
        pending.push_back({p.x - 1, p.y});
        pending.push_back({p.x, p.y + 1});
        pending.push_back({p.x, p.y - 1});
    }
}

void CursorImageEditor::clear(CursorColour colour) {
    saveUndo();
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            set({x, y}, colour);
}

void CursorImageEditor::flip() {
    saveUndo();
    const Bitmap32 source = m_picture;
    for (int y = 0; y < height(); ++y)
        std::copy_n(source.pixel(0, height() - 1 - y), m_picture.stride(), m_picture.pixel(0, y));
}

void CursorImageEditor::mirror() {
    saveUndo();
    const Bitmap32 source = m_picture;
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            std::copy_n(source.pixel(width() - 1 - x, y), 4, m_picture.pixel(x, y));
}

void CursorImageEditor::invertColours() {
    saveUndo();
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            const CursorColour c = colourAt({x, y});
            if (!c.transparent)
                set({x, y},
                    CursorColour::rgb(uint8_t(255 - c.red), uint8_t(255 - c.green), uint8_t(255 - c.blue)));
        }
    }
}

void CursorImageEditor::paste(const Bitmap32& source) {
    saveUndo();
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            uint8_t* d = m_picture.pixel(x, y);
            if (x < source.width && y < source.height)
                std::copy_n(source.pixel(x, y), 3, d);
            else if (d[3] < 128)
                d[0] = d[1] = d[2] = 0;  // a transparent pixel made opaque shows its colour: black
            d[3] = 255;
        }
    }
}

}  // namespace quib
