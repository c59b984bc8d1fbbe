#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

#include "../ui/ui_test_support.h"
#include "base/cursor_picture.h"
#include "cursors/standard_cursors.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "support/files_and_commands.h"
#include "support/project_contents.h"
#include "ui/command_ids.h"
#include "ui/cursor_commands.h"
#include "ui/cursor_editor_dialog.h"
#include "ui/cursor_library_dialog.h"
#include "ui/quib_project_document.h"

namespace quib {
namespace {

// A width x height cursor of one opaque colour (red, green, blue), hot spot in a corner.
CursorPicture plainCursor(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    CursorPicture cursor;
    cursor.image = Bitmap32(width, height);
    for (size_t i = 0; i < cursor.image.pixels.size(); i += 4) {
        cursor.image.pixels[i] = b, cursor.image.pixels[i + 1] = g, cursor.image.pixels[i + 2] = r;
        cursor.image.pixels[i + 3] = 255;
    }
    return cursor;
}

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

    std::unique_ptr<CursorLibraryDialog> open(const QString& savePath = QString()) {
        auto dialog = std::make_unique<CursorLibraryDialog>(m_current, libraryPath(),
                                                            savePath.isEmpty() ? libraryPath() : savePath);
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

    std::string fileBytes() const { return test::readFile(libraryPath().toStdString()); }

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
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(savedNames(), std::vector<std::string>{"Manina"});
    EXPECT_EQ(dialog->chosenCursor().image, standardCursors()[2].cursor.image);
}

TEST_F(CursorLibraryDialogTest, CursorTooLargeIsNotClonedAndSaysWhyAndCancelledChangesNothing) {
    m_current = plainCursor(300, 10, 1, 2, 3);
    auto dialog = open();
    dialog->cloneSelectedAs(QStringLiteral("grande"));
    EXPECT_EQ(dialog->userList()->count(), 1);
    EXPECT_FALSE(dialog->isModified());
    EXPECT_TRUE(m_message.contains(QStringLiteral("256")));

    // Nor does a cancelled clone or editor change anything.
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
    const std::string before = fileBytes();
    auto dialog = open();
    m_edited = plainCursor(32, 32, 0, 255, 0);
    dialog->editSelected();
    ASSERT_TRUE(m_editedFrom.has_value());
    EXPECT_EQ(m_editedFrom->image, m_current.image);
    EXPECT_FALSE(dialog->isModified());
    dialog->accept();
    EXPECT_EQ(dialog->chosenCursor().image, m_edited->image);
    EXPECT_EQ(fileBytes(), before);
}

// Cancel without changes asks nothing and writes nothing; after a clone it asks to save: no leaves
// the file unchanged, yes writes it.
TEST_F(CursorLibraryDialogTest, CancelAfterCloneAsksWhetherToWriteTheFile) {
    open()->reject();
    EXPECT_TRUE(m_question.isEmpty());
    EXPECT_FALSE(QFile::exists(libraryPath()));
    writeLibrary({"a"});
    const std::string before = fileBytes();
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

TEST_F(CursorLibraryDialogTest, MalformedLibraryIsReportedAndLeavesOnlyTheCurrentCursor) {
    test::writeFile(libraryPath().toStdString(), std::string("\x09\x00\x00\x00xyz", 7));
    auto dialog = open();
    EXPECT_EQ(dialog->userList()->count(), 1);
    EXPECT_TRUE(dialog->loadMessage().contains(libraryPath()));
}

TEST_F(CursorLibraryDialogTest, FailedWriteIsReportedAndKeepsTheDialogOpen) {
    // A plain file where the library's folder should be makes the write fail.
    QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto dialog = open(m_dir.filePath(QStringLiteral("blocker/usercurs.dat")));
    m_name = QStringLiteral("x");
    dialog->setResult(-1);
    dialog->cloneSelected();
    dialog->accept();
    EXPECT_TRUE(m_message.startsWith(QStringLiteral("Impossibile creare il file")));
    EXPECT_EQ(dialog->result(), -1);
    EXPECT_TRUE(dialog->isModified());
}

using D = CursorEditorDialog;

class CursorEditorDialogTest : public ::testing::Test, public test::WithApplication {
protected:
    CursorEditorDialogTest()
        : m_dialog(plainCursor(32, 32, 255, 255, 255), QStringLiteral("Edit Cursor Image")) {
        m_dialog.askSaveChanges = [this] {
            ++m_asked;
            return m_answer;
        };
    }

    // The centre of picture pixel (x, y) in the editing area.
    QPoint cellCentre(int x, int y) const {
        return QPoint(x * m_dialog.zoom() + m_dialog.zoom() / 2, y * m_dialog.zoom() + m_dialog.zoom() / 2);
    }
    CursorColour pixel(int x, int y) { return m_dialog.editor().colourAt({x, y}); }

    D m_dialog;
    int m_asked = 0;
    QMessageBox::StandardButton m_answer = QMessageBox::Cancel;
};

const CursorColour kBlack = CursorColour::rgb(0, 0, 0);
const CursorColour kWhite = CursorColour::rgb(255, 255, 255);

TEST_F(CursorEditorDialogTest, MousePressPaintsTheZoomedPixelWithUndoAndTheTransparentEntryClearsIt) {
    QTest::mouseClick(m_dialog.editArea(), Qt::LeftButton, {}, cellCentre(3, 4));
    EXPECT_EQ(pixel(3, 4), kBlack);
    EXPECT_EQ(pixel(4, 4), kWhite);
    EXPECT_TRUE(m_dialog.action(D::UndoId)->isEnabled());
    m_dialog.action(D::UndoId)->trigger();
    EXPECT_EQ(pixel(3, 4), kWhite);
    EXPECT_FALSE(m_dialog.action(D::UndoId)->isEnabled());

    // The inverting entry cannot be picked.
    m_dialog.pickEntry(1, Qt::LeftButton);
    EXPECT_EQ(m_dialog.leftEntry(), 2);
    m_dialog.pickEntry(0, Qt::LeftButton);
    QTest::mouseClick(m_dialog.previewArea(), Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_TRUE(pixel(5, 6).transparent);
    EXPECT_EQ(m_dialog.editedCursor().image.pixel(5, 6)[3], 0);
}

TEST_F(CursorEditorDialogTest, ToolShortcutsAndOperationsReachTheModel) {
    m_dialog.action(D::LineId)->trigger();
    EXPECT_EQ(m_dialog.editor().tool(), CursorTool::Line);
    m_dialog.pickEntry(15, Qt::RightButton);  // 0x0000FF with red in the low byte: red
    m_dialog.action(D::DeleteId)->trigger();
    EXPECT_EQ(pixel(0, 0), CursorColour::rgb(255, 0, 0));
    m_dialog.action(D::InvertId)->trigger();
    EXPECT_EQ(pixel(31, 31), CursorColour::rgb(0, 255, 255));
}

TEST_F(CursorEditorDialogTest, CopyThenPasteGoesThroughTheClipboard) {
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    QApplication::clipboard()->setImage(red);
    m_dialog.runCommand(D::PasteId);
    EXPECT_EQ(pixel(1, 1), CursorColour::rgb(255, 0, 0));
    EXPECT_EQ(pixel(2, 2), kWhite);

    m_dialog.pickEntry(0, Qt::RightButton);
    m_dialog.runCommand(D::CutId);  // copies, then clears to transparent
    EXPECT_TRUE(pixel(1, 1).transparent);
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(32, 32));
    EXPECT_EQ(QColor(copied.pixel(0, 0)), QColor(255, 0, 0));
}

// Cancel without a change closes without asking; after one it asks, and Cancel keeps it open.
TEST_F(CursorEditorDialogTest, CancelAsksOnlyAfterAChangeAndTheResultKeepsTheInputHotSpot) {
    m_dialog.setResult(-1);
    m_dialog.reject();
    EXPECT_EQ(m_asked, 0);
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);

    m_dialog.action(D::FlipId)->trigger();
    m_dialog.setResult(-1);
    m_answer = QMessageBox::Cancel;
    m_dialog.reject();
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(m_dialog.result(), -1);
    m_answer = QMessageBox::Yes;
    m_dialog.reject();
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);

