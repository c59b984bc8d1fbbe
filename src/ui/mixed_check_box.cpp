#include "mixed_check_box.h"

#include <QSignalBlocker>

namespace quib {

MixedCheckBox::MixedCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void MixedCheckBox::showState(Qt::CheckState state) {
    const QSignalBlocker blocker(this);
    setTristate(state == Qt::PartiallyChecked);
    setCheckState(state);
}

void MixedCheckBox::nextCheckState() {
    const Qt::CheckState next = checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked;
    setTristate(false);
    setCheckState(next);
}

}  // namespace quib
