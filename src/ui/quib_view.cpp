#include "quib_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "base/strings.h"
#include "child_frame.h"
#include "command_ids.h"
#include "editor_clipboard.h"
#include "main_frame.h"
#include "model/frame_clipboard.h"
#include "model/frame_composition.h"
#include "model/goto_target.h"
#include "model/quib_doc.h"
#include "project_info_dialog.h"
#include "quib_project_document.h"
#include "status_bar.h"

namespace quib {

namespace {
// The commands a double click on a lone selected element asks for, by kind (0: none).
int chooserCommand(ElementKind kind) {
    switch (kind) {
        case ElementKind::Cursor:
            return cmd::ChooseCursor;
        case ElementKind::PrevButton:
            return cmd::PreviousButtonImage;
        case ElementKind::NextButton:
            return cmd::NextButtonImage;
        case ElementKind::Goto1:
            return cmd::Goto1ButtonImage;
        case ElementKind::Goto2:
            return cmd::Goto2ButtonImage;
        case ElementKind::TextBox:
            return cmd::ChooseCallout;
        default:
            return 0;
    }
}

// The name of a move or resize step: after the element when there is one ("Sposta cursore").
std::string stepName(const char* verb, uint32_t elements) {
    static const char* const names[kElementKindCount] = {
        "cursore",         "pulsante Indietro", "pulsante Avanti", "pulsante VaiA 1",
        "pulsante VaiA 2", "casella di testo",  "titolo",          "immagine"};
    if (std::popcount(elements) != 1)
        return std::string(verb) + " elementi";
    return std::string(verb) + " " + names[std::countr_zero(elements)];
}

Rect shifted(const Rect& r, int dx, int dy) {
    return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Rect with exclusive right and bottom from a QRect.
Rect fromQRect(const QRect& r) {
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
}  // namespace

CQuibView::CQuibView(CQuibDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    for (int k = 0; k < kElementKindCount; ++k)
        m_trackers[size_t(k)] = ElementTracker(kindAt(k));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_hScroll->hide();
    m_vScroll->hide();
    for (QScrollBar* bar : {m_hScroll, m_vScroll}) {
        bar->setSingleStep(16);
        connect(bar, &QScrollBar::valueChanged, this, [this] { update(); });
    }
    m_doc.addObserver(this);
    updateScrollBars();
}

CQuibView::~CQuibView() {
    m_doc.removeObserver(this);
}

QColor CQuibView::marginColor() {
    // The workspace grey darkened by 32 in each channel (wrapping like a byte).
    const QColor workspace(128, 128, 128);
    return QColor((workspace.red() - 32) & 0xFF, (workspace.green() - 32) & 0xFF,
                  (workspace.blue() - 32) & 0xFF);
}

namespace {
constexpr double kZoomLevels[] = {0.25, 1.0 / 3, 0.5, 2.0 / 3, 0.75, 1, 1.5, 2, 3, 4, 6, 8};
}  // namespace

double CQuibView::zoom() const {
    if (!m_fit)
        return m_zoom;
    const int w = m_doc.backgroundSize.cx, h = m_doc.backgroundSize.cy;
    if (w <= 0 || h <= 0 || width() <= 0 || height() <= 0)
        return 1.0;
    // Fitting shrinks a large frame; a small one stays at its own pixels.
    const double fit = std::min({1.0, double(width()) / w, double(height()) / h});
    return std::max(MinZoom, fit);
}

QRect CQuibView::canvasRect() const {
    const double z = zoom();
    const int w = int(std::lround(std::max(0, m_doc.backgroundSize.cx) * z));
    const int h = int(std::lround(std::max(0, m_doc.backgroundSize.cy) * z));
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int viewWidth = width() - (m_vScroll->isHidden() ? 0 : extent);
    const int viewHeight = height() - (m_hScroll->isHidden() ? 0 : extent);
    const int x = m_hScroll->isHidden() ? std::max(0, (viewWidth - w) / 2) : -m_hScroll->value();
    const int y = m_vScroll->isHidden() ? std::max(0, (viewHeight - h) / 2) : -m_vScroll->value();
    return QRect(x, y, w, h);
}

void CQuibView::updateScrollBars() {
    const QSize shown = canvasRect().size();
    const int w = shown.width(), h = shown.height();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    bool needH = w > width(), needV = h > height();
    if (needH && !needV)
        needV = h > height() - extent;
    if (needV && !needH)
        needH = w > width() - extent;
    const int viewWidth = width() - (needV ? extent : 0);
    const int viewHeight = height() - (needH ? extent : 0);
    m_hScroll->setVisible(needH);
    m_vScroll->setVisible(needV);
    if (needH) {
        m_hScroll->setGeometry(0, height() - extent, viewWidth, extent);
        m_hScroll->setRange(0, w - viewWidth);
        m_hScroll->setPageStep(viewWidth);
    }
    if (needV) {
        m_vScroll->setGeometry(width() - extent, 0, extent, viewHeight);
        m_vScroll->setRange(0, h - viewHeight);
        m_vScroll->setPageStep(viewHeight);
    }
}

QPoint CQuibView::toCanvas(QPoint widgetPoint) const {
    const QPoint p = widgetPoint - canvasRect().topLeft();
    const double z = zoom();
    return QPoint(int(std::floor(p.x() / z)), int(std::floor(p.y() / z)));
}

QRect CQuibView::toWidget(const QRect& area) const {
    const double z = zoom();
    const QPoint origin = canvasRect().topLeft();
    const int left = int(std::floor(area.left() * z)), top = int(std::floor(area.top() * z));
    const int right = int(std::ceil((area.right() + 1) * z)),
              bottom = int(std::ceil((area.bottom() + 1) * z));
    return QRect(origin.x() + left, origin.y() + top, right - left, bottom - top);
}

Rect CQuibView::shownRect(const Rect& r) const {
    const double z = zoom();
    if (z == 1.0)
        return r;
    return Rect{int(std::lround(r.left * z)), int(std::lround(r.top * z)), int(std::lround(r.right * z)),
                int(std::lround(r.bottom * z))};
}

void CQuibView::setZoom(double scale, std::optional<QPoint> anchor) {
    const double before = zoom();
    const QPoint at = anchor.value_or(QPoint(width() / 2, height() / 2));
    const QRect canvas = canvasRect();
    const double cx = (at.x() - canvas.left()) / before, cy = (at.y() - canvas.top()) / before;
    m_fit = false;
    m_zoom = std::clamp(scale, MinZoom, MaxZoom);
    updateScrollBars();
    // The pixel under the anchor stays under it.
    if (!m_hScroll->isHidden())
        m_hScroll->setValue(int(std::lround(cx * m_zoom - at.x())));
    if (!m_vScroll->isHidden())
        m_vScroll->setValue(int(std::lround(cy * m_zoom - at.y())));
    zoomChanged(before);
}

void CQuibView::zoomStep(int direction, std::optional<QPoint> anchor) {
    const double current = zoom();
    double next = current;
    if (direction > 0) {
        for (double level : kZoomLevels)
            if (level > current + 1e-6) {
                next = level;
                break;
            }
    } else {
        for (double level : kZoomLevels)
            if (level < current - 1e-6)
                next = level;
    }
    setZoom(next, anchor);
}

void CQuibView::fitToWindow() {
    const double before = zoom();
    m_fit = true;
    updateScrollBars();
    zoomChanged(before);
}

void CQuibView::zoomChanged(double before) {
    update();
    if (m_zoomListener)
        m_zoomListener();
    if (before != zoom())
        refreshCommandStates();
}

void CQuibView::ensureBuffer() {
    const int w = m_doc.backgroundSize.cx, h = m_doc.backgroundSize.cy;
    if (w <= 0 || h <= 0) {
        m_buffer = QImage();
        return;
    }
    if (m_buffer.width() != w || m_buffer.height() != h)
        m_buffer = QImage(w, h, QImage::Format_BGR888);
}

void CQuibView::composeArea(const QRect& area) {
    ensureBuffer();
    const QRect a = area & m_buffer.rect();
    if (a.isEmpty())
        return;
    const int stride = int(m_buffer.bytesPerLine());
    uint8_t* bits = m_buffer.bits();
    for (int y = a.top(); y <= a.bottom(); ++y)
        std::memset(bits + size_t(y) * size_t(stride) + size_t(a.left()) * 3, kUncoveredCanvas,
                    size_t(a.width()) * 3);
    const Rect clip = fromQRect(a);
    ComposeFrame(m_doc, bits, ComposeEditor, stride, clip);
    const ElementTracker& cursor = tracker(ElementKind::Cursor);
    if (cursor.isShown(m_doc)) {
        // The cursor always shows a thin frame, so that even a blank cursor can be found.
        {
            QPainter painter(&m_buffer);
            painter.setClipRect(a);
            cursor.draw(painter, cursor.rect(m_doc), (m_selection & cursor.bit()) && !m_tracking);
        }
        ComposeFrame(m_doc, m_buffer.bits(), ComposeCursor, stride, clip);
    }
}

const QImage& CQuibView::backBuffer() {
    ensureBuffer();
    composeArea(m_buffer.rect());
    return m_buffer;
}

void CQuibView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect canvas = canvasRect();
    const QRegion region = event->region();
    for (const QRect& margin : region.subtracted(QRegion(canvas)))
        painter.fillRect(margin, marginColor());
    const double z = zoom();
    for (const QRect& part : region.intersected(QRegion(canvas))) {
        if (z == 1.0) {
            const QRect area = part.translated(-canvas.topLeft());
            composeArea(area);
            painter.drawImage(part.topLeft(), m_buffer, area);
            continue;
        }
        const QRect area =
            QRect(toCanvas(part.topLeft()), toCanvas(part.bottomRight())).adjusted(-1, -1, 1, 1) &
            QRect(0, 0, m_doc.backgroundSize.cx, m_doc.backgroundSize.cy);
        composeArea(area);
        painter.save();
        painter.setClipRect(part);
        // Below 100 % pixels blend; above it they show as crisp squares.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, z < 1.0);
        painter.drawImage(QRectF(canvas.left() + area.left() * z, canvas.top() + area.top() * z,
                                 area.width() * z, area.height() * z),
                          m_buffer, area);
        painter.restore();
    }
    if (m_tracking)
        return;
    // The other selected elements show their trackers over the picture and into the margin.
    painter.translate(canvas.topLeft());
    for (const ElementTracker& t : m_trackers)
        if (t.kind() != ElementKind::Cursor && (m_selection & t.bit()) && t.isShown(m_doc))
            t.draw(painter, shownRect(t.rect(m_doc)), true);
    markGotoTargetsOutside(painter);
}

void CQuibView::markGotoTargetsOutside(QPainter& painter) {
    const int index = m_doc.currentFrameIndex;
    if (index < 0)
        return;
    for (int k = 0; k < 2; ++k) {
        const NavButton& button = m_doc.currentFrame.gotoButtons[k];
        const ElementTracker& t = tracker(ElementKind(int(ElementKind::Goto1) + k));
        if (!button.visible || !t.isShown(m_doc) ||
            !gotoTargetOutside(index, button.targetOffset, m_doc.frameCount()))
            continue;
        const QRect r = toQRect(shownRect(t.rect(m_doc)));
        painter.save();
        painter.setPen(QPen(Qt::red, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        painter.drawLine(r.topLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomLeft());
        const QString note = QString::fromUtf8(stringText(str::GotoOutsideProject));
        const QRect box = painter.fontMetrics().boundingRect(note).adjusted(-3, -1, 3, 1);
        const QRect label = box.translated(r.left() - box.left(), r.top() - 2 - box.bottom());
        painter.fillRect(label, Qt::white);
        painter.drawText(label, Qt::AlignCenter, note);
        painter.restore();
    }
}

void CQuibView::resizeEvent(QResizeEvent* event) {
    const double before = m_fit && event->oldSize().isValid() ? zoom() : 0;
    QWidget::resizeEvent(event);
    updateScrollBars();
    if (m_fit && before != zoom() && m_zoomListener)
        m_zoomListener();
}

void CQuibView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_watchingActivation) {
        if (auto* main = dynamic_cast<CMainFrame*>(window())) {
            connect(main->mdiArea(), &QMdiArea::subWindowActivated, this, [this] { publishIndicator(); });
            // Paste follows the clipboard, whoever changed it.
            connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
                    [this] { refreshCommandStates(); });
            m_watchingActivation = true;
        }
    }
    publishIndicator();
}

void CQuibView::invalidateCanvas(const QRect& canvasArea) {
    if (zoom() == 1.0) {
        update(canvasArea.translated(canvasRect().topLeft()));
        return;
    }
    // Trackers keep their screen size whatever the zoom.
    const int margin = ElementTracker::HandleSize + 2;
    update(toWidget(canvasArea).adjusted(-margin, -margin, margin, margin));
}

void CQuibView::invalidateElements(uint32_t mask) {
    for (const ElementTracker& t : m_trackers)
        if (mask & t.bit())
            invalidateCanvas(t.paintArea(t.rect(m_doc)));
}

bool CQuibView::hitElement(QPoint widgetPoint, ElementKind& kind, TrackerPart& part) const {
    const QPoint shown = widgetPoint - canvasRect().topLeft();
    const Point p{shown.x(), shown.y()};
    for (const ElementTracker& t : m_trackers) {
        const TrackerPart hit =
            t.hitTestShown(m_doc, shownRect(t.rect(m_doc)), p, (m_selection & t.bit()) != 0);
        if (hit != TrackerPart::None) {
            kind = t.kind();
            part = hit;
            return true;
        }
    }
    return false;
}

uint32_t CQuibView::shownSelection() const {
    uint32_t mask = 0;
    for (const ElementTracker& t : m_trackers)
        if ((m_selection & t.bit()) && t.isShown(m_doc))
            mask |= t.bit();
    return mask;
}

void CQuibView::dropHiddenFromSelection() {
    const uint32_t shown = shownSelection();
    if (shown == m_selection)
        return;
    m_selection = shown;
    refreshCommandStates();
}

void CQuibView::setSelection(uint32_t mask) {
    if (mask == m_selection)
        return;
    invalidateElements(m_selection | mask);
    m_selection = mask;
    publishIndicator();
    refreshCommandStates();
}

void CQuibView::refreshCommandStates() {
    // Cut and delete follow the selection; the main window only looks when told.
    auto* main = dynamic_cast<CMainFrame*>(window());
    CChildFrame* active = main ? main->activeChild() : nullptr;
    if (active && active->editorView() == this)
        main->updateCommandStates();
}

bool CQuibView::applyMove(const std::array<Rect, kElementKindCount>& from, uint32_t mask, int dx, int dy) {
    // The elements move as one block, and the block stays inside the canvas.
    bool any = false;
    Rect block;
    for (const ElementTracker& t : m_trackers) {
        if (!(mask & t.bit()))
            continue;
        block = any ? unitedRect(block, from[size_t(t.kind())]) : from[size_t(t.kind())];
        any = true;
    }
    if (!any)
        return false;
    const Rect placed = ElementTracker::keptInside(shifted(block, dx, dy), m_doc.backgroundSize);
    const int ex = placed.left - block.left, ey = placed.top - block.top;
    for (const ElementTracker& t : m_trackers) {
        if (!(mask & t.bit()))
            continue;
        const Rect old = t.rect(m_doc);
        const Rect target = shifted(from[size_t(t.kind())], ex, ey);
        if (old == target)
            continue;
        invalidateCanvas(t.paintArea(old));
        t.setRect(m_doc, target);
        invalidateCanvas(t.paintArea(target));
    }
    return ex != 0 || ey != 0;
}

void CQuibView::finishChange(uint32_t mask) {
    std::vector<int> sent;
    for (const ElementTracker& t : m_trackers) {
        if (!(mask & t.bit()) || std::find(sent.begin(), sent.end(), t.changeHint()) != sent.end())
            continue;
        sent.push_back(t.changeHint());
    }
    m_doc.elementsChanged = true;
    m_doc.SetModifiedFlag(true);
    for (int h : sent)
        m_doc.UpdateAllViews(h, 0, this);
    publishIndicator();
}

void CQuibView::moveSelection(int dx, int dy) {
    const uint32_t mask = shownSelection();
    // Nudges in a row are one step.
    editFrames(
        m_doc, stepName("Sposta", mask), {m_doc.currentFrameIndex},
        [&] {
            std::array<Rect, kElementKindCount> from{};
            for (const ElementTracker& t : m_trackers)
                from[size_t(t.kind())] = t.rect(m_doc);
            if (applyMove(from, mask, dx, dy))
                finishChange(mask);
        },
        "editor.nudge");
}

void CQuibView::resizeFirstSelected(int dx, int dy) {
    const uint32_t mask = shownSelection();
    FrameEditRecorder step(m_doc, stepName("Ridimensiona", mask & (~mask + 1)), {m_doc.currentFrameIndex},
                           "editor.resize");
    for (const ElementTracker& t : m_trackers) {
        if (!(mask & t.bit()))
            continue;
        if (!t.canResize())
            return;  // pictures keep their size
        const Rect old = t.rect(m_doc);
        const Rect target = ElementTracker::clampedInside(
            ElementTracker::resized(old, TrackerPart::BottomRight, dx, dy), m_doc.backgroundSize);
        if (target == old)
            return;
        invalidateCanvas(t.paintArea(old));
        t.setRect(m_doc, target);
        invalidateCanvas(t.paintArea(target));
        finishChange(t.bit());
        step.finish();
        return;
    }
}

void CQuibView::hideSelected() {
    const uint32_t mask = shownSelection();
    FrameEditRecorder step(m_doc, stepName("Nascondi", mask), {m_doc.currentFrameIndex});
    FrameElements& f = m_doc.currentFrame;
    struct Hideable {
        ElementKind kind;
        uint32_t* visible;
        int hint;
    };
    const Hideable hideable[] = {
        {ElementKind::TextBox, &f.textBox.visible, hint::TextBoxVisibility},
        {ElementKind::Cursor, &f.cursorVisible, hint::Cursor},
        {ElementKind::NextButton, &f.nextButton.visible, hint::Buttons},
        {ElementKind::PrevButton, &f.prevButton.visible, hint::Buttons},
        {ElementKind::Goto1, &f.gotoButtons[0].visible, hint::Buttons},
        {ElementKind::Goto2, &f.gotoButtons[1].visible, hint::Buttons},
    };
    std::vector<int> hints;
    for (const Hideable& h : hideable) {
        if (!(mask & selectionBit(h.kind)))
            continue;
        invalidateCanvas(tracker(h.kind).paintArea(tracker(h.kind).rect(m_doc)));
        *h.visible = 0;
        if (std::find(hints.begin(), hints.end(), h.hint) == hints.end())
            hints.push_back(h.hint);
    }
    if (hints.empty())
        return;
    m_doc.elementsChanged = true;
    step.finish();
    dropHiddenFromSelection();
    for (int h : hints)
        m_doc.UpdateAllViews(h, 0, this);
    publishIndicator();
}

QString CQuibView::indicatorText() const {
    if (std::popcount(m_selection) != 1)
        return QString();
    const ElementTracker& t = tracker(ElementKind(std::countr_zero(m_selection)));
    const Rect r = t.rect(m_doc);
    return QString::fromStdString(formatString(str::RectIndicator, r.left, r.top, r.right, r.bottom));
}

void CQuibView::publishIndicator() {
    const QString text = indicatorText();
    if (m_indicatorSink) {
        m_indicatorSink(text);
        return;
    }
    auto* main = dynamic_cast<CMainFrame*>(window());
    CChildFrame* active = main ? main->activeChild() : nullptr;
    if (active && active->editorView() == this)
        main->panes()->setPaneText(QuibStatusBar::EditorInfo, text);
}

void CQuibView::postCommand(int id) {
    if (m_postCommand) {
        m_postCommand(id);
        return;
    }
    QPointer<CMainFrame> main = dynamic_cast<CMainFrame*>(window());
    if (!main)
        return;
    QMetaObject::invokeMethod(
        main,
        [main, id] {
            if (!main)
                return;
            main->router().dispatch(id);
            main->updateCommandStates();
        },
        Qt::QueuedConnection);
}

void CQuibView::onUpdate(int hint, uint32_t) {
    const uint32_t before = m_selection;
    dropHiddenFromSelection();
    if (hint == hint::Everything || hint == hint::Canvas) {
        ensureBuffer();
        updateScrollBars();
    }
    update();
    if (before != m_selection || std::popcount(m_selection) == 1)
        publishIndicator();
}

void CQuibView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    const QPoint p = toCanvas(at);
    ElementKind kind = ElementKind::Cursor;
    TrackerPart part = TrackerPart::None;
    if (!hitElement(at, kind, part)) {
        setSelection(0);
        return;
    }
    const uint32_t bit = selectionBit(kind);
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & Qt::ControlModifier) {
        setSelection(m_selection ^ bit);
        return;
    }
    uint32_t selection = m_selection;
    if (modifiers & Qt::ShiftModifier)
        selection |= bit;
    else if (!(selection & bit))
        selection = bit;
    setSelection(selection);

    m_drag = Drag{};
    m_drag.kind = kind;
    m_drag.part = part;
    m_drag.start = p;
    for (const ElementTracker& t : m_trackers)
        m_drag.startRects[size_t(t.kind())] = t.rect(m_doc);
    m_drag.moving = part == TrackerPart::Middle ? shownSelection() : bit;
    m_drag.addOrToggle = (modifiers & Qt::ShiftModifier) != 0;
    m_tracking = true;
    m_dragStep.emplace(m_doc,
                       stepName(part == TrackerPart::Middle ? "Sposta" : "Ridimensiona", m_drag.moving),
                       std::vector<int>{m_doc.currentFrameIndex});
    // Trackers other than the cursor's frame hide while a drag is in progress.
    invalidateElements(m_selection);
}

