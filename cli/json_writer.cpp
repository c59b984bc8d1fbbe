#include "json_writer.h"

#include <cstdio>

namespace quib::cli {

std::string jsonEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (uint8_t(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(uint8_t(c)));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

void JsonWriter::separate() {
    if (m_needComma)
        m_out += ',';
    m_needComma = true;
}

void JsonWriter::beginObject() {
    separate();
    m_out += '{';
    m_needComma = false;
}

void JsonWriter::endObject() {
    m_out += '}';
    m_needComma = true;
}

void JsonWriter::beginArray() {
    separate();
    m_out += '[';
    m_needComma = false;
}

void JsonWriter::endArray() {
    m_out += ']';
    m_needComma = true;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    m_out += '"';
    m_out += jsonEscape(name);
    m_out += "\":";
    m_needComma = false;
    return *this;
}

void JsonWriter::value(std::string_view text) {
    separate();
    m_out += '"';
    m_out += jsonEscape(text);
    m_out += '"';
}

void JsonWriter::value(int64_t number) {
    separate();
    m_out += std::to_string(number);
}

void JsonWriter::value(bool flag) {
    separate();
    m_out += flag ? "true" : "false";
}

void JsonWriter::pair(int64_t a, int64_t b) {
    beginArray();
    value(a);
    value(b);
    endArray();
}

}  // namespace quib::cli
