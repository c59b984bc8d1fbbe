#include "pipewire_frame_stream.h"

#include <pipewire/pipewire.h>
#include <spa/buffer/meta.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "capture_messages.h"

namespace quib {

namespace {

// The largest cursor picture asked of the producer.
constexpr int kMaxCursorSide = 256;
constexpr size_t kCursorMetaSize =
    sizeof(spa_meta_cursor) + sizeof(spa_meta_bitmap) + size_t(kMaxCursorSide) * kMaxCursorSide * 4;

bool supportedFormat(uint32_t format) {
    return format == SPA_VIDEO_FORMAT_BGRx || format == SPA_VIDEO_FORMAT_BGRA ||
           format == SPA_VIDEO_FORMAT_RGBx || format == SPA_VIDEO_FORMAT_RGBA;
}

bool redFirst(uint32_t format) {
    return format == SPA_VIDEO_FORMAT_RGBx || format == SPA_VIDEO_FORMAT_RGBA;
}

const spa_pod* formatOffer(spa_pod_builder* b) {
    const spa_rectangle minSize = SPA_RECTANGLE(1, 1), defSize = SPA_RECTANGLE(1920, 1080),
                        maxSize = SPA_RECTANGLE(16384, 16384);
    const spa_fraction minRate = SPA_FRACTION(0, 1), defRate = SPA_FRACTION(30, 1),
                       maxRate = SPA_FRACTION(1000, 1);
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        b, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType,
        SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype, SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw),
        SPA_FORMAT_VIDEO_format,
        SPA_POD_CHOICE_ENUM_Id(5, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRA,
                               SPA_VIDEO_FORMAT_RGBx, SPA_VIDEO_FORMAT_RGBA),
        SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&defSize, &minSize, &maxSize),
        SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&defRate, &minRate, &maxRate)));
}

}  // namespace

struct PipeWireFrameStream::Listeners {
    spa_hook stream{};
    spa_hook core{};
    spa_hook registry{};
    pw_stream_events streamEvents{};
    pw_core_events coreEvents{};
    pw_registry_events registryEvents{};
};

std::unique_ptr<PipeWireFrameStream> PipeWireFrameStream::open(UniqueFd fd, uint32_t nodeId, Status& status) {
    pw_init(nullptr, nullptr);
    std::unique_ptr<PipeWireFrameStream> self(new PipeWireFrameStream);
    self->m_nodeId = nodeId;
    self->m_listeners = std::make_unique<Listeners>();
    Listeners& l = *self->m_listeners;
    l.streamEvents.version = PW_VERSION_STREAM_EVENTS;
    l.streamEvents.process = &PipeWireFrameStream::onProcess;
    l.streamEvents.param_changed = &PipeWireFrameStream::onParamChanged;
    l.streamEvents.state_changed = [](void* data, pw_stream_state old, pw_stream_state state,
                                      const char* error) {
        onStateChanged(data, int(old), int(state), error);
    };
    l.coreEvents.version = PW_VERSION_CORE_EVENTS;
    l.coreEvents.error = &PipeWireFrameStream::onCoreError;
    l.registryEvents.version = PW_VERSION_REGISTRY_EVENTS;
    l.registryEvents.global_remove = &PipeWireFrameStream::onGlobalRemove;

    status = Status::failureText(captureText::StreamFailed);
    self->m_loop = pw_thread_loop_new("quib-capture", nullptr);
    if (!self->m_loop)
        return nullptr;
    self->m_context = pw_context_new(pw_thread_loop_get_loop(self->m_loop), nullptr, 0);
    if (!self->m_context || pw_thread_loop_start(self->m_loop) < 0)
        return nullptr;

    pw_thread_loop_lock(self->m_loop);
    bool ok = false;
    self->m_core = pw_context_connect_fd(self->m_context, fd.release(), nullptr, 0);
    if (self->m_core) {
        pw_core_add_listener(self->m_core, &l.core, &l.coreEvents, self.get());
        self->m_registry = pw_core_get_registry(self->m_core, PW_VERSION_REGISTRY, 0);
        if (self->m_registry)
            pw_registry_add_listener(self->m_registry, &l.registry, &l.registryEvents, self.get());
        self->m_stream = pw_stream_new(
            self->m_core, "quib-capture",
            pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY, "Capture", PW_KEY_MEDIA_ROLE,
                              "Screen", PW_KEY_NODE_DONT_RECONNECT, "true", nullptr));
    }
    if (self->m_stream) {
        pw_stream_add_listener(self->m_stream, &l.stream, &l.streamEvents, self.get());
        uint8_t buffer[1024];
        spa_pod_builder b = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
        const spa_pod* params[] = {formatOffer(&b)};
        ok = pw_stream_connect(self->m_stream, PW_DIRECTION_INPUT, nodeId,
                               pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS),
                               params, 1) == 0;
    }
    pw_thread_loop_unlock(self->m_loop);
    if (!ok)
        return nullptr;
    status = Status::success();
    return self;
}

