#include "zlib_util.h"

#include <zlib.h>

namespace quib {

size_t pictureStreamBound(int64_t cx, int64_t cy) {
    if (cx <= 0 || cy <= 0)
        return 12;
    return size_t((uint64_t(cx) * uint64_t(cy) * 330) / 100 + 12);
}

std::optional<std::vector<uint8_t>> zlibCompress(const uint8_t* data, size_t size, int level, size_t maxOut) {
    uLongf bound = compressBound(uLong(size));
    if (maxOut != 0 && maxOut < bound)
        bound = uLongf(maxOut);
    std::vector<uint8_t> out(bound);
    uLongf produced = bound;
    if (compress2(out.data(), &produced, data, uLong(size), level) != Z_OK)
        return std::nullopt;
    out.resize(produced);
    // Streams are kept for the life of a project: do not keep the worst-case room with them.
    out.shrink_to_fit();
    return out;
}

std::optional<size_t> zlibUncompress(const uint8_t* data, size_t size, uint8_t* out, size_t outSize) {
    // inflate directly so that a damaged stream still leaves what it produced.
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return std::nullopt;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(size);
    z.next_out = out;
    z.avail_out = uInt(outSize);
    int rc = inflate(&z, Z_FINISH);
    size_t produced = outSize - z.avail_out;
    inflateEnd(&z);
    if (rc != Z_STREAM_END)
        return std::nullopt;
    return produced;
}

}  // namespace quib
