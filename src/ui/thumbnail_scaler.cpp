#include "thumbnail_scaler.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace quib {

QSize thumbnailSize(QSize settings, Size frameSize) {
    const int64_t boxW = settings.width() > 0 ? settings.width() : 64;
    const int64_t boxH = settings.height() > 0 ? settings.height() : 64;
    int64_t w = boxW, h = boxH;
    if (frameSize.cx > 0 && frameSize.cy > 0) {
        if (frameSize.cx <= frameSize.cy)
            w = boxH * frameSize.cx / frameSize.cy;
        else
            h = boxW * frameSize.cy / frameSize.cx;
    }
    if (w > boxW) {
        h = h * boxW / w;
        w = boxW;
    }
    if (h > boxH) {
        w = w * boxH / h;
        h = boxH;
    }
    // A sliver of a frame still gets one pixel of picture.
    w = std::max<int64_t>(w, 1), h = std::max<int64_t>(h, 1);
    return QSize(int(w) + 2 * ThumbnailBorder, int(h) + 2 * ThumbnailBorder);
}

QImage thumbnailTemplate(QSize size) {
    QImage image(size, QImage::Format_BGR888);
    image.fill(Qt::white);
    const uint8_t grey = 128;
    for (int y = 1; y < size.height() - 1; ++y) {
        uint8_t* row = image.scanLine(y);
        const bool edgeRow = y == 1 || y == size.height() - 2;
        for (int x = 1; x < size.width() - 1; ++x) {
            if (edgeRow || x == 1 || x == size.width() - 2)
                std::memset(row + x * 3, grey, 3);
        }
    }
    return image;
}

namespace {
// Inclusive source ranges of each destination cell along one axis.
void ranges(int source, int dest, std::vector<int>& first, std::vector<int>& last) {
    first.resize(size_t(dest));
    last.resize(size_t(dest));
    for (int i = 0; i < dest; ++i) {
        first[size_t(i)] = std::min(int(int64_t(i) * source / dest), source - 1);
        last[size_t(i)] = std::min(int(int64_t(i + 1) * source / dest), source - 1);
    }
}
// Blocks of a fixed length, so that the compiler turns them into vector code at any optimisation level.
void addBytes(uint32_t* __restrict sums, const uint8_t* __restrict bytes, size_t n) {
    constexpr size_t Block = 16;
    size_t i = 0;
    for (; i + Block <= n; i += Block)
        for (size_t k = 0; k < Block; ++k)
            sums[i + k] += bytes[i + k];
    for (; i < n; ++i)
        sums[i] += bytes[i];
}
}  // namespace

BoxFilter::BoxFilter(int sourceWidth, int sourceHeight, int destWidth, int destHeight)
    : m_sw(std::max(sourceWidth, 0)),
      m_sh(std::max(sourceHeight, 0)),
      m_dw(std::max(destWidth, 0)),
      m_dh(std::max(destHeight, 0)) {
    if (m_sw == 0 || m_sh == 0)
        m_dw = m_dh = 0;
    ranges(m_sw, m_dw, m_colFirst, m_colLast);
    ranges(m_sh, m_dh, m_rowFirst, m_rowLast);
    m_destRowsFrom.assign(size_t(m_sh), m_dh);
    std::vector<int> users(size_t(m_sh), 0);
    for (int ty = m_dh - 1; ty >= 0; --ty)
        for (int y = m_rowFirst[size_t(ty)]; y <= m_rowLast[size_t(ty)]; ++y) {
            m_destRowsFrom[size_t(y)] = ty;
            ++users[size_t(y)];
        }
    // Destination rows whose source rows are still coming: two when shrinking, more when enlarging.
    m_openRows = std::max(1, users.empty() ? 1 : *std::max_element(users.begin(), users.end()));
    m_columns.assign(size_t(m_openRows) * size_t(m_sw) * 3, 0);
    m_sums.assign(size_t(m_dw) * size_t(m_dh) * 3, 0);
}

void BoxFilter::reset() {
    m_nextRow = 0;
    std::fill(m_sums.begin(), m_sums.end(), 0u);
}

void BoxFilter::addRow(const uint8_t* row) {
    if (m_nextRow >= m_sh)
        return;
    const int y = m_nextRow++;
    const size_t n = size_t(m_sw) * 3;
    for (int ty = m_destRowsFrom[size_t(y)]; ty < m_dh && m_rowFirst[size_t(ty)] <= y; ++ty) {
        // Each open destination row first sums its source rows column by column (a plain,
        // vectorisable loop); the columns are binned once, when its last row has come.
        uint32_t* columns = m_columns.data() + size_t(ty % m_openRows) * n;
        if (y == m_rowFirst[size_t(ty)])
            std::fill(columns, columns + n, 0u);
        addBytes(columns, row, n);
        if (y == m_rowLast[size_t(ty)])
            binColumns(ty, columns);
    }
}

