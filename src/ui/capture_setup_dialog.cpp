#include "capture_setup_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "base/strings.h"
#include "capture/screen_grabber.h"
#include "model/quib_doc.h"
#include "output_settings.h"
#include "project_settings_dialog.h"
#include "region_picker.h"

namespace quib {

CCaptureSetupDialog::CCaptureSetupDialog(CQuibDoc& doc, ScreenGrabber& grabber, int& lastRate,
                                         QWidget* mainWindow, const QString& problem)
    // No parent: the wizard may hide the main window, and a dialog bound to a hidden window is
    // hidden with it by some window managers.
    : QDialog(nullptr), m_doc(doc), m_grabber(grabber), m_lastRate(lastRate), m_mainWindow(mainWindow) {
    setWindowTitle(QStringLiteral("Wizard Nuovo progetto - Passo 1 di 2"));
    m_message = [this](const QString& text) {
        QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
    };
    m_settings = [this](CQuibDoc& project) { return runProjectSettings(project, this); };
    m_region = screenRegion(primaryScreenSize());

    m_startCapturing = new QCheckBox(QStringLiteral("Avvia &catturando le schermate"), this);
    m_startCapturing->setChecked(true);

    auto* regionBox = new QGroupBox(this);
    m_regionCaption = new QLabel(QStringLiteral("&Regione di cattura:"), regionBox);
    m_regionList = new QComboBox(regionBox);
    m_regionList->addItems(
        {QStringLiteral("Schermo"), QStringLiteral("Rettangolo"), QStringLiteral("Finestra")});
    m_regionList->setCurrentIndex(0);
    m_regionCaption->setBuddy(m_regionList);
    m_select = new QPushButton(QStringLiteral("&Seleziona"), regionBox);
    m_select->setAutoDefault(false);
    m_regionLabel = new QLabel(regionBox);
    m_regionLabel->setFrameShape(QFrame::StyledPanel);
    m_regionLabel->setFrameShadow(QFrame::Sunken);
    m_hideMain = new QCheckBox(QStringLiteral("&Nascondi la finestra di Quib"), regionBox);

    const char* fieldNames[4] = {"&X:", "&Y:", "&Larghezza:", "&Altezza:"};
    auto* fieldGrid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        m_fields[i] = new QSpinBox(regionBox);
        // Corners may lie off the primary screen (other monitors); sizes stay within what a
        // frame can hold.
        if (i < 2)
            m_fields[i]->setRange(-16384, 16384);
        else
            m_fields[i]->setRange(1, 16384);
        m_fieldCaptions[i] = new QLabel(QString::fromUtf8(fieldNames[i]), regionBox);
        m_fieldCaptions[i]->setBuddy(m_fields[i]);
        fieldGrid->addWidget(m_fieldCaptions[i], i / 2, (i % 2) * 2);
        fieldGrid->addWidget(m_fields[i], i / 2, (i % 2) * 2 + 1);
        connect(m_fields[i], &QSpinBox::valueChanged, this, [this] { fieldsEdited(); });
    }
    m_sizesCaption = new QLabel(QStringLiteral("Dimensioni c&omuni:"), regionBox);
    m_sizes = new QComboBox(regionBox);
    m_sizes->addItem(QStringLiteral("Personalizzate"));
    for (const Size& size : kCommonCaptureSizes)
        m_sizes->addItem(QStringLiteral("%1 x %2").arg(size.cx).arg(size.cy));
    m_sizesCaption->setBuddy(m_sizes);
    fieldGrid->addWidget(m_sizesCaption, 2, 0, 1, 2);
    fieldGrid->addWidget(m_sizes, 2, 2, 1, 2);
    connect(m_sizes, &QComboBox::activated, this, [this](int index) { commonSizeChosen(index); });

    auto* regionGrid = new QGridLayout(regionBox);
    regionGrid->addWidget(m_regionCaption, 0, 0);
    regionGrid->addWidget(m_regionList, 0, 1);
    regionGrid->addWidget(m_select, 0, 2);
    regionGrid->addWidget(m_regionLabel, 1, 0, 1, 3);
    regionGrid->addLayout(fieldGrid, 2, 0, 1, 3);
    regionGrid->addWidget(m_hideMain, 3, 0, 1, 3);