    CursorPicture input = plainCursor(64, 64, 0, 0, 0);
    input.hotSpot = Point{9, 11};
    D dialog(input, QStringLiteral("x"));
    EXPECT_EQ(dialog.zoom(), 6);
    dialog.action(D::MirrorId)->trigger();
    EXPECT_EQ(dialog.editedCursor().hotSpot, (Point{9, 11}));
}

class CursorCommandsTest : public ::testing::Test, public test::WithApplication {
protected:
    void SetUp() override {
        ASSERT_TRUE(buildSyntheticProject(m_doc, 64, 48, 3));
        m_doc.addObserver(&m_hints);
        setCursorChooser([this](const CursorPicture&, QWidget*) { return m_answer; });
    }
    void TearDown() override {
        setCursorChooser({});
        m_doc.removeObserver(&m_hints);
    }

    CQuibDoc m_doc;
    test::HintRecorder m_hints;
    std::optional<CursorPicture> m_answer;
};

TEST_F(CursorCommandsTest, ApplyingChangesTheChosenFramesPicturesOnlyWithKeyColourTransparent) {
    const std::vector<uint8_t> untouched = m_doc.frameCursorImage(1).pixels;
    const CursorPicture green = plainCursor(32, 32, 0, 255, 0);
    const Point position = test::frameElements(m_doc, 2).cursorPos;
    applyCursorToFrames(m_doc, {0, 2}, green);
    for (int index : {0, 2}) {
        const Bitmap32 picture = m_doc.frameCursorImage(index);
        ASSERT_EQ(picture.width, 32);
        EXPECT_EQ(picture.pixels, green.image.pixels) << index;
    }
    EXPECT_EQ(m_doc.frameCursorImage(1).pixels, untouched);
    EXPECT_EQ(test::frameElements(m_doc, 2).cursorPos, position);
    EXPECT_TRUE(m_doc.isModified());
    EXPECT_TRUE(m_hints.heard(hint::CursorPicture));

    // Key-coloured and uncovered pixels become transparent.
    CursorPicture cursor = plainCursor(2, 1, 197, 198, 199);
    cursor.image.pixel(1, 0)[3] = 0;
    applyCursorToFrames(m_doc, {1}, cursor);
    EXPECT_EQ(m_doc.frameCursorImage(1).pixels, (std::vector<uint8_t>{1, 1, 1, 0, 1, 1, 1, 0}));
}

TEST_F(CursorCommandsTest, CancelledChooserChangesNothing) {
    const std::vector<uint8_t> before = m_doc.frameCursorImage(0).pixels;
    m_doc.SetModifiedFlag(false);
    EXPECT_FALSE(chooseCursorForFrames(m_doc, {0}, nullptr));
    EXPECT_EQ(m_doc.frameCursorImage(0).pixels, before);
    EXPECT_FALSE(m_doc.isModified());
    EXPECT_FALSE(chooseCursorForFrames(m_doc, {7}, nullptr));  // no such frame: no chooser
}

TEST(CursorImageConversion, ImageRoundTripKeepsCoveredPixelsAndMarksTheRest) {
    test::ensureApplication();
    CursorPicture cursor = plainCursor(2, 1, 10, 20, 30);
    cursor.image.pixel(1, 0)[3] = 0;
    const QImage image = cursorToImage(cursor.image);
    EXPECT_EQ(image.pixel(0, 0), qRgba(10, 20, 30, 255));
    const Bitmap32 back = imageToCursorBitmap(image);
    EXPECT_EQ(back.pixels, (std::vector<uint8_t>{30, 20, 10, 255, 1, 1, 1, 0}));
}

class CursorCommandSetTest : public ::testing::Test, public test::WithApplication {};

TEST_F(CursorCommandSetTest, ChooseCursorRunsForTheCurrentFrameWhileItsCursorIsShown) {
    QuibProjectDocument document;
    ASSERT_TRUE(buildSyntheticProject(document.doc(), 64, 48, 2));
    CursorCommands commands(document);
    CQuibDoc& doc = document.doc();
    doc.currentFrame.cursorVisible = 0;
    EXPECT_FALSE(commands.enabled(cmd::ChooseCursor));
    doc.currentFrame.cursorVisible = 1;
    ASSERT_TRUE(commands.enabled(cmd::ChooseCursor));

    const CursorPicture blue = plainCursor(32, 32, 0, 0, 255);
    setCursorChooser([&](const CursorPicture&, QWidget*) { return std::optional<CursorPicture>(blue); });
    commands.run(cmd::ChooseCursor);
    setCursorChooser({});
    EXPECT_EQ(doc.frameCursorImage(doc.currentFrameIndex).pixels, blue.image.pixels);
}

}  // namespace
}  // namespace quib
