#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace quib {

// Bytes that never change once made, shared by every copy: a frame's picture stream is kept
// once however many copies of the frame the clipboard, the undo history or a reader hold.
class SharedBytes {
public:
    SharedBytes() = default;
    SharedBytes(std::vector<uint8_t> bytes)  // NOLINT: a stream is made from its bytes
        : m_bytes(bytes.empty() ? nullptr : std::make_shared<const std::vector<uint8_t>>(std::move(bytes))) {}

    const std::vector<uint8_t>& bytes() const { return m_bytes ? *m_bytes : none(); }
    operator const std::vector<uint8_t>&() const { return bytes(); }  // NOLINT: read as a vector
    const uint8_t* data() const { return bytes().data(); }
    size_t size() const { return bytes().size(); }
    bool empty() const { return !m_bytes; }
    auto begin() const { return bytes().begin(); }
    auto end() const { return bytes().end(); }
    uint8_t operator[](size_t i) const { return bytes()[i]; }
    void clear() { m_bytes.reset(); }
    // The bytes themselves, for a holder that must outlive this copy (a worker thread).
    std::shared_ptr<const std::vector<uint8_t>> shared() const { return m_bytes; }
    // Whether both hold the very same bytes (not only equal ones).
    bool sharesWith(const SharedBytes& other) const { return m_bytes == other.m_bytes; }

    friend bool operator==(const SharedBytes& a, const SharedBytes& b) {
        return a.m_bytes == b.m_bytes || a.bytes() == b.bytes();
    }
    friend bool operator==(const SharedBytes& a, const std::vector<uint8_t>& b) { return a.bytes() == b; }

private:
    static const std::vector<uint8_t>& none() {
        static const std::vector<uint8_t> empty;
        return empty;
    }
    std::shared_ptr<const std::vector<uint8_t>> m_bytes;
};

}  // namespace quib
