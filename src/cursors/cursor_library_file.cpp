#include "cursor_library_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/atomic_file.h"
#include "base/file_bytes.h"

namespace quib {

namespace {

constexpr uint8_t kTransparent[4] = {1, 1, 1, 0};
// Smallest picture stream: the header and one pixel; bounds the count a file may claim.
constexpr size_t kMinimumCursorBytes = 1 + 16 + 4;

std::string fileMessage(const std::string& path, const std::string& reason) {
    return "Impossibile leggere la libreria dei cursori " + path + ": " + reason;
}

}  // namespace

void writeCursorPicture(ByteWriter& out, const CursorPicture& cursor) {
    const Bitmap32& image = cursor.image;
    out.u16(kCursorStreamMagic);
    out.u16(kCursorStreamVersion);
    out.u16(uint16_t(image.width));
    out.u16(uint16_t(image.height));
    out.i32(cursor.hotSpot.x);
    out.i32(cursor.hotSpot.y);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.pixel(x, y);
            if (p[3] >= 128) {
                const uint8_t opaque[4] = {p[0], p[1], p[2], 255};
                out.bytes(opaque, 4);
            } else {
                out.bytes(kTransparent, 4);
            }
        }
    }
}

CursorPicture readCursorPicture(ByteReader& in) {
    if (in.u16() != kCursorStreamMagic)
        throw FormatError("not a cursor picture");
    if (in.u16() != kCursorStreamVersion)
        throw FormatError("unknown cursor picture version");
    const int width = in.u16();
    const int height = in.u16();
    if (width < 1 || height < 1 || width > kMaxCursorSide || height > kMaxCursorSide)
        throw FormatError("cursor picture size out of range");
    CursorPicture cursor;
    cursor.hotSpot.x = in.i32();
    cursor.hotSpot.y = in.i32();
    const size_t bytes = *pictureBytes(width, height, 4);
    const uint8_t* source = in.bytes(bytes);  // checked against what remains before allocating
    cursor.image = Bitmap32(width, height);
    for (size_t i = 0; i < bytes; i += 4) {
        uint8_t* d = cursor.image.pixels.data() + i;
        if (source[i + 3] >= 128) {
            std::memcpy(d, source + i, 3);
            d[3] = 255;
        } else {
            std::memcpy(d, kTransparent, 4);
        }
    }
    return cursor;
}

std::vector<uint8_t> writeUserCursors(const std::vector<UserCursor>& cursors) {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    out.u32(uint32_t(cursors.size()));
    for (const UserCursor& cursor : cursors) {
        out.archiveString(cursor.name);
        writeCursorPicture(out, cursor.cursor);
    }
    return bytes;
}

std::vector<UserCursor> readUserCursors(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const uint32_t count = in.u32();
    if (count > in.remaining() / kMinimumCursorBytes)
        throw FormatError("cursor count larger than the file");
    std::vector<UserCursor> cursors;
    cursors.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        UserCursor cursor;
        cursor.name = in.archiveString();
        cursor.cursor = readCursorPicture(in);
        cursors.push_back(std::move(cursor));
    }
    if (!in.atEnd())
        throw FormatError("unexpected bytes after the last cursor");
    return cursors;
}

Status loadUserCursorFile(const std::string& path, std::vector<UserCursor>& cursors, bool* found) {
    cursors.clear();
    if (found)
        *found = false;
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return Status::success();
    if (found)
        *found = true;
    std::vector<uint8_t> bytes;
    if (readFileBytes(path, bytes) != FileRead::Ok)
        return Status::failureText(fileMessage(path, std::strerror(errno)));
    try {
        cursors = readUserCursors(bytes.data(), bytes.size());
    } catch (const FormatError&) {
        return Status::failure(str::UnexpectedFormat, fileMessage(path, stringText(str::UnexpectedFormat)));
    }
    return Status::success();
}

Status saveUserCursorFile(const std::string& path, const std::vector<UserCursor>& cursors) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    if (!writeFileAtomically(path, writeUserCursors(cursors)))
        return Status::failure(str::CannotCreateFile,
                               std::string(stringText(str::CannotCreateFile)) + " " + path);
    return Status::success();
}

}  // namespace quib
