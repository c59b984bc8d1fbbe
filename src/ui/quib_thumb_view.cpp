#include "quib_thumb_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <map>

#include "app_settings.h"
#include "base/strings.h"
#include "child_frame.h"
#include "command_ids.h"
#include "command_table.h"
#include "main_frame.h"
#include "model/frame_clipboard.h"
#include "model/project_edit.h"
#include "model/quib_doc.h"
#include "move_elements_dialog.h"
#include "progress_bar.h"
#include "quib_project_document.h"
#include "status_bar.h"
#include "thumbnail_item_delegate.h"
#include "thumbnail_scaler.h"

namespace quib {

namespace {
// What the status bar says after frames were deleted without asking.
std::string deletedFramesNote(int count) {
    return count == 1 ? std::string("1 frame eliminato \u2014 Ctrl+Z per annullare")
                      : std::to_string(count) + " frame eliminati \u2014 Ctrl+Z per annullare";
}

constexpr int PopupCommands[] = {cmd::EditDelete, cmd::EditCut,      cmd::EditCopy,   cmd::CopyMerged,
                                 cmd::EditPaste,  cmd::InsertFrames, cmd::Preferences};

// Live strips by identity, so that a drop can find the strip a drag came from.
std::map<uint32_t, CQuibThumbView*>& liveViews() {
    static std::map<uint32_t, CQuibThumbView*> views;
    return views;
}
uint32_t nextIdentity() {
    static uint32_t next = 0;
    return ++next;
}

QString frameMime() {
    return QString::fromLatin1(kFrameFormatMime);
}

uint32_t readU32(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

CMainFrame* mainFrameOf(const QWidget* widget) {
    return dynamic_cast<CMainFrame*>(widget->window());
}
}  // namespace

CQuibThumbView::CQuibThumbView(CQuibDoc& doc, QWidget* parent)
    : QListWidget(parent),
      m_doc(doc),
      m_identity(nextIdentity()),
      m_collectFlag(std::make_shared<std::atomic<bool>>(false)) {
    liveViews()[m_identity] = this;
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setResizeMode(QListView::Fixed);
    setMovement(QListView::Static);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSpacing(0);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new ThumbnailItemDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setAutoScroll(false);
    m_edgeTimer = new QTimer(this);
    m_edgeTimer->setInterval(50);
    connect(m_edgeTimer, &QTimer::timeout, this, [this] { edgeScroll(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { itemStateChanged(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { itemStateChanged(); });
    // The row of the project window includes the scroll bar when the list shows one.
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { recalcProjectRows(); });
    m_doc.addObserver(this);
    rebuild();
}

CQuibThumbView::~CQuibThumbView() {
    m_builder.cancel();
    m_progress.reset();
    liveViews().erase(m_identity);
    m_doc.removeObserver(this);
}

// ---- sizes and layout ----

void CQuibThumbView::setThumbnailSettings(QSize box) {
    m_settingsBox = box;
}

QSize CQuibThumbView::thumbnailSettings() const {
    if (m_settingsBox.isValid() && !m_settingsBox.isEmpty())
        return m_settingsBox;
    if (CMainFrame* main = mainFrameOf(this))
        return QSize(main->settings().thumbCx, main->settings().thumbCy);
    return QSize(64, 64);
}

void CQuibThumbView::applySizes() {
    m_builtBox = thumbnailSettings();
    const QSize size = quib::thumbnailSize(m_builtBox, m_doc.frameSize);
    if (size != m_thumbSize || m_template.isNull()) {
        m_thumbCache.clear();
        m_thumbSize = size;
        m_template = thumbnailTemplate(size);
        m_placeholder = m_template.copy();
        const QColor fill = palette().color(QPalette::Button);
        for (int y = ThumbnailBorder; y < size.height() - ThumbnailBorder; ++y)
            for (int x = ThumbnailBorder; x < size.width() - ThumbnailBorder; ++x)
                m_placeholder.setPixelColor(x, y, fill);
        m_placeholderIcon = QIcon(QPixmap::fromImage(m_placeholder));
    }
    setIconSize(m_thumbSize);
    setGridSize(QSize(m_thumbSize.width() + ItemExtraWidth, m_thumbSize.height() + ItemExtraHeight));
}

int CQuibThumbView::itemHeight() const {
    return gridSize().height();
}

int CQuibThumbView::horizontalScrollBarHeight() const {
    return horizontalScrollBar()->isVisible() ? horizontalScrollBar()->height() : 0;
}

void CQuibThumbView::arrange() {
    for (int i = 0; i < count(); ++i) {
        const QString label = QString::number(i + 1);
        if (item(i)->text() != label)
            item(i)->setText(label);
    }
    const int n = count();
    const QSize cell = gridSize();
    if (n == 0 || cell.isEmpty()) {
        m_itemUnion = QRect();
    } else if (!m_wrapMode) {
        m_itemUnion = QRect(0, 0, n * cell.width(), cell.height());
    } else {
        const int perRow = std::max(1, viewport()->width() / cell.width());
        const int rows = (n + perRow - 1) / perRow;
        m_itemUnion = QRect(0, 0, std::min(n, perRow) * cell.width(), rows * cell.height());
    }
    scheduleDelayedItemsLayout();
}

void CQuibThumbView::toggleWrapMode() {
    m_wrapMode = !m_wrapMode;
    setWrapping(m_wrapMode);
    setResizeMode(m_wrapMode ? QListView::Adjust : QListView::Fixed);
    setVerticalScrollBarPolicy(m_wrapMode ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    arrange();
    if (m_doc.isValidIndex(m_doc.currentFrameIndex) && m_doc.currentFrameIndex < count())
        scrollToItem(item(m_doc.currentFrameIndex));
    if (m_onWrapMode)
        m_onWrapMode(m_wrapMode);
    recalcProjectRows();
}

void CQuibThumbView::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    if (m_wrapMode)
        arrange();
}

void CQuibThumbView::showEvent(QShowEvent* event) {
    QListWidget::showEvent(event);
    // Made before the strip had a window: the main window's settings may differ from the defaults.
    if (thumbnailSettings() != m_builtBox)
        rebuild();
    else if (m_pendingCount > 0 && !m_progress)
        showProgress(m_pendingCount);
}

// ---- thumbnails ----

QImage CQuibThumbView::thumbnail(int index) const {
    if (index < 0 || index >= int(m_pictures.size()))
        return {};
    return m_pictures[size_t(index)];
}

void CQuibThumbView::rebuild() {
    m_builder.cancel();
    m_slots.clear();
    m_pendingCount = 0;
    m_decodedCount = 0;
    endProgress();
    m_syncing = true;
    clear();
    m_pictures.clear();
    std::erase_if(m_thumbCache, [](const auto& entry) { return entry.second.owner.expired(); });
    applySizes();
    const int n = m_doc.frameCount();
    if (n > 0) {
        setUpdatesEnabled(false);
        insertItems(0, n);
        showProgress(n);
        makeThumbnails(0, n, false);
        arrange();
        setUpdatesEnabled(true);
    } else {
        arrange();
    }
    m_syncing = false;
    selectCurrentItem();
    if (m_doc.isValidIndex(m_doc.currentFrameIndex))
        m_doc.UpdateAllViews(hint::CurrentFrameChanged, 0, this);
    recalcProjectRows();
}

void CQuibThumbView::recalcProjectRows() {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* frame = dynamic_cast<CChildFrame*>(w)) {
            frame->recalcRows();
            return;
        }
    }
}

void CQuibThumbView::insertItems(int first, int n) {
    for (int k = 0; k < n; ++k) {
        auto* entry = new QListWidgetItem(m_placeholderIcon, QString::number(first + k + 1));
        insertItem(first + k, entry);
    }
    m_pictures.insert(m_pictures.begin() + first, size_t(n), m_placeholder);
}

void CQuibThumbView::setPicture(int row, const QImage& image) {
    if (row < 0 || row >= int(m_pictures.size()))
        return;
    m_pictures[size_t(row)] = image;
    if (row < count())
        item(row)->setIcon(QIcon(QPixmap::fromImage(image)));  // for drags and accessibility
}

QImage CQuibThumbView::currentFrameThumbnail() const {
    const int w = m_doc.frameSize.cx, h = m_doc.frameSize.cy;
    if (m_doc.currentImage.width == w && m_doc.currentImage.height == h && !m_doc.currentImage.isNull())
        return thumbnailOf(m_template, m_doc.currentImage.pixels.data(), w, h, m_doc.currentImage.stride());
    QImage image = m_template.copy();
    const int dw = image.width() - 2 * ThumbnailBorder, dh = image.height() - 2 * ThumbnailBorder;
    BoxFilter filter(w, h, dw, dh);
    std::vector<uint8_t> scratch;
    if (m_doc.isValidIndex(m_doc.currentFrameIndex)) {
        const auto& stream = m_doc.frames[size_t(m_doc.currentFrameIndex)].imageData;
        if (!stream.empty())
            (void)filterCompressedPicture(stream.data(), stream.size(), filter, scratch);
    }
    if (dw > 0 && dh > 0)
        filter.write(image.scanLine(ThumbnailBorder) + ThumbnailBorder * 3, size_t(image.bytesPerLine()));
    return image;
}

void CQuibThumbView::makeThumbnails(int first, int n, bool reuseBefore) {
    std::vector<ThumbnailBuilder::Task> tasks;
    const int current = m_doc.currentFrameIndex;
    // The current frame's stored stream is stale while its picture has unsaved changes.
    auto stale = [&](int i) { return m_doc.imageChanged && i == current; };
    const SharedBytes* previous = nullptr;
    int previousSlot = -1, previousRow = -1;
    if (reuseBefore && first > 0 && first - 1 < m_doc.frameCount() && !stale(first - 1)) {
        previous = &m_doc.frames[size_t(first - 1)].imageData;
        previousRow = first - 1;
    }
    for (int i = first; i < first + n && i < m_doc.frameCount(); ++i) {
        if (stale(i)) {
            setPicture(i, currentFrameThumbnail());
            ++m_decodedCount;
            previous = nullptr;
            continue;
        }
        const SharedBytes& stream = m_doc.frames[size_t(i)].imageData;
        if (const QImage* known = cachedThumbnail(stream)) {
            setPicture(i, *known);
            stepProgress();
            previous = &stream;
            previousSlot = -1;
            previousRow = i;
            continue;
        }
        if (previous && *previous == stream) {
            // Identical pictures one after the other (common in captures) share one thumbnail.
            if (previousSlot >= 0) {
                m_slots[size_t(previousSlot)].rows.push_back(i);
                ++m_pendingCount;
            } else {
                setPicture(i, m_pictures[size_t(previousRow)]);
                stepProgress();
            }
            continue;
        }
        previousSlot = int(m_slots.size());
        previousRow = i;
        previous = &stream;
        m_slots.push_back({{i}, stream});
        ++m_pendingCount;
        tasks.push_back({previousSlot, stream});
    }
    if (!tasks.empty())
        m_builder.start(std::move(tasks), m_doc.frameSize, m_template, [this, flag = m_collectFlag] {
            if (!flag->exchange(true))
                QMetaObject::invokeMethod(
                    this, [this] { scheduleCollect(); }, Qt::QueuedConnection);
        });
    if (m_pendingCount == 0)
        endProgress();
}

void CQuibThumbView::scheduleCollect() {
    m_collectFlag->store(false);
    collectResults();
}

const QImage* CQuibThumbView::cachedThumbnail(const SharedBytes& stream) const {
    if (!stream.owner())
        return nullptr;
    auto it = m_thumbCache.find(stream.owner().get());
    // The address alone could belong to a newer stream: only the same living one counts.
    if (it == m_thumbCache.end() || it->second.owner.lock() != stream.owner())
        return nullptr;
    return &it->second.image;
}

void CQuibThumbView::collectResults() {
    bool any = false;
    for (ThumbnailBuilder::Result& result : m_builder.takeResults()) {
        if (result.key < 0 || result.key >= int(m_slots.size()))
            continue;
        PendingSlot& slot = m_slots[size_t(result.key)];
        ++m_decodedCount;
        if (slot.stream.owner())
            m_thumbCache[slot.stream.owner().get()] = {slot.stream.owner(), result.image};
        for (int row : slot.rows) {
            setPicture(row, result.image);
            --m_pendingCount;
            ++m_progressDone;
        }
        slot.rows.clear();
        any = true;
    }
    if (any)
        stepProgress();
    if (m_pendingCount <= 0) {
        m_pendingCount = 0;
        m_slots.clear();
        endProgress();
    }
}

void CQuibThumbView::finishThumbnails() {
    if (m_pendingCount == 0)
        return;
    m_builder.wait();
    collectResults();
}

void CQuibThumbView::dropPending(int row) {
    for (PendingSlot& slot : m_slots) {
        auto it = std::find(slot.rows.begin(), slot.rows.end(), row);
        if (it != slot.rows.end()) {
            slot.rows.erase(it);
            --m_pendingCount;
            ++m_progressDone;
            return;
        }
    }
}

void CQuibThumbView::showProgress(int total) {
    m_progressTotal = total;
    m_progressDone = 0;
    if (m_progress || total <= 0)
        return;
    auto* main = qobject_cast<QMainWindow*>(window());
    auto* statusBar = main ? main->findChild<QuibStatusBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!statusBar)
        return;
    m_progress = std::make_unique<CProgressBar>(statusBar, QString::fromUtf8(stringText(str::ThumbnailsInit)),
                                                40, total);
}

void CQuibThumbView::stepProgress() {
    // The bar is set directly: stepping it must not dispatch events in the middle of our work.
    if (m_progress && m_progress->bar()) {
        m_progress->bar()->show();
        m_progress->bar()->setValue(std::min(m_progressDone, m_progressTotal));
    }
}

void CQuibThumbView::endProgress() {
    m_progress.reset();
}

// ---- selection ----

void CQuibThumbView::selectCurrentItem() {
    const int index = m_doc.currentFrameIndex;
    if (index < 0 || index >= count())
        return;
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    selectionModel()->setCurrentIndex(indexFromItem(item(index)), QItemSelectionModel::Select);
    scrollToItem(item(index));
    m_syncing = wasSyncing;
}

void CQuibThumbView::itemStateChanged() {
    if (m_syncing)
        return;
    int target = currentRow();
    if (target < 0) {
        const std::vector<int> rows = selectedRows();
        target = rows.empty() ? m_doc.currentFrameIndex : rows.front();
    }
    if (!m_doc.isValidIndex(target) || target == m_doc.currentFrameIndex)
        return;
    if (m_doc.SelectFrame(target))
        m_doc.UpdateAllViews(hint::CurrentFrameChanged, 0, this);
}

void CQuibThumbView::keepSelection() {
    if (selectionModel()->hasSelection())
        return;
    const int index = m_doc.currentFrameIndex;
    if (index < 0 || index >= count())
        return;
    m_syncing = true;
    item(index)->setSelected(true);
    selectionModel()->setCurrentIndex(indexFromItem(item(index)), QItemSelectionModel::NoUpdate);
    m_syncing = false;
}

std::vector<int> CQuibThumbView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CQuibThumbView::navigate(int index) {
    if (!m_doc.isValidIndex(index))
        return;
    m_syncing = true;
    clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_syncing = false;
    m_doc.SelectFrame(index);
    m_doc.UpdateAllViews(hint::CurrentFrameChanged);
}

void CQuibThumbView::selectAllFrames() {
    m_syncing = true;
    selectAll();
    m_syncing = false;
    m_doc.UpdateAllViews(hint::CurrentFrameChanged);
}

// ---- frame operations ----

int CQuibThumbView::deleteSelectedFrames() {
    std::vector<int> rows = selectedRows();
    if (rows.empty())
        return 0;
    finishThumbnails();
    const int deleted = int(rows.size());
    const std::string name =
        rows.size() == 1 ? std::string("Elimina frame") : "Elimina " + std::to_string(rows.size()) + " frame";
    editProject(m_doc, name, [&] {
        const int after = rows.back() == count() - 1 ? rows.front() - 1 : rows.back() + 1;
        m_doc.SelectFrame(after);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_syncing = true;
        for (;;) {
            rows = selectedRows();
            if (rows.empty())
                break;
            const int row = rows.back();
            const bool wasLast = m_doc.frameCount() == 1;
            m_doc.DeleteFrame(row);  // the last one empties the project and rebuilds the list
            if (!wasLast && row < count()) {
                delete takeItem(row);
                m_pictures.erase(m_pictures.begin() + row);
            }
        }
        m_syncing = false;
        QApplication::restoreOverrideCursor();
        arrange();
        return true;
    });
    m_doc.UpdateAllViews(hint::CurrentFrameChanged);
    return deleted;
}

void CQuibThumbView::deleteSelectedFramesWithNote() {
    const int deleted = deleteSelectedFrames();
    // No question before deleting: the step can be undone, and the status bar says how.
    auto* main = dynamic_cast<CMainFrame*>(window());
    if (deleted > 0 && main)
        main->panes()->showNote(QString::fromStdString(deletedFramesNote(deleted)));
}

void CQuibThumbView::copySelectedFrames() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    // The working copy may hold edits the array does not have yet.
    m_doc.SelectFrame(m_doc.currentFrameIndex, true);
    const std::vector<uint8_t> bytes = CopyFramesToClipboardFile(m_doc, rows);
    auto* data = new QMimeData;
    data->setData(frameMime(),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

bool CQuibThumbView::clipboardHasFrames() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(frameMime());
}

void CQuibThumbView::pasteFrames() {
    if (!clipboardHasFrames())
        return;
    const QByteArray raw = QApplication::clipboard()->mimeData()->data(frameMime());
    const std::vector<uint8_t> bytes(raw.begin(), raw.end());
    const int position = m_doc.currentFrameIndex + 1 < m_doc.frameCount() ? m_doc.currentFrameIndex + 1 : -1;
    Status status = PasteFramesFromFile(m_doc, bytes, position);
    if (!status)
        QuibProjectDocument::showMessage(QString::fromStdString(status.message()));
}

void CQuibThumbView::runMainWindowCommand(int id) {
    if (CMainFrame* main = mainFrameOf(this)) {
        main->updateCommandStates();
        if (QAction* action = main->action(id); action && action->isEnabled())
            action->trigger();
    }
}

void CQuibThumbView::moveSelectedElements() {
    int dx = 0, dy = 0;
    if (m_askOffset) {
        if (!m_askOffset(dx, dy))
            return;
    } else {
        MoveElementsDialog dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        dx = dialog.dx(), dy = dialog.dy();
    }
    const std::vector<int> rows = selectedRows();
    moveAllElements(m_doc, dx, dy, &rows);
}

// ---- document notifications ----

void CQuibThumbView::onUpdate(int hintValue, uint32_t arg) {
    switch (hintValue) {
        case hint::Everything:
            rebuild();
            break;
        case hint::FramesInserted: {
            const int first = int(arg & 0xFFFFu), n = int(arg >> 16);
            if (n <= 0 || !m_doc.isValidIndex(first))
                break;
            if (count() + n != m_doc.frameCount() || first > count() ||
                quib::thumbnailSize(m_builtBox, m_doc.frameSize) != m_thumbSize) {
                // Out of step, or the first frames of an empty project: everything again.
                rebuild();
            } else {
                finishThumbnails();
                m_syncing = true;
                insertItems(first, n);
                showProgress(n);
                makeThumbnails(first, n, true);
                arrange();
                m_syncing = false;
            }
            m_syncing = true;
            clearSelection();
            selectionModel()->select(
                QItemSelection(model()->index(first, 0), model()->index(first + n - 1, 0)),
                QItemSelectionModel::Select);
            m_syncing = false;
            m_doc.SelectFrame(first);
            m_doc.UpdateAllViews(hint::CurrentFrameChanged);
            break;
        }
        case hint::CurrentPicture:
        case hint::CurrentFrameChanged:
            if (count() != m_doc.frameCount()) {
                rebuild();
                break;
            }
            if (hintValue == hint::CurrentPicture && m_doc.isValidIndex(m_doc.currentFrameIndex)) {
                dropPending(m_doc.currentFrameIndex);
                setPicture(m_doc.currentFrameIndex, currentFrameThumbnail());
                if (m_pendingCount == 0)
                    endProgress();
            }
            if (hintValue == hint::CurrentFrameChanged)
                selectCurrentItem();
            break;
        default:
            break;
    }
}

// ---- commands ----

bool CQuibThumbView::handles(int id) const {
    switch (id) {
        case cmd::FirstFrame:
        case cmd::PreviousFrame:
        case cmd::NextFrame:
        case cmd::LastFrame:
        case cmd::EditDelete:
        case cmd::EditCopy:
        case cmd::EditCut:
        case cmd::EditPaste:
        case cmd::EditSelectAll:
        case cmd::ThumbnailsOnly:
        case cmd::MoveAllElements:
            return true;
        default:
            return false;
    }
}

void CQuibThumbView::run(int id) {
    const int current = m_doc.currentFrameIndex;
    switch (id) {
        case cmd::FirstFrame:
            if (current > 0)
                navigate(0);
            break;
        case cmd::PreviousFrame:
            if (current > 0)
                navigate(current - 1);
            break;
        case cmd::NextFrame:
            if (current + 1 < m_doc.frameCount())
                navigate(current + 1);
            break;
        case cmd::LastFrame:
            if (current + 1 < m_doc.frameCount())
                navigate(m_doc.frameCount() - 1);
            break;
        case cmd::EditDelete:
            deleteSelectedFramesWithNote();
            break;
        case cmd::EditCopy:
            copySelectedFrames();
            break;
        case cmd::EditCut:
            copySelectedFrames();
            deleteSelectedFrames();
            break;
        case cmd::EditPaste:
            pasteFrames();
            break;
        case cmd::EditSelectAll:
            selectAllFrames();
            break;
        case cmd::ThumbnailsOnly:
            toggleWrapMode();
            break;
        case cmd::MoveAllElements:
            if (enabled(id))
                moveSelectedElements();
            break;
        default:
            break;
    }
}

bool CQuibThumbView::enabled(int id) const {
    const int current = m_doc.currentFrameIndex;
    switch (id) {
        case cmd::FirstFrame:
        case cmd::PreviousFrame:
            return current > 0;
        case cmd::NextFrame:
        case cmd::LastFrame:
            return current + 1 < m_doc.frameCount();
        case cmd::EditDelete:
        case cmd::EditCut:
        case cmd::EditCopy:
            return selectionModel()->hasSelection();
        case cmd::EditPaste:
            return clipboardHasFrames();
        case cmd::EditSelectAll:
            return count() > 0;
        case cmd::ThumbnailsOnly:
            return true;
        case cmd::MoveAllElements:
            return !m_doc.backgroundImage.isNull();
        default:
            return false;
    }
}

bool CQuibThumbView::checked(int id) const {
    return id == cmd::ThumbnailsOnly && m_wrapMode;
}

QMenu* CQuibThumbView::createPopupMenu(QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("Miniature"), parent);
    CMainFrame* main = mainFrameOf(this);
    if (main)
        main->updateCommandStates();
    for (int id : PopupCommands) {
        if (QAction* shared = main ? main->action(id) : nullptr) {
            menu->addAction(shared);
            continue;
        }
        const CommandInfo* info = findCommand(id);
        QAction* action = menu->addAction(QString::fromUtf8(info ? info->menuText : ""));
        action->setData(id);
        action->setEnabled(handles(id) && enabled(id));
        connect(action, &QAction::triggered, this, [this, id] {
            if (handles(id) && enabled(id))
                run(id);
        });
    }
    return menu;
}

// ---- mouse and keys ----

void CQuibThumbView::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    keepSelection();
}

