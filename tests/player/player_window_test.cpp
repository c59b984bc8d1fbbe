#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "movie_decoder.h"
#include "player_window.h"
#include "support/test_application.h"
#include "swf_builder.h"

using namespace quib::player;
using namespace swftest;

namespace {

// 200 x 100 units at 10 frames per second; frame 0 stops with a green button at (20, 20) .. (59, 39)
// that plays on, frame 1 is plain.
std::shared_ptr<const MovieData> buttonMovie() {
    MovieBuilder b(200, 100, 10);
    b.background(0, 0, 255);
    b.solidRect(1, 0, 0, 39, 19, {0, 255, 0, 255});
    b.button(2, 1, {{SwfAction::Play}});
    b.place(1, 2, 20, 20);
    b.doAction({{SwfAction::Stop}});
    b.showFrame();
    b.remove(2, 1);
    b.showFrame();
    return std::make_shared<const MovieData>(decodeMovie(b.finish()));
}

void release(QWidget& w, QPointF at) {
    QMouseEvent event(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

}  // namespace

TEST(PlayerWindow, KeepsTheAspectWhenResizedAndClicksHitTheScaledButton) {
    quib::test::application();
    PlayerWindow w(buttonMovie());
    w.resize(400, 400);
    EXPECT_EQ(w.movieArea(), QRect(0, 100, 400, 200));
    QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.pixel(200, 50), qRgb(0, 0, 0));    // bar above the movie
    EXPECT_EQ(shot.pixel(80, 160), qRgb(0, 255, 0));  // button at twice its size
    EXPECT_EQ(shot.pixel(200, 250), qRgb(0, 0, 255));

    release(w, QPointF(300, 160));  // outside the button
    EXPECT_FALSE(w.player().isPlaying());
    release(w, QPointF(60, 160));  // movie point (30, 30)
    EXPECT_TRUE(w.player().isPlaying());
}
