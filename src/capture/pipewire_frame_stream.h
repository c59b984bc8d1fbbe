#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/status.h"
#include "unique_fd.h"

struct pw_thread_loop;
struct pw_context;
struct pw_core;
struct pw_stream;
struct pw_registry;
struct spa_pod;
struct spa_buffer;

namespace quib {

// The cursor as a stream's metadata describes it, in stream coordinates.
struct StreamCursor {
    bool known = false;    // the stream has described a cursor
    bool visible = false;  // the pointer is over the shared area
    Point position;        // of the pointer
    Point hotSpot;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // width x height, straight or premultiplied as sent
};

// Receives a PipeWire video stream on its own thread and keeps the latest complete picture in a
// buffer allocated when the format is agreed, so that no frame allocates. A grab copies from it.
class PipeWireFrameStream {
public:
    // Connects through fd (from the portal) to the node; fails with an Italian message.
    static std::unique_ptr<PipeWireFrameStream> open(UniqueFd fd, uint32_t nodeId, Status& status);
    ~PipeWireFrameStream();
    PipeWireFrameStream(const PipeWireFrameStream&) = delete;
    PipeWireFrameStream& operator=(const PipeWireFrameStream&) = delete;

    // Copies the area (stream coordinates) of the latest picture into out, black outside the
    // picture; waits at most timeoutMs for the first picture. Fails once the stream has ended.
    Status copyLatest(const Rect& area, Bitmap24& out, int timeoutMs);
    StreamCursor cursor();
    Size size();
    bool ended();
    // Pictures received so far.
    uint64_t frameCount();

private:
    PipeWireFrameStream() = default;
    struct Listeners;

    static void onProcess(void* data);
    static void onParamChanged(void* data, uint32_t id, const spa_pod* param);
    static void onStateChanged(void* data, int old, int state, const char* error);
    static void onGlobalRemove(void* data, uint32_t id);
    static void onCoreError(void* data, uint32_t id, int seq, int res, const char* message);
    void markEnded();
    void readCursor(spa_buffer* buffer);

    pw_thread_loop* m_loop = nullptr;
    pw_context* m_context = nullptr;
    pw_core* m_core = nullptr;
    pw_stream* m_stream = nullptr;
    pw_registry* m_registry = nullptr;
    std::unique_ptr<Listeners> m_listeners;
    uint32_t m_nodeId = 0;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Guarded by m_mutex.
    uint32_t m_format = 0;
    Size m_size;
    std::vector<uint8_t> m_picture;  // m_size, 4 bytes a pixel, packed rows
    bool m_havePicture = false;
    bool m_ended = false;
    uint64_t m_frames = 0;
    StreamCursor m_cursor;
};

}  // namespace quib