void CQuibView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const QPoint p = toCanvas(at);
    if (!m_tracking) {
        ElementKind kind = ElementKind::Cursor;
        TrackerPart part = TrackerPart::None;
        if (hitElement(at, kind, part))
            setCursor(ElementTracker::cursorShape(part));
        else
            unsetCursor();
        return;
    }
    const int dx = p.x() - m_drag.start.x(), dy = p.y() - m_drag.start.y();
    if (m_drag.part == TrackerPart::Middle) {
        applyMove(m_drag.startRects, m_drag.moving, dx, dy);
    } else {
        const ElementTracker& t = tracker(m_drag.kind);
        const Rect old = t.rect(m_doc);
        const Rect target = ElementTracker::clampedInside(
            ElementTracker::resized(m_drag.startRects[size_t(m_drag.kind)], m_drag.part, dx, dy),
            m_doc.backgroundSize);
        if (target != old) {
            invalidateCanvas(t.paintArea(old));
            t.setRect(m_doc, target);
            invalidateCanvas(t.paintArea(target));
        }
    }
    m_drag.changed = false;
    for (const ElementTracker& t : m_trackers)
        if ((m_drag.moving & t.bit()) && t.rect(m_doc) != m_drag.startRects[size_t(t.kind())])
            m_drag.changed = true;
    publishIndicator();
}

