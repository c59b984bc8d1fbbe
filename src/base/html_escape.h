#pragma once

#include <string>

namespace quib {

// Escapes '"', '<', '>' and '&' so the text can stand inside a quoted HTML attribute.
std::string escapeHtmlAttribute(const std::string& text);

}  // namespace quib
