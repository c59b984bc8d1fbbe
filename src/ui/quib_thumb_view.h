#pragma once

#include <QListWidget>
#include <functional>

#include "command_handler.h"
#include "model/doc_observer.h"
#include "thumbnail_row.h"

namespace quib {

class CQuibDoc;

// The thumbnail strip: one scaled picture per frame, the current frame always selected.
class CQuibThumbView : public QListWidget, public CommandHandler, public ThumbnailRowMetrics, public DocObserver {
public:
    static constexpr int ThumbnailHeight = 54;

    explicit CQuibThumbView(CQuibDoc& doc, QWidget* parent = nullptr);
    ~CQuibThumbView() override;

    void setWrapModeHandler(std::function<void(bool)> handler) { m_onWrapMode = std::move(handler); }
    bool wrapMode() const { return m_wrapMode; }
    // Rebuilds every thumbnail from the document's frames.
    void rebuild();

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    bool checked(int id) const override;

    bool isEmpty() const override { return count() == 0; }
    int itemHeight() const override;
    int horizontalScrollBarHeight() const override;

    void onUpdate(int hint, uint32_t arg) override;

private:
    void selectCurrent();
    void selectFrame(int index);
    void deleteSelectedFrames();
    std::vector<int> selectedRows() const;
    // Puts the selected frames on the clipboard in the private frame format.
    void copySelectedFrames();
    // Inserts the clipboard's frames after the current one.
    void pasteFrames();
    bool clipboardHasFrames() const;
    QSize thumbnailSize() const;

    CQuibDoc& m_doc;
    bool m_wrapMode = false;
    bool m_syncing = false;
    std::function<void(bool)> m_onWrapMode;
};

}  // namespace quib
