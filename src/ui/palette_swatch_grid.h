#pragma once

#include <QFrame>
#include <functional>

namespace quib {

class PaletteEditState;

// The 16 x 16 colour grid of the palette dialog. Cells below the count show their colour sunken,
// the others stay blank, the selected cell carries a highlight frame. A click selects (and takes
// the keyboard focus), a double click on the selected cell asks for an edit, the arrow keys move
// the selection and Delete removes the selected entry.
class PaletteSwatchGrid : public QFrame {
public:
    explicit PaletteSwatchGrid(PaletteEditState& state, QWidget* parent = nullptr);

    // Called after every change the grid made to the state (selection or entries).
    void setChangeCallback(std::function<void()> changed) { m_changed = std::move(changed); }
    // Called with the index of a double-clicked selected cell.
    void setEditCallback(std::function<void(int)> edit) { m_edit = std::move(edit); }

    // Cell k of an area: column k mod 16, row k / 16, edges at integer sixteenths of the area.
    static QRect cellRect(const QRect& area, int index);
    // The cell under a point of the area, or -1.
    static int cellAt(const QRect& area, const QPoint& point);
    QRect cellArea() const { return contentsRect(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void notify();

    PaletteEditState& m_state;
    std::function<void()> m_changed;
    std::function<void(int)> m_edit;
};

}  // namespace quib
