#include "goto_frame_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "base/zlib_util.h"
#include "model/quib_doc.h"

namespace quib {

namespace {
constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 240;
constexpr QSize kIconSize(96, 60);

QString itemText(const CQuibDoc& doc, int index) {
    FrameElements frame;
    doc.GetFrame(index, frame);
    const QString number = QString::number(index + 1);
    return frame.title.empty() ? number : number + QStringLiteral("  ") + QString::fromStdString(frame.title);
}
}  // namespace

QImage storedFramePicture(const CQuibDoc& doc, int index) {
    if (!doc.isValidIndex(index) || doc.frameSize.cx < 1 || doc.frameSize.cy < 1)
        return {};
    if (index == doc.currentFrameIndex && !doc.currentImage.isNull()) {
        const Bitmap24& image = doc.currentImage;
        return QImage(image.pixels.data(), image.width, image.height, int(image.stride()),
                      QImage::Format_BGR888)
            .copy();
    }
    QImage picture(doc.frameSize.cx, doc.frameSize.cy, QImage::Format_BGR888);
    if (picture.isNull() || picture.bytesPerLine() != doc.frameSize.cx * 3) {
        // Rows with padding: decompress aside and copy row by row.
        Bitmap24 rows(doc.frameSize.cx, doc.frameSize.cy);
        const auto& data = doc.frames[size_t(index)].imageData;
        if (picture.isNull() || zlibUncompress(data.data(), data.size(), rows.pixels.data(),
                                               rows.pixels.size()) != rows.pixels.size())
            return {};
        for (int y = 0; y < rows.height; ++y)
            std::memcpy(picture.scanLine(y), rows.pixel(0, y), rows.stride());
        return picture;
    }
    const auto& data = doc.frames[size_t(index)].imageData;
    const size_t bytes = size_t(picture.sizeInBytes());
    if (zlibUncompress(data.data(), data.size(), picture.bits(), bytes) != bytes)
        return {};
    return picture;
}

GotoFrameDialog::GotoFrameDialog(const CQuibDoc& doc, int initialIndex, std::function<QImage(int)> thumbnail,
                                 QWidget* parent)
    : QDialog(parent), m_doc(doc), m_thumbnail(std::move(thumbnail)) {
    setWindowTitle(QStringLiteral("Vai al frame..."));
    m_list = new QListWidget(this);
    // The strip's thumbnails are at hand and cheap; without them only the preview shows pictures.
    if (m_thumbnail)
        m_list->setIconSize(kIconSize);
    for (int i = 0; i < doc.frameCount(); ++i) {
        auto* item = new QListWidgetItem(itemText(doc, i), m_list);
        if (m_thumbnail) {
            const QImage picture = m_thumbnail(i);
            if (!picture.isNull())
                item->setIcon(QPixmap::fromImage(
                    picture.scaled(kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
    }
    m_list->setMinimumWidth(kIconSize.width() + 180);
    m_preview = new QLabel(this);
    m_preview->setFixedSize(kPreviewWidth, kPreviewHeight);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::Box);

    auto* row = new QHBoxLayout;
    row->addWidget(m_list);
    row->addWidget(m_preview);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { showPreview(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    setSelectedIndex(initialIndex);
    showPreview();
}

int GotoFrameDialog::choose(const CQuibDoc& doc, int initialIndex, std::function<QImage(int)> thumbnail,
                            QWidget* parent) {
    GotoFrameDialog dialog(doc, initialIndex, std::move(thumbnail), parent);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedIndex() : -1;
}

int GotoFrameDialog::selectedIndex() const {
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    return chosen.isEmpty() ? -1 : m_list->row(chosen.first());
}

void GotoFrameDialog::setSelectedIndex(int index) {
    if (index >= 0 && index < m_list->count())
        m_list->setCurrentRow(index);
    else
        m_list->clearSelection();
}

void GotoFrameDialog::showPreview() {
    const int index = selectedIndex();
    QImage picture;
    if (index >= 0)
        picture = m_thumbnail ? m_thumbnail(index) : storedFramePicture(m_doc, index);
    if (!picture.isNull() && (picture.width() > m_preview->width() || picture.height() > m_preview->height()))
        picture = picture.scaled(m_preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_preview->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

}  // namespace quib
