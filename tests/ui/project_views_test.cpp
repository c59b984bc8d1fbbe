#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "capture/capture_session.h"
#include "main_window_fixture.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/new_project_wizard.h"
#include "ui/properties_panel.h"
#include "ui/region_picker.h"
#include "ui/status_bar.h"

namespace quib {
namespace {

using ProjectViewsTest = test::MainWindowFixture;

TEST_F(ProjectViewsTest, ANewThumbnailSizeRebuildsTheOpenStrips) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("wide.qbk"), 2, 160, 80)));
    strip()->finishThumbnails();
    const QSize before = strip()->thumbnailSize();
    settings.thumbCx = 128;
    settings.thumbCy = 128;
    rebuildAllThumbnails(frame);
    strip()->finishThumbnails();
    EXPECT_NE(strip()->thumbnailSize(), before);
    EXPECT_EQ(strip()->thumbnailSize(), QSize(128 + 6, 64 + 6));
    EXPECT_EQ(strip()->count(), 2);
}

TEST_F(ProjectViewsTest, ThumbnailRowIsOneItemHighPlusTwoPixelsAndTheScrollBar) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("p.qbk"), 30)));
    CQuibThumbView* view = strip();
    view->finishThumbnails();
    QApplication::processEvents();
    CChildFrame* child = frame.activeChild();
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), view->itemHeight() + 2 + view->horizontalScrollBarHeight());
    EXPECT_EQ(view->itemHeight(), view->thumbnailSize().height() + CQuibThumbView::ItemExtraHeight);
}

TEST_F(ProjectViewsTest, CopyMergedAndProjectInfoRouteToTheEditor) {
    frame.addProjectWindow(QuibProjectDocument::createNew());
    EXPECT_EQ(frame.router().handlerFor(cmd::CopyMerged),
              dynamic_cast<CommandHandler*>(frame.activeChild()->editorView()));
    EXPECT_EQ(frame.router().handlerFor(cmd::ProjectInfo),
              dynamic_cast<CommandHandler*>(frame.activeChild()->editorView()));
}

TEST_F(ProjectViewsTest, AFileThatIsNotAProjectIsReportedAndOpensNoWindow) {
    const QString path = test::makeFile(temp.folder(), QStringLiteral("broken.qbk"));
    EXPECT_FALSE(frame.openProject(path));
    EXPECT_EQ(frame.childFrames().size(), 0);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(ProjectViewsTest, SaveWritesTheProjectAndClearsTheModifiedFlag) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("p.qbk"), 3)));
    strip()->run(cmd::LastFrame);
    strip()->run(cmd::EditDelete);
    ASSERT_TRUE(document().save());
    EXPECT_FALSE(document().isModified());
    QString error;
    auto reopened = QuibProjectDocument::open(document().pathName(), &error);
    ASSERT_TRUE(reopened) << error.toStdString();
    EXPECT_EQ(dynamic_cast<QuibProjectDocument&>(*reopened).doc().frameCount(), 2);
}

TEST_F(ProjectViewsTest, NewWithoutCapturingMakesAnEmptyModifiedProjectWindowAndCancelMakesNone) {
    ASSERT_TRUE(frame.enabled(cmd::FileNew));
    NewProjectWizard::setDefaultRunners(
        [](CCaptureSetupDialog& setup) {
            setup.startCapturingCheck()->setChecked(false);
            setup.accept();
            return setup.result();
        },
        {});
    frame.run(cmd::FileNew);
    ASSERT_EQ(frame.childFrames().size(), 1);
    EXPECT_TRUE(frame.activeChild()->document()->isModified());
    EXPECT_EQ(strip()->count(), 0);

    NewProjectWizard::setDefaultRunners([](CCaptureSetupDialog&) { return int(QDialog::Rejected); }, {});
    frame.run(cmd::FileNew);
    EXPECT_EQ(frame.childFrames().size(), 1);
    NewProjectWizard::setDefaultRunners({}, {});
}