void CQuibThumbView::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    keepSelection();
}

void CQuibThumbView::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    keepSelection();
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        toggleWrapMode();
}

void CQuibThumbView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        if (enabled(cmd::EditDelete))
            deleteSelectedFramesWithNote();
    } else if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        runMainWindowCommand(cmd::InsertFrames);
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAllFrames();
    } else {
        QListWidget::keyPressEvent(event);
    }
    keepSelection();
}

void CQuibThumbView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createPopupMenu(this);
    menu->exec(event->globalPos());
    delete menu;
}

// ---- drag and drop ----

QMimeData* CQuibThumbView::dragData() {
    const std::vector<int> rows = selectedRows();
    // The working copy may hold edits the array does not have yet.
    m_doc.SelectFrame(m_doc.currentFrameIndex, true);
    const std::vector<uint8_t> frames = CopyFramesToClipboardFile(m_doc, rows);
    QByteArray bytes;
    bytes.reserve(qsizetype(frames.size()) + 4);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((m_identity >> shift) & 0xFFu));
    bytes.append(reinterpret_cast<const char*>(frames.data()), qsizetype(frames.size()));
    auto* data = new QMimeData;
    data->setData(frameMime(), bytes);
    return data;
}

void CQuibThumbView::startDrag(Qt::DropActions) {
    if (!selectionModel()->hasSelection())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData());
    const QImage picture = thumbnail(currentRow());
    if (!picture.isNull())
        drag->setPixmap(QPixmap::fromImage(picture));
    // The drop does all the work, also the removal in this strip for a move.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool CQuibThumbView::acceptsDrag(const QMimeData* data) const {
    return data && data->hasFormat(frameMime()) && data->data(frameMime()).size() >= 4;
}

