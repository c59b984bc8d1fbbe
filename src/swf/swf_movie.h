#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/status.h"
#include "swf_records.h"
#include "swf_tags.h"

namespace quib {

class ActionSource;
class DisplayObject;
class SwfMovie;
class WorkerPool;

// One placement of a character: its PlaceObject2, the RemoveObject that ends it (if any) and the
// object's layer when it was placed. Depths are given from these when the movie is written.
struct PlacementRecord {
    SwfPlaceObject2Tag* place = nullptr;
    SwfRemoveObjectTag* remove = nullptr;
    uint16_t layer = 0;
};

// The tags of one frame of the timeline, in file order.
class SwfFrame {
public:
    explicit SwfFrame(SwfMovie& movie) : m_movie(movie) {}
    SwfFrame(const SwfFrame&) = delete;
    SwfFrame& operator=(const SwfFrame&) = delete;

    // False when the object could not be placed or removed (see SwfMovie::error for why).
    bool place(DisplayObject& object);
    bool remove(DisplayObject& object);
    void setBackgroundColor(uint8_t red, uint8_t green, uint8_t blue);
    void addActions(const ActionSource& source);

    template <class Tag>
    Tag* append(std::unique_ptr<Tag> tag) {
        Tag* raw = tag.get();
        m_tags.push_back(std::move(tag));
        return raw;
    }
    const std::vector<std::unique_ptr<SwfTag>>& tags() const { return m_tags; }
    SwfMovie& movie() { return m_movie; }

private:
    SwfMovie& m_movie;
    std::vector<std::unique_ptr<SwfTag>> m_tags;
};

// A movie held as frames of tags until it is written. Character ids are counted per movie, from 1,
// and start again at 1 after each write; 65535 is never given out.
class SwfMovie {
public:
    static constexpr int kMaximumSize = 16383;
    static constexpr int kMaximumFrameRate = 255;
    static constexpr int kMaximumFrames = 65535;
    static constexpr uint32_t kMaximumCharacterId = 65534;

    SwfMovie();
    ~SwfMovie();
    SwfMovie(const SwfMovie&) = delete;
    SwfMovie& operator=(const SwfMovie&) = delete;

    void setFrameRate(int rate) { m_frameRate = rate; }
    void setWidth(int width) { m_width = width; }
    void setHeight(int height) { m_height = height; }
    int frameRate() const { return m_frameRate; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Frame n of the timeline, created (with any missing frames before it) when needed. A frame
    // beyond the format's 65535 frames records an error and returns a frame outside the timeline.
    SwfFrame& frame(int n);
    // Highest frame index asked for, plus one.
    int frameCount() const { return m_frameCount; }

    // Encodes the whole movie, then empties it (whether or not it succeeded). The movie is refused,
    // with nothing written, when its size exceeds 16383 pixels, its rate 255, or it holds an error.
    Status write(std::vector<uint8_t>& out);
    // Streams the movie after what file holds; the caller commits.
    Status write(AtomicFile& file);
    // Replaces the file at path whole, or leaves it as it was.
    Status writeFile(const std::string& path);

    // The first error met while building (a bitmap that failed, too many characters); empty if none.
    const std::string& error() const { return m_error; }

    // For display objects.
    uint16_t takeCharacterId();
    void addPlacement(uint16_t characterId, SwfPlaceObject2Tag* place, uint16_t layer);
    bool attachRemoval(uint16_t characterId, SwfRemoveObjectTag* remove);
    bool hasOpenPlacement(uint16_t characterId) const;
    void recordError(const std::string& message);
    // Changes at every write, so an object defined before a write is not mistaken as defined after.
    uint64_t generation() const { return m_generation; }
    // Where the bitmaps of this movie are compressed: every core works on them while the caller
    // goes on building; writing waits for them. The file is the same whichever order they finish in.
    WorkerPool* bitmapPool();

private:
    Status encode(std::vector<uint8_t>* bytes, AtomicFile* file);
    // Waits for the bitmaps still being compressed; the first that failed, if any.
    Status deferredStatus() const;
    void assignDepths();
    void clear();

    int m_frameRate = 12;
    int m_width = 550;  // pixels
    int m_height = 400;
    std::vector<std::unique_ptr<SwfFrame>> m_frames;
    std::unique_ptr<SwfFrame> m_overflowFrame;
    int m_frameCount = 0;
    std::map<uint16_t, std::vector<PlacementRecord>> m_placements;
    uint32_t m_lastCharacterId = 0;
    std::string m_error;
    uint64_t m_generation = 0;
    std::unique_ptr<WorkerPool> m_bitmapPool;  // last: its tasks finish before the tags go
};

}  // namespace quib
