#include <QLabel>
#include <QObject>

#include "model/button_placement.h"
#include "model/text_fit.h"
#include "panel_test_support.h"
#include "ui/app_settings.h"
#include "ui/command_ids.h"
#include "ui/panel_fields.h"

namespace quib {
namespace {

using PanelTest = test::PanelFixture;

// A go-to button leading before the first frame or past the last has a note under it.
TEST_F(PanelTest, GotoTargetOutsideTheProjectIsMarked) {
    for (auto [offset, marked] : {std::pair{0, false}, {-2, true}, {3, true}, {2, false}, {-1, false}}) {
        Frame f;
        doc.GetFrame(1, f);
        f.gotoButtons[0] = NavButton{1, Point{10, 10}, offset};
        f.gotoButtons[1] = NavButton{0, Point{10, 10}, 9};
        doc.SetFrame(1, f, false);
        select({1}, 1);
        const auto* first = panel->findChild<QLabel*>(QStringLiteral("gotoOutside1"));
        const auto* second = panel->findChild<QLabel*>(QStringLiteral("gotoOutside2"));
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->text(), QStringLiteral("destinazione fuori dal progetto"));
        EXPECT_EQ(first->isVisible(), marked) << offset;
        EXPECT_FALSE(second->isVisible());  // hidden buttons are not marked
    }
}

TEST_F(PanelTest, TypingInTheTextFieldChangesEverySelectedFramesText) {
    select({0, 1, 2}, 0);
    EXPECT_EQ(textField()->toPlainText(), QString());  // the texts differ
    ASSERT_TRUE(textField()->isEnabled());
    const std::string untouched = frame(3).textBox.text;
    typeInto(textField(), QStringLiteral("Ciao"));
    for (int i : {0, 1, 2})
        EXPECT_EQ(frame(i).textBox.text, "Ciao") << i;
    EXPECT_EQ(frame(3).textBox.text, untouched);
    EXPECT_EQ(doc.frames[0].textBox.text, "Ciao");  // stored, not only in the working copy
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(recorder.heard(hint::TextBoxVisibility));
    EXPECT_EQ(panel->editingField(), 6);
    EXPECT_EQ(textField()->toPlainText(), QStringLiteral("Ciao"));
}

// Text typed past the box's bottom makes the box taller; what the canvas cannot hold is marked.
TEST_F(PanelTest, TextThatRunsPastItsBoxGrowsItOrIsMarked) {
    const Callout& callout = *library.FindCallout(frame(1).textBox.calloutName);
    select({1}, 1);
    const Rect before = frame(1).textBox.rect;
    typeInto(textField(), QString(QStringLiteral("parola ")).repeated(3));
    const TextBox grown = frame(1).textBox;
    EXPECT_GT(grown.rect.bottom, before.bottom);
    EXPECT_EQ(grown.rect.top, before.top);
    EXPECT_TRUE(textFitsBox(grown, callout));
    TextBox shorter = grown;
    --shorter.rect.bottom;
    EXPECT_FALSE(textFitsBox(shorter, callout));  // no taller than it must be
    EXPECT_TRUE(panel->control(32911)->isHidden());

    textField()->setPlainText(QString(QStringLiteral("parola ")).repeated(40));
    EXPECT_EQ(frame(1).textBox.rect.bottom, doc.backgroundSize.cy);
    EXPECT_FALSE(panel->control(32911)->isHidden());
}

TEST_F(PanelTest, WithAnEmptyLibraryTheCalloutNameStaysEmpty) {
    const CalloutLibrary empty;
    panel->setCalloutLibrary(&empty);
    Frame bare;
    bare.assignElements(frame(0));
    bare.textBox.visible = 0;
    bare.textBox.calloutName.clear();
    doc.SetFrame(0, bare, false);
    doc.UpdateAllViews(hint::TextBoxVisibility);
    click(check(318));
    EXPECT_EQ(frame(0).textBox.visible, 1u);
    EXPECT_EQ(frame(0).textBox.calloutName, "");
}

TEST_F(PanelTest, TheLayoutSwitchHidesTheAdvancedFields) {
    EXPECT_TRUE(panel->checked(cmd::PanelAdvanced));
    EXPECT_TRUE(edit(1163)->isVisible());
    EXPECT_TRUE(edit(309)->isVisible());
    panel->run(cmd::PanelSimple);
    EXPECT_TRUE(panel->checked(cmd::PanelSimple));
    EXPECT_FALSE(panel->checked(cmd::PanelAdvanced));
    for (int id : {1163, 1164, 1155, 240, 1149, 309, 311, 305, 1151, int(cmd::BackgroundImage), 324})
        EXPECT_FALSE(panel->control(id)->isVisible()) << id;
    for (int id : {600, 1168, 321, 318, 228, 1157, int(cmd::ChooseFont), 323})
        EXPECT_TRUE(panel->control(id)->isVisible()) << id;
    panel->run(cmd::PanelAdvanced);
    EXPECT_TRUE(edit(1163)->isVisible());
}

TEST_F(PanelTest, TheLayoutChoiceIsKeptInTheSettings) {
    AppSettings settings;
    settings.propertiesPanelViewMode = 0;
    panel->setSettings(&settings);
    EXPECT_EQ(panel->layoutMode(), CPropertiesPanel::Layout::Simple);
    EXPECT_FALSE(edit(1163)->isVisible());
    panel->run(cmd::PanelAdvanced);
    EXPECT_EQ(settings.propertiesPanelViewMode, 1);
    panel->run(cmd::PanelSimple);
    EXPECT_EQ(settings.propertiesPanelViewMode, 0);
}

TEST_F(PanelTest, TheDefaultStyleComesFromOneFrameAndGoesToEveryFrame) {
    Frame styled;
    styled.assignElements(frame(1));
    styled.textBox.font.logFont.setFace("DejaVu Serif");
    styled.textBox.font.logFont.height = -21;
    styled.textBox.calloutName = library.at(1).name;
    doc.SetFrame(1, styled, false);
    select({1}, 1);
    panel->run(CPropertiesPanel::UseAsDefaultStyleCommand);
    EXPECT_EQ(doc.settings.textStyle.font, styled.textBox.font);
    EXPECT_EQ(doc.settings.textStyle.calloutName, library.at(1).name);

    select({3}, 3);  // one frame selected: every frame
    panel->run(CPropertiesPanel::ApplyDefaultStyleCommand);
    for (int i = 0; i < doc.frameCount(); ++i) {
        EXPECT_EQ(frame(i).textBox.font, styled.textBox.font) << i;
        EXPECT_EQ(frame(i).textBox.calloutName, library.at(1).name) << i;
    }
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1157))->text(),
              QString::fromStdString(library.at(1).name));
}

}  // namespace
}  // namespace quib
