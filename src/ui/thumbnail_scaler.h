#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/geometry.h"

namespace quib {

// Width of the ring drawn around every thumbnail: white, grey 128, white from outside in.
inline constexpr int ThumbnailBorder = 3;

// Size of a thumbnail including its border: the settings' box fitted to the frame's aspect ratio,
// plus the border on each side. Settings of 0 or less count as 64.
QSize thumbnailSize(QSize settings, Size frameSize);

// The border picture of a thumbnail of the given size (border included); the inside is white.
QImage thumbnailTemplate(QSize size);

// Box filter fed one source row at a time, top to bottom: destination pixel (x, y) is the
// integer mean of the source columns x * sw / dw .. (x + 1) * sw / dw and rows
// y * sh / dh .. (y + 1) * sh / dh, both ends included and clamped to the last column and row.
// Rows can come straight from a decompressor, so no whole picture is ever held.
class BoxFilter {
public:
    BoxFilter(int sourceWidth, int sourceHeight, int destWidth, int destHeight);

    int sourceWidth() const { return m_sw; }
    int sourceHeight() const { return m_sh; }
    // The next source row: sourceWidth blue-green-red pixels. Rows past the last are ignored.
    void addRow(const uint8_t* row);
    // Rows not given count as black. Writes destHeight rows of destWidth BGR pixels.
    void write(uint8_t* dest, size_t destStride) const;
    // Starts again for a new picture of the same size.
    void reset();

private:
    void binColumns(int destRow, const uint32_t* columns);

    int m_sw, m_sh, m_dw, m_dh;
    int m_nextRow = 0;
    std::vector<int> m_colFirst, m_colLast;  // per destination column, inclusive
    std::vector<int> m_rowFirst, m_rowLast;  // per destination row, inclusive
    std::vector<int> m_destRowsFrom;         // per source row: first destination row using it
    int m_openRows = 1;                      // most destination rows sharing one source row
    std::vector<uint32_t> m_columns;         // per open destination row: column sums of its rows
    std::vector<uint32_t> m_sums;            // dh x dw x 3
};

// Scales a whole top-down BGR picture with the box filter.
void boxScale(const uint8_t* source, int sw, int sh, size_t sourceStride, uint8_t* dest, int dw, int dh,
              size_t destStride);

// Decompresses a zlib stream of a sw x sh BGR picture a few rows at a time into the filter.
// Returns false when the stream is damaged or short; the rows read so far still count. The
// trailing checksum is not verified: a thumbnail shows whatever pixels the stream holds.
bool filterCompressedPicture(const uint8_t* stream, size_t size, BoxFilter& filter,
                             std::vector<uint8_t>& scratch);

// The thumbnail of a picture: the template with the picture box-filtered into its inside.
QImage thumbnailOf(const QImage& templ, const uint8_t* pixels, int sw, int sh, size_t stride);

}  // namespace quib
