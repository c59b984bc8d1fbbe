#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quib::cli {

// A minimal streaming JSON writer: commas are placed by the writer, strings are escaped.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    JsonWriter& key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(int64_t number);
    void value(uint32_t number) { value(int64_t(number)); }
    void value(int32_t number) { value(int64_t(number)); }
    void value(bool flag);
    void pair(int64_t a, int64_t b);

    const std::string& text() const { return m_out; }

private:
    void separate();
    std::string m_out;
    bool m_needComma = false;
};

std::string jsonEscape(std::string_view text);

}  // namespace quib::cli
