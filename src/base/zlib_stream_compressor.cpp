#include "zlib_stream_compressor.h"

#include <libdeflate.h>
#include <zlib.h>

#include <array>
#include <memory>

namespace quib {

namespace {

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
using CompressorPointer = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

libdeflate_compressor* compressorFor(int level) {
    // Making a compressor allocates its match finder (up to a few hundred kilobytes), so each
    // thread keeps the ones it used.
    thread_local std::array<CompressorPointer, ZlibStreamCompressor::kMaximumLevel + 1> compressors;
    CompressorPointer& slot = compressors[size_t(level)];
    if (!slot)
        slot.reset(libdeflate_alloc_compressor(level));
    return slot.get();
}

// This libdeflate has no level 0; zlib stores the data in the same format.
bool storeWithZlib(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    uLongf produced = compressBound(uLong(size));
    out.resize(produced);
    if (compress2(out.data(), &produced, data, uLong(size), 0) != Z_OK)
        return false;
    out.resize(produced);
    return true;
}

}  // namespace

bool ZlibStreamCompressor::compress(const uint8_t* data, size_t size, int level, std::vector<uint8_t>& out) {
    if (level == 0)
        return storeWithZlib(data, size, out);
    if (level < 1 || level > kMaximumLevel)
        return false;
    libdeflate_compressor* compressor = compressorFor(level);
    if (!compressor)
        return false;
    // Uninitialised room: zero-filling a frame-sized buffer would cost as much as a copy.
    const size_t room = libdeflate_zlib_compress_bound(compressor, size);
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[room]);
    if (!buffer)
        return false;
    const size_t produced = libdeflate_zlib_compress(compressor, data, size, buffer.get(), room);
    if (produced == 0)
        return false;
    out.assign(buffer.get(), buffer.get() + produced);
    return true;
}

size_t ZlibStreamCompressor::compressedSize(const uint8_t* data, size_t size, int level) {
    std::vector<uint8_t> stream;
    return compress(data, size, level, stream) ? stream.size() : 0;
}

}  // namespace quib
