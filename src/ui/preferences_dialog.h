#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace quib {

struct AppSettings;

// What the preferences dialog edits.
struct PreferenceValues {
    int mruSize = 10;
    bool reloadLastProject = true;
    int thumbCx = 64;
    int thumbCy = 64;
    int undoLevels = 100;
    int undoMemoryMb = 512;
};

// Stores the values into the settings: a list size of 0 or less becomes 4 (and the list is cut to
// it), a thumbnail size of 0 or less becomes 64, undo levels and memory are kept between 1 and
// 10000. Returns whether the thumbnail size changed.
bool applyPreferences(AppSettings& settings, const PreferenceValues& values);

// "Preferenze": recent-list size, reload of the last project, thumbnail width and height, and
// how much undo history each project keeps.
class PreferencesDialog : public QDialog {
public:
    explicit PreferencesDialog(const PreferenceValues& values, QWidget* parent = nullptr);
    PreferenceValues values() const;

    QLineEdit* mruSizeEdit() const { return m_mruSize; }
    QCheckBox* reloadCheck() const { return m_reload; }
    QLineEdit* thumbCxEdit() const { return m_thumbCx; }
    QLineEdit* thumbCyEdit() const { return m_thumbCy; }
    QLineEdit* undoLevelsEdit() const { return m_undoLevels; }
    QLineEdit* undoMemoryEdit() const { return m_undoMemory; }

private:
    QLineEdit* m_mruSize = nullptr;
    QCheckBox* m_reload = nullptr;
    QLineEdit* m_thumbCx = nullptr;
    QLineEdit* m_thumbCy = nullptr;
    QLineEdit* m_undoLevels = nullptr;
    QLineEdit* m_undoMemory = nullptr;
};

}  // namespace quib
