#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "../ui/ui_test_support.h"
#include "ui/cursor_library_dialog.h"
#include "ui_cursors_support.h"

namespace quib {
namespace {

using test::plainCursor;

class CursorLibraryDialogTest : public ::testing::Test, public test::WithApplication {
protected:
    QString libraryPath() const { return m_dir.filePath(QStringLiteral("usercurs.dat")); }

    // A library file holding the named red 4 x 4 cursors.
    void writeLibrary(const std::vector<std::string>& names) {
        std::vector<UserCursor> cursors;
        for (const std::string& name : names)
            cursors.push_back(UserCursor{name, plainCursor(4, 4, 255, 0, 0)});
        ASSERT_TRUE(saveUserCursorFile(libraryPath().toStdString(), cursors).ok());
    }

    std::unique_ptr<CursorLibraryDialog> open() {
        auto dialog = std::make_unique<CursorLibraryDialog>(m_current, libraryPath(), libraryPath());
        CursorLibraryInteraction& i = dialog->interaction();
        i.askName = [this] { return m_name; };
        i.editCursor = [this](const CursorPicture& start) {
            m_editedFrom = start;
            return m_edited;
        };
        i.askYesNo = [this](const QString& question) {
            m_question = question;
            return m_yes;
        };
        i.showMessage = [this](const QString& text) { m_message = text; };
        return dialog;
    }

    std::vector<std::string> savedNames() const {
        std::vector<UserCursor> cursors;
        EXPECT_TRUE(loadUserCursorFile(libraryPath().toStdString(), cursors).ok());
        std::vector<std::string> names;
        for (const UserCursor& c : cursors)
            names.push_back(c.name);
        return names;
    }

    QByteArray fileBytes() const {
        QFile file(libraryPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    CursorPicture m_current = plainCursor(32, 32, 0, 0, 255);
    std::optional<QString> m_name;
    std::optional<CursorPicture> m_edited;
    std::optional<CursorPicture> m_editedFrom;
    bool m_yes = false;
    QString m_question;
    QString m_message;
};

TEST_F(CursorLibraryDialogTest, CloneAppendsSelectsAndOkWritesTheLibrary) {
    auto dialog = open();
    dialog->selectStandard(2);
    m_name = QStringLiteral("Manina");
    dialog->cloneSelected();
    ASSERT_EQ(dialog->userList()->count(), 2);
    EXPECT_EQ(dialog->userList()->currentRow(), 1);
    EXPECT_EQ(dialog->userList()->item(1)->text(), QStringLiteral("Manina"));
    EXPECT_TRUE(dialog->deleteButton()->isEnabled());
    EXPECT_TRUE(dialog->isModified());
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(savedNames(), std::vector<std::string>{"Manina"});
    EXPECT_EQ(dialog->chosenCursor().image, standardCursors()[2].cursor.image);
}

TEST_F(CursorLibraryDialogTest, CursorTooLargeForTheLibraryIsNotClonedAndSaysWhy) {
    m_current = plainCursor(300, 10, 1, 2, 3);
    auto dialog = open();
    dialog->cloneSelectedAs(QStringLiteral("grande"));
    EXPECT_EQ(dialog->userList()->count(), 1);
    EXPECT_FALSE(dialog->isModified());
    EXPECT_TRUE(m_message.contains(QStringLiteral("256")));
}

// Cancelled clone or editor changes nothing.
TEST_F(CursorLibraryDialogTest, CloneOrEditCancelledChangesNothing) {
    auto dialog = open();
    m_name.reset();
    dialog->cloneSelected();
    EXPECT_EQ(dialog->userList()->count(), 1);
    m_edited.reset();
    dialog->editSelected();
    EXPECT_EQ(dialog->chosenCursor().image, m_current.image);
    EXPECT_FALSE(dialog->isModified());
}

TEST_F(CursorLibraryDialogTest, DeletingInTheMiddleSelectsTheNextOne) {
    writeLibrary({"a", "b", "c"});
    auto dialog = open();
    dialog->selectUser(2);
    dialog->deleteSelected();
    EXPECT_EQ(dialog->userList()->currentRow(), 2);
    EXPECT_EQ(dialog->userList()->item(2)->text(), QStringLiteral("c"));
    EXPECT_EQ(dialog->userCursors().size(), 2u);
}

TEST_F(CursorLibraryDialogTest, EditingTheCurrentCursorChangesOnlyTheResult) {
    writeLibrary({"a"});
    const QByteArray before = fileBytes();
    auto dialog = open();
    m_edited = plainCursor(32, 32, 0, 255, 0);
    dialog->editSelected();
    ASSERT_TRUE(m_editedFrom.has_value());
    EXPECT_EQ(m_editedFrom->image, m_current.image);
    EXPECT_FALSE(dialog->isModified());
    dialog->accept();
    EXPECT_EQ(dialog->chosenCursor().image, m_edited->image);
    EXPECT_EQ(dialog->userCursors().size(), 1u);
    EXPECT_EQ(fileBytes(), before);
}

// Cancel after a clone asks to save: no leaves the file unchanged, yes writes it.
TEST_F(CursorLibraryDialogTest, CancelAfterCloneAsksWhetherToWriteTheFile) {
    writeLibrary({"a"});
    const QByteArray before = fileBytes();
    for (bool yes : {false, true}) {
        auto dialog = open();
        m_name = QStringLiteral("b");
        dialog->cloneSelected();
        m_yes = yes;
        dialog->reject();
        EXPECT_EQ(m_question, QStringLiteral("Volete salvare le modifiche?"));
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        if (!yes) {
            EXPECT_EQ(fileBytes(), before);
        }
    }
    EXPECT_EQ(savedNames(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(CursorLibraryDialogTest, CancelWithoutChangesAsksNothing) {
    auto dialog = open();
    dialog->reject();
    EXPECT_TRUE(m_question.isEmpty());
    EXPECT_FALSE(QFile::exists(libraryPath()));
}

TEST_F(CursorLibraryDialogTest, MalformedLibraryIsReportedAndLeavesOnlyTheCurrentCursor) {
    QFile file(libraryPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x09\x00\x00\x00xyz", 7);
    file.close();
    auto dialog = open();
    EXPECT_EQ(dialog->userList()->count(), 1);
    EXPECT_TRUE(dialog->loadMessage().contains(libraryPath()));
}

TEST_F(CursorLibraryDialogTest, FailedWriteIsReportedAndKeepsTheDialogOpen) {
    // A plain file where the library's folder should be makes the write fail.
    QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto dialog = std::make_unique<CursorLibraryDialog>(
        m_current, libraryPath(), m_dir.filePath(QStringLiteral("blocker/usercurs.dat")));
    dialog->interaction().askName = [] { return QStringLiteral("x"); };
    dialog->interaction().showMessage = [this](const QString& text) { m_message = text; };
    dialog->setResult(-1);
    dialog->cloneSelected();
    dialog->accept();
    EXPECT_TRUE(m_message.startsWith(QStringLiteral("Impossibile creare il file")));
    EXPECT_EQ(dialog->result(), -1);
    EXPECT_TRUE(dialog->isModified());
}

}  // namespace
}  // namespace quib
