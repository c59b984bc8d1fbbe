#include "projector_view.h"

#include <algorithm>
#include <cmath>

namespace quib::player {

namespace {

constexpr double FallbackFrameRate = 12.0;
constexpr Pixel Black = 0xFF000000u;

bool stopsAt(const MovieData& movie, int frame) {
    for (const FrameCommand& command : movie.frames[size_t(frame)].commands)
        if (const auto* actions = std::get_if<ActionCommand>(&command))
            for (const Action& action : actions->actions)
                if (action.kind == Action::Kind::Stop)
                    return true;
    return false;
}

}  // namespace

ProjectorView::ProjectorView(std::shared_ptr<const MovieData> movie) : m_player(std::move(movie)) {
    const double rate = m_player.movie().frameRate > 0 ? m_player.movie().frameRate : FallbackFrameRate;
    m_intervalMs = std::max(1, int(std::lround(1000.0 / rate)));
    const Size size = m_player.movie().stageSize();
    resize(size.cx, size.cy);
}

Size ProjectorView::fittedSize(Size movie, Size screen) {
    if (screen.isEmpty() || (movie.cx <= screen.cx && movie.cy <= screen.cy))
        return movie;
    const double scale = std::min(double(screen.cx) / movie.cx, double(screen.cy) / movie.cy);
    return Size{std::max(1, int(movie.cx * scale)), std::max(1, int(movie.cy * scale))};
}

void ProjectorView::resize(int width, int height) {
    width = std::max(1, width), height = std::max(1, height);
    if (width == m_window.width && height == m_window.height)
        return;
    m_window = Picture(width, height, Black);
    const Rect area = movieArea();
    m_movie = Picture(area.width(), area.height());
    m_dirty = true;
}

Rect ProjectorView::movieArea() const {
    const Size movie = m_player.movie().stageSize();
    const double scale = std::min(double(m_window.width) / movie.cx, double(m_window.height) / movie.cy);
    // The movie's own size when it fits exactly, so that it is shown pixel for pixel.
    int w = m_window.width, h = m_window.height;
    if (std::abs(double(movie.cx) * m_window.height - double(movie.cy) * m_window.width) > 1e-9) {
        w = std::clamp(int(std::lround(movie.cx * scale)), 1, m_window.width);
        h = std::clamp(int(std::lround(movie.cy * scale)), 1, m_window.height);
    }
    const int left = (m_window.width - w) / 2, top = (m_window.height - h) / 2;
    return Rect{left, top, left + w, top + h};
}

PointF ProjectorView::toMovie(int x, int y) const {
    const Rect area = movieArea();
    const RectF frame = m_player.movie().frameRect;
    return PointF{frame.left + (x + 0.5 - area.left) * frame.width() / area.width(),
                  frame.top + (y + 0.5 - area.top) * frame.height() / area.height()};
}

bool ProjectorView::changedFrom(int frame, bool playing) {
    const bool changed = frame != m_player.currentFrame() || playing != m_player.isPlaying();
    m_dirty = m_dirty || frame != m_player.currentFrame();
    return changed;
}

bool ProjectorView::tick() {
    if (!m_player.advance())
        return false;
    m_dirty = true;
    return true;
}

bool ProjectorView::click(int x, int y) {
    if (!m_player.click(toMovie(x, y)))
        return false;
    m_dirty = true;
    return true;
}

bool ProjectorView::overButton(int x, int y) const {
    return m_player.buttonAt(toMovie(x, y)).has_value();
}

bool ProjectorView::press(ProjectorKey key) {
    const int frame = m_player.currentFrame();
    const bool playing = m_player.isPlaying();
    const int last = m_player.frameCount() - 1;
    const MovieData& movie = m_player.movie();
    switch (key) {
        case ProjectorKey::Next: {
            int next = frame + 1;
            while (next < last && !stopsAt(movie, next))
                ++next;
            m_player.gotoFrame(std::min(next, last));
            break;
        }
        case ProjectorKey::Previous: {
            int previous = frame - 1;
            while (previous > 0 && !stopsAt(movie, previous))
                --previous;
            m_player.gotoFrame(std::max(previous, 0));
            break;
        }
        case ProjectorKey::First:
            m_player.gotoFrame(0);
            m_player.play();
            break;
        case ProjectorKey::Last:
            m_player.gotoFrame(last);
            break;
    }
    return changedFrom(frame, playing);
}

const Picture& ProjectorView::picture() {
    if (!m_dirty)
        return m_window;
    m_player.render(m_movie);
    const Rect area = movieArea();
    for (int y = 0; y < m_movie.height; ++y)
        std::copy_n(m_movie.row(y), m_movie.width, m_window.row(area.top + y) + area.left);
    m_dirty = false;
    return m_window;
}

}  // namespace quib::player
