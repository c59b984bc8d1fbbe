#pragma once

#include <QCheckBox>

namespace quib {

// A check box that can show a mixed state (values differ between the selected frames) but that
// the user only switches on or off: a click on the mixed state unchecks it.
class MixedCheckBox : public QCheckBox {
public:
    explicit MixedCheckBox(const QString& text, QWidget* parent = nullptr);

    // Shows checked, unchecked or mixed without telling anyone.
    void showState(Qt::CheckState state);

protected:
    void nextCheckState() override;
};

}  // namespace quib
