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

    bool handles(int) const override { return false; }
    void run(int) override {}
    bool enabled(int) const override { return false; }

    void onUpdate(int hint, uint32_t arg) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CQuibDoc& m_doc;
    QImage m_buffer;
    bool m_dirty = true;
};

}  // namespace quib
