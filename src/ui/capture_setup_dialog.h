#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "app_settings.h"
#include "capture/capture_region_rules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quib {

namespace captureText {
inline constexpr const char* WindowChosenByDesktop =
    "La finestra si sceglie nel riquadro del desktop all'avvio della cattura.";
}

class CQuibDoc;
class RegionPicker;
class ScreenGrabber;

// "Wizard Nuovo progetto - Passo 1 di 2": whether to start by capturing, the capture region
// (the whole screen, a dragged rectangle or a picked window), hiding the main window, and the
// timed-capture rate. A rectangle can also be typed (X, Y, width, height) or taken from the
// common sizes.
class CCaptureSetupDialog : public QDialog {
public:
    // lastRate: the application's last capture rate, shown at first and replaced on OK.
    // problem: shown in the dialog when the capture keys cannot work (empty when they can).
    CCaptureSetupDialog(CQuibDoc& doc, ScreenGrabber& grabber, int& lastRate, QWidget* mainWindow,
                        const QString& problem = QString());
    ~CCaptureSetupDialog() override;

    // Replaceable so that tests need no modal boxes: the refused rate's message, and the project
    // settings dialog (true on OK).
    void setMessageFunction(std::function<void(const QString&)> show) { m_message = std::move(show); }
    void setSettingsFunction(std::function<bool(CQuibDoc&)> run) { m_settings = std::move(run); }

    bool startCapturing() const;
    bool timedCapture() const;
    // "Cattura a ogni clic".
    bool clickCapture() const;
    int rate() const { return m_lastRate; }
    RegionMode regionMode() const;
    const Rect& region() const { return m_region; }
    void setRegion(const Rect& region);

    // The choices shown when last confirmed; applying them may hide the main window.
    void applyChoices(const CaptureWizardChoices& choices);
    CaptureWizardChoices choices() const;

    QCheckBox* startCapturingCheck() const { return m_startCapturing; }
    QComboBox* regionList() const { return m_regionList; }
    QPushButton* selectButton() const { return m_select; }
    QLabel* regionLabel() const { return m_regionLabel; }
    QCheckBox* hideMainWindowCheck() const { return m_hideMain; }
    // X, Y, width, height of the region; editable in "Rettangolo" mode.
    QSpinBox* regionField(int index) const { return m_fields[index]; }
    QComboBox* commonSizesList() const { return m_sizes; }
    QCheckBox* timedCaptureCheck() const { return m_timed; }
    QCheckBox* clickCaptureCheck() const { return m_onClick; }
    QLineEdit* rateEdit() const { return m_rateEdit; }
    QPushButton* settingsButton() const { return m_settingsButton; }
    QLabel* problemLabel() const { return m_problem; }

    // "&Seleziona": begins a pick in the list's mode; the picker is there until the pick ends.
    void beginPick();
    RegionPicker* picker() const { return m_picker.get(); }
    void openSettings();

    // In "Finestra" mode the desktop asks the user for the window when the capture starts: the
    // dialog then needs no window picked.
    void setWindowChosenByDesktop(bool byDesktop);

    void accept() override;
    void reject() override;

private:
    void updateControls();
    void regionModeChanged(int index);
    void hideMainWindowToggled(bool hide);
    void pickEnded(bool picked, const Rect& region);
    void fieldsEdited();
    void commonSizeChosen(int index);
    void showRegionFields();
    Size primaryScreenSize() const;

    CQuibDoc& m_doc;
    ScreenGrabber& m_grabber;
    int& m_lastRate;
    QWidget* m_mainWindow;
    Rect m_region;
    bool m_windowByDesktop = false;
    std::unique_ptr<RegionPicker> m_picker;

    QCheckBox* m_startCapturing = nullptr;
    QLabel* m_regionCaption = nullptr;
    QComboBox* m_regionList = nullptr;
    QPushButton* m_select = nullptr;
    QLabel* m_regionLabel = nullptr;
    QCheckBox* m_hideMain = nullptr;
    QSpinBox* m_fields[4] = {};
    QLabel* m_fieldCaptions[4] = {};
    QLabel* m_sizesCaption = nullptr;
    QComboBox* m_sizes = nullptr;
    QCheckBox* m_timed = nullptr;
    QCheckBox* m_onClick = nullptr;
    QLabel* m_rateCaption = nullptr;
    QLineEdit* m_rateEdit = nullptr;
    QPushButton* m_settingsButton = nullptr;
    QLabel* m_problem = nullptr;
    std::function<void(const QString&)> m_message;
    std::function<bool(CQuibDoc&)> m_settings;
};

}  // namespace quib
