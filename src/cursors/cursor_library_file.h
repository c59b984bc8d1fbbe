#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_stream.h"
#include "base/cursor_picture.h"
#include "base/status.h"

namespace quib {

// A cursor the user made and named, kept in the user cursor library.
struct UserCursor {
    std::string name;
    CursorPicture cursor;
};

// The user cursor library file: u32 count, then per cursor its name (archive string) and its
// picture stream (below).
inline constexpr const char* kUserCursorFileName = "usercurs.dat";

// Picture stream: u16 0x4C49, u16 version 1, u16 width, u16 height, i32 hot spot x, i32 hot spot y,
// then width x height blue, green, red, alpha bytes where alpha is the mask (0 transparent,
// 255 opaque). Sides are 1 to kMaxCursorSide.
inline constexpr uint16_t kCursorStreamMagic = 0x4C49;
inline constexpr uint16_t kCursorStreamVersion = 1;
inline constexpr int kMaxCursorSide = 256;

void writeCursorPicture(ByteWriter& out, const CursorPicture& cursor);
// Throws FormatError on a malformed stream. Alpha is brought back to 0 or 255, transparent
// pixels to 1, 1, 1, 0.
CursorPicture readCursorPicture(ByteReader& in);

std::vector<uint8_t> writeUserCursors(const std::vector<UserCursor>& cursors);
// Throws FormatError on a malformed or truncated library, or on bytes left after the last cursor.
std::vector<UserCursor> readUserCursors(const uint8_t* data, size_t size);

// Reads the library at path into cursors. A missing file is an empty library (found is false);
// an unreadable or malformed one fails with a message naming the file and leaves cursors empty.
Status loadUserCursorFile(const std::string& path, std::vector<UserCursor>& cursors, bool* found = nullptr);
// Replaces path whole, so a failed save leaves the old file as it was; creates the folder when
// needed.
Status saveUserCursorFile(const std::string& path, const std::vector<UserCursor>& cursors);

}  // namespace quib