void CQuibView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_tracking) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_tracking = false;
    if (m_drag.changed)
        finishChange(m_drag.moving);
    if (m_dragStep) {
        m_dragStep->finish();
        m_dragStep.reset();
    }
    if (!m_drag.changed && !m_drag.addOrToggle)
        setSelection(selectionBit(m_drag.kind));
    invalidateElements(m_selection | m_drag.moving);
}

void CQuibView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || std::popcount(m_selection) != 1)
        return;
    if (const int id = chooserCommand(ElementKind(std::countr_zero(m_selection))))
        postCommand(id);
}

void CQuibView::keyPressEvent(QKeyEvent* event) {
    const int step = (event->modifiers() & Qt::ControlModifier) ? 8 : 1;
    const bool edge = (event->modifiers() & Qt::ShiftModifier) != 0;
    int dx = 0, dy = 0;
    switch (event->key()) {
        case Qt::Key_Insert:
            postCommand(cmd::InsertFrames);
            return;
        case Qt::Key_Delete:
            hideSelected();
            return;
        case Qt::Key_Left:
            dx = -step;
            break;
        case Qt::Key_Right:
            dx = step;
            break;
        case Qt::Key_Up:
            dy = -step;
            break;
        case Qt::Key_Down:
            dy = step;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    if (edge)
        resizeFirstSelected(dx, dy);
    else
        moveSelection(dx, dy);
}

void CQuibView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta.y() != 0)
            zoomStep(delta.y() > 0 ? 1 : -1, event->position().toPoint());
        event->accept();
        return;
    }
    QScrollBar* bar = (event->modifiers() & Qt::ShiftModifier) || delta.y() == 0 ? m_hScroll : m_vScroll;
    if (bar->isHidden()) {
        event->ignore();
        return;
    }
    const int notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120;
    bar->setValue(bar->value() - notches * bar->singleStep() * 3);
    event->accept();
}

