#pragma once

#include <QDialog>
#include <vector>

class QSpinBox;

namespace quib {

class CQuibDoc;

// Moves the frame picture's position, the title and, in the given frames (every frame when
// frames is null), the cursor, text box and buttons by (dx, dy); the background stays put.
// One step of the project's history; tells the views what moved.
void moveAllElements(CQuibDoc& doc, int dx, int dy, const std::vector<int>* frames);

// "Sposta tutti gli elementi": the offset in pixels, X and Y, both 0 at start.
class MoveElementsDialog : public QDialog {
public:
    explicit MoveElementsDialog(QWidget* parent = nullptr);
    int dx() const;
    int dy() const;
    QSpinBox* xEdit() const { return m_x; }
    QSpinBox* yEdit() const { return m_y; }

private:
    QSpinBox* m_x = nullptr;
    QSpinBox* m_y = nullptr;
};

}  // namespace quib
