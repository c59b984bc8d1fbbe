#pragma once

#include <QImage>
#include <QWidget>

#include "command_handler.h"
#include "model/doc_observer.h"

namespace quib {

class CQuibDoc;

// The frame editor: the composed current frame centred in a darkened workspace.
class CQuibView : public QWidget, public CommandHandler, public DocObserver {
public:
    explicit CQuibView(CQuibDoc& doc, QWidget* parent = nullptr);
    ~CQuibView() override;

    // The canvas rectangle in widget coordinates.
    QRect canvasRect() const;
    // The back buffer, recomposed when the document changed.
    const QImage& backBuffer();

    // Selection mask of selitem bits (text box and cursor are movable here).
    uint32_t selection() const { return m_selection; }
    void setSelection(uint32_t mask);
    // Moves the selected elements by (dx, dy), kept inside the canvas.
    void moveSelection(int dx, int dy);

    bool handles(int) const override { return false; }
    void run(int) override {}
    bool enabled(int) const override { return false; }

    void onUpdate(int hint, uint32_t arg) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CQuibDoc& m_doc;
    QImage m_buffer;
    bool m_dirty = true;
    uint32_t m_selection = 0;
    bool m_dragging = false;
    QPoint m_dragLast;
};

}  // namespace quib
