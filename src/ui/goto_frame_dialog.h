#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

class QLabel;
class QListWidget;

namespace quib {

class CQuibDoc;

// "Vai al frame...": the frame numbers 1 .. count with a preview of the chosen frame's thumbnail,
// centred, or shrunk to the preview when larger.
class GotoFrameDialog : public QDialog {
public:
    // thumbnail gives the picture of a frame index (the strip's thumbnails); when empty the frame's
    // own picture is shown.
    GotoFrameDialog(const CQuibDoc& doc, int initialIndex, std::function<QImage(int)> thumbnail = {},
                    QWidget* parent = nullptr);

    // Runs the dialog modally: the chosen index, or -1 when cancelled or nothing is chosen.
    static int choose(const CQuibDoc& doc, int initialIndex, std::function<QImage(int)> thumbnail = {},
                      QWidget* parent = nullptr);

    // The chosen index, -1 when none.
    int selectedIndex() const;
    void setSelectedIndex(int index);

    QListWidget* frameList() const { return m_list; }
    QLabel* preview() const { return m_preview; }

private:
    void showPreview();

    const CQuibDoc& m_doc;
    std::function<QImage(int)> m_thumbnail;
    QListWidget* m_list = nullptr;
    QLabel* m_preview = nullptr;
};

// The picture of a stored frame, decompressed (null when its stream is damaged).
QImage storedFramePicture(const CQuibDoc& doc, int index);

}  // namespace quib
