#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include "../ui/ui_test_support.h"
#include "base/progress.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/main_frame.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"
#include "ui/quib_thumb_view.h"
#include "ui/status_bar.h"

namespace quib {
namespace {

// The strip inside a real main window and project window.
struct ThumbStripWindowTest : test::WithApplication, ::testing::Test {
    ThumbStripWindowTest() : settings(AppSettings::defaults(temp.folder())), frame(settings, temp.store()) {
        installProjectDocument(frame);
        frame.setMessageFunction([this](const QString& text) { messages.append(text); });
        frame.resize(1000, 700);
        frame.show();
    }

    QString writeProject(const QString& name, int count, int cx, int cy) {
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

    test::TempSettings temp;
    AppSettings settings;
    CMainFrame frame;
    QStringList messages;
};

TEST_F(ThumbStripWindowTest, ThumbnailRowIsOneItemHighPlusTwoPixelsAndTheScrollBar) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("p.qbk"), 30, 160, 120)));
    CQuibThumbView* view = strip();
    view->finishThumbnails();
    QApplication::processEvents();
    CChildFrame* child = frame.activeChild();
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), view->itemHeight() + 2 + view->horizontalScrollBarHeight());
    EXPECT_EQ(view->itemHeight(), view->thumbnailSize().height() + CQuibThumbView::ItemExtraHeight);
}

}  // namespace
}  // namespace quib