namespace {
Qt::DropAction dropEffect(const QDropEvent* event, bool sameView) {
    if (sameView)
        return Qt::MoveAction;
    if ((event->modifiers() & Qt::ShiftModifier) && (event->possibleActions() & Qt::MoveAction))
        return Qt::MoveAction;
    return Qt::CopyAction;
}
}  // namespace

bool CQuibThumbView::offerDrop(QDropEvent* event) const {
    if (!acceptsDrag(event->mimeData())) {
        event->ignore();
        return false;
    }
    const bool same = readU32(event->mimeData()->data(frameMime())) == m_identity;
    event->setDropAction(dropEffect(event, same));
    event->accept();
    return true;
}

void CQuibThumbView::dragEnterEvent(QDragEnterEvent* event) {
    offerDrop(event);
}

void CQuibThumbView::dragMoveEvent(QDragMoveEvent* event) {
    if (!offerDrop(event))
        return;
    m_dragPosition = event->position().toPoint();
    setDropRow(dropIndexAt(m_dragPosition));
    edgeScroll();
    if (!m_edgeTimer->isActive())
        m_edgeTimer->start();
}

void CQuibThumbView::dragLeaveEvent(QDragLeaveEvent* event) {
    setDropRow(-1);
    m_edgeTimer->stop();
    event->accept();
}

