#include "fixed_splitter.h"

#include <QMouseEvent>
#include <QSplitterHandle>

namespace quib {

namespace {
class FixedHandle : public QSplitterHandle {
public:
    FixedHandle(Qt::Orientation o, QSplitter* parent) : QSplitterHandle(o, parent) {
        setCursor(Qt::ArrowCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
};
}  // namespace

FixedSplitter::FixedSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent) {
    setChildrenCollapsible(false);
    setHandleWidth(4);
}

QSplitterHandle* FixedSplitter::createHandle() {
    return new FixedHandle(orientation(), this);
}

}  // namespace quib
