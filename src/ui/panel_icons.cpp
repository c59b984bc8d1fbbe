#include "panel_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "command_ids.h"

namespace quib {

namespace {

constexpr int kSize = 16;

QPixmap blank() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A small button face with an arrow or a number, the way the movie's buttons look.
QPixmap buttonFace(const QString& label, bool arrowRight, bool arrowLeft) {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(40, 60, 120));
    p.setBrush(QColor(120, 150, 220));
    p.drawRoundedRect(QRectF(0.5, 3.5, kSize - 1, kSize - 7), 2, 2);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    if (arrowRight || arrowLeft) {
        QPainterPath arrow;
        const qreal tip = arrowRight ? 12 : 4;
        const qreal back = arrowRight ? 5 : 11;
        arrow.moveTo(tip, 8);
        arrow.lineTo(back, 5);
        arrow.lineTo(back, 11);
        arrow.closeSubpath();
        p.drawPath(arrow);
    } else {
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 3, kSize, kSize - 6), Qt::AlignCenter, label);
    }
    return pixmap;
}

QPixmap landscape() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(150, 200, 250));
    p.drawRect(0, 2, kSize - 1, kSize - 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(6, 7), QPoint(10, 11), QPoint(12, 9), QPoint(15, 13)}));
    p.setBrush(QColor(250, 210, 60));
    p.drawEllipse(QPoint(11, 6), 2, 2);
    return pixmap;
}

}  // namespace

QIcon alignmentIcon(uint32_t align) {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    const int widths[4] = {14, 10, 14, 8};
    for (int line = 0; line < 4; ++line) {
        const int y = 3 + line * 3;
        int width = widths[line];
        if (align == 3 && line < 3)
            width = 14;
        int x = 1;
        if (align == 1)
            x = 1 + (14 - width) / 2;
        else if (align == 2)
            x = 15 - width;
        p.drawLine(x, y, x + width - 1, y);
    }
    return QIcon(pixmap);
}

QIcon pictureButtonIcon(int command) {
    switch (command) {
        case cmd::BackgroundImage:
            return QIcon(landscape());
        case cmd::NextButtonImage:
            return QIcon(buttonFace(QString(), true, false));
        case cmd::PreviousButtonImage:
            return QIcon(buttonFace(QString(), false, true));
        case cmd::Goto1ButtonImage:
            return QIcon(buttonFace(QStringLiteral("1"), false, false));
        case cmd::Goto2ButtonImage:
            return QIcon(buttonFace(QStringLiteral("2"), false, false));
        default:
            return QIcon();
    }
}

}  // namespace quib
