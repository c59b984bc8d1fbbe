#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "../ui/ui_test_support.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "ui/quib_view.h"

namespace quib::test {

// A shown editor over a three-frame project of 320 x 240 with a known layout on its first frame:
// cursor at (40, 40), text box (160, 120, 288, 180) with a callout, Next button at (250, 200),
// title (20, 8, 300, 36), the picture filling the canvas.
struct EditorFixture : WithApplication, ::testing::Test {
    EditorFixture() {
        EXPECT_TRUE(buildSyntheticProject(doc, 320, 240, 3));
        FrameElements& f = doc.currentFrame;
        f.cursorVisible = 1;
        f.cursorPos = Point{40, 40};
        f.textBox.visible = 1;
        f.textBox.rect = Rect{160, 120, 288, 180};
        f.textBox.calloutName = "Fumetto";
        f.nextButton.visible = 1;
        f.nextButton.pos = Point{250, 200};
        f.prevButton.visible = 0;
        f.gotoButtons[0].visible = f.gotoButtons[1].visible = 0;
        doc.titles.enabled = 1;
        doc.titles.rect = Rect{20, 8, 300, 36};
        doc.elementsChanged = true;
        doc.SelectFrame(doc.currentFrameIndex, true);
        doc.SetModifiedFlag(false);
        view = std::make_unique<CQuibView>(doc);
        view->setCommandPoster([this](int id) { posted.push_back(id); });
        view->setIndicatorSink([this](const QString& text) { indicator = text; });
        view->resize(600, 400);
        view->show();
        doc.addObserver(&recorder);
    }
    ~EditorFixture() override { doc.removeObserver(&recorder); }

    // A canvas point in the view's coordinates.
    QPoint at(int x, int y) const { return view->canvasRect().topLeft() + QPoint(x, y); }
    QPoint at(Point p) const { return at(p.x, p.y); }

    void press(QPoint p, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(view.get(), Qt::LeftButton, modifiers, p);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(view.get(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(view.get(), to);
        QTest::mouseRelease(view.get(), Qt::LeftButton, modifiers, to);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(view.get(), k, modifiers); }

    CQuibDoc doc;
    std::unique_ptr<CQuibView> view;
    HintRecorder recorder;
    std::vector<int> posted;
    QString indicator;
};

}  // namespace quib::test