    m_timed = new QCheckBox(QStringLiteral("Abilita la cattura &temporizzata"), this);
    m_onClick = new QCheckBox(QStringLiteral("Cattura a ogni clic"), this);
    m_rateCaption = new QLabel(QStringLiteral("&Frame rate di cattura:"), this);
    m_rateEdit = new QLineEdit(QString::number(lastRate), this);
    m_rateEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), this));
    m_rateEdit->setMaximumWidth(m_rateEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    m_rateCaption->setBuddy(m_rateEdit);
    auto* rateRow = new QHBoxLayout;
    rateRow->addSpacing(20);
    rateRow->addWidget(m_rateCaption);
    rateRow->addWidget(m_rateEdit);
    rateRow->addStretch(1);

    m_problem = new QLabel(problem, this);
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_problem->setVisible(!problem.isEmpty());

    m_settingsButton = new QPushButton(QStringLiteral("&Impostazioni..."), this);
    m_settingsButton->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_settingsButton);
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_startCapturing);
    layout->addWidget(regionBox);
    layout->addWidget(m_timed);
    layout->addLayout(rateRow);
    layout->addWidget(m_onClick);
    layout->addWidget(m_problem);
    layout->addStretch(1);
    layout->addLayout(buttonRow);
    setMinimumWidth(420);

    connect(m_startCapturing, &QCheckBox::toggled, this, [this] { updateControls(); });
    connect(m_timed, &QCheckBox::toggled, this, [this] { updateControls(); });
    connect(m_regionList, &QComboBox::currentIndexChanged, this,
            [this](int index) { regionModeChanged(index); });
    connect(m_select, &QPushButton::clicked, this, [this] { beginPick(); });
    connect(m_hideMain, &QCheckBox::toggled, this, [this](bool on) { hideMainWindowToggled(on); });
    connect(m_settingsButton, &QPushButton::clicked, this, [this] { openSettings(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CCaptureSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCaptureSetupDialog::reject);

    setRegion(m_region);
    updateControls();
}

CCaptureSetupDialog::~CCaptureSetupDialog() = default;

bool CCaptureSetupDialog::startCapturing() const {
    return m_startCapturing->isChecked();
}
bool CCaptureSetupDialog::clickCapture() const {
    return m_onClick->isChecked();
}
bool CCaptureSetupDialog::timedCapture() const {
    return m_timed->isChecked();
}
RegionMode CCaptureSetupDialog::regionMode() const {
    return RegionMode(m_regionList->currentIndex());
}

Size CCaptureSetupDialog::primaryScreenSize() const {
    const Size size = m_grabber.screenSize();
    if (!size.isEmpty())
        return size;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return Size{screen->geometry().width(), screen->geometry().height()};
    return Size{};
}

void CCaptureSetupDialog::setRegion(const Rect& region) {
    m_region = region;
    m_regionLabel->setText(QString::fromStdString(regionLabelText(region)));
    showRegionFields();
}

void CCaptureSetupDialog::showRegionFields() {
    const int values[4] = {m_region.left, m_region.top, m_region.width(), m_region.height()};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker block(m_fields[i]);
        m_fields[i]->setValue(values[i]);
    }
    const QSignalBlocker block(m_sizes);
    m_sizes->setCurrentIndex(commonCaptureSizeIndex(Size{m_region.width(), m_region.height()}) + 1);
}

void CCaptureSetupDialog::fieldsEdited() {
    const int x = m_fields[0]->value(), y = m_fields[1]->value();
    setRegion(Rect{x, y, x + m_fields[2]->value(), y + m_fields[3]->value()});
}

void CCaptureSetupDialog::commonSizeChosen(int index) {
    if (index < 1 || index > int(std::size(kCommonCaptureSizes)))
        return;
    setRegion(regionWithSize(m_region, kCommonCaptureSizes[index - 1], primaryScreenSize()));
}

void CCaptureSetupDialog::applyChoices(const CaptureWizardChoices& choices) {
    m_startCapturing->setChecked(choices.startCapturing);
    m_timed->setChecked(choices.timedCapture);
    m_onClick->setChecked(choices.clickCapture);
    m_regionList->setCurrentIndex(std::clamp(choices.regionMode, 0, 2));
    if (regionMode() == RegionMode::Rectangle && !choices.rectangle.isNull()) {
        const QRect& r = choices.rectangle;
        setRegion(Rect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()});
    }
    m_hideMain->setChecked(choices.hideMainWindow);
    updateControls();
}

