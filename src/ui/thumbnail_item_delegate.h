#pragma once

#include <QStyledItemDelegate>

namespace quib {

class CQuibThumbView;

// Draws one thumbnail item: its state colour around the picture, the picture centred, the frame
// number under it, and the insertion bar of a drop in progress.
class ThumbnailItemDelegate : public QStyledItemDelegate {
public:
    explicit ThumbnailItemDelegate(CQuibThumbView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    struct Colours {
        QColor background;
        QColor text;
    };
    // Selected: highlight with the focus, button shadow without; focused only: button face with
    // the focus, button shadow without; others: the window colours. In palette roles: highlight is
    // Highlight / HighlightedText, button face Button, button shadow Mid, window Base / Text.
    static Colours itemColours(const QPalette& palette, bool selected, bool focused, bool listHasFocus);
    // The insertion bar at the left edge of an item rectangle: a 2-pixel line with 4 x 2 ticks.
    static void drawInsertionBar(QPainter* painter, const QRect& itemRect, const QColor& colour);

private:
    CQuibThumbView* m_view;
};

}  // namespace quib
