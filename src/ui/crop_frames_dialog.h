#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "base/geometry.h"

class QSpinBox;

namespace quib {

class CQuibDoc;

// "Ritaglia Frames": the part of every frame to keep, as inclusive pixel bounds that start at the
// whole frame, with a preview of the current frame and the part marked on it.
class CropFramesDialog : public QDialog {
public:
    explicit CropFramesDialog(const CQuibDoc& doc, QWidget* parent = nullptr);

    // The inclusive bounds as shown.
    int left() const;
    int top() const;
    int right() const;
    int bottom() const;
    void setBounds(int left, int top, int right, int bottom);
    // The part to keep with right and bottom exclusive.
    Rect cropRect() const;

    QSpinBox* leftEdit() const { return m_left; }
    QSpinBox* topEdit() const { return m_top; }
    QSpinBox* rightEdit() const { return m_right; }
    QSpinBox* bottomEdit() const { return m_bottom; }
    const QImage& previewPicture() const { return m_picture; }

    void setMessageFunction(std::function<void(const QString&)> show) { m_showMessage = std::move(show); }
    // Refuses bounds that cross (left past right or top past bottom).
    void accept() override;

private:
    QImage m_picture;
    QSpinBox* m_left = nullptr;
    QSpinBox* m_top = nullptr;
    QSpinBox* m_right = nullptr;
    QSpinBox* m_bottom = nullptr;
    QWidget* m_preview = nullptr;
    std::function<void(const QString&)> m_showMessage;
};

}  // namespace quib
