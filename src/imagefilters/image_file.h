#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/bitmap.h"
#include "imagefilters/filter_table.h"

namespace quib {

// Loads a whole picture through the plug-in registered for the path's extension (blue, green,
// red, alpha). Fails without a message: a path holding a double quote, an unknown extension, a
// failed information call, a size that is not positive or above 32767 a side or 2^28 pixels, or a
// failed read.
std::optional<Bitmap32> LoadImageFile(const FilterTable& table, const std::string& path);

// The same picture without its alpha, as frames and backgrounds hold it.
std::optional<Bitmap24> LoadImageFile24(const FilterTable& table, const std::string& path);
// LoadImageFile24 through table, as the picture reader the frame operations take. The table must
// outlive the reader.
std::function<std::optional<Bitmap24>(const std::string& path)> PictureFileReader(const FilterTable& table);

// Writes a picture through the given record (or, when caps is nullptr, the one registered for the
// path's extension). False when the record cannot write or the plug-in reports a failure; the
// existing file is then left as it was.
bool SaveImageFile(const FilterTable& table, const std::string& path, const Bitmap32& picture,
                   const FilterCaps* caps = nullptr);
bool SaveImageFile(const FilterTable& table, const std::string& path, const Bitmap24& picture,
                   const FilterCaps* caps = nullptr);

Bitmap24 DropAlpha(const Bitmap32& picture);
Bitmap32 AddOpaqueAlpha(const Bitmap24& picture);

}  // namespace quib
