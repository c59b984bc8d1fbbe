#pragma once

#include <memory>

#include "base/geometry.h"
#include "movie_player.h"
#include "picture.h"

namespace quib::player {

// The keys a projector answers, as the web page player does.
enum class ProjectorKey {
    Next,      // Right or Space: on to the next stop
    Previous,  // Left: back to the previous stop
    First,     // Home: the start, playing
    Last,      // End: the last frame
};

// What a projector's window shows and does, without the window: the movie fitted to the window
// with its aspect kept and black bars around it, playback at the movie's rate, clicks on buttons
// and keys. The platform code only blits picture() and passes events in window pixels.
class ProjectorView {
public:
    explicit ProjectorView(std::shared_ptr<const MovieData> movie);

    // The window's first size: the movie's own, or scaled down with its aspect to fit screen.
    static Size fittedSize(Size movie, Size screen);

    const MoviePlayer& player() const { return m_player; }
    int frameIntervalMs() const { return m_intervalMs; }

    void resize(int width, int height);
    // Where the movie lies in the window.
    Rect movieArea() const;

    // One tick of the frame clock; true when the picture changed.
    bool tick();
    bool click(int x, int y);
    bool overButton(int x, int y) const;
    bool press(ProjectorKey key);

    // The whole window's picture, drawn again only when something changed.
    const Picture& picture();

private:
    PointF toMovie(int x, int y) const;
    bool changedFrom(int frame, bool playing);

    MoviePlayer m_player;
    int m_intervalMs = 83;
    Picture m_window;
    Picture m_movie;
    bool m_dirty = true;
};

}  // namespace quib::player
