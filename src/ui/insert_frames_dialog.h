#pragma once

#include <QDialog>
#include <functional>

#include "model/frame_operations.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quib {

// "Inserire frames": how many frames, empty or copies of the current one, before or after it.
// Frames can also come from picture files, one frame each. A project without frames offers no
// copy and asks for the size of its empty frames.
class InsertFramesDialog : public QDialog {
public:
    InsertFramesDialog(bool projectHasFrames, QWidget* parent = nullptr);

    InsertFramesRequest request() const;
    bool asksForFrameSize() const { return !m_hasFrames; }

    QSpinBox* countEdit() const { return m_count; }
    QRadioButton* copyChoice() const { return m_copy; }
    QRadioButton* emptyChoice() const { return m_empty; }
    QRadioButton* beforeChoice() const { return m_before; }
    QRadioButton* afterChoice() const { return m_after; }
    QRadioButton* filesChoice() const { return m_files; }
    QPushButton* filesButton() const { return m_filesButton; }
    QSpinBox* widthEdit() const { return m_width; }
    QSpinBox* heightEdit() const { return m_height; }

    // Where the refusal of a count outside 1 .. 99 goes (a message box by default).
    void setMessageFunction(std::function<void(const QString&)> show) { m_showMessage = std::move(show); }

    // What "Sfoglia..." asks for picture files with (an image open dialog by default).
    void setFilesFunction(std::function<QStringList()> ask) { m_askFiles = std::move(ask); }
    void chooseFiles();
    QStringList pictureFiles() const { return m_pictureFiles; }

    // Closes with OK only when the values can be used; a zero size puts the focus on its field.
    void accept() override;

private:
    void updateEnabled();
    void refuse(const QString& text);

    bool m_hasFrames;
    QSpinBox* m_count = nullptr;
    QRadioButton* m_copy = nullptr;
    QRadioButton* m_empty = nullptr;
    QRadioButton* m_before = nullptr;
    QRadioButton* m_after = nullptr;
    QRadioButton* m_files = nullptr;
    QPushButton* m_filesButton = nullptr;
    QLabel* m_filesLabel = nullptr;
    QStringList m_pictureFiles;
    std::function<QStringList()> m_askFiles;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    std::function<void(const QString&)> m_showMessage;
};

}  // namespace quib
