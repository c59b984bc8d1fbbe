#pragma once

#include <QDialog>
#include <functional>

#include "project_palette.h"

class QRadioButton;
class QSpinBox;

namespace quib {

// "Crea nuova Palette": the 16 standard colours, the 216 web-safe colours, or an octree palette
// of a chosen number of colours over the current frame or every frame.
class NewPaletteDialog : public QDialog {
public:
    // currentCount: the palette's count now (256 is offered when it is 0).
    explicit NewPaletteDialog(int currentCount, QWidget* parent = nullptr);

    // The refusal of a bad count; replaceable so that tests need no modal box.
    void setMessageFunction(std::function<void(const QString&)> show) { m_message = std::move(show); }

    // Valid after OK.
    NewPaletteChoice choice() const;

    QRadioButton* standardButton() const { return m_standard; }
    QRadioButton* webSafeButton() const { return m_webSafe; }
    QRadioButton* octreeButton() const { return m_octree; }
    QSpinBox* countEdit() const { return m_count; }
    QRadioButton* currentFrameButton() const { return m_currentFrame; }
    QRadioButton* allFramesButton() const { return m_allFrames; }

    void accept() override;

private:
    void methodChanged();
    int typedCount(bool* ok) const;

    QRadioButton* m_standard = nullptr;
    QRadioButton* m_webSafe = nullptr;
    QRadioButton* m_octree = nullptr;
    QSpinBox* m_count = nullptr;
    QRadioButton* m_currentFrame = nullptr;
    QRadioButton* m_allFrames = nullptr;
    std::function<void(const QString&)> m_message;
};

}  // namespace quib
