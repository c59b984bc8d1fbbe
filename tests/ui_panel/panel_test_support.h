#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>
#include <optional>
#include <vector>

#include "../ui/ui_test_support.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"
#include "support/project_contents.h"
#include "ui/mixed_check_box.h"
#include "ui/properties_panel.h"

namespace quib::test {

// A bold red serif font; its alignment is not taken, that has its own command.
inline TextFont serifFont() {
    TextFont font;
    font.logFont.setFace("DejaVu Serif");
    font.logFont.height = -22;
    font.logFont.weight = 700;
    font.color = rgb(200, 10, 20);
    font.align = 0;
    return font;
}

// What the fake dialogs were asked and what they answer.
struct FakeChoices {
    std::optional<TextFont> font;
    std::optional<size_t> callout;
    std::optional<int> frame;
    std::optional<uint32_t> align;
    bool yes = false;

    std::optional<uint32_t> alignStart;
    QString question;

    PanelChoices make() {
        PanelChoices c;
        c.chooseFont = [this](const TextFont&, uint32_t) { return font; };
        c.chooseCallout = [this](const CalloutLibrary&, const std::string&) { return callout; };
        c.chooseFrame = [this](int, int) { return frame; };
        c.chooseAlignment = [this](uint32_t current) {
            alignStart = current;
            return align;
        };
        c.askYesNo = [this](const QString& q) {
            question = q;
            return yes;
        };
        return c;
    }
};

// A shown panel over a four-frame project of 320 x 240 (every frame with a text box, buttons,
// title and cursor), editing the frames listed in selected.
struct PanelFixture : WithApplication, ::testing::Test {
    PanelFixture() {
        EXPECT_TRUE(buildSyntheticProject(doc, 320, 240, 4));
        doc.SetModifiedFlag(false);
        panel = std::make_unique<CPropertiesPanel>();
        panel->setCalloutLibrary(&library);
        panel->setChoices(fakes.make());
        panel->setDocument(&doc, [this] { return selected; });
        panel->resize(260, 900);
        panel->show();
        doc.addObserver(&recorder);
    }
    ~PanelFixture() override {
        doc.removeObserver(&recorder);
        panel.reset();
    }

    // Changes the selection the way the thumbnail strip does: the selection, then hint 8.
    void select(std::vector<int> frames, int current) {
        doc.SelectFrame(current);
        selected = std::move(frames);
        doc.UpdateAllViews(hint::CurrentFrameChanged);
        recorder.hints.clear();
    }

    FrameElements frame(int index) const { return test::frameElements(doc, index); }

    QLineEdit* edit(int id) const { return qobject_cast<QLineEdit*>(panel->control(id)); }
    MixedCheckBox* check(int id) const { return dynamic_cast<MixedCheckBox*>(panel->control(id)); }
    QPlainTextEdit* textField() const { return qobject_cast<QPlainTextEdit*>(panel->control(228)); }

    // Types into an edit field as the user does: select everything, then the keys.
    void typeInto(QWidget* widget, const QString& keys) {
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->selectAll();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
            text->selectAll();
        QTest::keyClicks(widget, keys);
    }
    void click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    }

    CQuibDoc doc;
    CalloutLibrary library = defaultCalloutLibrary();
    FakeChoices fakes;
    std::vector<int> selected{0};
    std::unique_ptr<CPropertiesPanel> panel;
    HintRecorder recorder;
};

}  // namespace quib::test
