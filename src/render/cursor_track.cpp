#include "cursor_track.h"

#include <cstring>

#include "palette/octree.h"
#include "render/movie_pixels.h"
#include "render/movie_timing.h"
#include "swf/swf_movie.h"

namespace quib {

namespace {

constexpr uint32_t kTransparentCursorWord = 0x00010101;  // the bytes 1, 1, 1, 0

}  // namespace

IndexedCursor indexCursorPicture(const Bitmap32& source) {
    // Cursors are drawn covered or not; a faint shadow pixel would otherwise turn solid.
    Bitmap32 picture = source;
    for (size_t p = 0; p + 3 < picture.pixels.size(); p += 4) {
        uint8_t* px = picture.pixels.data() + p;
        if (px[3] < 128)
            std::memcpy(px, kTransparentCursorPixel, 4);
        else
            px[3] = 255;
    }
    const std::vector<PaletteEntry> colours = OctreePalette(picture, 255);
    ColorTable table;
    table.set(0, 0, 0, 0, 0);
    for (size_t i = 0; i < colours.size() && i < 255; ++i)
        table.set(int(i) + 1, colours[i].red, colours[i].green, colours[i].blue, 255);
    table.count = int(std::min<size_t>(colours.size(), 255)) + 1;

    IndexedCursor result;
    mapToPalette(picture.pixels.data(), picture.width, picture.height, result.pixels, table,
                 kTransparentCursorWord);
    result.colorCount = table.count;
    const std::span<const uint8_t> bytes = table.bytes();
    result.colorTable.assign(bytes.begin(), bytes.end());
    return result;
}

CursorTrack::CursorTrack(SwfMovie& movie, int smoothness)
    : m_movie(movie), m_smoothness(smoothness < 1 ? 1 : smoothness) {}

CursorTrack::Entry* CursorTrack::findOrAdd(const Bitmap32& picture) {
    for (Entry& entry : m_library) {
        if (entry.picture == picture)
            return &entry;
    }
    IndexedCursor indexed = indexCursorPicture(picture);
    SwfBitmapDescription bitmap;
    bitmap.format = SwfBitmapDescription::ColorMapped8;
    bitmap.width = picture.width;
    bitmap.height = picture.height;
    bitmap.colorCount = indexed.colorCount;
    bitmap.hasAlpha = true;
    bitmap.pixels = indexed.pixels;
    bitmap.colorTable = indexed.colorTable;
    bitmap.level = 9;
    Entry entry;
    entry.picture = picture;
    entry.object =
        std::make_unique<BitmapObject>(m_movie, 0, 0, picture.width - 1, picture.height - 1, bitmap);
    entry.object->setLayer(kLayer);
    if (!entry.object->ok())
        m_movie.recordError(entry.object->status().message());
    m_library.push_back(std::move(entry));
    return &m_library.back();
}

int CursorTrack::advance(int f, bool visible, Point position, const Bitmap32& picture) {
    // A cursor without pixels has nothing to show.
    visible = visible && !picture.isNull() && picture.width > 0 && picture.height > 0;
    bool placeNew = true;
    if (m_onStage) {
        const bool changed = visible != m_previousVisible || !(m_onStage->picture == picture);
        const int64_t steps = glideSteps(m_position, position, m_smoothness, changed);
        BitmapObject& object = *m_onStage->object;
        for (int64_t s = 1; s <= steps; ++s) {
            SwfFrame& frame = m_movie.frame(int(f + s));
            frame.remove(object);
            const Point at = glidePosition(m_position, position, s, steps);
            object.setTranslate(at.x, at.y);
            frame.place(object);
        }
        f += int(steps);
        m_position = position;
        if (changed) {
            m_movie.frame(f).remove(object);
            m_onStage = nullptr;
        } else {
            placeNew = false;
        }
    }
    if (placeNew && visible) {
        Entry* entry = findOrAdd(picture);
        entry->object->setTranslate(position.x, position.y);
        m_movie.frame(f).place(*entry->object);
        m_onStage = entry;
        m_position = position;
    }
    m_previousVisible = visible;
    return f;
}

}  // namespace quib
