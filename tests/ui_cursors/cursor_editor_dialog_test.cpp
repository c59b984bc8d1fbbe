#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "../ui/ui_test_support.h"
#include "ui/cursor_editor_dialog.h"
#include "ui_cursors_support.h"

namespace quib {
namespace {

using test::plainCursor;
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

TEST_F(CursorEditorDialogTest, MousePressPaintsTheZoomedPixelAndEnablesUndo) {
    QTest::mouseClick(m_dialog.editArea(), Qt::LeftButton, {}, cellCentre(3, 4));
    EXPECT_EQ(pixel(3, 4), kBlack);
    EXPECT_EQ(pixel(4, 4), kWhite);
    EXPECT_TRUE(m_dialog.action(D::UndoId)->isEnabled());
    m_dialog.action(D::UndoId)->trigger();
    EXPECT_EQ(pixel(3, 4), kWhite);
    EXPECT_FALSE(m_dialog.action(D::UndoId)->isEnabled());
}

TEST_F(CursorEditorDialogTest, TransparentEntryPaintsTransparentPixelsAndInvertingCannotBePicked) {
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

TEST_F(CursorEditorDialogTest, CancelWithoutChangeClosesWithoutAsking) {
    m_dialog.setResult(-1);
    m_dialog.reject();
    EXPECT_EQ(m_asked, 0);
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
}

TEST_F(CursorEditorDialogTest, CancelAfterChangeAsksAndCancelKeepsTheEditorOpen) {
    m_dialog.action(D::FlipId)->trigger();
    m_dialog.setResult(-1);
    m_answer = QMessageBox::Cancel;
    m_dialog.reject();
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(m_dialog.result(), -1);
    m_answer = QMessageBox::Yes;
    m_dialog.reject();
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
}

TEST_F(CursorEditorDialogTest, ResultKeepsTheInputHotSpot) {
    CursorPicture input = plainCursor(64, 64, 0, 0, 0);
    input.hotSpot = Point{9, 11};
    D dialog(input, QStringLiteral("x"));
    EXPECT_EQ(dialog.zoom(), 6);
    dialog.action(D::MirrorId)->trigger();
    EXPECT_EQ(dialog.editedCursor().hotSpot, (Point{9, 11}));
}

}  // namespace
}  // namespace quib
