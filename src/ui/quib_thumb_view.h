#pragma once

#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "base/shared_bytes.h"
#include "command_handler.h"
#include "model/doc_observer.h"
#include "thumbnail_builder.h"
#include "thumbnail_row.h"

class QMenu;
class QMimeData;
class QTimer;

namespace quib {

class CQuibDoc;
class CProgressBar;

// The thumbnail strip: one scaled picture per frame, numbered from 1, the current frame always
// selected. Pictures are made on worker threads: a rebuild shows every item at once with a
// placeholder and fills the pictures in as they come, with the status-bar progress meanwhile.
class CQuibThumbView : public QListWidget,
                       public CommandHandler,
                       public ThumbnailRowMetrics,
                       public DocObserver {
public:
    // Vertical room of an item besides its picture (the label); horizontal room likewise.
    static constexpr int ItemExtraWidth = 8;
    static constexpr int ItemExtraHeight = 20;
    // Drags near an edge of the list scroll it by this much.
    static constexpr int EdgeScrollMargin = 10;
    static constexpr int EdgeScrollStep = 10;

    explicit CQuibThumbView(CQuibDoc& doc, QWidget* parent = nullptr);
    ~CQuibThumbView() override;

    CQuibDoc& document() const { return m_doc; }
    void setWrapModeHandler(std::function<void(bool)> handler) { m_onWrapMode = std::move(handler); }
    bool wrapMode() const { return m_wrapMode; }
    void toggleWrapMode();

    // The "Thumb cx" / "Thumb cy" box. Without one, the main window's settings (else 64 x 64).
    void setThumbnailSettings(QSize box);
    QSize thumbnailSettings() const;
    // Picture size of every item, border included.
    QSize thumbnailSize() const { return m_thumbSize; }
    const QImage& borderTemplate() const { return m_template; }

    // Rebuilds every item; the pictures follow from the worker threads.
    void rebuild();
    // Waits for the pictures under way and puts them in place.
    void finishThumbnails();
    bool thumbnailsPending() const { return m_pendingCount > 0; }
    // The picture of item index (border included), or a null image.
    QImage thumbnail(int index) const;
    // How many pictures were made from a stream (not reused from the frame before) since the last rebuild.
    int decodedThumbnailCount() const { return m_decodedCount; }

    // Union of all item rectangles, in list coordinates.
    QRect itemRectUnion() const { return m_itemUnion; }
    // Labels every item with its number and lays the items out again.
    void arrange();

    // Deletes the selected frames; the frame after the selection (before it, when the selection
    // reaches the last frame) becomes current. Returns how many went.
    int deleteSelectedFrames();
    // The same, with the status bar telling how to get them back.
    void deleteSelectedFramesWithNote();
    std::vector<int> selectedRows() const;
    // The data a drag of the selected frames carries: this view's identity, then the frames.
    QMimeData* dragData();
    // Row an insertion bar is shown at, or -1.
    int dropHighlightRow() const { return m_dropRow; }
    uint32_t viewIdentity() const { return m_identity; }
    // Asks the offset of "Sposta tutti gli elementi"; false when cancelled. Default: the dialog.
    using OffsetAsker = std::function<bool(int& dx, int& dy)>;
    void setOffsetAsker(OffsetAsker ask) { m_askOffset = std::move(ask); }
    // The popup of the right button (commands of the main window's actions when there is one).
    QMenu* createPopupMenu(QWidget* parent);

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    bool checked(int id) const override;

    bool isEmpty() const override { return count() == 0; }
    int itemHeight() const override;
    int horizontalScrollBarHeight() const override;

    void onUpdate(int hint, uint32_t arg) override;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class ThumbnailItemDelegate;

    // Accepts frames dragged over the strip (move from this strip, copy from another); false when
    // the data carries no frames.
    bool offerDrop(QDropEvent* event) const;

    struct PendingSlot {
        std::vector<int> rows;  // items waiting for this picture
        SharedBytes stream;
    };
    // A thumbnail made from a picture stream, found again while the stream lives (in the project
    // or its history), so that undoing a delete shows the frames at once.
    struct CachedThumbnail {
        std::weak_ptr<const void> owner;
        QImage image;
    };
    const QImage* cachedThumbnail(const SharedBytes& stream) const;

    void applySizes();
    // Lets the project window size the thumbnail row again.
    void recalcProjectRows();
    void insertItems(int first, int count);
    // Queues the pictures of rows first .. first + count - 1 (the frame before first may lend
    // its picture to an identical first frame when reuseBefore is set).
    void makeThumbnails(int first, int count, bool reuseBefore);
    void collectResults();
    void scheduleCollect();
    void setPicture(int row, const QImage& image);
    void dropPending(int row);
    void showProgress(int total);
    void stepProgress();
    void endProgress();
    QImage currentFrameThumbnail() const;

    void selectCurrentItem();
    void itemStateChanged();
    void keepSelection();
    void navigate(int index);
    void selectAllFrames();
    void moveSelectedElements();
    void copySelectedFrames();
    void pasteFrames();
    bool clipboardHasFrames() const;
    void runMainWindowCommand(int id);
    int dropIndexAt(const QPoint& position) const;
    void setDropRow(int row);
    void edgeScroll();
    bool acceptsDrag(const QMimeData* data) const;

    CQuibDoc& m_doc;
    const uint32_t m_identity;
    bool m_wrapMode = false;
    bool m_syncing = false;  // the view itself is changing item states
    std::function<void(bool)> m_onWrapMode;
    OffsetAsker m_askOffset;
    QSize m_settingsBox;  // empty: ask the main window
    QSize m_builtBox;     // the box the items were made for
    QSize m_thumbSize;
    QImage m_template;
    QImage m_placeholder;
    QIcon m_placeholderIcon;
    std::vector<QImage> m_pictures;  // one per item
    QRect m_itemUnion;

    ThumbnailBuilder m_builder;
    std::vector<PendingSlot> m_slots;
    std::unordered_map<const void*, CachedThumbnail> m_thumbCache;
    int m_pendingCount = 0;
    int m_decodedCount = 0;
    bool m_collectQueued = false;
    std::shared_ptr<std::atomic<bool>> m_collectFlag;
    std::unique_ptr<CProgressBar> m_progress;
    int m_progressTotal = 0;
    int m_progressDone = 0;

    int m_dropRow = -1;
    QPoint m_dragPosition;
    QTimer* m_edgeTimer = nullptr;
};

}  // namespace quib
