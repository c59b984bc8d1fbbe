#pragma once

#include <QLabel>

namespace quib {

// A section heading of the properties panel: light text on the shadow colour of buttons.
class PanelHeading : public QLabel {
public:
    explicit PanelHeading(const QString& text, QWidget* parent = nullptr);

    // Gives any widget (the element check boxes) the heading's colours.
    static void paintLikeHeading(QWidget* widget);
};

}  // namespace quib
