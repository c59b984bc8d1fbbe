#include "shapes/default_callouts.h"

#include "base/text_font.h"
#include "shapes/curve_shape.h"
#include "shapes/fill_shape.h"
#include "shapes/polygon_shape.h"

namespace quib {

namespace {

// Fill markers are squares of 10 pixels on a canvas of this size.
constexpr int kCanvas = 400;
// Control-point distance that makes a cubic look like a quarter ellipse.
constexpr double kArc = 0.5523;

// Builds the points of a closed Bezier outline piece by piece.
class CurvePath {
public:
    explicit CurvePath(PointD start) { m_points.push_back(start); }
    PointD last() const { return m_points.back(); }
    void lineTo(PointD p) {
        const PointD a = last();
        m_points.push_back(PointD{a.x + (p.x - a.x) / 3, a.y + (p.y - a.y) / 3});
        m_points.push_back(PointD{a.x + 2 * (p.x - a.x) / 3, a.y + 2 * (p.y - a.y) / 3});
        m_points.push_back(p);
    }
    // A rounded corner at corner, ending at p.
    void cornerTo(PointD corner, PointD p) {
        const PointD a = last();
        m_points.push_back(PointD{a.x + (corner.x - a.x) * kArc, a.y + (corner.y - a.y) * kArc});
        m_points.push_back(PointD{p.x + (corner.x - p.x) * kArc, p.y + (corner.y - p.y) * kArc});
        m_points.push_back(p);
    }
    const std::vector<PointD>& points() const { return m_points; }

private:
    std::vector<PointD> m_points;
};

enum class Tail { None, Down, Up, Left, Right };

struct Body {
    double x0, y0, x1, y1;
};

// Goes along an edge from the current point to `to`, with a tail between 62% and 80% of the way
// whose tip is `tip`, when asked for. The edges run clockwise, so the tails sit toward the left
// of the bottom edge, the right of the top edge, the bottom of the right edge and the top of the left.
void edge(CurvePath& path, PointD to, bool withTail, PointD tip) {
    if (withTail) {
        const PointD from = path.last();
        auto along = [&](double f) {
            return PointD{from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f};
        };
        path.lineTo(along(0.62));
        path.lineTo(tip);
        path.lineTo(along(0.80));
    }
    path.lineTo(to);
}

std::unique_ptr<CurveShape> roundedOutline(const Body& b, double rx, double ry, Tail tail, PointD tip) {
    CurvePath path(PointD{b.x0 + rx, b.y0});
    edge(path, PointD{b.x1 - rx, b.y0}, tail == Tail::Up, tip);
    path.cornerTo(PointD{b.x1, b.y0}, PointD{b.x1, b.y0 + ry});
    edge(path, PointD{b.x1, b.y1 - ry}, tail == Tail::Right, tip);
    path.cornerTo(PointD{b.x1, b.y1}, PointD{b.x1 - rx, b.y1});
    edge(path, PointD{b.x0 + rx, b.y1}, tail == Tail::Down, tip);
    path.cornerTo(PointD{b.x0, b.y1}, PointD{b.x0, b.y1 - ry});
    edge(path, PointD{b.x0, b.y0 + ry}, tail == Tail::Left, tip);
    path.cornerTo(PointD{b.x0, b.y0}, PointD{b.x0 + rx, b.y0});
    auto curve = std::make_unique<CurveShape>();
    curve->closed = true;
    curve->SetPoints(path.points());
    return curve;
}

std::unique_ptr<PolygonShape> polygon(std::vector<PointD> points, bool closedOutline) {
    auto shape = std::make_unique<PolygonShape>();
    shape->closed = closedOutline;
    shape->SetPoints(points);
    return shape;
}

std::unique_ptr<Shape> textField(const Body& b) {
    auto field = polygon({{b.x0, b.y0}, {b.x1, b.y0}, {b.x1, b.y1}, {b.x0, b.y1}, {b.x0, b.y0}}, false);
    field->colour = 0;
    field->penStyle = 2;
    field->permanent = true;
    return field;
}

// Gives the shapes of a callout their editor names and styles its outline shapes.
Callout makeCallout(const std::string& name, uint32_t textColour,
                    std::vector<std::unique_ptr<Shape>> shapes) {
    Callout callout;
    callout.name = name;
    callout.textColour = textColour;
    int number = 1;
    for (auto& shape : shapes) {
        shape->name = "Shape" + std::to_string(number++);
        shape->Update(0, false);
        callout.shapes.push_back(std::move(shape));
    }
    return callout;
}

template <typename S>
std::unique_ptr<Shape> styled(std::unique_ptr<S> shape, uint32_t colour, int width) {
    shape->colour = colour;
    shape->penWidth = width;
    shape->penStyle = 0;
    return shape;
}

std::unique_ptr<Shape> fill(double x, double y, uint32_t colour) {
    return FillShape::at(x, y, kCanvas, kCanvas, colour);
}

std::vector<std::unique_ptr<Shape>> list(std::unique_ptr<Shape> a, std::unique_ptr<Shape> b,
                                         std::unique_ptr<Shape> c, std::unique_ptr<Shape> d = nullptr,
                                         std::unique_ptr<Shape> e = nullptr) {
    std::vector<std::unique_ptr<Shape>> shapes;
    for (auto* s : {&a, &b, &c, &d, &e})
        if (*s)
            shapes.push_back(std::move(*s));
    return shapes;
}

Callout bubble(const std::string& name, Tail tail) {
    Body body{0.02, 0.02, 0.98, 0.98};
    PointD tip;
    switch (tail) {
        case Tail::Down:
            body.y1 = 0.74, tip = PointD{0.18, 0.98};
            break;
        case Tail::Up:
            body.y0 = 0.26, tip = PointD{0.82, 0.02};
            break;
        case Tail::Left:
            body.x0 = 0.16, tip = PointD{0.02, 0.18};
            break;
        case Tail::Right:
            body.x1 = 0.84, tip = PointD{0.98, 0.82};
            break;
        case Tail::None:
            break;
    }
    const Body text{body.x0 + 0.06, body.y0 + 0.1, body.x1 - 0.06, body.y1 - 0.1};
    const PointD centre{(body.x0 + body.x1) / 2, (body.y0 + body.y1) / 2};
    return makeCallout(
        name, rgb(0, 0, 0),
        list(textField(text), styled(roundedOutline(body, 0.08, 0.16, tail, tip), rgb(40, 40, 40), 2),
             fill(centre.x, centre.y, rgb(255, 255, 255))));
}

}  // namespace

CalloutLibrary defaultCalloutLibrary() {
    CalloutLibrary library;
    const Body whole{0.02, 0.02, 0.98, 0.98};

    library.Add(makeCallout(
        "Rettangolo", rgb(0, 0, 0),
        list(textField(Body{0.06, 0.08, 0.94, 0.92}),
             styled(polygon({{0.02, 0.02}, {0.98, 0.02}, {0.98, 0.98}, {0.02, 0.98}, {0.02, 0.02}}, true),
                    rgb(0, 0, 0), 1),
             fill(0.5, 0.5, rgb(255, 255, 225)))));

    library.Add(
        makeCallout("Riquadro arrotondato", rgb(16, 42, 92),
                    list(textField(Body{0.07, 0.12, 0.93, 0.88}),
                         styled(roundedOutline(whole, 0.08, 0.18, Tail::None, {}), rgb(46, 92, 170), 2),
                         fill(0.5, 0.5, rgb(222, 234, 252)))));

    library.Add(bubble("Fumetto in basso", Tail::Down));
    library.Add(bubble("Fumetto in alto", Tail::Up));
    library.Add(bubble("Fumetto a sinistra", Tail::Left));
    library.Add(bubble("Fumetto a destra", Tail::Right));

    // A frame round what the text is about, with the text on a band along its bottom edge.
    library.Add(makeCallout(
        "Evidenziatore", rgb(255, 255, 255),
        list(textField(Body{0.05, 0.70, 0.95, 0.96}),
             styled(polygon({{0.02, 0.02}, {0.98, 0.02}, {0.98, 0.98}, {0.02, 0.98}, {0.02, 0.02}}, true),
                    rgb(220, 40, 30), 3),
             styled(polygon({{0.02, 0.68}, {0.98, 0.68}}, false), rgb(220, 40, 30), 3),
             fill(0.5, 0.84, rgb(220, 40, 30)))));

    // A sheet with its bottom-right corner folded over.
    library.Add(makeCallout(
        "Nota", rgb(70, 50, 10),
        list(textField(Body{0.07, 0.1, 0.9, 0.8}),
             styled(
                 polygon({{0.02, 0.02}, {0.98, 0.02}, {0.98, 0.74}, {0.84, 0.98}, {0.02, 0.98}, {0.02, 0.02}},
                         true),
                 rgb(150, 120, 30), 1),
             styled(polygon({{0.98, 0.74}, {0.84, 0.74}, {0.84, 0.98}}, false), rgb(150, 120, 30), 1),
             fill(0.4, 0.5, rgb(255, 244, 160)), fill(0.88, 0.8, rgb(230, 210, 110)))));

    library.setChanged(false);
    return library;
}

const Callout* calloutForTextBox(const CalloutLibrary& library, std::string_view name) {
    if (const Callout* found = library.FindCallout(name))
        return found;
    if (name.empty())
        return nullptr;
    static const Callout placeholder = makeCallout(
        "", rgb(0, 0, 0),
        list(textField(Body{0.06, 0.08, 0.94, 0.92}),
             styled(polygon({{0.02, 0.02}, {0.98, 0.02}, {0.98, 0.98}, {0.02, 0.98}, {0.02, 0.02}}, true),
                    rgb(128, 128, 128), 1),
             fill(0.5, 0.5, rgb(255, 255, 255))));
    return &placeholder;
}

}  // namespace quib
