#include "quib_thumb_view.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <algorithm>

#include "base/zlib_util.h"
#include "command_ids.h"
#include "model/frame_clipboard.h"
#include "model/quib_doc.h"
#include "quib_project_document.h"

namespace quib {

namespace {
QImage framePicture(const CQuibDoc& doc, int index) {
    const int w = doc.frameSize.cx, h = doc.frameSize.cy;
    if (w <= 0 || h <= 0)
        return {};
    if (index == doc.currentFrameIndex && doc.currentImage.width == w && doc.currentImage.height == h)
        return QImage(doc.currentImage.pixels.data(), w, h, int(doc.currentImage.stride()), QImage::Format_BGR888)
            .copy();
    QImage image(w, h, QImage::Format_BGR888);
    const auto& stream = doc.frames[size_t(index)].imageData;
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 3);
    if (stream.empty() || !zlibUncompress(stream.data(), stream.size(), pixels.data(), pixels.size())) {
        image.fill(Qt::white);
        return image;
    }
    for (int y = 0; y < h; ++y)
        std::copy_n(pixels.data() + size_t(y) * size_t(w) * 3, size_t(w) * 3, image.scanLine(y));
    return image;
}
// Box filter: every thumbnail pixel is the mean of the source pixels its area covers.
QImage boxScaled(const QImage& source, QSize size) {
    QImage out(size, QImage::Format_BGR888);
    const int sw = source.width(), sh = source.height();
    if (sw <= 0 || sh <= 0) {
        out.fill(Qt::white);
        return out;
    }
    std::vector<uint32_t> sums(size_t(size.width()) * 3);
    for (int ty = 0; ty < size.height(); ++ty) {
        const int y0 = int(int64_t(ty) * sh / size.height());
        const int y1 = std::max(y0 + 1, int(int64_t(ty + 1) * sh / size.height()));
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = y0; y < y1; ++y) {
            const uchar* row = source.constScanLine(y);
            for (int tx = 0; tx < size.width(); ++tx) {
                const int x0 = int(int64_t(tx) * sw / size.width());
                const int x1 = std::max(x0 + 1, int(int64_t(tx + 1) * sw / size.width()));
                uint32_t b = 0, g = 0, r = 0;
                for (const uchar* p = row + x0 * 3; p < row + x1 * 3; p += 3)
                    b += p[0], g += p[1], r += p[2];
                sums[size_t(tx) * 3] += b, sums[size_t(tx) * 3 + 1] += g, sums[size_t(tx) * 3 + 2] += r;
            }
        }
        uchar* dest = out.scanLine(ty);
        for (int tx = 0; tx < size.width(); ++tx) {
            const int x0 = int(int64_t(tx) * sw / size.width());
            const int x1 = std::max(x0 + 1, int(int64_t(tx + 1) * sw / size.width()));
            const uint32_t area = uint32_t((x1 - x0) * (y1 - y0));
            for (int c = 0; c < 3; ++c)
                dest[tx * 3 + c] = uchar(sums[size_t(tx) * 3 + size_t(c)] / area);
        }
    }
    return out;
}
}  // namespace

CQuibThumbView::CQuibThumbView(CQuibDoc& doc, QWidget* parent) : QListWidget(parent), m_doc(doc) {
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setMovement(QListView::Static);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSpacing(2);
    setUniformItemSizes(true);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_doc.addObserver(this);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_syncing && row >= 0)
            selectFrame(row);
    });
    rebuild();
}

CQuibThumbView::~CQuibThumbView() {
    m_doc.removeObserver(this);
}

QSize CQuibThumbView::thumbnailSize() const {
    const int w = std::max(1, int(m_doc.frameSize.cx)), h = std::max(1, int(m_doc.frameSize.cy));
    return QSize(std::max(1, ThumbnailHeight * w / h), ThumbnailHeight);
}

int CQuibThumbView::itemHeight() const {
    return ThumbnailHeight + 8 + fontMetrics().height() + 2 * spacing() + 2 * frameWidth();
}

int CQuibThumbView::horizontalScrollBarHeight() const {
    return horizontalScrollBar()->isVisible() ? horizontalScrollBar()->height() : 0;
}

void CQuibThumbView::rebuild() {
    m_syncing = true;
    clear();
    const QSize size = thumbnailSize();
    setIconSize(size);
    for (int i = 0; i < m_doc.frameCount(); ++i) {
        QImage picture = boxScaled(framePicture(m_doc, i), size);
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)), QString::number(i + 1), this);
        item->setSizeHint(QSize(size.width() + 8, size.height() + 8 + fontMetrics().height()));
    }
    m_syncing = false;
    selectCurrent();
}

