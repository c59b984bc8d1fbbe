#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include "frameops_test_support.h"
#include "ui/windows_dialog.h"

namespace quib {
namespace {

struct Windows : test::FrameOpsFixture {
    QMdiArea area;
    QList<QMdiSubWindow*> windows;
    QList<QMdiSubWindow*> saved;

    Windows() {
        area.resize(600, 400);
        for (const char* title : {"uno.qbk", "due.qbk", "tre.qbk"}) {
            QMdiSubWindow* window = area.addSubWindow(new QLabel(QString::fromUtf8(title)));
            window->setWindowTitle(QString::fromUtf8(title));
            window->show();
            windows << window;
        }
        area.show();
    }
    std::unique_ptr<WindowsDialog> dialog() {
        return std::make_unique<WindowsDialog>(area, [this](QMdiSubWindow* w) {
            saved << w;
            return true;
        });
    }
};

TEST_F(Windows, ActivateRestoresAMinimisedWindowAndClosesTheDialog) {
    windows[1]->showMinimized();
    auto d = dialog();
    d->selectWindows({windows[1]});
    d->activateSelected();
    EXPECT_FALSE(windows[1]->isMinimized());
    EXPECT_EQ(area.activeSubWindow(), windows[1]);
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(Windows, SaveMinimiseAndClose_ActOnTheSelectedWindowsOnly) {
    auto d = dialog();
    d->selectWindows({windows[0], windows[2]});
    d->saveSelected();
    EXPECT_EQ(saved, (QList<QMdiSubWindow*>{windows[0], windows[2]}));
    d->minimizeSelected();
    EXPECT_TRUE(windows[0]->isMinimized());
    EXPECT_FALSE(windows[1]->isMinimized());
    EXPECT_TRUE(windows[2]->isMinimized());
    d->selectWindows({windows[1]});
    d->closeSelected();
    EXPECT_EQ(area.subWindowList().size(), 2);
    EXPECT_EQ(d->windowList()->count(), 2);
}

TEST_F(Windows, TilingRestoresTheSelectedAndMinimisesTheOthers) {
    auto d = dialog();
    d->selectWindows({windows[0], windows[1]});
    d->tileSelected(false);
    EXPECT_TRUE(windows[2]->isMinimized());
    EXPECT_FALSE(windows[0]->isMinimized());
    const QRect view = area.viewport()->rect();
    EXPECT_EQ(windows[0]->geometry().height(), view.height());
    EXPECT_EQ(windows[0]->geometry().width() + windows[1]->geometry().width(), view.width());
    EXPECT_EQ(windows[1]->geometry().left(), windows[0]->geometry().right() + 1);
    d->tileSelected(true);
    EXPECT_EQ(windows[0]->geometry().width(), view.width());
    EXPECT_EQ(windows[1]->geometry().top(), windows[0]->geometry().bottom() + 1);
    d->cascadeSelected();
    EXPECT_LT(windows[0]->geometry().top(), windows[1]->geometry().top());
}

}  // namespace
}  // namespace quib
