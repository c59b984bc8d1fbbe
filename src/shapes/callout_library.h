#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "shapes/callout.h"
#include "shapes/shape_factory.h"

namespace quib {

// The file name of the library.
inline constexpr const char* kCalloutLibraryFileName = "callout.dat";

// The ordered list of callouts the user chooses from, with its file "callout.dat": u32 count, then
// per callout its name (archive string), u32 shape count, the shapes (u32 type + body) and u32
// text colour.
class CalloutLibrary {
public:
    size_t size() const { return m_callouts.size(); }
    bool empty() const { return m_callouts.empty(); }
    const Callout& at(size_t index) const { return m_callouts.at(index); }
    const std::vector<Callout>& callouts() const { return m_callouts; }
    void clear() { m_callouts.clear(); }

    // First callout with exactly this name (case-sensitive).
    std::optional<size_t> Find(std::string_view name) const;
    const Callout* FindCallout(std::string_view name) const;

    // Editing operations; each marks the library changed. Index checks fail without a change.
    size_t Add(const Callout& callout);
    bool Replace(size_t index, const Callout& callout);
    bool Remove(size_t index);
    bool MoveUp(size_t index);
    bool MoveDown(size_t index);
    bool changed() const { return m_changed; }
    void setChanged(bool changed) { m_changed = changed; }

    // "Untitled", or "Untitled<N+1>" where N is the number after the first eight characters of
    // the last callout (in list order) whose name starts with "Untitled".
    std::string NewCalloutName() const;
    // A new callout holding only its text field, named by NewCalloutName.
    Callout NewCallout(uint32_t textColour) const;

    // Byte form. Reading replaces the content; a malformed stream leaves the library empty and
    // returns a failure naming what was wrong.
    std::vector<uint8_t> write() const;
    void write(ByteWriter& out) const;
    Status read(const uint8_t* data, size_t size, const ShapeFactory& factory = ShapeFactory::instance());

    // File form. A missing file leaves the library as it is and succeeds with *found false.
    Status LoadLibrary(const std::string& path, bool* found = nullptr);
    // Replaces path whole (a failed save leaves the old file as it was), creating its folder
    // when needed; the library in memory is never touched.
    Status SaveLibrary(const std::string& path) const;

private:
    std::vector<Callout> m_callouts;
    bool m_changed = false;
};

}  // namespace quib
