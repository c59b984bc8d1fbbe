#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quib {

class TemplatePreview;

// "Seleziona il modello da applicare": drives, folders and the template files of a folder, with
// a preview of the project under the selected template and the elements to use.
class TemplateApplyDialog : public QDialog {
public:
    // Asks for the elements to use, starting from mask; true on OK. The element chooser by default.
    using ElementAsker = std::function<bool(uint32_t& mask)>;

    TemplateApplyDialog(const TemplatePreview& preview, const QString& startFolder,
                        QWidget* parent = nullptr);

    void setFolder(const QString& folder);
    QString folder() const { return m_folder; }
    // Selects a file of the file list by name; false when the list does not hold it.
    bool selectFile(const QString& name);
    // The chosen template, or an empty text.
    QString selectedPath() const;
    uint32_t mask() const { return m_mask; }
    void setMask(uint32_t mask);
    void setElementAsker(ElementAsker asker) { m_askElements = std::move(asker); }
    // Runs the element chooser (the button "Seleziona gli elementi del modello").
    void chooseElements();
    // Index 0: template files, 1: every file.
    void setTypeIndex(int index);

    QImage previewImage() const { return m_previewImage; }
    QListWidget* folderList() const { return m_folders; }
    QListWidget* fileList() const { return m_files; }
    QLabel* folderField() const { return m_folderField; }
    QComboBox* typeBox() const { return m_types; }

    void accept() override;

private:
    void fillLists();
    void updatePreview();
    void enterFolder(const QString& name);

    const TemplatePreview& m_preview;
    QString m_folder;
    uint32_t m_mask;
    ElementAsker m_askElements;
    QImage m_previewImage;
    QComboBox* m_drives = nullptr;
    QListWidget* m_folders = nullptr;
    QListWidget* m_files = nullptr;
    QComboBox* m_types = nullptr;
    QLabel* m_folderField = nullptr;
    QLabel* m_previewLabel = nullptr;
};

}  // namespace quib
