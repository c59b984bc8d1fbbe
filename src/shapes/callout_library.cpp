#include "shapes/callout_library.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/atomic_file.h"
#include "base/file_bytes.h"
#include "shapes/polygon_shape.h"

namespace quib {

namespace {

// Smallest stored callout: a one-byte name length, a shape count and a text colour.
constexpr size_t kMinCalloutBytes = 1 + 4 + 4;
// Smallest stored shape: its type and a body without name, keyframes or points.
constexpr size_t kMinShapeBytes = 4 + 4 * 8;

// atoi: optional blanks and sign, then leading digits; clamped instead of overflowing.
long leadingNumber(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = std::min<long>(value * 10 + (s[i] - '0'), INT_MAX);
    return negative ? -value : value;
}

Status formatFailure(const std::string& detail) {
    return Status::failure(str::UnexpectedFormat,
                           std::string(stringText(str::UnexpectedFormat)) + " (" + detail + ")");
}

}  // namespace

std::optional<size_t> CalloutLibrary::Find(std::string_view name) const {
    for (size_t i = 0; i < m_callouts.size(); ++i)
        if (m_callouts[i].name == name)
            return i;
    return std::nullopt;
}

const Callout* CalloutLibrary::FindCallout(std::string_view name) const {
    std::optional<size_t> i = Find(name);
    return i ? &m_callouts[*i] : nullptr;
}

size_t CalloutLibrary::Add(const Callout& callout) {
    m_callouts.push_back(callout);
    m_changed = true;
    return m_callouts.size() - 1;
}

bool CalloutLibrary::Replace(size_t index, const Callout& callout) {
    if (index >= m_callouts.size())
        return false;
    m_callouts[index] = callout;
    m_changed = true;
    return true;
}

bool CalloutLibrary::Remove(size_t index) {
    if (index >= m_callouts.size())
        return false;
    m_callouts.erase(m_callouts.begin() + ptrdiff_t(index));
    m_changed = true;
    return true;
}

bool CalloutLibrary::MoveUp(size_t index) {
    if (index == 0 || index >= m_callouts.size())
        return false;
    std::swap(m_callouts[index], m_callouts[index - 1]);
    m_changed = true;
    return true;
}

bool CalloutLibrary::MoveDown(size_t index) {
    if (index + 1 >= m_callouts.size())
        return false;
    std::swap(m_callouts[index], m_callouts[index + 1]);
    m_changed = true;
    return true;
}

std::string CalloutLibrary::NewCalloutName() const {
    const Callout* last = nullptr;
    for (const Callout& c : m_callouts)
        if (c.name.compare(0, 8, "Untitled") == 0)
            last = &c;
    if (!last)
        return "Untitled";
    return "Untitled" + std::to_string(leadingNumber(std::string_view(last->name).substr(8)) + 1);
}

Callout CalloutLibrary::NewCallout(uint32_t textColour) const {
    Callout callout;
    callout.name = NewCalloutName();
    callout.textColour = textColour;
    auto field = std::make_unique<PolygonShape>();
    field->name = "Shape1";
    field->colour = 0x00000000;
    field->penWidth = 1;
    field->penStyle = 2;
    field->permanent = true;
    field->SetPoints({{0.03, 0.03}, {0.97, 0.03}, {0.97, 0.97}, {0.03, 0.97}, {0.03, 0.03}});
    callout.shapes.push_back(std::move(field));
    return callout;
}

void CalloutLibrary::write(ByteWriter& out) const {
    out.u32(uint32_t(m_callouts.size()));
    for (const Callout& c : m_callouts) {
        out.archiveString(c.name);
        out.u32(uint32_t(c.shapes.size()));
        for (const auto& shape : c.shapes)
            writeShape(out, *shape);
        out.u32(c.textColour);
    }
}

std::vector<uint8_t> CalloutLibrary::write() const {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    write(out);
    return bytes;
}

Status CalloutLibrary::read(const uint8_t* data, size_t size, const ShapeFactory& factory) {
    m_callouts.clear();
    std::vector<Callout> callouts;
    try {
        ByteReader in(data, size);
        const uint32_t count = in.u32();
        if (count > in.remaining() / kMinCalloutBytes)
            throw FormatError("callout count exceeds the data");
        callouts.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            Callout c;
            c.name = in.archiveString();
            const uint32_t shapeCount = in.u32();
            if (shapeCount > in.remaining() / kMinShapeBytes)
                throw FormatError("shape count exceeds the data");
            c.shapes.reserve(shapeCount);
            for (uint32_t s = 0; s < shapeCount; ++s) {
                c.shapes.push_back(readShape(in, factory));
                c.shapes.back()->Update(0, false);
            }
            c.textColour = in.u32();
            callouts.push_back(std::move(c));
        }
    } catch (const FormatError& e) {
        return formatFailure(e.what());
    } catch (const std::bad_alloc&) {
        return formatFailure("out of memory");
    }
    m_callouts = std::move(callouts);
    m_changed = false;
    return Status::success();
}

Status CalloutLibrary::LoadLibrary(const std::string& path, bool* found) {
    if (found)
        *found = false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return Status::success();
    std::vector<uint8_t> bytes;
    const FileRead read = readFileBytes(path, bytes);
    if (read == FileRead::CannotOpen)
        return Status::success();
    if (found)
        *found = true;
    if (read == FileRead::ReadFailed) {
        m_callouts.clear();
        return Status::failureText(path + ": " + std::strerror(errno));
    }
    if (read != FileRead::Ok) {
        m_callouts.clear();
        return Status::failure(str::UnexpectedFormat, path + "\n" + stringText(str::UnexpectedFormat));
    }
    Status status = this->read(bytes.data(), bytes.size());
    if (!status)
        return Status::failure(status.stringId(), path + "\n" + status.message());
    return status;
}

Status CalloutLibrary::SaveLibrary(const std::string& path) const {
    std::error_code error;
    // The user's data folder may not exist before the first save.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    if (!writeFileAtomically(path, write()))
        return Status::failure(str::CannotCreateFile,
                               std::string(stringText(str::CannotCreateFile)) + "\n" + path);
    return Status::success();
}

}  // namespace quib
