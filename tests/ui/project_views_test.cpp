#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "base/progress.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "ui/app_settings.h"
#include "ui/capture_setup_dialog.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/new_project_wizard.h"
#include "ui/project_views.h"
#include "ui/properties_panel.h"
#include "ui/quib_project_document.h"
#include "ui/quib_thumb_view.h"
#include "ui/status_bar.h"
#include "ui_test_support.h"

namespace quib {
namespace {

// A main window with the project document plugged in and failures collected instead of shown.
struct ProjectViewsTest : test::WithApplication, ::testing::Test {
    ProjectViewsTest() : settings(AppSettings::defaults(temp.folder())), frame(settings, temp.store()) {
        installProjectDocument(frame);
        frame.setMessageFunction([this](const QString& text) { messages.append(text); });
        QuibProjectDocument::setMessageFunction([this](const QString& text) { messages.append(text); });
        frame.resize(1000, 700);
        frame.show();
    }
    ~ProjectViewsTest() override { QuibProjectDocument::setMessageFunction({}); }

    // Writes a synthetic project of count frames into the temporary folder.
    QString writeProject(const QString& name, int count, int cx = 160, int cy = 120) {
        CQuibDoc doc;
        EXPECT_TRUE(buildSyntheticProject(doc, cx, cy, count));
        const QString path = QDir(temp.folder()).filePath(name);
        NullProgress progress;
        EXPECT_TRUE(SaveProject(path.toStdString(), doc, progress).ok());
        return path;
    }

    CQuibThumbView* strip() const {
        return dynamic_cast<CQuibThumbView*>(frame.activeChild()->thumbnailView());
    }
    CQuibDoc& doc() const {
        return dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document())->doc();
    }

    test::TempSettings temp;
    AppSettings settings;
    CMainFrame frame;
    QStringList messages;
};

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
    auto* document = dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document());
    ASSERT_TRUE(document->save());
    EXPECT_FALSE(document->isModified());
    QString error;
    auto reopened = QuibProjectDocument::open(document->pathName(), &error);
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
    const QString path = QDir(temp.folder()).filePath(QStringLiteral("saved.qbk"));
    QuibProjectDocument::interaction().askSaveName = [&](const QString& suggested) {
        proposed = suggested;
        return path;
    };
    frame.router().dispatch(cmd::FileSaveAs);
    QuibProjectDocument::interaction().askSaveName = {};
    EXPECT_EQ(proposed, QStringLiteral("Senzatitolo.qbk"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(frame.settings().recentFiles.value(0), QFileInfo(path).absoluteFilePath());
}

}  // namespace
}  // namespace quib
