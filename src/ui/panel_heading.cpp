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
    colours.setColor(QPalette::Disabled, QPalette::WindowText, colours.color(QPalette::Midlight));
    colours.setColor(QPalette::Disabled, QPalette::ButtonText, colours.color(QPalette::Midlight));
    widget->setPalette(colours);
    // Buttons fill with the button colour by default; the heading colours need the window one.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

}  // namespace quib
