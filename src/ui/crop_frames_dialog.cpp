#include "crop_frames_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/strings.h"
#include "model/quib_doc.h"

namespace quib {

namespace {
// The current frame scaled to fit, with the part to keep outlined.
class CropPreview : public QWidget {
public:
    CropPreview(const QImage& picture, std::function<QRect()> crop, QWidget* parent)
        : QWidget(parent), m_picture(picture), m_crop(std::move(crop)) {
        setMinimumSize(240, 180);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        if (m_picture.isNull())
            return;
        const QSize scaled = m_picture.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2), scaled);
        painter.drawImage(target, m_picture);
        const double sx = double(target.width()) / m_picture.width();
        const double sy = double(target.height()) / m_picture.height();
        const QRect crop = m_crop();
        const QRectF marked(target.left() + crop.left() * sx, target.top() + crop.top() * sy,
                            crop.width() * sx, crop.height() * sy);
        painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(marked);
    }

private:
    QImage m_picture;
    std::function<QRect()> m_crop;
};

QImage framePicture(const CQuibDoc& doc) {
    const Bitmap24& image = doc.currentImage;
    if (image.isNull())
        return {};
    return QImage(image.pixels.data(), image.width, image.height, int(image.stride()), QImage::Format_BGR888)
        .copy();
}
}  // namespace

CropFramesDialog::CropFramesDialog(const CQuibDoc& doc, QWidget* parent)
    : QDialog(parent), m_picture(framePicture(doc)) {
    setWindowTitle(QStringLiteral("Ritaglia Frames"));
    const int cx = doc.frameSize.cx;
    const int cy = doc.frameSize.cy;
    auto makeSpin = [this](int maximum, int value) {
        auto* spin = new QSpinBox(this);
        spin->setRange(0, std::max(maximum, 0));
        spin->setValue(value);
        return spin;
    };
    m_left = makeSpin(cx - 1, 0);
    m_top = makeSpin(cy - 1, 0);
    m_right = makeSpin(cx - 1, cx - 1);
    m_bottom = makeSpin(cy - 1, cy - 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Dimensioni frame: %1 x %2").arg(cx).arg(cy), this));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Ritaglia a:"), this), 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Sinistra"), this), 1, 0);
    grid->addWidget(m_left, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Alto"), this), 1, 2);
    grid->addWidget(m_top, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Destra"), this), 2, 0);
    grid->addWidget(m_right, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Basso"), this), 2, 2);
    grid->addWidget(m_bottom, 2, 3);
    layout->addLayout(grid);
    m_preview = new CropPreview(
        m_picture, [this] { return QRect(QPoint(left(), top()), QPoint(right(), bottom())); }, this);
    layout->addWidget(m_preview, 1);
    for (QSpinBox* spin : {m_left, m_top, m_right, m_bottom})
        connect(spin, &QSpinBox::valueChanged, m_preview, qOverload<>(&QWidget::update));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int CropFramesDialog::left() const {
    return m_left->value();
}
int CropFramesDialog::top() const {
    return m_top->value();
}
int CropFramesDialog::right() const {
    return m_right->value();
}
int CropFramesDialog::bottom() const {
    return m_bottom->value();
}

void CropFramesDialog::setBounds(int left, int top, int right, int bottom) {
    // The spin ranges clamp each value to the frame.
    m_left->setValue(left);
    m_top->setValue(top);
    m_right->setValue(right);
    m_bottom->setValue(bottom);
}

Rect CropFramesDialog::cropRect() const {
    return Rect{left(), top(), right() + 1, bottom() + 1};
}

void CropFramesDialog::accept() {
    if (left() > right() || top() > bottom()) {
        const QString text = QString::fromUtf8(stringText(str::CropTooLarge));
        if (m_showMessage)
            m_showMessage(text);
        else
            QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
        return;
    }
    QDialog::accept();
}

}  // namespace quib
