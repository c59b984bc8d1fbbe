#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quib {

// The kinds of output a project can be written as. The project file stores an output's name
// ("swf", "exe", "linux"); in memory it is this value.
enum class OutputType : uint8_t {
    Movie,            // "swf": the movie with its HTML page
    Executable,       // "exe": the Windows projector with the movie appended
    HtmlPages,        // "html": an HTML page of frame pictures with image maps
    Pdf,              // "pdf": a page per frame with outline and links
    Html5,            // "html5": a web page that plays the movie in a canvas
    LinuxExecutable,  // "linux": the Linux projector with the movie appended
};

// The name stored in project files and typed on the command line.
std::string_view outputTypeName(OutputType type);
// The type of a stored or typed name; nothing for an unknown one.
std::optional<OutputType> outputTypeFromName(std::string_view name);
// A project file's stored name: unknown or empty names render as a movie, as they always have.
inline OutputType storedOutputType(std::string_view name) {
    return outputTypeFromName(name).value_or(OutputType::Movie);
}

}  // namespace quib