bool CQuibView::handles(int id) const {
    switch (id) {
        case cmd::EditCopy:
        case cmd::EditCut:
        case cmd::EditPaste:
        case cmd::EditDelete:
        case cmd::CopyMerged:
        case cmd::EditSelectAll:
        case cmd::ProjectInfo:
        case cmd::ZoomIn:
        case cmd::ZoomOut:
        case cmd::ZoomActual:
        case cmd::ZoomFit:
            return true;
        default:
            return false;
    }
}

bool CQuibView::checked(int id) const {
    return id == cmd::ZoomFit && m_fit;
}

bool CQuibView::enabled(int id) const {
    const bool hasFrame = m_doc.isValidIndex(m_doc.currentFrameIndex);
    switch (id) {
        case cmd::EditCopy:
        case cmd::CopyMerged:
        case cmd::EditSelectAll:
            return hasFrame;
        case cmd::EditCut:
        case cmd::EditDelete:
            return hasFrame && m_selection != 0;
        case cmd::EditPaste:
            return editorCanPaste(QApplication::clipboard()->mimeData());
        case cmd::ProjectInfo:
            return true;
        case cmd::ZoomIn:
            return hasFrame && zoom() < MaxZoom;
        case cmd::ZoomOut:
            return hasFrame && zoom() > MinZoom;
        case cmd::ZoomActual:
        case cmd::ZoomFit:
            return hasFrame;
        default:
            return false;
    }
}

