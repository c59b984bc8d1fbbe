#include "x11_screen_grabber.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "capture_messages.h"
#include "cursor_rules.h"

namespace quib {

namespace {

// How long programs get to redraw what hiding a window uncovered.
constexpr int kRedrawAllowanceMs = 25;

template <typename T>
struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter<T>>;

xcb_screen_t* screenOf(xcb_connection_t* connection, int screenNumber) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem; ++i, xcb_screen_next(&it)) {
        if (i == screenNumber)
            return it.data;
    }
    return nullptr;
}

// The root window's pixel layout: the pixmap format of its depth and its visual's masks.
bool rootLayout(xcb_connection_t* connection, const xcb_screen_t* screen, PixelLayout& layout) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    bool formatFound = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == screen->root_depth) {
            layout.bitsPerPixel = it.data->bits_per_pixel;
            layout.scanlinePad = it.data->scanline_pad;
            formatFound = true;
        }
    }
    layout.bigEndian = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    bool visualFound = false;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem && !visualFound;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen->root_visual) {
                layout.redMask = visuals.data->red_mask;
                layout.greenMask = visuals.data->green_mask;
                layout.blueMask = visuals.data->blue_mask;
                visualFound = true;
                break;
            }
        }
    }
    return formatFound && visualFound && layout.isSupported();
}

// X coordinates are 16-bit; a point beyond that range is off every screen anyway.
int16_t toCoordinate(int32_t value) {
    return int16_t(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

std::unique_ptr<X11ScreenGrabber> X11ScreenGrabber::open(const char* displayName, Status& status) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection) || !screenOf(connection, screenNumber)) {
        xcb_disconnect(connection);
        status = Status::failureText(captureText::NoX11Display);
        return nullptr;
    }
    std::unique_ptr<X11ScreenGrabber> grabber(new X11ScreenGrabber(connection, screenNumber));
    status =
        grabber->m_layoutOk ? Status::success() : Status::failureText(captureText::UnsupportedScreenFormat);
    return grabber;
}

X11ScreenGrabber::X11ScreenGrabber(xcb_connection_t* connection, int screenNumber)
    : m_connection(connection) {
    const xcb_screen_t* screen = screenOf(connection, screenNumber);
    m_root = screen->root;
    m_layoutOk = rootLayout(connection, screen, m_layout);

    // Both extensions need their version agreed before first use on this connection.
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (shm && shm->present) {
        Reply<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr));
        m_shmAvailable = version != nullptr;
    }
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        Reply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
            connection,
            xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        m_xfixesAvailable = version && version->major_version >= 1;
    }
}

X11ScreenGrabber::~X11ScreenGrabber() {
    releaseSharedSegment();
    xcb_disconnect(m_connection);
}

void X11ScreenGrabber::disableSharedMemory() {
    releaseSharedSegment();
    m_shmAvailable = false;
}

Size X11ScreenGrabber::screenSize() {
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_root), nullptr));
    if (!geometry)
        return Size{};
    return Size{geometry->width, geometry->height};
}

Status X11ScreenGrabber::grab(const Rect& region, Bitmap24& out) {
    m_lastGrabShared = false;
    // In 64 bits: the corners of a nonsensical region must not wrap the sizes around.
    const int64_t width64 = std::max<int64_t>(int64_t(region.right) - region.left, 0);
    const int64_t height64 = std::max<int64_t>(int64_t(region.bottom) - region.top, 0);
    if (!pictureBytes(width64, height64, 3))
        return Status::failureText(captureText::RegionTooLarge);
    const int width = int(width64);
    const int height = int(height64);
    if (out.width != width || out.height != height || out.pixels.size() != size_t(width) * size_t(height) * 3)
        out = Bitmap24(width, height);
    if (width == 0 || height == 0)
        return Status::success();
    if (!m_layoutOk)
        return Status::failureText(captureText::UnsupportedScreenFormat);
    if (xcb_connection_has_error(m_connection))
        return Status::failureText(captureText::NoX11Display);
    discardQueuedEvents();

    const Size screen = screenSize();
    if (xcb_connection_has_error(m_connection))
        return Status::failureText(captureText::NoX11Display);
    const Rect area = region.intersected(Rect{0, 0, screen.cx, screen.cy});
    if (area != region || area.isEmpty())
        std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(0));
    if (area.isEmpty())
        return Status::success();

    const int x = area.left - region.left;
    const int y = area.top - region.top;
    const size_t stride = m_layout.rowBytes(area.width());
    const size_t bytes = stride * size_t(area.height());
    if (m_shmAvailable && readIntoSharedSegment(area, bytes)) {
        packScreenRows(m_shmAddress, stride, area.width(), area.height(), m_layout, out, x, y);
        m_lastGrabShared = true;
        return Status::success();
    }
    if (readPlain(area, out, x, y))
        return Status::success();
    return Status::failureText(captureText::ScreenReadFailed);
}