TEST_F(ProjectViewsTest, NewWithCapturedFramesOpensAProjectOfTheRegionsSize) {
    settings.previousTimedCaptureFrameRate = 5;
    int rateSeen = 0;
    NewProjectWizard::setDefaultRunners(
        [](CCaptureSetupDialog& setup) {
            setup.regionList()->setCurrentIndex(int(RegionMode::Rectangle));
            setup.beginPick();
            setup.picker()->pressAt(Point{20, 10});
            setup.picker()->releaseAt(Point{180, 130});
            setup.accept();
            return setup.result();
        },
        [&](CCaptureDialog& capture) {
            rateSeen = capture.session().rate();
            capture.toggleCapture(false);
            capture.toggleCapture(false);
            capture.finish();
            return capture.result();
        });
    frame.run(cmd::FileNew);
    ASSERT_EQ(frame.childFrames().size(), 1);
    EXPECT_EQ(rateSeen, 5);
    EXPECT_EQ(doc().frameCount(), 2);
    EXPECT_EQ(doc().frameSize, (Size{160, 120}));
    EXPECT_EQ(doc().backgroundSize, (Size{160, 120}));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.isEnabled());
    NewProjectWizard::setDefaultRunners({}, {});
}

TEST_F(ProjectViewsTest, DeletedFramesComeBackWithTheNamedUndoItemAndTheirThumbnails) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("undo.qbk"), 6)));
    // A lone project window fills the workspace.
    EXPECT_EQ(frame.mdiArea()->subWindowList().first()->geometry(),
              QRect(QPoint(0, 0), frame.mdiArea()->viewport()->size()));
    strip()->finishThumbnails();
    const QImage third = strip()->thumbnail(2);
    QAction* undo = frame.action(cmd::EditUndo);
    QAction* redo = frame.action(cmd::EditRedo);
    frame.updateCommandStates();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Annulla\tCtrl+Z"));

    // Deleting asks nothing; the status bar tells how to get the frames back.
    strip()->setCurrentRow(1);
    for (int row = 1; row <= 4; ++row)
        strip()->item(row)->setSelected(true);
    strip()->run(cmd::EditDelete);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(doc().frameCount(), 2);
    EXPECT_EQ(frame.panes()->messagePane()->text(),
              QStringLiteral("4 frame eliminati \u2014 Ctrl+Z per annullare"));
    frame.updateCommandStates();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Annulla Elimina 4 frame\tCtrl+Z"));

    undo->trigger();
    EXPECT_EQ(doc().frameCount(), 6);
    EXPECT_EQ(strip()->count(), 6);
    // Back at the saved state: no modified mark, and the thumbnail shows at once.
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(frame.activeChild()->windowTitle(), QStringLiteral("undo.qbk"));
    EXPECT_EQ(strip()->thumbnail(2), third);
    EXPECT_EQ(redo->text(), QStringLiteral("Ri&pristina Elimina 4 frame\tCtrl+Y"));
    EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));

    redo->trigger();
    EXPECT_EQ(doc().frameCount(), 2);
    EXPECT_TRUE(doc().isModified());
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(ProjectViewsTest, SaveAsProposesTheDefaultNameAndListsTheFileAmongTheRecentOnes) {
    frame.addProjectWindow(QuibProjectDocument::createNew());
    doc().SetModifiedFlag(true);
    QString proposed;
    const QString path = inFolder(QStringLiteral("saved.qbk"));
    QuibProjectDocument::interaction().askSaveName = [&](const QString& suggested) {
        proposed = suggested;
        return path;
    };
    frame.router().dispatch(cmd::FileSaveAs);
    EXPECT_EQ(proposed, QStringLiteral("Senzatitolo.qbk"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(frame.settings().recentFiles.value(0), QFileInfo(path).absoluteFilePath());
}

}  // namespace
}  // namespace quib
