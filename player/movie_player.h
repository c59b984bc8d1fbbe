#pragma once

#include <memory>
#include <optional>
#include "picture.h"

#include "movie_data.h"
#include "stage.h"

namespace quib::player {

// Plays a decoded movie: the current frame, the display list it builds, playing or stopped,
// frame actions and button clicks. Starts on frame 0 with that frame's actions run.
class MoviePlayer {
public:
    explicit MoviePlayer(std::shared_ptr<const MovieData> movie);

    const MovieData& movie() const { return *m_movie; }
    const Stage& stage() const { return m_stage; }
    int currentFrame() const { return m_current; }
    int frameCount() const { return int(m_movie->frames.size()); }
    bool isPlaying() const { return m_playing; }

    // Moves one frame on when playing, running the new frame's actions. Playback stops on the
    // last frame. Returns true when the frame changed.
    bool advance();
    // Jumps to frame n (clamped to the movie) as the go-to action does: playback stops, the
    // display list is rebuilt and frame n's actions run.
    void gotoFrame(int n);
    void play() { m_playing = true; }
    void stop() { m_playing = false; }

    // The depth of the topmost button whose hit area holds point (movie units).
    std::optional<uint16_t> buttonAt(PointF point) const;
    // Presses and releases the mouse at point: the topmost button there runs its press and
    // release actions. Returns true when a button was hit.
    bool click(PointF point);

    // Draws the stage scaled to fill the whole picture.
    void render(Picture& picture) const;

private:
    void showFrame(int n);
    void runActions(const ActionList& actions);
    void runFrameActions(int n);
    void runPendingFrames();

    std::shared_ptr<const MovieData> m_movie;
    Stage m_stage;
    int m_current = -1;
    bool m_playing = true;
    std::optional<int> m_pendingFrame;  // frame entered by a jump whose actions still have to run
    int m_actionBudget = 0;             // actions the current step may still run
};

}  // namespace quib::player
