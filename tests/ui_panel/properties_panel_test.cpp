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

TEST_F(PanelTest, HeadingNamesTheFrameOrTheMultipleSelection) {
    EXPECT_EQ(panel->headingText(), QStringLiteral("Proprietà per Frame 1"));
    select({2}, 2);
    EXPECT_EQ(panel->headingText(), QStringLiteral("Proprietà per Frame 3"));
    EXPECT_EQ(textField()->placeholderText(), QString());
    select({1, 3}, 1);
    EXPECT_EQ(panel->headingText(), QStringLiteral("Proprietà per Selezione multipla"));
    // The text field says that typing reaches every selected frame.
    EXPECT_EQ(textField()->placeholderText(), QStringLiteral("2 frame"));
}

TEST_F(PanelTest, WithoutADocumentEverythingIsClearedAndDisabled) {
    panel->setDocument(nullptr);
    EXPECT_EQ(edit(600)->text(), QString());
    EXPECT_EQ(textField()->toPlainText(), QString());
    EXPECT_EQ(check(318)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(edit(600)->isEnabled());
    EXPECT_FALSE(check(318)->isEnabled());
    EXPECT_EQ(panel->editingField(), -1);
    // No longer an observer: notifications of the document leave the panel alone.
    doc.UpdateAllViews(hint::Everything);
    EXPECT_EQ(edit(600)->text(), QString());
}

TEST(PanelEmptyProject, FrameFieldsAreDisabledButProjectFieldsStay) {
    test::ensureApplication();
    CQuibDoc doc;
    doc.InitNewProject();
    CPropertiesPanel panel;
    panel.setDocument(&doc, [] { return std::vector<int>{0}; });
    EXPECT_EQ(panel.headingText(), QStringLiteral("Proprietà per"));
    for (int id : {318, 321, 1152, 600, 1168, 240, 1163, 228})
        EXPECT_FALSE(panel.control(id)->isEnabled()) << id;
    EXPECT_TRUE(panel.control(323)->isEnabled());
    for (int id : {int(cmd::ChooseFont), int(cmd::EditText), int(cmd::EditTitle), int(cmd::GotoTarget1)})
        EXPECT_FALSE(panel.enabled(id)) << id;
    panel.applyField(field::DisplayTime);  // nothing to apply to
    EXPECT_EQ(doc.frameCount(), 0);
    panel.setDocument(nullptr);
}

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

TEST_F(PanelTest, ASingleFrameShowsItsValues) {
    const FrameElements f = frame(0);
    EXPECT_EQ(edit(600)->text(), QString::fromStdString(f.title));
    EXPECT_EQ(edit(1168)->text(), QStringLiteral("2000"));
    EXPECT_EQ(edit(1163)->text(), QString::number(f.cursorPos.x));
    EXPECT_EQ(edit(240)->text(), QString::number(f.textBox.rect.left));
    EXPECT_EQ(textField()->toPlainText(), QString::fromStdString(f.textBox.text));
    EXPECT_TRUE(textField()->isEnabled());
    EXPECT_EQ(check(318)->checkState(), Qt::Checked);
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1157))->text(), QStringLiteral("Fumetto a sinistra"));
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1154))->text(),
              QString::fromStdString(f.textBox.font.logFont.face()));
}