void X11ScreenGrabber::discardQueuedEvents() {
    // This connection selects no events; what queues up is the errors of failed requests
    // (a window gone while being looked at), which must not pile up over a long session.
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
        std::free(event);
}

bool X11ScreenGrabber::ensureSharedSegment(size_t bytes) {
    if (m_shmAddress && m_shmSize >= bytes)
        return true;
    releaseSharedSegment();
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void* address = shmat(id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const uint32_t segment = xcb_generate_id(m_connection);
    Reply<xcb_generic_error_t> error(
        xcb_request_check(m_connection, xcb_shm_attach_checked(m_connection, segment, uint32_t(id), 0)));
    // Marked for removal once attached on both sides, so that a crash leaves nothing behind.
    shmctl(id, IPC_RMID, nullptr);
    if (error) {
        shmdt(address);
        return false;
    }
    m_shmSegment = segment;
    m_shmId = id;
    m_shmAddress = static_cast<uint8_t*>(address);
    m_shmSize = bytes;
    return true;
}

void X11ScreenGrabber::releaseSharedSegment() {
    if (!m_shmAddress)
        return;
    xcb_shm_detach(m_connection, m_shmSegment);
    xcb_flush(m_connection);
    shmdt(m_shmAddress);
    m_shmAddress = nullptr;
    m_shmSize = 0;
    m_shmId = -1;
    m_shmSegment = 0;
}

bool X11ScreenGrabber::readIntoSharedSegment(const Rect& area, size_t bytes) {
    if (!ensureSharedSegment(bytes)) {
        // A server on another machine cannot see our memory; stop trying.
        m_shmAvailable = false;
        return false;
    }
    Reply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        m_connection,
        xcb_shm_get_image(m_connection, m_root, int16_t(area.left), int16_t(area.top), uint16_t(area.width()),
                          uint16_t(area.height()), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, m_shmSegment, 0),
        nullptr));
    return reply && reply->size >= bytes;
}

bool X11ScreenGrabber::readPlain(const Rect& area, Bitmap24& out, int x, int y) {
    const size_t stride = m_layout.rowBytes(area.width());
    // Tall areas go in bands so that no single reply grows beyond what the server allows.
    const int maxRowsPerRequest = std::max<int>(1, int((16u << 20) / std::max<size_t>(stride, 1)));
    for (int top = 0; top < area.height(); top += maxRowsPerRequest) {
        const int rows = std::min(maxRowsPerRequest, area.height() - top);
        Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, int16_t(area.left),
                          int16_t(area.top + top), uint16_t(area.width()), uint16_t(rows), ~0u),
            nullptr));
        if (!reply)
            return false;
        const int length = xcb_get_image_data_length(reply.get());
        if (length < 0 || size_t(length) < stride * size_t(rows))
            return false;
        packScreenRows(xcb_get_image_data(reply.get()), stride, area.width(), rows, m_layout, out, x,
                       y + top);
    }
    return true;
}

ScreenCursor X11ScreenGrabber::grabCursor() {
    discardQueuedEvents();
    ScreenCursor cursor;
    if (m_xfixesAvailable) {
        Reply<xcb_xfixes_get_cursor_image_reply_t> reply(xcb_xfixes_get_cursor_image_reply(
            m_connection, xcb_xfixes_get_cursor_image(m_connection), nullptr));
        if (reply) {
            const int count = xcb_xfixes_get_cursor_image_cursor_image_length(reply.get());
            const size_t needed = size_t(reply->width) * size_t(reply->height);
            if (count >= 0 && size_t(count) >= needed) {
                cursor.picture =
                    cursorPictureFromArgb(xcb_xfixes_get_cursor_image_cursor_image(reply.get()), reply->width,
                                          reply->height, Point{reply->xhot, reply->yhot});
                cursor.screenPos = Point{reply->x, reply->y};
                return cursor;
            }
        }
    }
    cursor.picture = transparentCursorPicture();
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    if (pointer)
        cursor.screenPos = Point{pointer->root_x, pointer->root_y};
    return cursor;
}

