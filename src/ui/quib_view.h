#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "command_handler.h"
#include "element_tracker.h"
#include "model/doc_observer.h"
#include "model/project_edit.h"

class QScrollBar;

class QPainter;

namespace quib {

class CQuibDoc;

// The frame editor: the current frame composed as the movie shows it, centred in a darkened
// workspace (scrolled when larger), on which the frame's elements are selected, moved and resized.
// The canvas is shown fitted to the window or at a chosen zoom; every edit is in frame pixels.
class CQuibView : public QWidget, public CommandHandler, public DocObserver {
public:
    explicit CQuibView(CQuibDoc& doc, QWidget* parent = nullptr);
    ~CQuibView() override;

    // The canvas rectangle in widget coordinates (at the zoom in use).
    QRect canvasRect() const;
    // The frame pixel under a widget point, and the widget area a frame area covers.
    QPoint toCanvas(QPoint widgetPoint) const;
    QRect toWidget(const QRect& canvasArea) const;

    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 8.0;
    // The scale in use: chosen, or the one that fits the canvas in the window (never above 1).
    double zoom() const;
    bool fitsWindow() const { return m_fit; }
    // Shows the canvas at scale; anchor is the widget point that keeps showing the same pixel
    // (the middle of the view when none).
    void setZoom(double scale, std::optional<QPoint> anchor = {});
    // The next zoom level in direction (+1 larger, -1 smaller).
    void zoomStep(int direction, std::optional<QPoint> anchor = {});
    void fitToWindow();
    // Told whenever the zoom in use changes (the status bar's zoom box follows it).
    void setZoomListener(std::function<void()> listener) { m_zoomListener = std::move(listener); }
    // The back buffer with the whole canvas composed (cursor and its frame included).
    const QImage& backBuffer();
    // The colour of the workspace around the canvas.
    static QColor marginColor();

    // Selection mask of element bits (1 << kind).
    uint32_t selection() const { return m_selection; }
    void setSelection(uint32_t mask);
    bool isTracking() const { return m_tracking; }
    // Moves the selected elements together by (dx, dy), keeping them inside the canvas.
    void moveSelection(int dx, int dy);
    // Moves the right and bottom edge of the first selected element.
    void resizeFirstSelected(int dx, int dy);
    // Hides the selected text box, cursor and buttons.
    void hideSelected();

    // The editor information pane text: the rectangle of the one selected element.
    QString indicatorText() const;

    // Where commands posted by the view go (default: the main window's command routing).
    void setCommandPoster(std::function<void(int)> post) { m_postCommand = std::move(post); }
    // Where the editor information text goes (default: the main window's status bar, while
    // this view's project is the active one).
    void setIndicatorSink(std::function<void(const QString&)> sink) { m_indicatorSink = std::move(sink); }

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    bool checked(int id) const override;

    void onUpdate(int hint, uint32_t arg) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // A red cross and a note over each go-to button whose target lies outside the project.
    void markGotoTargetsOutside(QPainter& painter);

    struct Drag {
        ElementKind kind = ElementKind::Cursor;
        TrackerPart part = TrackerPart::None;
        QPoint start;  // canvas coordinates
        std::array<Rect, kElementKindCount> startRects{};
        uint32_t moving = 0;  // the elements that move with the pressed one
        bool addOrToggle = false;
        bool changed = false;
    };

    const ElementTracker& tracker(ElementKind kind) const { return m_trackers[size_t(kind)]; }
    // An element's rectangle in view pixels from the canvas origin.
    Rect shownRect(const Rect& canvasRect) const;
    // The first element in kind order that takes hold of a widget point.
    bool hitElement(QPoint widgetPoint, ElementKind& kind, TrackerPart& part) const;
    void zoomChanged(double before);
    uint32_t shownSelection() const;
    void dropHiddenFromSelection();

    void ensureBuffer();
    // Composes a canvas area of the back buffer: background, picture, title, text box, buttons,
    // then the cursor's frame and the cursor.
    void composeArea(const QRect& area);
    void invalidateCanvas(const QRect& canvasArea);
    void invalidateElements(uint32_t mask);
    void updateScrollBars();

    // Writes rectangles for the moving elements; returns whether anything changed.
    bool applyMove(const std::array<Rect, kElementKindCount>& from, uint32_t mask, int dx, int dy);
    void finishChange(uint32_t mask);
    void publishIndicator();
    void refreshCommandStates();
    void postCommand(int id);

    void copySelection();
    void copyMerged();
    void paste();
    void showProjectInfo();

    CQuibDoc& m_doc;
    std::array<ElementTracker, kElementKindCount> m_trackers;
    QImage m_buffer;
    uint32_t m_selection = 0;
    bool m_tracking = false;
    Drag m_drag;
    // The step a drag records when it ends.
    std::optional<FrameEditRecorder> m_dragStep;
    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    std::function<void(int)> m_postCommand;
    std::function<void(const QString&)> m_indicatorSink;
    bool m_watchingActivation = false;
    double m_zoom = 1.0;
    bool m_fit = true;
    std::function<void()> m_zoomListener;
};

}  // namespace quib
