#include "toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>

#include "command_ids.h"

namespace quib {

namespace {
const QColor kInk(0x30, 0x38, 0x48);
const QColor kPaper(0xFC, 0xFC, 0xF8);
const QColor kBlue(0x2F, 0x6F, 0xC0);
const QColor kGreen(0x2E, 0x9A, 0x4E);
const QColor kRed(0xD0, 0x38, 0x30);
const QColor kYellow(0xE8, 0xB8, 0x30);

// Drawn on a 24 x 24 grid and scaled, so each picture stays crisp at the toolbar's size.
QIcon drawn(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void page(QPainter& p, QRectF r) {
    QPainterPath path;
    const qreal fold = 5;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void triangle(QPainter& p, qreal x, qreal dir) {
    // dir +1 points right, -1 points left; x is the tip.
    QPolygonF t{QPointF(x, 12), QPointF(x - dir * 8, 5), QPointF(x - dir * 8, 19)};
    p.drawPolygon(t);
}

void navigation(QPainter& p, bool forward, bool toEnd) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    const qreal dir = forward ? 1 : -1;
    if (toEnd) {
        triangle(p, forward ? 17 : 7, dir);
        p.drawRect(forward ? QRectF(17, 5, 3, 14) : QRectF(4, 5, 3, 14));
    } else {
        triangle(p, forward ? 16 : 8, dir);
    }
}
// A half-turn arrow: back to the left for undo, on to the right for redo.
void turnArrow(QPainter& p, bool forward) {
    if (forward) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(QPointF(7, 9));
    path.lineTo(QPointF(14, 9));
    path.cubicTo(QPointF(22, 9), QPointF(22, 20), QPointF(14, 20));
    path.lineTo(QPointF(9, 20));
    p.setPen(QPen(kBlue, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF{QPointF(2.5, 9), QPointF(9, 3.5), QPointF(9, 14.5)});
}

// A small square handle, as the shape editor draws on points and frames.
void grip(QPainter& p, QPointF at) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(at.x() - 2, at.y() - 2, 4, 4));
}

// A triangle and its dashed twin turned over the middle line: across for mirror, up-down for flip.
void turnOver(QPainter& p, bool vertical) {
    if (vertical) {
        p.translate(24, 0);
        p.rotate(90);
    }
    p.setPen(QPen(kInk, 1.2, Qt::DashLine));
    p.drawLine(QPointF(12, 2), QPointF(12, 22));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF{QPointF(10, 5), QPointF(10, 19), QPointF(2.5, 19)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, 1.4, Qt::DashLine));
    p.drawPolygon(QPolygonF{QPointF(14, 5), QPointF(14, 19), QPointF(21.5, 19)});
}
}  // namespace

