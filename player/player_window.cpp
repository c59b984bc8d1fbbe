#include "player_window.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace quib::player {

namespace {
constexpr double FallbackFrameRate = 12.0;
}

PlayerWindow::PlayerWindow(std::shared_ptr<const MovieData> movie, QWidget* parent)
    : QWidget(parent), m_player(std::move(movie)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const Size natural = m_player.movie().stageSize();
    QSize size(natural.cx, natural.cy);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableSize();
        if (size.width() > available.width() || size.height() > available.height())
            size.scale(available, Qt::KeepAspectRatio);
    }
    resize(size.expandedTo(QSize(1, 1)));

    const double rate = m_player.movie().frameRate > 0 ? m_player.movie().frameRate : FallbackFrameRate;
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(std::max(1, int(std::lround(1000.0 / rate))));
    connect(&m_timer, &QTimer::timeout, this, &PlayerWindow::tick);
    m_timer.start();
}

void PlayerWindow::tick() {
    if (m_player.advance())
        update();
}

QRect PlayerWindow::movieArea() const {
    const Size natural = m_player.movie().stageSize();
    QSize area(natural.cx, natural.cy);
    area.scale(size(), Qt::KeepAspectRatio);
    QRect r(QPoint(0, 0), area);
    r.moveCenter(rect().center());
    return r;
}

QPointF PlayerWindow::toMovie(QPointF windowPoint) const {
    const QRect area = movieArea();
    const RectF frame = m_player.movie().frameRect;
    return QPointF(frame.left + (windowPoint.x() - area.left()) * frame.width() / area.width(),
                   frame.top + (windowPoint.y() - area.top()) * frame.height() / area.height());
}

void PlayerWindow::paintEvent(QPaintEvent*) {
    const QRect area = movieArea();
    if (m_frame.width != area.width() || m_frame.height != area.height())
        m_frame = Picture(area.width(), area.height());
    m_player.render(m_frame);
    const QImage shown(reinterpret_cast<const uchar*>(m_frame.pixels.data()), m_frame.width, m_frame.height,
                       qsizetype(m_frame.width) * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(area.topLeft(), shown);
}

void PlayerWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = toMovie(event->position());
    const bool overButton = m_player.buttonAt(PointF{p.x(), p.y()}).has_value();
    setCursor(overButton ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void PlayerWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF p = toMovie(event->position());
    if (m_player.click(PointF{p.x(), p.y()}))
        update();
}

}  // namespace quib::player
