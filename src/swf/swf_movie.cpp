#include "swf_movie.h"

#include <algorithm>
#include <cstdlib>
#include <list>

#include "base/worker_pool.h"
#include "swf_display_object.h"
#include "swf_stream.h"

namespace quib {

namespace {

bool debugTraceEnabled() {
    const char* value = std::getenv("QUIB_DEBUG_SWF");
    return value && *value && std::string(value) != "0";
}

}  // namespace

bool SwfFrame::place(DisplayObject& object) {
    return object.placeOn(*this);
}

bool SwfFrame::remove(DisplayObject& object) {
    return object.removeFrom(*this);
}

void SwfFrame::setBackgroundColor(uint8_t red, uint8_t green, uint8_t blue) {
    append(std::make_unique<SwfSetBackgroundColorTag>(SwfColor{red, green, blue, 255}));
}

void SwfFrame::addActions(const ActionSource& source) {
    auto tag = std::make_unique<SwfDoActionTag>();
    source.appendActions(tag->actions());
    append(std::move(tag));
}

SwfMovie::SwfMovie() = default;
SwfMovie::~SwfMovie() = default;

SwfFrame& SwfMovie::frame(int n) {
    if (n < 0 || n >= kMaximumFrames) {
        recordError("Troppi frame nel filmato (al massimo 65535)");
        if (!m_overflowFrame)
            m_overflowFrame = std::make_unique<SwfFrame>(*this);
        return *m_overflowFrame;
    }
    if (size_t(n) >= m_frames.size()) {
        size_t grown = size_t(n) + 8;
        m_frames.reserve(grown);
        while (m_frames.size() < grown)
            m_frames.push_back(std::make_unique<SwfFrame>(*this));
    }
    m_frameCount = std::max(m_frameCount, n + 1);
    return *m_frames[size_t(n)];
}

uint16_t SwfMovie::takeCharacterId() {
    // 65535 stays free: the unused first fill of every bitmap shape names it.
    if (m_lastCharacterId >= kMaximumCharacterId) {
        recordError("Troppi oggetti nel filmato (al massimo 65534)");
        return 0;
    }
    return uint16_t(++m_lastCharacterId);
}

void SwfMovie::addPlacement(uint16_t characterId, SwfPlaceObject2Tag* place, uint16_t layer) {
    m_placements[characterId].push_back({place, nullptr, layer});
}

bool SwfMovie::attachRemoval(uint16_t characterId, SwfRemoveObjectTag* remove) {
    auto it = m_placements.find(characterId);
    if (it == m_placements.end() || it->second.empty() || it->second.back().remove)
        return false;
    it->second.back().remove = remove;
    return true;
}

bool SwfMovie::hasOpenPlacement(uint16_t characterId) const {
    auto it = m_placements.find(characterId);
    return it != m_placements.end() && !it->second.empty() && !it->second.back().remove;
}

void SwfMovie::recordError(const std::string& message) {
    if (m_error.empty())
        m_error = message;
}

void SwfMovie::assignDepths() {
    std::list<PlacementRecord*> merged;
    for (auto& [id, records] : m_placements) {
        auto at = merged.begin();
        for (PlacementRecord& r : records) {
            while (at != merged.end() && (*at)->layer <= r.layer)
                ++at;
            at = merged.insert(at, &r);
            ++at;
        }
    }
    std::vector<PlacementRecord*> ordered(merged.begin(), merged.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const PlacementRecord* a, const PlacementRecord* b) { return a->layer < b->layer; });
    bool trace = debugTraceEnabled();
    if (trace)
        std::fprintf(stderr, "Depth sorting: %d shapes\n", int(ordered.size()));
    uint16_t depth = 0;
    for (PlacementRecord* r : ordered) {
        r->place->depth = depth;
        if (r->remove)
            r->remove->setDepth(depth);
        ++depth;
    }
    if (trace)
        std::fprintf(stderr, "Depth sorting: complete\n");
}

void SwfMovie::clear() {
    m_frames.clear();
    m_overflowFrame.reset();
    m_frameCount = 0;
    m_placements.clear();
    m_lastCharacterId = 0;
    m_error.clear();
    ++m_generation;
}

WorkerPool* SwfMovie::bitmapPool() {
    if (!m_bitmapPool)
        m_bitmapPool = std::make_unique<WorkerPool>();
    return m_bitmapPool.get();
}

Status SwfMovie::deferredStatus() const {
    for (int f = 0; f < m_frameCount; ++f)
        for (const auto& tag : m_frames[size_t(f)]->tags())
            if (std::string error = tag->deferredError(); !error.empty())
                return Status::failureText(error);
    return Status::success();
}

Status SwfMovie::encode(std::vector<uint8_t>* bytes, AtomicFile* file) {
    Status result = Status::success();
    size_t placements = 0;
    for (const auto& [id, records] : m_placements)
        placements += records.size();
    if (m_width < 0 || m_width > kMaximumSize || m_height < 0 || m_height > kMaximumSize) {
        result = Status::failureText("Le dimensioni del filmato superano 16383 pixel");
    } else if (m_frameRate < 0 || m_frameRate > kMaximumFrameRate) {
        result = Status::failureText("La frequenza dei frame del filmato supera 255 al secondo");
    } else if (!m_error.empty()) {
        result = Status::failureText(m_error);
    } else if (placements > 65536) {
        result = Status::failureText("Troppi oggetti sullo schermo nel filmato (al massimo 65536)");
    } else {
        result = deferredStatus();
    }
    if (!result) {
        clear();
        return result;
    }

    assignDepths();

    // The header's rectangle takes as many bits as the size in twips needs, so its length varies;
    // the file length is filled in once the tags are encoded.
    SwfStream header;
    header.writeU8('F');
    header.writeU8('W');
    header.writeU8('S');
    header.writeU8(4);
    header.writeU32(0);
    SwfRect{0, m_width * kSwfTwipsPerPixel, 0, m_height * kSwfTwipsPerPixel}.encode(header);
    header.writeU8(0);
    header.writeU8(uint8_t(m_frameRate));
    header.writeU16(uint16_t(m_frameCount));
    std::vector<uint8_t> headerBytes;
    header.writeTo(headerBytes);

    SwfStream stream;
    stream.writeBytes(headerBytes.data(), headerBytes.size());
    SwfShowFrameTag showFrame;
    for (int f = 0; f < m_frameCount; ++f) {
        for (const auto& tag : m_frames[size_t(f)]->tags())
            encodeTag(*tag, stream);
        encodeTag(showFrame, stream);
    }
    encodeTag(SwfEndTag(), stream);
    const uint32_t length = uint32_t(stream.length());
    const uint8_t lengthBytes[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16),
                                    uint8_t(length >> 24)};
    stream.patch(4, lengthBytes, sizeof lengthBytes);

    if (bytes)
        stream.writeTo(*bytes);
    if (file && !stream.writeTo(*file))
        result = Status::failure(str::CannotCreateFile);
    clear();
    return result;
}

Status SwfMovie::write(std::vector<uint8_t>& out) {
    out.clear();
    return encode(&out, nullptr);
}

Status SwfMovie::write(AtomicFile& file) {
    return encode(nullptr, &file);
}

Status SwfMovie::writeFile(const std::string& path) {
    AtomicFile file;
    if (!file.open(path)) {
        clear();
        return Status::failure(str::CannotCreateFile);
    }
    Status result = encode(nullptr, &file);
    if (result && !file.commit())
        result = Status::failure(str::CannotCreateFile);
    return result;
}

}  // namespace quib
