#include "shapes/wrapped_text.h"

#include <limits>
#include <string>

#include "base/text_font.h"

namespace quib {

namespace {

std::string normaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

size_t nextCharacter(const std::string& s, size_t i) {
    ++i;
    while (i < s.size() && (uint8_t(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

// Lays the text out in rect, drawing it when draw is set; the top of the line after the last.
int layOutWrappedText(raster::DrawContext& dc, std::string_view input, Rect rect, uint32_t align, bool draw) {
    const std::string text = normaliseLineEnds(input);
    const int width = rect.right - rect.left;
    auto measure = [&](size_t from, size_t to) {
        return dc.textExtent(std::string_view(text).substr(from, to - from)).cx;
    };
    dc.setTextJustification(0, 0);
    const int lineHeight = dc.textExtent(" ").cy;
    if (lineHeight <= 0)
        return rect.top;

    size_t pos = 0;
    int top = rect.top;
    while (pos < text.size() && top < rect.bottom) {
        size_t lineEnd = pos;  // end of the last word that fitted
        size_t scan = pos;
        bool wrapped = false;
        bool endedByLineFeed = false;
        for (;;) {
            size_t wordEnd = scan;
            while (wordEnd < text.size() && text[wordEnd] != ' ' && text[wordEnd] != '\n')
                ++wordEnd;
            if (wordEnd > pos && measure(pos, wordEnd) > width) {
                wrapped = true;
                if (lineEnd == pos) {
                    // Not even the first word fits: break it after the last character that fits,
                    // keeping at least one so that the layout always moves on.
                    size_t cut = nextCharacter(text, pos);
                    for (size_t next = nextCharacter(text, cut);
                         next <= wordEnd && measure(pos, next) <= width; next = nextCharacter(text, next))
                        cut = next;
                    lineEnd = cut;
                }
                break;
            }
            lineEnd = wordEnd;
            if (wordEnd >= text.size())
                break;
            if (text[wordEnd] == '\n') {
                endedByLineFeed = true;
                break;
            }
            scan = wordEnd + 1;
        }

        size_t drawnEnd = lineEnd;
        if (wrapped)
            while (drawnEnd > pos && text[drawnEnd - 1] == ' ')
                --drawnEnd;
        const std::string_view line = std::string_view(text).substr(pos, drawnEnd - pos);
        const int lineWidth = line.empty() ? 0 : measure(pos, drawnEnd);

        int x = rect.left;
        switch (TextAlign(align)) {
            case TextAlign::Centre:
                x = (rect.left + rect.right - lineWidth) / 2;
                break;
            case TextAlign::Right:
                x = rect.right - lineWidth;
                break;
            default:
                break;
        }
        if (draw && TextAlign(align) == TextAlign::Justify && wrapped) {
            const size_t firstWord = line.find_first_not_of(' ');
            const bool gapBetweenWords =
                firstWord != std::string_view::npos && line.find(' ', firstWord) != std::string_view::npos;
            int spaces = 0;
            for (char c : line)
                spaces += c == ' ';
            if (gapBetweenWords)
                dc.setTextJustification(width - lineWidth, spaces);
        }
        if (draw && !line.empty())
            dc.textOut(x, top, line);
        dc.setTextJustification(0, 0);
        top += lineHeight;

        pos = lineEnd;
        if (endedByLineFeed) {
            ++pos;  // the line feed that ended the line
            while (pos < text.size() && text[pos] == '\n') {
                top += lineHeight;
                ++pos;
            }
        } else if (wrapped) {
            while (pos < text.size() && text[pos] == ' ')
                ++pos;
        }
    }
    return top;
}

}  // namespace

void DrawWrappedText(raster::DrawContext& dc, std::string_view text, Rect rect, uint32_t align) {
    layOutWrappedText(dc, text, rect, align, true);
}

int WrappedTextHeight(raster::DrawContext& dc, std::string_view text, int width) {
    if (text.empty() || width <= 0)
        return 0;
    return layOutWrappedText(dc, text, Rect{0, 0, width, std::numeric_limits<int>::max() / 2}, 0, false);
}

}  // namespace quib