PipeWireFrameStream::~PipeWireFrameStream() {
    if (m_loop)
        pw_thread_loop_stop(m_loop);
    if (m_stream)
        pw_stream_destroy(m_stream);
    if (m_registry)
        pw_proxy_destroy(reinterpret_cast<pw_proxy*>(m_registry));
    if (m_core)
        pw_core_disconnect(m_core);
    if (m_context)
        pw_context_destroy(m_context);
    if (m_loop)
        pw_thread_loop_destroy(m_loop);
}

void PipeWireFrameStream::onParamChanged(void* data, uint32_t id, const spa_pod* param) {
    auto* self = static_cast<PipeWireFrameStream*>(data);
    if (!param || id != SPA_PARAM_Format)
        return;
    uint32_t mediaType = 0, mediaSubtype = 0;
    if (spa_format_parse(param, &mediaType, &mediaSubtype) < 0 || mediaType != SPA_MEDIA_TYPE_video ||
        mediaSubtype != SPA_MEDIA_SUBTYPE_raw)
        return;
    spa_video_info_raw info{};
    if (spa_format_video_raw_parse(param, &info) < 0 || !supportedFormat(info.format) ||
        info.size.width == 0 || info.size.height == 0 || info.size.width > 16384 || info.size.height > 16384)
        return;
    {
        std::lock_guard lock(self->m_mutex);
        self->m_format = info.format;
        self->m_size = Size{int(info.size.width), int(info.size.height)};
        // The one allocation of the stream's pictures.
        self->m_picture.assign(size_t(info.size.width) * info.size.height * 4, 0);
        self->m_havePicture = false;
    }
    uint8_t buffer[1024];
    spa_pod_builder b = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
    const spa_pod* params[2];
    params[0] = static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &b, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_dataType,
        SPA_POD_CHOICE_FLAGS_Int((1 << SPA_DATA_MemPtr) | (1 << SPA_DATA_MemFd))));
    params[1] = static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &b, SPA_TYPE_OBJECT_ParamMeta, SPA_PARAM_Meta, SPA_PARAM_META_type, SPA_POD_Id(SPA_META_Cursor),
        SPA_PARAM_META_size,
        SPA_POD_CHOICE_RANGE_Int(int(kCursorMetaSize), int(sizeof(spa_meta_cursor)), int(kCursorMetaSize))));
    pw_stream_update_params(self->m_stream, params, 2);
}

