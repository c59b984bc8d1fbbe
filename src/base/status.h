#pragma once

#include <string>
#include <utility>

#include "strings.h"

namespace quib {

// Outcome of an engine operation that the user interface would end with a message box:
// on failure it carries the numbered text (when there is one) and the full message to show.
class [[nodiscard]] Status {
public:
    Status() = default;
    static Status success() { return Status(); }
    static Status failure(int stringId) { return Status(stringId, stringText(stringId)); }
    static Status failure(int stringId, std::string message) { return Status(stringId, std::move(message)); }
    static Status failureText(std::string message) { return Status(0, std::move(message)); }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    int stringId() const { return m_stringId; }
    const std::string& message() const { return m_message; }

private:
    Status(int id, std::string message) : m_ok(false), m_stringId(id), m_message(std::move(message)) {}
    bool m_ok = true;
    int m_stringId = 0;
    std::string m_message;
};

}  // namespace quib
