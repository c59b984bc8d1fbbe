#include "frame_image_track.h"

#include <algorithm>
#include <cstring>

#include "base/zlib_stream_compressor.h"
#include "render/movie_pixels.h"
#include "swf/swf_movie.h"

namespace quib {

FrameImageTrack::FrameImageTrack(SwfMovie& movie, Size frameSize, Point origin, const RenderPalette* palette)
    : m_movie(movie), m_size(frameSize), m_origin(origin), m_palette(palette) {
    m_pixelBytes = palette ? 1 : 4;
    m_stride = palette ? indexedRowBytes(frameSize.cx) : size_t(frameSize.cx) * 4;
    m_previous.assign(m_stride * size_t(frameSize.cy), 0);
}

Rect FrameImageTrack::changedBox() const {
    if (m_first)
        return Rect{0, 0, m_size.cx, m_size.cy};
    return changedRect(m_current.data(), m_previous.data(), m_size, m_stride, m_pixelBytes);
}

std::unique_ptr<BitmapObject> FrameImageTrack::makeBitmap(const Rect& box, uint8_t format, bool hasAlpha,
                                                          const std::vector<uint8_t>& pixels,
                                                          const ColorTable* table) {
    SwfBitmapDescription bitmap;
    bitmap.format = format;
    bitmap.width = box.width();
    bitmap.height = box.height();
    bitmap.hasAlpha = hasAlpha;
    bitmap.pixels = pixels;
    if (table) {
        bitmap.colorCount = table->count;
        bitmap.colorTable = table->bytes();
    }
    bitmap.level = kCompressionLevel;
    auto object =
        std::make_unique<BitmapObject>(m_movie, m_origin.x + box.left, m_origin.y + box.top,
                                       m_origin.x + box.right - 1, m_origin.y + box.bottom - 1, bitmap);
    object->setLayer(kLayer);
    if (!object->ok())
        m_movie.recordError(object->status().message());
    return object;
}

void FrameImageTrack::fillPatch32(const Rect& box) {
    const size_t rowBytes = size_t(box.width()) * 4;
    m_scratch.resize(rowBytes * size_t(box.height()));
    for (int y = box.top; y < box.bottom; ++y) {
        const uint8_t* c = m_current.data() + size_t(y) * m_stride + size_t(box.left) * 4;
        const uint8_t* p = m_previous.data() + size_t(y) * m_stride + size_t(box.left) * 4;
        uint8_t* d = m_scratch.data() + size_t(y - box.top) * rowBytes;
        for (int x = 0; x < box.width(); ++x, c += 4, p += 4, d += 4) {
            if (!m_first && std::memcmp(c, p, 4) == 0)
                std::memset(d, 0, 4);  // fully transparent: the picture below shows
            else
                std::memcpy(d, c, 4);
        }
    }
}

std::vector<uint8_t> FrameImageTrack::patchPixels8(Rect& box) {
    // 8-bit rows are padded to 4 bytes, so the patch is widened to a multiple of 4 pixels; columns
    // past the picture come from the padding, which is equal in both buffers.
    if (int r = box.width() % 4; r != 0)
        box.left = std::max(box.left - (4 - r), 0);
    if (int r = box.width() % 4; r != 0)
        box.right += 4 - r;
    const int w = box.width();
    const uint8_t t = uint8_t(m_palette->transparent);
    std::vector<uint8_t> patch(size_t(w) * size_t(box.height()));
    for (int y = box.top; y < box.bottom; ++y) {
        const uint8_t* c = m_current.data() + size_t(y) * m_stride + size_t(box.left);
        const uint8_t* p = m_previous.data() + size_t(y) * m_stride + size_t(box.left);
        uint8_t* d = patch.data() + size_t(y - box.top) * size_t(w);
        for (int x = 0; x < w; ++x)
            d[x] = (!m_first && c[x] == p[x]) ? t : c[x];
        // A single unchanged pixel between two equal ones takes their value: it costs nothing to
        // show and keeps the run unbroken for the compressor.
        for (int x = 1; x <= w - 3; ++x) {
            if (d[x] == t && d[x - 1] == d[x + 1] && c[x] == d[x - 1])
                d[x] = d[x - 1];
        }
    }
    return patch;
}

std::unique_ptr<BitmapObject> FrameImageTrack::makeFullFrame() {
    const Rect whole{0, 0, m_size.cx, m_size.cy};
    if (!m_palette)
        return makeBitmap(whole, SwfBitmapDescription::Argb32, false, m_current, nullptr);
    m_scratch = m_current;
    const ColorTable used =
        compactPalette(m_scratch.data(), int(m_stride), m_size.cx, m_size.cy, m_palette->table);
    return makeBitmap(whole, SwfBitmapDescription::ColorMapped8, true, m_scratch, &used);
}

void FrameImageTrack::placeLive(std::unique_ptr<BitmapObject> object, int f) {
    m_movie.frame(f).place(*object);
    m_live.push_back(std::move(object));
}

FrameImageTrack::Estimate FrameImageTrack::estimate(const Rect& box,
                                                    std::span<const uint8_t> patchPixels) const {
    // Level 1 finds fewer matches than the movie's level, so its size is an upper bound in practice.
    const size_t patch = ZlibStreamCompressor::compressedSize(patchPixels.data(), patchPixels.size(), 1);
    // Deflate packs at most 1032 bytes into one: a patch no larger than that share of the whole
    // frame cannot be beaten by it.
    const size_t fullBytes = m_stride * size_t(m_size.cy);
    if (patch != 0 && patch <= fullBytes / 1032)
        return Estimate::Patch;
    // A whole frame compresses to about what the last one did while less than half the picture
    // changed; a patch at most half that size is then far from losing.
    const int64_t area = int64_t(m_size.cx) * m_size.cy;
    const bool smallChange = int64_t(box.width()) * box.height() * 2 < area;
    const size_t lastFull = m_lastFullData.valid() && m_lastFullData.get() ? m_lastFullData.get()->size() : 0;
    if (patch != 0 && smallChange && patch * 2 < lastFull)
        return Estimate::Patch;
    return Estimate::Close;
}

FrameImageTrack::Change FrameImageTrack::update(int projectFrame, int f) {
    Rect box = changedBox();
    m_lastBox = box;
    if (box.isEmpty())
        return Change::None;

    const bool forced = projectFrame - m_lastKey >= kFullFrameInterval;
    std::vector<uint8_t> patch8;
    if (m_palette)
        patch8 = patchPixels8(box);
    else if (!forced)
        fillPatch32(box);
    m_lastBox = box;
    m_first = false;
    const std::vector<uint8_t>& patchPixels = m_palette ? patch8 : m_scratch;
    auto makePatch = [&] {
        if (m_palette)
            return makeBitmap(box, SwfBitmapDescription::ColorMapped8, true, patch8, &m_palette->table);
        return makeBitmap(box, SwfBitmapDescription::Argb32, true, m_scratch, nullptr);
    };

    // Both candidates are only compressed when the estimate cannot tell; the two then compress
    // side by side and the smaller wins.
    std::unique_ptr<BitmapObject> patch, full;
    bool chooseFull = forced;
    if (!forced && estimate(box, patchPixels) == Estimate::Close) {
        patch = makePatch();
        full = makeFullFrame();
        chooseFull = patch->bitmapCompressedSize() > full->bitmapCompressedSize();
    }
    if (chooseFull && !full)
        full = makeFullFrame();
    std::swap(m_current, m_previous);  // the current picture is the previous one from now on

    if (chooseFull) {
        for (auto& live : m_live)
            m_movie.frame(f).remove(*live);
        m_live.clear();
        m_lastKey = projectFrame;
        m_lastFullData = full->bitmapDataWhenReady();
        placeLive(std::move(full), f);
        return Change::FullFrame;
    }
    full.reset();
    if (m_palette) {
        // The movie keeps the patch with only the colours it uses.
        patch.reset();
        const ColorTable used =
            compactPalette(patch8.data(), box.width(), box.width(), box.height(), m_palette->table);
        patch = makeBitmap(box, SwfBitmapDescription::ColorMapped8, true, patch8, &used);
    } else if (!patch) {
        patch = makePatch();
    }
    placeLive(std::move(patch), f);
    return Change::Patch;
}

}  // namespace quib
