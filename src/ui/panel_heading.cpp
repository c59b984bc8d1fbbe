#include "panel_heading.h"

namespace quib {

PanelHeading::PanelHeading(const QString& text, QWidget* parent) : QLabel(text, parent) {
    paintLikeHeading(this);
    setMargin(2);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void PanelHeading::paintLikeHeading(QWidget* widget) {
    QPalette colours = widget->palette();
    const QColor text = colours.color(QPalette::Light);
    const QColor back = colours.color(QPalette::Dark);
    colours.setColor(QPalette::Window, back);
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::ButtonText, text);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

}  // namespace quib
