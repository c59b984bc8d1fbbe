#include "model/output_type.h"

#include <array>
#include <utility>

namespace quib {

namespace {
constexpr std::array<std::pair<OutputType, std::string_view>, 6> kNames{{
    {OutputType::Movie, "swf"},
    {OutputType::Executable, "exe"},
    {OutputType::HtmlPages, "html"},
    {OutputType::Pdf, "pdf"},
    {OutputType::Html5, "html5"},
    {OutputType::LinuxExecutable, "linux"},
}};
}  // namespace

std::string_view outputTypeName(OutputType type) {
    for (const auto& [value, name] : kNames)
        if (value == type)
            return name;
    return "swf";
}

std::optional<OutputType> outputTypeFromName(std::string_view name) {
    for (const auto& [value, text] : kNames)
        if (text == name)
            return value;
    return std::nullopt;
}

}  // namespace quib
