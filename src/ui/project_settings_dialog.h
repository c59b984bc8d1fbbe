#pragma once

#include <QDialog>
#include <functional>

#include "output_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;

namespace quib {

class CQuibDoc;

// "Impostazioni progetto": output file and type, frame rate, cursor movement and palette use.
// The type is written to the settings as soon as it changes; everything else only on OK.
class ProjectSettingsDialog : public QDialog {
public:
    // Asks for the output file; gets the filter, default extension and initial name, returns the
    // chosen path or an empty text. The default shows a save-file dialog.
    using BrowseFunction = std::function<QString(QWidget* parent, const QString& filter,
                                                 const QString& suffix, const QString& name)>;

    ProjectSettingsDialog(OutputSettings& settings, QString projectDir, QWidget* parent = nullptr);

    void setBrowseFunction(BrowseFunction browse) { m_browse = std::move(browse); }
    // The message box of a refused OK; replaceable so that tests need no modal box.
    void setMessageFunction(std::function<void(const QString&)> show) { m_message = std::move(show); }

    QLineEdit* nameEdit() const { return m_name; }
    QComboBox* typeList() const { return m_type; }
    QLineEdit* frameRateEdit() const { return m_frameRate; }
    QSlider* smoothnessSlider() const { return m_smoothness; }
    QCheckBox* paletteCheck() const { return m_palette; }

    void browse();
    void accept() override;

    static QString browseFilter(OutputType type);

private:
    void typeChanged(int index);
    void refuse(const QString& message, QWidget* field);

    OutputSettings& m_settings;
    QString m_projectDir;
    QLineEdit* m_name = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_frameRate = nullptr;
    QSlider* m_smoothness = nullptr;
    QCheckBox* m_palette = nullptr;
    BrowseFunction m_browse;
    std::function<void(const QString&)> m_message;
};

// Edits output settings for a project folder; true on OK.
using OutputSettingsEditor = std::function<bool(OutputSettings& settings, const QString& projectDir)>;

// The project settings dialog (or edit, when given) on a project's output settings: the type is
// taken at once, whatever the end; on OK everything else is copied back and the project is
// marked modified. True on OK.
bool runProjectSettings(CQuibDoc& doc, QWidget* parent, const OutputSettingsEditor& edit = {});

}  // namespace quib