TEST_F(PanelTest, EveryNotificationOfTheDocumentIsShown) {
    doc.currentFrame.cursorPos.x = 123;
    doc.UpdateAllViews(hint::Cursor);
    EXPECT_EQ(edit(1163)->text(), QStringLiteral("123"));
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

TEST_F(PanelTest, LineBreaksTypedAreStoredAsTheProjectFilesHoldThem) {
    textField()->selectAll();
    QTest::keyClicks(textField(), QStringLiteral("uno"));
    QTest::keyClick(textField(), Qt::Key_Return);
    QTest::keyClicks(textField(), QStringLiteral("due"));
    EXPECT_EQ(frame(0).textBox.text, "uno\r\ndue");
    doc.UpdateAllViews(hint::Everything);
    EXPECT_EQ(textField()->toPlainText(), QStringLiteral("uno\ndue"));
}

TEST_F(PanelTest, TheTextFieldIsDisabledWhileTheTextBoxIsHidden) {
    doc.currentFrame.textBox.visible = 0;
    doc.UpdateAllViews(hint::TextBoxVisibility);
    EXPECT_FALSE(textField()->isEnabled());
    EXPECT_FALSE(edit(240)->isEnabled());
}

TEST_F(PanelTest, AMixedValueShowsEmptyAndIsLeftAloneUntilTyped) {
    select({1, 2}, 1);
    const int x1 = frame(1).cursorPos.x;
    const int x2 = frame(2).cursorPos.x;
    ASSERT_NE(x1, x2);
    EXPECT_EQ(edit(1163)->text(), QString());
    EXPECT_TRUE(edit(1163)->isEnabled());
    typeInto(edit(1168), QStringLiteral("500"));
    EXPECT_EQ(frame(1).displayTime, 500u);
    EXPECT_EQ(frame(2).displayTime, 500u);
    EXPECT_EQ(frame(1).cursorPos.x, x1);
    EXPECT_EQ(frame(2).cursorPos.x, x2);
    typeInto(edit(1163), QStringLiteral("15"));
    EXPECT_EQ(frame(1).cursorPos.x, 15);
    EXPECT_EQ(frame(2).cursorPos.x, 15);
}

TEST_F(PanelTest, ANegativePositionBecomesZero) {
    select({1, 2}, 2);
    typeInto(edit(1155), QStringLiteral("-12"));
    EXPECT_EQ(frame(1).nextButton.pos.x, 0);
    EXPECT_EQ(frame(2).nextButton.pos.x, 0);
    EXPECT_EQ(recorder.last(), hint::Buttons);
    // What was typed stays while typing; the document holds 0.
    EXPECT_EQ(edit(1155)->text(), QStringLiteral("-12"));
}

TEST_F(PanelTest, AMixedCheckBoxClickedOnceBecomesUncheckedForAllSelectedFrames) {
    // Next is shown on every frame but the last.
    select({2, 3}, 2);
    ASSERT_EQ(check(1152)->checkState(), Qt::PartiallyChecked);
    click(check(1152));
    EXPECT_EQ(check(1152)->checkState(), Qt::Unchecked);
    EXPECT_EQ(frame(2).nextButton.visible, 0u);
    EXPECT_EQ(frame(3).nextButton.visible, 0u);
    click(check(1152));
    EXPECT_EQ(check(1152)->checkState(), Qt::Checked);
    EXPECT_EQ(frame(2).nextButton.visible, 1u);
    EXPECT_EQ(frame(3).nextButton.visible, 1u);
}

TEST_F(PanelTest, MakingTheTextBoxVisibleTakesTheFirstCalloutName) {
    Frame bare;
    bare.assignElements(frame(1));
    bare.textBox.visible = 0;
    bare.textBox.calloutName.clear();
    doc.SetFrame(1, bare, false);
    select({1}, 1);
    ASSERT_EQ(check(318)->checkState(), Qt::Unchecked);
    click(check(318));
    EXPECT_EQ(frame(1).textBox.visible, 1u);
    EXPECT_EQ(frame(1).textBox.calloutName, library.at(0).name);
    EXPECT_EQ(recorder.last(), hint::TextBoxVisibility);
    EXPECT_TRUE(textField()->isEnabled());
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1157))->text(),
              QString::fromStdString(library.at(0).name));
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