WindowAtPoint X11ScreenGrabber::windowAt(Point screenPoint) {
    discardQueuedEvents();
    WindowAtPoint result;
    const Size screen = screenSize();
    result.frame = Rect{0, 0, screen.cx, screen.cy};
    result.region = result.frame;
    Reply<xcb_translate_coordinates_reply_t> translated(xcb_translate_coordinates_reply(
        m_connection,
        xcb_translate_coordinates(m_connection, m_root, m_root, toCoordinate(screenPoint.x),
                                  toCoordinate(screenPoint.y)),
        nullptr));
    if (!translated || translated->child == XCB_WINDOW_NONE)
        return result;
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, translated->child), nullptr));
    if (!geometry)
        return result;
    // A child of the root: its position is already in screen coordinates, outside its border.
    const int border = geometry->border_width;
    result.window = translated->child;
    result.frame = Rect{geometry->x, geometry->y, geometry->x + geometry->width + 2 * border,
                        geometry->y + geometry->height + 2 * border};
    result.region = clampToScreen(result.frame, screen);
    return result;
}

}  // namespace quib

namespace quib {

std::vector<WindowNode> X11ScreenGrabber::viewableChildren(uint32_t parent, Point origin) {
    std::vector<WindowNode> result;
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr));
    if (!tree)
        return result;
    const int count = xcb_query_tree_children_length(tree.get());
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    // All requests first, then the replies: one round trip for the whole level.
    std::vector<xcb_get_window_attributes_cookie_t> attributes(static_cast<size_t>(count));
    std::vector<xcb_get_geometry_cookie_t> geometries(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        attributes[size_t(i)] = xcb_get_window_attributes(m_connection, children[i]);
        geometries[size_t(i)] = xcb_get_geometry(m_connection, children[i]);
    }
    // The tree lists children bottom to top.
    for (int i = count - 1; i >= 0; --i) {
        Reply<xcb_get_window_attributes_reply_t> attr(
            xcb_get_window_attributes_reply(m_connection, attributes[size_t(i)], nullptr));
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, geometries[size_t(i)], nullptr));
        if (!attr || !geometry || attr->map_state != XCB_MAP_STATE_VIEWABLE ||
            attr->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
            continue;
        const int border = geometry->border_width;
        WindowNode node;
        node.id = children[i];
        node.frame = Rect{origin.x + geometry->x, origin.y + geometry->y,
                          origin.x + geometry->x + geometry->width + 2 * border,
                          origin.y + geometry->y + geometry->height + 2 * border};
        result.push_back(std::move(node));
    }
    return result;
}

std::vector<WindowNode> X11ScreenGrabber::listWindows() {
    discardQueuedEvents();
    std::vector<WindowNode> windows = viewableChildren(m_root, Point{0, 0});
    for (WindowNode& window : windows) {
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window.id), nullptr));
        const int border = geometry ? geometry->border_width : 0;
        window.children =
            viewableChildren(window.id, Point{window.frame.left + border, window.frame.top + border});
    }
    return windows;
}

std::vector<uint32_t> X11ScreenGrabber::outerWindows(const std::vector<uint32_t>& windows) {
    discardQueuedEvents();
    std::vector<uint32_t> outer;
    for (uint32_t window : windows) {
        // A window manager nests windows a few levels deep at most; the bound stops a loop on a
        // tree that changes while it is walked.
        for (int depth = 0; window && depth < 16; ++depth) {
            Reply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
            if (!tree)
                break;
            if (tree->parent == tree->root || tree->parent == 0) {
                if (std::find(outer.begin(), outer.end(), window) == outer.end())
                    outer.push_back(window);
                break;
            }
            window = tree->parent;
        }
    }
    return outer;
}

void X11ScreenGrabber::waitUntilUnmapped(const std::vector<uint32_t>& windows, int timeoutMs) {
    if (windows.empty())
        return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::vector<xcb_get_window_attributes_cookie_t> cookies;
        for (uint32_t window : windows)
            cookies.push_back(xcb_get_window_attributes(m_connection, window));
        bool shown = false;
        for (xcb_get_window_attributes_cookie_t cookie : cookies) {
            // A window that is gone is off the screen too.
            Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(m_connection, cookie, nullptr));
            shown = shown || (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE);
        }
        discardQueuedEvents();
        if (!shown || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The server paints the background it uncovers at once; the programs under the windows redraw
    // their own parts when told, which takes them a moment.
    std::this_thread::sleep_for(std::chrono::milliseconds(kRedrawAllowanceMs));
}

}  // namespace quib
