#pragma once

#include <QDialog>

namespace quib {

// "Informazioni su Quib": the version line, the web site and the notice.
class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    static QString versionLine();
};

}  // namespace quib
