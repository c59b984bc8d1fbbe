#include <cstdio>

#include "base/html_escape.h"
#include "base/strings.h"
#include "export/web_movie.h"

namespace quib {

namespace {

// A JSON string that may also stand inside a script element.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xA8) {
            // Line and paragraph separators end a line in older script engines.
            out += text[i + 2] == char(0xA8) ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string rectJson(const Rect& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width()) +
           "," + std::to_string(r.height()) + "]";
}

std::string buttonJson(const WebButton& button) {
    static const char* const kActions[] = {"next", "show", "play"};
    std::string out =
        "{\"rect\":" + rectJson(button.rect) + ",\"action\":\"" + kActions[int(button.action)] + "\"";
    if (button.action != WebButton::Action::PlayOn)
        out += ",\"frame\":" + std::to_string(button.frame);
    return out + "}";
}

std::string frameJson(const WebFrame& frame) {
    std::string out = "{";
    if (!frame.pictures.empty()) {
        out += "\"pictures\":[";
        for (size_t p = 0; p < frame.pictures.size(); ++p) {
            const WebPicture& picture = frame.pictures[p];
            out += std::string(p ? "," : "") + "[" + jsonString(picture.file) + "," +
                   std::to_string(picture.rect.left) + "," + std::to_string(picture.rect.top) + "]";
        }
        out += "],";
    }
    if (frame.whole)
        out += "\"whole\":true,";
    out += "\"cursor\":[" + std::to_string(frame.cursor.x) + "," + std::to_string(frame.cursor.y) + "," +
           std::to_string(frame.cursorPicture) + "],";
    if (!frame.cursorMark.empty())
        out += "\"mark\":" + jsonString(frame.cursorMark) + ",\"markAt\":" + rectJson(frame.cursorMarkRect) +
               ",";
    out += "\"glide\":" + std::to_string(frame.glideFrames) + ",\"hold\":" + std::to_string(frame.holdFrames);
    if (frame.stops)
        out += ",\"stops\":true";
    if (!frame.buttons.empty()) {
        out += ",\"buttons\":[";
        for (size_t b = 0; b < frame.buttons.size(); ++b)
            out += (b ? "," : "") + buttonJson(frame.buttons[b]);
        out += "]";
    }
    if (!frame.title.empty())
        out += ",\"title\":" + jsonString(frame.title);
    if (!frame.text.empty())
        out += ",\"text\":" + jsonString(frame.text);
    return out + "}";
}

std::string escapeText(const std::string& text) {
    return escapeHtmlAttribute(text);
}

}  // namespace

std::string webMovieTimeline(const WebMovie& movie) {
    std::string out = "window.quibTimeline = {\n";
    out += "  \"name\": " + jsonString(movie.name) + ",\n";
    out += "  \"width\": " + std::to_string(movie.canvas.cx) + ",\n";
    out += "  \"height\": " + std::to_string(movie.canvas.cy) + ",\n";
    out += "  \"frameRate\": " + std::to_string(movie.frameRate) + ",\n";
    out += "  \"frameText\": " + jsonString(stringText(str::FrameOfFrames)) + ",\n";
    out += "  \"cursors\": [";
    for (size_t c = 0; c < movie.cursorPictures.size(); ++c)
        out += (c ? ", " : "") + jsonString(movie.cursorPictures[c]);
    out += "],\n  \"frames\": [\n";
    for (size_t f = 0; f < movie.frames.size(); ++f)
        out += "    " + frameJson(movie.frames[f]) + (f + 1 < movie.frames.size() ? ",\n" : "\n");
    out += "  ]\n};\n";
    return out;
}

std::string webMoviePage(const WebMovie& movie) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", movie.background[0], movie.background[1],
                  movie.background[2]);
    const std::string w = std::to_string(movie.canvas.cx), h = std::to_string(movie.canvas.cy);
    std::string out;
    out += "<!DOCTYPE html>\n<html lang=\"it\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    out += "<title>" + escapeText(movie.name) + "</title>\n";
    out += "<link rel=\"stylesheet\" href=\"" + movie.folder + "quib-player.css\">\n";
    out += "</head>\n<body style=\"background: " + std::string(colour) + "\">\n";
    out += "<main class=\"quib-player\">\n";
    out += "<div class=\"quib-stage\"><canvas id=\"quib-canvas\" width=\"" + w + "\" height=\"" + h +
           "\" aria-describedby=\"quib-live\"></canvas>\n";
    out += "<p id=\"quib-message\" role=\"alert\" hidden></p></div>\n";
    out +=
        "<div class=\"quib-bar\"><div class=\"quib-progress\"><div id=\"quib-done\"></div></div>"
        "<span id=\"quib-position\"></span>"
        "<button id=\"quib-scale\" type=\"button\">100 %</button></div>\n";
    out += "<div id=\"quib-live\" class=\"quib-hidden\" aria-live=\"polite\"></div>\n";
    out += "</main>\n";
    // The texts of every frame as part of the page, for readers and searches.
    out += "<section class=\"quib-hidden\">\n<h1>" + escapeText(movie.name) + "</h1>\n<ol>\n";
    for (const WebFrame& frame : movie.frames) {
        if (frame.title.empty() && frame.text.empty())
            continue;
        out += "<li>";
        if (!frame.title.empty())
            out += "<h2>" + escapeText(frame.title) + "</h2>";
        if (!frame.text.empty())
            out += "<p>" + escapeText(frame.text) + "</p>";
        out += "</li>\n";
    }
    out += "</ol>\n</section>\n";
    out += "<script src=\"" + movie.folder + "timeline.js\"></script>\n";
    out += "<script src=\"" + movie.folder + "quib-player.js\"></script>\n";
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace quib
