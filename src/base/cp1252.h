#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quib {

// Code page 1252 bytes to UTF-8. Every byte maps to something (the five unassigned bytes
// map to the C1 control characters of the same value).
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to code page 1252, or nothing when some character has no place in the code page.
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// UTF-16LE bytes (2 per unit) to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16leToUtf8(std::string_view bytes);

// UTF-8 to UTF-16LE bytes.
std::string utf8ToUtf16le(std::string_view utf8);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

}  // namespace quib