TEST_F(PanelTest, EachFieldSendsItsHint) {
    for (int i : {1, 2}) {
        Frame shown;
        shown.assignElements(frame(i));
        shown.cursorVisible = shown.textBox.visible = 1;
        shown.gotoButtons[0].visible = shown.gotoButtons[1].visible = 1;
        doc.SetFrame(i, shown, false);
    }
    select({1, 2}, 1);
    // Typed fields first: unchecking a box disables its coordinates.
    const std::pair<int, int> expected[] = {
        {240, 7},   {242, 7},   {1148, 7},  {1149, 7},  {1163, 5},  {1164, 5},  {1155, 11}, {1156, 11},
        {1166, 11}, {1167, 11}, {1160, 11}, {1161, 11}, {1170, 11}, {1171, 11}, {600, 13},  {1168, 14},
        {318, 6},   {321, 4},   {1152, 11}, {1159, 11}, {1153, 11}, {1162, 11}};
    typeInto(textField(), QStringLiteral("x"));
    EXPECT_EQ(recorder.hints, std::vector<int>{hint::TextBoxVisibility});
    for (auto [id, hint] : expected) {
        recorder.hints.clear();
        QWidget* widget = panel->control(id);
        if (auto* box = dynamic_cast<MixedCheckBox*>(widget))
            click(box);
        else
            typeInto(widget, QStringLiteral("3"));
        EXPECT_EQ(recorder.hints, std::vector<int>{hint}) << "control " << id;
    }
}

TEST_F(PanelTest, ThePanelDoesNotReReadAFieldBeingTyped) {
    // Another observer that reacts to the hint by changing the frame: the panel must not
    // overwrite the field being typed with it.
    struct Meddler : DocObserver {
        CQuibDoc* doc = nullptr;
        void onUpdate(int hint, uint32_t) override {
            if (hint == hint::DisplayTime)
                doc->currentFrame.displayTime = 1;
        }
    } meddler;
    meddler.doc = &doc;
    doc.addObserver(&meddler);
    typeInto(edit(1168), QStringLiteral("750"));
    EXPECT_EQ(edit(1168)->text(), QStringLiteral("750"));
    doc.removeObserver(&meddler);
}

TEST_F(PanelTest, FirstAndLastFramesCannotShowPreviousAndNext) {
    EXPECT_FALSE(check(1159)->isEnabled());
    EXPECT_EQ(check(1159)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(check(1152)->isEnabled());
    select({3}, 3);
    EXPECT_FALSE(check(1152)->isEnabled());
    EXPECT_EQ(check(1152)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(check(1159)->isEnabled());
    select({0, 3}, 0);
    EXPECT_TRUE(check(1152)->isEnabled());
    EXPECT_TRUE(check(1159)->isEnabled());
}

TEST_F(PanelTest, CoordinatesAreEnabledWithTheirElementAndANewGotoButtonSitsBesideNext) {
    doc.currentFrame.gotoButtons[1].visible = 0;
    doc.currentFrame.gotoButtons[1].pos = Point{0, 0};
    doc.currentFrame.cursorVisible = 1;
    doc.UpdateAllViews(hint::Buttons);
    EXPECT_FALSE(edit(1170)->isEnabled());
    EXPECT_FALSE(edit(1171)->isEnabled());
    EXPECT_TRUE(edit(1163)->isEnabled());
    click(check(1162));
    EXPECT_TRUE(edit(1170)->isEnabled());
    const FrameElements shown = frame(doc.currentFrameIndex);
    EXPECT_NE(shown.gotoButtons[1].pos, (Point{0, 0}));
    EXPECT_EQ(shown.gotoButtons[1].pos, gotoButtonBesideNext(shown, 1, doc.buttonImages, doc.backgroundSize));
    EXPECT_EQ(edit(1170)->text().toInt(), shown.gotoButtons[1].pos.x);
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

TEST_F(PanelTest, ThePanelForgetsADocumentWhoseOwnerIsGone) {
    auto owner = std::make_unique<QObject>();
    panel->setDocument(
        &doc, [] { return std::vector<int>{0}; }, owner.get());
    owner.reset();
    EXPECT_EQ(panel->document(), nullptr);
    EXPECT_FALSE(edit(600)->isEnabled());
    doc.removeObserver(panel.get());  // the document outlived its owner only in this test
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