CaptureWizardChoices CCaptureSetupDialog::choices() const {
    CaptureWizardChoices choices;
    choices.regionMode = m_regionList->currentIndex();
    choices.startCapturing = startCapturing();
    choices.hideMainWindow = m_hideMain->isChecked();
    choices.timedCapture = timedCapture();
    choices.clickCapture = clickCapture();
    if (regionMode() == RegionMode::Rectangle && !m_region.isEmpty())
        choices.rectangle = QRect(m_region.left, m_region.top, m_region.width(), m_region.height());
    return choices;
}

void CCaptureSetupDialog::updateControls() {
    const WizardControlStates states = wizardControlStates(startCapturing(), regionMode(), timedCapture());
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_regionCaption, m_regionLabel, m_regionList, m_hideMain})
        w->setEnabled(states.regionControls);
    const bool desktopWindow = m_windowByDesktop && regionMode() == RegionMode::Window;
    m_select->setEnabled(states.selectButton && !desktopWindow);
    m_regionLabel->setText(desktopWindow ? QString::fromUtf8(captureText::WindowChosenByDesktop)
                                         : QString::fromStdString(regionLabelText(m_region)));
    const bool typed = states.regionControls && regionMode() == RegionMode::Rectangle;
    for (int i = 0; i < 4; ++i) {
        m_fields[i]->setEnabled(typed);
        m_fieldCaptions[i]->setEnabled(typed);
    }
    m_sizes->setEnabled(typed);
    m_sizesCaption->setEnabled(typed);
    m_rateCaption->setEnabled(states.rateControls);
    m_rateEdit->setEnabled(states.rateControls);
}

void CCaptureSetupDialog::regionModeChanged(int index) {
    if (RegionMode(index) == RegionMode::Screen)
        setRegion(screenRegion(primaryScreenSize()));
    updateControls();
}

void CCaptureSetupDialog::hideMainWindowToggled(bool hide) {
    if (m_mainWindow)
        m_mainWindow->setVisible(!hide);
    raise();
    activateWindow();
}

void CCaptureSetupDialog::beginPick() {
    if (m_picker || regionMode() == RegionMode::Screen)
        return;
    const Size screen = primaryScreenSize();
    Bitmap24 still(std::max(1, screen.cx), std::max(1, screen.cy));
    if (!m_grabber.grab(screenRegion(screen), still).ok())
        std::fill(still.pixels.begin(), still.pixels.end(), uint8_t(0x80));
    std::vector<WindowNode> windows;
    if (regionMode() == RegionMode::Window)
        windows = m_grabber.listWindows();
    m_picker = std::make_unique<RegionPicker>(regionMode(), std::move(still), std::move(windows), m_region);
    m_picker->setRegionFunction([this](const Rect& region) {
        m_regionLabel->setText(QString::fromStdString(regionLabelText(region)));
    });
    m_picker->setFinishedFunction([this](bool picked, const Rect& region) { pickEnded(picked, region); });
    const QPoint pointer = QCursor::pos();
    m_picker->start(Point{pointer.x(), pointer.y()});
}

void CCaptureSetupDialog::pickEnded(bool picked, const Rect& region) {
    setRegion(picked ? region : m_region);
    // The picker is still on the call stack here.
    if (RegionPicker* picker = m_picker.release())
        picker->deleteLater();
    raise();
    activateWindow();
}

void CCaptureSetupDialog::openSettings() {
    if (m_settings)
        m_settings(m_doc);
}

void CCaptureSetupDialog::setWindowChosenByDesktop(bool byDesktop) {
    m_windowByDesktop = byDesktop;
    updateControls();
}

void CCaptureSetupDialog::accept() {
    // A region without pixels would make a project of frame size 0.
    const bool desktopWindow = m_windowByDesktop && regionMode() == RegionMode::Window;
    if (startCapturing() && !desktopWindow && !usableCaptureRegion(m_region)) {
        m_message(QString::fromUtf8(captureText::EmptyCaptureRegion));
        m_regionList->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (timedCapture()) {
        const std::optional<int> rate = parseCaptureRate(m_rateEdit->text().toStdString());
        if (!rate) {
            m_message(QString::fromUtf8(captureText::InvalidCaptureRate));
            m_rateEdit->setFocus(Qt::OtherFocusReason);
            return;
        }
        m_lastRate = *rate;
    }
    QDialog::accept();
}

void CCaptureSetupDialog::reject() {
    if (m_picker)
        m_picker->abort();
    QDialog::reject();
}

}  // namespace quib
