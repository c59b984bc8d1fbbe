#include "project_info_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "model/quib_doc.h"

namespace quib {

namespace {
// Numbered texts 3 and 171: the answers of the palette field.
const char* const kYes = "Si";
const char* const kNo = "No";

QString sizeText(Size size) {
    return QStringLiteral("%1 x %2").arg(size.cx).arg(size.cy);
}

QString controlName(int controlId) {
    return QString::number(controlId);
}
}  // namespace

ProjectInfo projectInfo(const CQuibDoc& doc) {
    ProjectInfo info;
    const QString path = QString::fromStdString(doc.pathName());
    // Paths are native here, but a name typed elsewhere may still carry backslashes.
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    info.fileName = path.mid(cut + 1);
    info.folder = cut >= 0 ? path.left(cut) : QString();
    if (!doc.backgroundImage.isNull())
        info.canvasSize = sizeText(doc.backgroundSize);
    info.frameSize = sizeText(doc.frameSize);
    info.usesPalette = QString::fromLatin1(doc.settings.usePalette ? kYes : kNo);
    info.frameCount = QString::number(doc.frameCount());
    return info;
}

MiddleElidedLabel::MiddleElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void MiddleElidedLabel::setFullText(const QString& text) {
    m_fullText = text;
    setText(text);
    setToolTip(text);
}

QString MiddleElidedLabel::displayedText() const {
    return fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, std::max(0, contentsRect().width()));
}

QSize MiddleElidedLabel::minimumSizeHint() const {
    return QSize(fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height());
}

void MiddleElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()), displayedText());
}

ProjectInfoDialog::ProjectInfoDialog(const ProjectInfo& info, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Informazioni sul progetto"));
    auto* form = new QFormLayout;
    addField(form, QStringLiteral("Nome del file:"), 205, info.fileName);
    auto* folder = new MiddleElidedLabel(this);
    folder->setObjectName(controlName(333));
    folder->setFullText(info.folder);
    form->addRow(QStringLiteral("Cartella:"), folder);
    addField(form, QStringLiteral("Dimensioni dello sfondo:"), 334, info.canvasSize);
    addField(form, QStringLiteral("Dimensioni dei frames:"), 335, info.frameSize);
    addField(form, QStringLiteral("Usa una palette:"), 316, info.usesPalette);
    addField(form, QStringLiteral("Numero di frames:"), 1143, info.frameCount);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

QLabel* ProjectInfoDialog::addField(QFormLayout* form, const QString& label, int controlId,
                                    const QString& text) {
    auto* field = new QLabel(text, this);
    field->setObjectName(controlName(controlId));
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(label, field);
    return field;
}

QString ProjectInfoDialog::fieldText(int controlId) const {
    auto* field = findChild<QLabel*>(controlName(controlId));
    // The class has no meta-object of its own, so only a C++ cast tells the folder label apart.
    if (auto* elided = dynamic_cast<MiddleElidedLabel*>(field))
        return elided->fullText();
    return field ? field->text() : QString();
}

}  // namespace quib
