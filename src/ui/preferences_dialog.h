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
};

// Stores the values into the settings: a list size of 0 or less becomes 4 (and the list is cut to
// it), a thumbnail size of 0 or less becomes 64. Returns whether the thumbnail size changed.
bool applyPreferences(AppSettings& settings, const PreferenceValues& values);

// "Preferenze": recent-list size, reload of the last project, thumbnail width and height.
class PreferencesDialog : public QDialog {
public:
    explicit PreferencesDialog(const PreferenceValues& values, QWidget* parent = nullptr);
    PreferenceValues values() const;

    QLineEdit* mruSizeEdit() const { return m_mruSize; }
    QCheckBox* reloadCheck() const { return m_reload; }
    QLineEdit* thumbCxEdit() const { return m_thumbCx; }
    QLineEdit* thumbCyEdit() const { return m_thumbCy; }

private:
    QLineEdit* m_mruSize = nullptr;
    QCheckBox* m_reload = nullptr;
    QLineEdit* m_thumbCx = nullptr;
    QLineEdit* m_thumbCy = nullptr;
};

}  // namespace quib
