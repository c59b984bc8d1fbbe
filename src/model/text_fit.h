#pragma once

#include <cstdint>
#include <optional>

namespace quib {

class Callout;
struct TextBox;

// Whether the box's text, wrapped in its callout's text area, is shown whole. An empty text
// (the placeholder) always fits.
bool textFitsBox(const TextBox& box, const Callout& callout);

// The lowest bottom, from the box's own down to limit, at which its text fits; nothing when even
// limit is too short.
std::optional<int32_t> bottomThatFitsText(const TextBox& box, const Callout& callout, int32_t limit);

}  // namespace quib