void PipeWireFrameStream::readCursor(spa_buffer* buffer) {
    auto* meta = static_cast<spa_meta_cursor*>(
        spa_buffer_find_meta_data(buffer, SPA_META_Cursor, sizeof(spa_meta_cursor)));
    if (!meta)
        return;
    spa_meta* header = spa_buffer_find_meta(buffer, SPA_META_Cursor);
    m_cursor.known = true;
    if (meta->id == 0) {
        m_cursor.visible = false;
        return;
    }
    m_cursor.visible = true;
    m_cursor.position = Point{meta->position.x, meta->position.y};
    if (meta->bitmap_offset < sizeof(spa_meta_cursor) ||
        size_t(meta->bitmap_offset) + sizeof(spa_meta_bitmap) > header->size)
        return;
    const auto* bitmap = SPA_PTROFF(meta, meta->bitmap_offset, const spa_meta_bitmap);
    const uint32_t w = bitmap->size.width, h = bitmap->size.height;
    if (!supportedFormat(bitmap->format) || w == 0 || h == 0 || w > uint32_t(kMaxCursorSide) ||
        h > uint32_t(kMaxCursorSide) || bitmap->stride < int32_t(w * 4) ||
        bitmap->offset < sizeof(spa_meta_bitmap))
        return;
    const size_t end =
        size_t(meta->bitmap_offset) + bitmap->offset + size_t(bitmap->stride) * (h - 1) + w * 4;
    if (end > header->size)
        return;
    const auto* pixels = SPA_PTROFF(bitmap, bitmap->offset, const uint8_t);
    m_cursor.hotSpot = Point{meta->hotspot.x, meta->hotspot.y};
    m_cursor.width = int(w);
    m_cursor.height = int(h);
    m_cursor.argb.resize(size_t(w) * h);
    const bool rgb = redFirst(bitmap->format);
    const bool alpha = bitmap->format == SPA_VIDEO_FORMAT_BGRA || bitmap->format == SPA_VIDEO_FORMAT_RGBA;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* p = pixels + size_t(y) * bitmap->stride;
        for (uint32_t x = 0; x < w; ++x, p += 4) {
            const uint32_t r = rgb ? p[0] : p[2], g = p[1], b = rgb ? p[2] : p[0], a = alpha ? p[3] : 255;
            m_cursor.argb[size_t(y) * w + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
}

void PipeWireFrameStream::onProcess(void* data) {
    auto* self = static_cast<PipeWireFrameStream*>(data);
    // Only the newest buffer matters; older ones go straight back.
    pw_buffer* newest = nullptr;
    while (pw_buffer* b = pw_stream_dequeue_buffer(self->m_stream)) {
        if (newest)
            pw_stream_queue_buffer(self->m_stream, newest);
        newest = b;
    }
    if (!newest)
        return;
    spa_buffer* buffer = newest->buffer;
    {
        std::lock_guard lock(self->m_mutex);
        self->readCursor(buffer);
        const spa_data& d = buffer->datas[0];
        const size_t rowBytes = size_t(self->m_size.cx) * 4;
        if (buffer->n_datas > 0 && d.data && d.chunk && self->m_size.cx > 0 &&
            (d.chunk->flags & SPA_CHUNK_FLAG_CORRUPTED) == 0 && d.chunk->size > 0) {
            const int32_t stride = d.chunk->stride != 0 ? d.chunk->stride : int32_t(rowBytes);
            const size_t needed = size_t(d.chunk->offset) + size_t(stride) * (self->m_size.cy - 1) + rowBytes;
            if (stride >= int32_t(rowBytes) && needed <= d.maxsize) {
                const auto* src = static_cast<const uint8_t*>(d.data) + d.chunk->offset;
                for (int y = 0; y < self->m_size.cy; ++y)
                    std::memcpy(&self->m_picture[size_t(y) * rowBytes], src + size_t(y) * stride, rowBytes);
                self->m_havePicture = true;
                ++self->m_frames;
            }
        }
    }
    pw_stream_queue_buffer(self->m_stream, newest);
    self->m_changed.notify_all();
}

void PipeWireFrameStream::markEnded() {
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_all();
}

void PipeWireFrameStream::onStateChanged(void* data, int, int state, const char*) {
    auto* self = static_cast<PipeWireFrameStream*>(data);
    if (state == PW_STREAM_STATE_ERROR || state == PW_STREAM_STATE_UNCONNECTED)
        self->markEnded();
}

void PipeWireFrameStream::onGlobalRemove(void* data, uint32_t id) {
    auto* self = static_cast<PipeWireFrameStream*>(data);
    if (id == self->m_nodeId)
        self->markEnded();
}

void PipeWireFrameStream::onCoreError(void* data, uint32_t id, int, int res, const char*) {
    // The connection itself failing ends the stream; errors about single objects do not.
    if (id == PW_ID_CORE && res == -EPIPE)
        static_cast<PipeWireFrameStream*>(data)->markEnded();
}

Status PipeWireFrameStream::copyLatest(const Rect& area, Bitmap24& out, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_havePicture || m_ended; });
    if (m_ended)
        return Status::failureText(captureText::StreamEnded);
    if (!m_havePicture)
        return Status::failureText(captureText::NoFrameYet);
    const int w = area.width(), h = area.height();
    if (w <= 0 || h <= 0)
        return Status::failureText(captureText::RegionTooLarge);
    if (out.width != w || out.height != h || out.pixels.size() != size_t(w) * size_t(h) * 3)
        out = Bitmap24(w, h);
    const bool rgb = redFirst(m_format);
    for (int y = 0; y < h; ++y) {
        uint8_t* dst = out.pixel(0, y);
        const int sy = area.top + y;
        if (sy < 0 || sy >= m_size.cy) {
            std::memset(dst, 0, size_t(w) * 3);
            continue;
        }
        const uint8_t* row = &m_picture[size_t(sy) * size_t(m_size.cx) * 4];
        for (int x = 0; x < w; ++x, dst += 3) {
            const int sx = area.left + x;
            if (sx < 0 || sx >= m_size.cx) {
                dst[0] = dst[1] = dst[2] = 0;
                continue;
            }
            const uint8_t* p = row + size_t(sx) * 4;
            dst[0] = rgb ? p[2] : p[0];
            dst[1] = p[1];
            dst[2] = rgb ? p[0] : p[2];
        }
    }
    return Status::success();
}

StreamCursor PipeWireFrameStream::cursor() {
    std::lock_guard lock(m_mutex);
    return m_cursor;
}

Size PipeWireFrameStream::size() {
    std::lock_guard lock(m_mutex);
    return m_size;
}

bool PipeWireFrameStream::ended() {
    std::lock_guard lock(m_mutex);
    return m_ended;
}

uint64_t PipeWireFrameStream::frameCount() {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

}  // namespace quib