void CQuibThumbView::dropEvent(QDropEvent* event) {
    setDropRow(-1);
    m_edgeTimer->stop();
    if (!acceptsDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    const QByteArray raw = event->mimeData()->data(frameMime());
    const uint32_t source = readU32(raw);
    const bool same = source == m_identity;
    const Qt::DropAction effect = dropEffect(event, same);
    int d = dropIndexAt(event->position().toPoint());
    if (d < 0)
        d = count();
    const std::vector<int> rows = selectedRows();
    const int selectedBefore = int(std::count_if(rows.begin(), rows.end(), [d](int row) { return row < d; }));
    // A move inside one strip is one step; between projects each project records its own.
    Status status = editProject(m_doc, same ? "Sposta frame" : "Incolla frame", [&] {
        if (same) {
            deleteSelectedFrames();
            d -= selectedBefore;
        } else if (effect == Qt::MoveAction) {
            auto it = liveViews().find(source);
            if (it != liveViews().end())
                it->second->deleteSelectedFrames();
        }
        const std::vector<uint8_t> bytes(raw.begin() + 4, raw.end());
        const int position = d >= m_doc.frameCount() ? -1 : d;
        return PasteFramesFromFile(m_doc, bytes, position);
    });
    if (!status)
        QuibProjectDocument::showMessage(QString::fromStdString(status.message()));
    event->setDropAction(effect);
    event->accept();
}

int CQuibThumbView::dropIndexAt(const QPoint& position) const {
    const QModelIndex index = indexAt(position);
    return index.isValid() ? index.row() : -1;
}

void CQuibThumbView::setDropRow(int row) {
    if (row == m_dropRow)
        return;
    if (m_dropRow >= 0 && m_dropRow < count())
        viewport()->update(visualItemRect(item(m_dropRow)));
    m_dropRow = row;
    if (m_dropRow >= 0 && m_dropRow < count())
        viewport()->update(visualItemRect(item(m_dropRow)));
}

void CQuibThumbView::edgeScroll() {
    const QRect area = viewport()->rect();
    const QPoint p = m_dragPosition;
    if (!area.contains(p))
        return;
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (p.x() < area.left() + EdgeScrollMargin)
        h->setValue(h->value() - EdgeScrollStep);
    else if (p.x() > area.right() - EdgeScrollMargin)
        h->setValue(h->value() + EdgeScrollStep);
    if (p.y() < area.top() + EdgeScrollMargin)
        v->setValue(v->value() - EdgeScrollStep);
    else if (p.y() > area.bottom() - EdgeScrollMargin)
        v->setValue(v->value() + EdgeScrollStep);
}

}  // namespace quib
