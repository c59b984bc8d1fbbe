#include "thumbnail_item_delegate.h"

#include <QPainter>

#include "quib_thumb_view.h"

namespace quib {

ThumbnailItemDelegate::ThumbnailItemDelegate(CQuibThumbView* view)
    : QStyledItemDelegate(view), m_view(view) {}

ThumbnailItemDelegate::Colours ThumbnailItemDelegate::itemColours(const QPalette& palette, bool selected,
                                                                  bool focused, bool listHasFocus) {
    if (selected)
        return {palette.color(listHasFocus ? QPalette::Highlight : QPalette::Mid),
                palette.color(QPalette::HighlightedText)};
    if (focused)
        return {palette.color(listHasFocus ? QPalette::Button : QPalette::Mid),
                palette.color(QPalette::HighlightedText)};
    return {palette.color(QPalette::Base), palette.color(QPalette::Text)};
}

void ThumbnailItemDelegate::drawInsertionBar(QPainter* painter, const QRect& itemRect, const QColor& colour) {
    const int x = itemRect.left();
    painter->fillRect(QRect(x, itemRect.top(), 2, itemRect.height()), colour);
    painter->fillRect(QRect(x - 1, itemRect.top(), 4, 2), colour);
    painter->fillRect(QRect(x - 1, itemRect.bottom() - 1, 4, 2), colour);
}

void ThumbnailItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const int row = index.row();
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = m_view->currentIndex() == index;
    const Colours colours = itemColours(option.palette, selected, focused, m_view->hasFocus());
    const QRect rect = option.rect;
    painter->save();
    painter->fillRect(rect, colours.background);
    const QImage picture = m_view->thumbnail(row);
    const int pictureHeight = m_view->thumbnailSize().height();
    const QRect pictureArea(rect.left(), rect.top(), rect.width(), pictureHeight + 4);
    if (!picture.isNull()) {
        const QPoint at(pictureArea.left() + (pictureArea.width() - picture.width()) / 2,
                        pictureArea.top() + (pictureArea.height() - picture.height()) / 2);
        painter->drawImage(at, picture);
    }
    const QRect labelArea(rect.left(), pictureArea.bottom() + 1, rect.width(),
                          rect.bottom() - pictureArea.bottom());
    painter->setPen(colours.text);
    painter->setFont(option.font);
    painter->drawText(labelArea, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    if (row == m_view->dropHighlightRow())
        drawInsertionBar(painter, rect, option.palette.color(QPalette::Text));
    painter->restore();
}

QSize ThumbnailItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return m_view->gridSize();
}

}  // namespace quib