void BoxFilter::binColumns(int ty, const uint32_t* columns) {
    uint32_t* sums = m_sums.data() + size_t(ty) * size_t(m_dw) * 3;
    for (int tx = 0; tx < m_dw; ++tx) {
        uint32_t b = 0, g = 0, r = 0;
        const uint32_t* p = columns + size_t(m_colFirst[size_t(tx)]) * 3;
        const uint32_t* end = columns + size_t(m_colLast[size_t(tx)]) * 3 + 3;
        for (; p < end; p += 3)
            b += p[0], g += p[1], r += p[2];
        sums[tx * 3] = b, sums[tx * 3 + 1] = g, sums[tx * 3 + 2] = r;
    }
}

void BoxFilter::write(uint8_t* dest, size_t destStride) const {
    for (int ty = 0; ty < m_dh; ++ty) {
        const uint32_t rows = uint32_t(m_rowLast[size_t(ty)] - m_rowFirst[size_t(ty)] + 1);
        const uint32_t* sums = m_sums.data() + size_t(ty) * size_t(m_dw) * 3;
        uint8_t* out = dest + size_t(ty) * destStride;
        for (int tx = 0; tx < m_dw; ++tx) {
            const uint32_t area = rows * uint32_t(m_colLast[size_t(tx)] - m_colFirst[size_t(tx)] + 1);
            for (int c = 0; c < 3; ++c)
                out[tx * 3 + c] = uint8_t(sums[tx * 3 + c] / area);
        }
    }
}

void boxScale(const uint8_t* source, int sw, int sh, size_t sourceStride, uint8_t* dest, int dw, int dh,
              size_t destStride) {
    BoxFilter filter(sw, sh, dw, dh);
    for (int y = 0; y < sh; ++y)
        filter.addRow(source + size_t(y) * sourceStride);
    filter.write(dest, destStride);
}

bool filterCompressedPicture(const uint8_t* stream, size_t size, BoxFilter& filter,
                             std::vector<uint8_t>& scratch) {
    const size_t rowBytes = size_t(filter.sourceWidth()) * 3;
    if (rowBytes == 0 || filter.sourceHeight() == 0)
        return true;
    // A band of rows small enough to stay in the cache between inflating and filtering it.
    const size_t bandRows = std::max<size_t>(1, (64 * 1024) / rowBytes);
    scratch.resize(bandRows * rowBytes);
    z_stream z{};
    // The stream's checksum costs as much as the inflating itself and changes no pixel, so a plain
    // zlib header is skipped and the deflate data read raw; anything unusual goes the normal way.
    const bool plainHeader = size > 2 && (stream[0] & 0x0F) == Z_DEFLATED && (stream[0] >> 4) <= 7 &&
                             (unsigned(stream[0]) * 256 + stream[1]) % 31 == 0 && !(stream[1] & 0x20);
    if ((plainHeader ? inflateInit2(&z, -MAX_WBITS) : inflateInit(&z)) != Z_OK)
        return false;
    const size_t skipped = plainHeader ? 2 : 0;
    z.next_in = const_cast<Bytef*>(stream + skipped);
    size_t remainingIn = size - skipped;
    size_t filled = 0;  // bytes of the band holding output not yet given to the filter
    int rowsGiven = 0;
    bool ok = false;
    for (;;) {
        const uInt chunkIn = uInt(std::min<size_t>(remainingIn, 1u << 30));
        z.avail_in = chunkIn;
        z.next_out = scratch.data() + filled;
        z.avail_out = uInt(scratch.size() - filled);
        const int result = inflate(&z, Z_NO_FLUSH);
        remainingIn -= chunkIn - z.avail_in;
        filled = scratch.size() - z.avail_out;
        const size_t rows = filled / rowBytes;
        for (size_t r = 0; r < rows && rowsGiven < filter.sourceHeight(); ++r, ++rowsGiven)
            filter.addRow(scratch.data() + r * rowBytes);
        const size_t rest = filled - rows * rowBytes;
        if (rest > 0 && rows > 0)
            std::memmove(scratch.data(), scratch.data() + rows * rowBytes, rest);
        filled = rest;
        if (result == Z_STREAM_END) {
            ok = z.total_out == rowBytes * size_t(filter.sourceHeight());
            break;
        }
        if (result != Z_OK && result != Z_BUF_ERROR)
            break;
        if (rowsGiven >= filter.sourceHeight() && z.avail_out > 0 && result == Z_BUF_ERROR)
            break;
        if (result == Z_BUF_ERROR && z.avail_in == 0 && remainingIn == 0)
            break;  // the stream ends before its end marker
    }
    inflateEnd(&z);
    return ok;
}

QImage thumbnailOf(const QImage& templ, const uint8_t* pixels, int sw, int sh, size_t stride) {
    QImage image = templ.copy();
    const int dw = image.width() - 2 * ThumbnailBorder, dh = image.height() - 2 * ThumbnailBorder;
    if (dw > 0 && dh > 0)
        boxScale(pixels, sw, sh, stride, image.scanLine(ThumbnailBorder) + ThumbnailBorder * 3, dw, dh,
                 size_t(image.bytesPerLine()));
    return image;
}

}  // namespace quib
