#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quib {

// "Seleziona l'immagine di sfondo": a canvas of one colour with its size, or a picture file.
// Only the controls of the chosen mode are enabled.
class BackgroundDialog : public QDialog {
public:
    enum Mode { FillMode = 0, FileMode = 1 };

    struct Values {
        int mode = FillMode;
        int cx = 0;
        int cy = 0;
        uint32_t fillColor = 0xFFFFFF;  // 0x00BBGGRR
        QString fileName;
    };

    explicit BackgroundDialog(const Values& start, QWidget* parent = nullptr);

    Values values() const;
    void setMode(int mode);
    void setFillColor(uint32_t color);

    // What "Sfoglia" asks for a file with (an image open dialog by default); gets the current name.
    void setBrowseFunction(std::function<QString(const QString&)> browse) { m_browse = std::move(browse); }
    void browse();

    QRadioButton* fillChoice() const { return m_fill; }
    QRadioButton* fileChoice() const { return m_file; }
    QSpinBox* widthEdit() const { return m_width; }
    QSpinBox* heightEdit() const { return m_height; }
    QPushButton* colorSwatch() const { return m_swatch; }
    QLineEdit* fileEdit() const { return m_fileName; }
    QPushButton* browseButton() const { return m_browseButton; }

private:
    void updateEnabled();
    void chooseColor();

    QRadioButton* m_fill = nullptr;
    QRadioButton* m_file = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QPushButton* m_swatch = nullptr;
    QLineEdit* m_fileName = nullptr;
    QPushButton* m_browseButton = nullptr;
    uint32_t m_color = 0xFFFFFF;
    std::function<QString(const QString&)> m_browse;
};

}  // namespace quib
