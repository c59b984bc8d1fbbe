#pragma once

#include <QTimer>
#include <QWidget>

#include <memory>

#include "movie_player.h"

namespace quib::player {

// Shows a movie scaled to the window with its aspect kept, advances it at the movie's frame
// rate and passes mouse clicks to its buttons.
class PlayerWindow : public QWidget {
public:
    explicit PlayerWindow(std::shared_ptr<const MovieData> movie, QWidget* parent = nullptr);

    const MoviePlayer& player() const { return m_player; }
    int frameInterval() const { return m_timer.interval(); }
    // Where the movie is drawn: the window's largest centred area with the movie's aspect.
    QRect movieArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void tick();
    QPointF toMovie(QPointF windowPoint) const;

    MoviePlayer m_player;
    QTimer m_timer;
    Picture m_frame;
};

}  // namespace quib::player