void CQuibThumbView::selectCurrent() {
    m_syncing = true;
    const int index = m_doc.currentFrameIndex;
    if (index >= 0 && index < count()) {
        if (!item(index)->isSelected())
            clearSelection();
        setCurrentRow(index, QItemSelectionModel::Select);
        scrollToItem(item(index));
    }
    m_syncing = false;
}

void CQuibThumbView::selectFrame(int index) {
    if (!m_doc.isValidIndex(index) || index == m_doc.currentFrameIndex)
        return;
    if (m_doc.SelectFrame(index))
        m_doc.UpdateAllViews(hint::CurrentFrameChanged, 0, this);
    if (!m_syncing && currentRow() != index)
        selectCurrent();
}

std::vector<int> CQuibThumbView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CQuibThumbView::copySelectedFrames() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    // The working copy may hold edits the array does not have yet.
    m_doc.SelectFrame(m_doc.currentFrameIndex, true);
    const std::vector<uint8_t> bytes = CopyFramesToClipboardFile(m_doc, rows);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kFrameFormatMime),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

bool CQuibThumbView::clipboardHasFrames() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromLatin1(kFrameFormatMime));
}

void CQuibThumbView::pasteFrames() {
    if (!clipboardHasFrames())
        return;
    const QByteArray raw = QApplication::clipboard()->mimeData()->data(QString::fromLatin1(kFrameFormatMime));
    const std::vector<uint8_t> bytes(raw.begin(), raw.end());
    const int position = m_doc.currentFrameIndex + 1 < m_doc.frameCount() ? m_doc.currentFrameIndex + 1 : -1;
    Status status = PasteFramesFromFile(m_doc, bytes, position);
    if (!status)
        QuibProjectDocument::showMessage(QString::fromStdString(status.message()));
}

void CQuibThumbView::deleteSelectedFrames() {
    std::vector<int> rows = selectedRows();
    if (rows.empty() || int(rows.size()) >= m_doc.frameCount())
        return;  // a project keeps at least one frame
    std::reverse(rows.begin(), rows.end());
    for (int row : rows)
        m_doc.DeleteFrame(row);
    m_doc.SetModifiedFlag(true);
    m_doc.UpdateAllViews(hint::Everything);
}

void CQuibThumbView::onUpdate(int hintValue, uint32_t) {
    switch (hintValue) {
        case hint::Everything:
        case hint::FramesInserted:
            rebuild();
            break;
        case hint::CurrentPicture:
        case hint::CurrentFrameChanged:
            if (count() != m_doc.frameCount()) {
                rebuild();
                break;
            }
            if (hintValue == hint::CurrentPicture && m_doc.isValidIndex(m_doc.currentFrameIndex)) {
                QImage picture = boxScaled(framePicture(m_doc, m_doc.currentFrameIndex), thumbnailSize());
                item(m_doc.currentFrameIndex)->setIcon(QIcon(QPixmap::fromImage(picture)));
            }
            selectCurrent();
            break;
        default:
            break;
    }
}

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
        case cmd::ThumbnailsOnly:
            return true;
        default:
            return false;
    }
}

void CQuibThumbView::run(int id) {
    const int current = m_doc.currentFrameIndex;
    switch (id) {
        case cmd::FirstFrame: selectFrame(0); break;
        case cmd::PreviousFrame: selectFrame(current - 1); break;
        case cmd::NextFrame: selectFrame(current + 1); break;
        case cmd::LastFrame: selectFrame(m_doc.frameCount() - 1); break;
        case cmd::EditDelete: deleteSelectedFrames(); break;
        case cmd::EditCopy: copySelectedFrames(); break;
        case cmd::EditCut:
            copySelectedFrames();
            deleteSelectedFrames();
            break;
        case cmd::EditPaste: pasteFrames(); break;
        case cmd::ThumbnailsOnly:
            m_wrapMode = !m_wrapMode;
            setWrapping(m_wrapMode);
            setVerticalScrollBarPolicy(m_wrapMode ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
            setFlow(QListView::LeftToRight);
            if (m_onWrapMode)
                m_onWrapMode(m_wrapMode);
            break;
        default: break;
    }
}

bool CQuibThumbView::enabled(int id) const {
    const int current = m_doc.currentFrameIndex;
    switch (id) {
        case cmd::FirstFrame:
        case cmd::PreviousFrame: return current > 0;
        case cmd::NextFrame:
        case cmd::LastFrame: return current + 1 < m_doc.frameCount();
        case cmd::EditDelete:
        case cmd::EditCut: return m_doc.frameCount() > 1;
        case cmd::EditCopy: return m_doc.frameCount() > 0;
        case cmd::EditPaste: return clipboardHasFrames();
        case cmd::ThumbnailsOnly: return true;
        default: return false;
    }
}

bool CQuibThumbView::checked(int id) const {
    return id == cmd::ThumbnailsOnly && m_wrapMode;
}

}  // namespace quib
