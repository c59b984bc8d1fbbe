#pragma once

#include <QDialog>
#include <cstdint>

class QListWidget;
class QPushButton;

namespace quib {

// The check list of the sixteen template elements; the mask is bit i for checked item i.
class TemplateElementChooser : public QDialog {
public:
    enum Mode { Saving, Applying };

    TemplateElementChooser(Mode mode, uint32_t mask, QWidget* parent = nullptr);

    uint32_t mask() const;
    void setMask(uint32_t mask);

    // The title of each mode.
    static QString titleFor(Mode mode);

    QListWidget* list() const { return m_list; }
    QPushButton* allButton() const { return m_all; }
    QPushButton* noneButton() const { return m_none; }

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_all = nullptr;
    QPushButton* m_none = nullptr;
};

}  // namespace quib
