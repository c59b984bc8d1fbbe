#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace quib {

// Bytes that never change once made, shared by every copy: a frame's picture stream is kept
// once however many copies of the frame the clipboard, the undo history or a reader hold. The
// bytes are either a vector of their own or a part of a larger block (a project file read into
// memory, a store on disk) that an owner keeps alive.
class SharedBytes {
public:
    SharedBytes() = default;
    SharedBytes(std::vector<uint8_t> bytes) {  // NOLINT: a stream is made from its bytes
        if (bytes.empty())
            return;
        // Streams live as long as the project: a compression buffer's spare room must not stay.
        bytes.shrink_to_fit();
        auto owned = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
        m_data = owned->data();
        m_size = owned->size();
        m_owner = std::move(owned);
    }
    // size bytes at data, valid while owner lives.
    SharedBytes(std::shared_ptr<const void> owner, const uint8_t* data, size_t size)
        : m_owner(size ? std::move(owner) : nullptr), m_data(size ? data : nullptr), m_size(size) {}

    const uint8_t* data() const { return m_data; }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const uint8_t* begin() const { return m_data; }
    const uint8_t* end() const { return m_data + m_size; }
    uint8_t operator[](size_t i) const { return m_data[i]; }
    std::span<const uint8_t> span() const { return {m_data, m_size}; }
    std::vector<uint8_t> toVector() const { return std::vector<uint8_t>(begin(), end()); }
    void clear() { *this = SharedBytes(); }

    // What keeps the bytes alive: a worker thread holds a copy of this object; a cache may hold
    // a weak reference to the owner to know when the bytes are gone.
    const std::shared_ptr<const void>& owner() const { return m_owner; }
    // Whether both hold the very same bytes (not only equal ones).
    bool sharesWith(const SharedBytes& other) const {
        return m_owner == other.m_owner && m_data == other.m_data && m_size == other.m_size;
    }

    friend bool operator==(const SharedBytes& a, const SharedBytes& b) {
        return a.m_size == b.m_size &&
               (a.m_data == b.m_data || std::memcmp(a.m_data, b.m_data, a.m_size) == 0);
    }
    friend bool operator==(const SharedBytes& a, const std::vector<uint8_t>& b) {
        return a.m_size == b.size() && (a.m_size == 0 || std::memcmp(a.m_data, b.data(), a.m_size) == 0);
    }

private:
    std::shared_ptr<const void> m_owner;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
};

}  // namespace quib