void CQuibView::run(int id) {
    switch (id) {
        case cmd::EditCopy:
            copySelection();
            break;
        case cmd::EditCut:
            copySelection();
            hideSelected();
            break;
        case cmd::EditPaste:
            paste();
            break;
        case cmd::EditDelete:
            // The menu's Delete must not hide elements while typing elsewhere.
            if (hasFocus())
                hideSelected();
            break;
        case cmd::CopyMerged:
            copyMerged();
            break;
        case cmd::EditSelectAll:
            setSelection(0xFFFFFFFFu >> (32 - kElementKindCount));
            update();
            break;
        case cmd::ProjectInfo:
            showProjectInfo();
            break;
        case cmd::ZoomIn:
            zoomStep(1);
            break;
        case cmd::ZoomOut:
            zoomStep(-1);
            break;
        case cmd::ZoomActual:
            setZoom(1.0);
            break;
        case cmd::ZoomFit:
            fitToWindow();
            break;
        default:
            break;
    }
}

void CQuibView::copySelection() {
    QApplication::clipboard()->setMimeData(selectionMimeData(m_doc, m_selection));
}

void CQuibView::copyMerged() {
    QApplication::clipboard()->setMimeData(mergedFrameMimeData(m_doc));
}

void CQuibView::paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return;
    const EditorPasteResult result = pasteIntoEditor(m_doc, *data);
    if (result.selection != 0) {
        setSelection(result.selection);
        dropHiddenFromSelection();
        publishIndicator();
    }
    update();
    if (!result.status)
        QuibProjectDocument::showMessage(QString::fromStdString(result.status.message()));
}

void CQuibView::showProjectInfo() {
    ProjectInfoDialog dialog(projectInfo(m_doc), this);
    dialog.exec();
}

}  // namespace quib
