#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "base/cursor_picture.h"
#include "cursors/cursor_library_file.h"
#include "cursors/standard_cursors.h"

class QListWidget;
class QPushButton;

namespace quib {

// What the chooser asks of the user; tests replace these so that no modal box opens.
struct CursorLibraryInteraction {
    // The new cursor's name ("Indica il nome del nuovo cursore"); nothing on cancel.
    std::function<std::optional<QString>()> askName;
    // The cursor image editor over a cursor; the edited cursor on OK, nothing on cancel.
    std::function<std::optional<CursorPicture>(const CursorPicture&)> editCursor;
    // A yes/no question; true for yes.
    std::function<bool(const QString&)> askYesNo;
    std::function<void(const QString&)> showMessage;
};

// "Seleziona cursore": the standard cursors, the frame's own cursor ("Cursore corrente") and the
// user's cursors, which can be cloned from any listed cursor, edited and deleted. The user cursor
// library is read when the dialog is made and written on OK, or on a cancel the user confirms,
// after a change.
class CursorLibraryDialog : public QDialog {
public:
    CursorLibraryDialog(const CursorPicture& current, const QString& readPath, const QString& writePath,
                        QWidget* parent = nullptr);

    CursorLibraryInteraction& interaction() { return m_interaction; }
    // Why the library could not be read (empty when it was read or did not exist).
    QString loadMessage() const { return m_loadMessage; }

    QListWidget* standardList() const { return m_standardList; }
    QListWidget* userList() const { return m_userList; }
    QPushButton* editButton() const { return m_editButton; }
    QPushButton* cloneButton() const { return m_cloneButton; }
    QPushButton* deleteButton() const { return m_deleteButton; }

    void selectStandard(int row);
    // Row 0 is "Cursore corrente", rows 1 onward the user cursors.
    void selectUser(int row);
    const CursorPicture& selectedCursor() const;
    const CursorPicture& currentCursor() const { return m_current; }
    const std::vector<UserCursor>& userCursors() const { return m_userCursors; }
    int standardCount() const { return int(m_standard.size()); }
    bool isModified() const { return m_modified; }

    // "&Modifica": the editor over the selected user-list cursor.
    void editSelected();
    // Puts an edited cursor in place of the selected user-list cursor.
    void replaceSelected(const CursorPicture& edited);
    // "&Clona": asks for a name, then cloneSelectedAs.
    void cloneSelected();
    void cloneSelectedAs(const QString& name);
    // "&Elimina": removes the selected user cursor (not "Cursore corrente").
    void deleteSelected();
    // Writes the user cursors; false (and the message shown) when the file cannot be written.
    bool saveLibrary();

    // A copy of the selected cursor: what OK gives.
    CursorPicture chosenCursor() const { return selectedCursor(); }

    void accept() override;
    void reject() override;

private:
    enum class Side { None, Standard, User };
    void select(Side side, int row);
    void updateButtons();
    void addUserItem(const QString& name, const CursorPicture& cursor);
    void showMessage(const QString& text);

    CursorLibraryInteraction m_interaction;
    std::vector<StandardCursor> m_standard;
    std::vector<UserCursor> m_userCursors;
    CursorPicture m_current;
    QString m_writePath;
    QString m_loadMessage;
    Side m_side = Side::None;
    int m_row = -1;
    bool m_modified = false;
    bool m_selecting = false;

    QListWidget* m_standardList = nullptr;
    QListWidget* m_userList = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_cloneButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
};

}  // namespace quib