QIcon commandIcon(int id) {
    switch (id) {
        case cmd::FileNew:
            return drawn([](QPainter& p) {
                page(p, QRectF(5, 2.5, 14, 19));
                p.setPen(QPen(kYellow, 2));
                p.drawLine(QPointF(15, 14), QPointF(15, 20));
                p.drawLine(QPointF(12, 17), QPointF(18, 17));
            });
        case cmd::FileOpen:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.4));
                p.setBrush(kYellow.darker(115));
                p.drawRect(QRectF(2.5, 6.5, 17, 13));
                p.setBrush(kYellow);
                p.drawPolygon(
                    QPolygonF{QPointF(5, 10.5), QPointF(22, 10.5), QPointF(19.5, 19.5), QPointF(2.5, 19.5)});
            });
        case cmd::FileSave:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.4));
                p.setBrush(kBlue);
                p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
                p.setBrush(kPaper);
                p.drawRect(QRectF(7, 3.5, 10, 6));
                p.drawRect(QRectF(6.5, 13, 11, 7.5));
            });
        case cmd::Preferences:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.6));
                for (int i = 0; i < 3; ++i) {
                    const qreal y = 6 + i * 6;
                    p.drawLine(QPointF(4, y), QPointF(20, y));
                    p.setBrush(i == 1 ? kBlue : kPaper);
                    p.drawEllipse(QPointF(i == 1 ? 15 : 8 + i * 2, y), 2.6, 2.6);
                }
            });
        case cmd::EditUndo:
            return drawn([](QPainter& p) { turnArrow(p, false); });
        case cmd::EditRedo:
            return drawn([](QPainter& p) { turnArrow(p, true); });
        case cmd::EditDelete:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kRed, 3.2, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(6, 6), QPointF(18, 18));
                p.drawLine(QPointF(18, 6), QPointF(6, 18));
            });
        case cmd::EditCut:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.6));
                p.drawLine(QPointF(8, 3), QPointF(15, 15));
                p.drawLine(QPointF(16, 3), QPointF(9, 15));
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(kRed, 1.8));
                p.drawEllipse(QPointF(7.5, 18), 3.2, 3.2);
                p.drawEllipse(QPointF(16.5, 18), 3.2, 3.2);
            });
        case cmd::EditCopy:
            return drawn([](QPainter& p) {
                page(p, QRectF(3.5, 2.5, 11, 14));
                page(p, QRectF(9.5, 7.5, 11, 14));
            });
        case cmd::EditPaste:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.4));
                p.setBrush(kYellow.darker(130));
                p.drawRoundedRect(QRectF(3.5, 4.5, 14, 17), 1.5, 1.5);
                p.setBrush(kInk);
                p.drawRect(QRectF(7.5, 2.5, 6, 3.5));
                page(p, QRectF(10.5, 9.5, 10, 12));
            });
        case cmd::FirstFrame:
            return drawn([](QPainter& p) { navigation(p, false, true); });
        case cmd::PreviousFrame:
            return drawn([](QPainter& p) { navigation(p, false, false); });
        case cmd::NextFrame:
            return drawn([](QPainter& p) { navigation(p, true, false); });
        case cmd::LastFrame:
            return drawn([](QPainter& p) { navigation(p, true, true); });
        case cmd::EditPalette:
            return drawn([](QPainter& p) {
                const QColor colours[] = {kRed, kYellow, kGreen, kBlue};
                p.setPen(QPen(kInk, 1));
                for (int i = 0; i < 4; ++i) {
                    p.setBrush(colours[i]);
                    p.drawRect(QRectF(3.5 + (i % 2) * 9, 3.5 + (i / 2) * 9, 8, 8));
                }
            });
        case cmd::ProjectSettings:
            return drawn([](QPainter& p) {
                page(p, QRectF(4.5, 2.5, 15, 19));
                p.setPen(QPen(kBlue, 1.6));
                for (int i = 0; i < 4; ++i)
                    p.drawLine(QPointF(7.5, 9 + i * 3), QPointF(16.5 - (i % 2) * 3, 9 + i * 3));
            });
        case cmd::Render:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.4));
                p.setBrush(kGreen);
                p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
                p.setPen(Qt::NoPen);
                p.setBrush(kPaper);
                p.drawPolygon(QPolygonF{QPointF(9.5, 7), QPointF(17.5, 12), QPointF(9.5, 17)});
            });
        case cmd::AppAbout:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.4));
                p.setBrush(kBlue);
                p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
                QFont font = p.font();
                font.setBold(true);
                font.setPixelSize(14);
                p.setFont(font);
                p.setPen(kPaper);
                p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
            });
        case cmd::ShapeRectangle:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.8));
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRectF(3.5, 5.5, 17, 13));
            });
        case cmd::ShapeEllipse:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.8));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QRectF(2.5, 5.5, 19, 13));
            });
        case cmd::ShapePolyline:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPolyline(QPolygonF{QPointF(3, 19), QPointF(8, 6), QPointF(14, 15), QPointF(21, 4)});
            });
        case cmd::ShapeFreehand:
            return drawn([](QPainter& p) {
                QPainterPath path;
                path.moveTo(3, 17);
                path.cubicTo(QPointF(6, 2), QPointF(11, 24), QPointF(15, 11));
                path.cubicTo(QPointF(17, 5), QPointF(20, 6), QPointF(21, 9));
                p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
                p.setBrush(Qt::NoBrush);
                p.drawPath(path);
            });
        case cmd::ShapeFill:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kInk, 1.4));
                p.setBrush(kPaper);
                p.drawPolygon(QPolygonF{QPointF(4, 11), QPointF(11, 4), QPointF(18, 11), QPointF(11, 18)});
                p.setPen(Qt::NoPen);
                p.setBrush(kBlue);
                p.drawPolygon(QPolygonF{QPointF(5.5, 11.5), QPointF(16.5, 11.5), QPointF(11, 17)});
                QPainterPath drop;
                drop.moveTo(19.5, 13);
                drop.cubicTo(QPointF(22, 17), QPointF(22, 20), QPointF(19.5, 20));
                drop.cubicTo(QPointF(17, 20), QPointF(17, 17), QPointF(19.5, 13));
                p.drawPath(drop);
            });
        case cmd::ShapeEdit:
            return drawn([](QPainter& p) {
                QPainterPath path;
                path.moveTo(3, 19);
                path.cubicTo(QPointF(6, 4), QPointF(18, 4), QPointF(21, 19));
                p.setPen(QPen(kInk, 1.6));
                p.setBrush(Qt::NoBrush);
                p.drawPath(path);
                p.setPen(QPen(kGreen, 1));
                p.drawLine(QPointF(12, 8), QPointF(5, 5));
                p.drawLine(QPointF(12, 8), QPointF(19, 5));
                grip(p, QPointF(3, 19));
                grip(p, QPointF(21, 19));
                p.setBrush(kBlue);
                p.setPen(QPen(kInk, 1));
                p.drawRect(QRectF(10, 6, 4, 4));
            });
        case cmd::ShapeTransform:
            return drawn([](QPainter& p) {
                p.setPen(QPen(kBlue, 1.6));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QRectF(7, 8, 10, 8));
                p.setPen(QPen(kInk, 1, Qt::DotLine));
                p.drawRect(QRectF(4, 4, 16, 16));
                for (QPointF c : {QPointF(4, 4), QPointF(20, 4), QPointF(4, 20), QPointF(20, 20),
                                  QPointF(12, 4), QPointF(12, 20), QPointF(4, 12), QPointF(20, 12)})
                    grip(p, c);
            });
        case cmd::ShapeMirror:
            return drawn([](QPainter& p) { turnOver(p, false); });
        case cmd::ShapeFlip:
            return drawn([](QPainter& p) { turnOver(p, true); });
        default:
            return QIcon();
    }
}

QIcon applicationIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kInk);
        p.drawRoundedRect(QRectF(1.5, 4.5, 21, 15), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        for (int i = 0; i < 5; ++i) {
            p.drawRect(QRectF(3 + i * 4, 5.5, 2, 1.6));
            p.drawRect(QRectF(3 + i * 4, 17, 2, 1.6));
        }
        p.setBrush(kBlue);
        p.drawRect(QRectF(3, 8, 18, 8));
        p.setBrush(kPaper);
        p.setPen(QPen(kInk, 1));
        p.drawPolygon(QPolygonF{QPointF(11, 7), QPointF(11, 19.5), QPointF(14, 16.5), QPointF(16.5, 21.5),
                                QPointF(18.5, 20.5), QPointF(16, 15.5), QPointF(20, 15.5)});
    });
}

}  // namespace quib
