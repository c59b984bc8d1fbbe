#pragma once

#include <QFont>
#include <QImage>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "base/text_font.h"

class QPainter;

namespace quib::raster {

// Pen styles with the values the shape files store.
enum class PenStyle : int32_t { Solid = 0, Dash = 1, Dot = 2, Null = 5 };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 1;
    uint32_t colour = 0;  // COLORREF 0x00BBGGRR
    static Pen solid(uint32_t colour, int32_t width = 1) { return Pen{PenStyle::Solid, width, colour}; }
    static Pen none() { return Pen{PenStyle::Null, 1, 0}; }
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    bool hollow = true;
    uint32_t colour = 0;
    static Brush hollowBrush() { return Brush{true, 0}; }
    static Brush solid(uint32_t colour) { return Brush{false, colour}; }
    friend bool operator==(const Brush&, const Brush&) = default;
};

enum class BackgroundMode { Transparent = 1, Opaque = 2 };
enum class RasterMode { Copy, NotXor };

// The colour read back when none is set or a pixel is outside the surface.
inline constexpr uint32_t kInvalidColour = 0xFFFFFFFF;

// A device context over a 32-bit QImage (ARGB32, ARGB32_Premultiplied or RGB32). Coordinates
// are whole pixels; rectangles exclude their right and bottom edges. Lines and shapes are drawn
// without antialiasing so that the outlines stay crisp and flood fills find closed regions.
//
// Text surfaces: a caller that prefills an ARGB32 (not premultiplied) surface with a marker and
// keeps only the pixels that were drawn gets antialiased text edges in the text's own colour with
// the coverage in alpha, so blending by alpha gives smooth text and mapping the colour bytes to a
// palette gives no dark fringe. Turning text antialiasing off gives pixels that are either the
// text colour or untouched.
class DrawContext {
public:
    explicit DrawContext(QImage& target);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    QImage& image() { return m_image; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

    // The selection functions return what was selected before, so callers can restore it.
    Pen setPen(const Pen& pen);
    const Pen& pen() const { return m_pen; }
    Brush setBrush(const Brush& brush);
    const Brush& brush() const { return m_brush; }
    RasterMode setRasterMode(RasterMode mode);
    RasterMode rasterMode() const { return m_rasterMode; }
    BackgroundMode setBackgroundMode(BackgroundMode mode);
    BackgroundMode backgroundMode() const { return m_backgroundMode; }
    uint32_t setBackgroundColour(uint32_t colour);
    uint32_t backgroundColour() const { return m_backgroundColour; }
    // kInvalidColour may be set and reads back unchanged: it means "no colour chosen".
    uint32_t setTextColour(uint32_t colour);
    uint32_t textColour() const { return m_textColour; }

    // Offset added to every coordinate given to the drawing functions.
    Point setOrigin(Point origin);
    Point origin() const { return m_origin; }

    void setFont(const LogFont& logFont);
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    void setTextAntialiasing(bool on);
    bool textAntialiasing() const { return m_textAntialiasing; }

    // Extra pixels that the next measured and drawn texts spread over their spaces (the break
    // characters): breakCount spaces share extra, the first ones one pixel more when it does not
    // divide evenly. (0, 0) turns it off.
    void setTextJustification(int extra, int breakCount);

    // Width and height (the font's cell height) of a UTF-8 text, justification included.
    Size textExtent(std::string_view utf8) const;
    // Draws a UTF-8 text with its top-left at (x, y) in the text colour (black when none is set);
    // in opaque mode the extent is filled with the background colour first.
    void textOut(int x, int y, std::string_view utf8);

    void line(Point from, Point to);
    void polyline(const std::vector<Point>& points);
    // Outline with the pen, inside with the brush; right and bottom are exclusive.
    void rectangle(const Rect& rect);
    void ellipse(const Rect& rect);
    void fillRect(const Rect& rect, uint32_t colour);
    void setPixel(int x, int y, uint32_t colour);

    // COLORREF of a pixel, or kInvalidColour outside the surface.
    uint32_t pixel(int x, int y) const;
    // Fills the 4-connected region of the seed pixel's colour with the brush colour.
    bool floodFill(int x, int y);

private:
    // bounds: where the figure lies, before the origin is added (used to size the NOT-XOR mask).
    void paint(const std::function<void(QPainter&)>& draw, bool usesBrush, QRect bounds);
    void preparePainter(QPainter& painter) const;
    void blendCoverage(const QImage& mask, int left, int top, QRgb colour);
    int justificationShare(int breakIndex) const;

    QImage& m_image;
    Pen m_pen;
    Brush m_brush = Brush::solid(0x00FFFFFF);
    RasterMode m_rasterMode = RasterMode::Copy;
    BackgroundMode m_backgroundMode = BackgroundMode::Opaque;
    uint32_t m_backgroundColour = 0x00FFFFFF;
    uint32_t m_textColour = 0;
    Point m_origin;
    QFont m_font;
    LogFont m_logFont;
    bool m_fontFromLogFont = true;
    bool m_textAntialiasing = true;
    int m_justifyExtra = 0;
    int m_justifyBreaks = 0;
};

// QColor value of a COLORREF.
QRgb rgbFromColour(uint32_t colour);
uint32_t colourFromRgb(QRgb rgb);

}  // namespace quib::raster
