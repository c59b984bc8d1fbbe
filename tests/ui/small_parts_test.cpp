#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <functional>
#include <memory>
#include <set>

#include "capture/null_backends.h"
#include "cursors/standard_cursors.h"
#include "imagefilters/filter_table.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "model/text_style.h"
#include "shapes/default_callouts.h"
#include "ui/about_dialog.h"
#include "ui/app_settings.h"
#include "ui/background_dialog.h"
#include "ui/callout_editor_dialog.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/child_frame.h"
#include "ui/command_line.h"
#include "ui/command_router.h"
#include "ui/crop_frames_dialog.h"
#include "ui/cursor_editor_dialog.h"
#include "ui/document_prompts.h"
#include "ui/font_colour_dialog.h"
#include "ui/goto_frame_dialog.h"
#include "ui/html_export_dialog.h"
#include "ui/insert_frames_dialog.h"
#include "ui/move_elements_dialog.h"
#include "ui/new_palette_dialog.h"
#include "ui/output_settings.h"
#include "ui/palette_dialog.h"
#include "ui/preferences_dialog.h"
#include "ui/project_info_dialog.h"
#include "ui/project_settings_dialog.h"
#include "ui/render_progress_dialog.h"
#include "ui_test_support.h"

namespace quib {
namespace {

TEST(DocumentPrompts, SaveChangesNamesTheProject) {
    EXPECT_EQ(saveChangesPrompt(QStringLiteral("demo.qbk")),
              QStringLiteral("Salvare le modifiche di demo.qbk?"));
    EXPECT_EQ(saveChangesPrompt(QStringLiteral("Senza nome *")),
              QStringLiteral("Salvare le modifiche di Senza nome?"));
}

TEST(Preferences, DialogFieldsAndAChangedThumbnailSize) {
    AppSettings s;
    EXPECT_TRUE(applyPreferences(s, {10, true, 96, 64}));
    EXPECT_EQ(s.thumbCx, 96);
    EXPECT_FALSE(applyPreferences(s, {12, true, 96, 64}));
    EXPECT_EQ(s.mruSize, 12);

    // The dialog shows and returns its fields.
    test::ensureApplication();
    PreferencesDialog dialog({7, true, 80, 60});
    EXPECT_EQ(dialog.mruSizeEdit()->text(), QStringLiteral("7"));
    EXPECT_TRUE(dialog.reloadCheck()->isChecked());
    dialog.mruSizeEdit()->setText(QStringLiteral("0"));
    dialog.reloadCheck()->setChecked(false);
    dialog.thumbCyEdit()->setText(QStringLiteral("0"));
    const PreferenceValues v = dialog.values();
    EXPECT_EQ(v.mruSize, 0);
    EXPECT_FALSE(v.reloadLastProject);
    EXPECT_EQ(v.thumbCx, 80);
    EXPECT_EQ(v.thumbCy, 0);
}

// Arguments split by the shell are joined back into one name; a program path with spaces is quoted.
TEST(CommandLine, JoinedArgumentsGiveBackTheFileName) {
    const struct {
        QStringList argv;
        QString name;
    } cases[] = {
        {{QStringLiteral("/usr/bin/quib"), QStringLiteral("/home/a/my"), QStringLiteral("tutorial.qbk")},
         QStringLiteral("/home/a/my tutorial.qbk")},
        {{QStringLiteral("/opt/my apps/quib"), QStringLiteral("/tmp/x y.qbk")},
         QStringLiteral("/tmp/x y.qbk")},
        {{QStringLiteral("quib"), QStringLiteral("/tmp/quoted name.qbk")},
         QStringLiteral("/tmp/quoted name.qbk")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileNameFromCommandLine(joinCommandLine(c.argv)), c.name);
}

// Handles the ids it is given and records every run in a shared log under its name.
struct RecordingHandler : CommandHandler {
    RecordingHandler(std::string name, std::set<int> ids, std::vector<std::string>* log, bool on = true)
        : name(std::move(name)), ids(std::move(ids)), log(log), on(on) {}
    bool handles(int id) const override { return ids.count(id) > 0; }
    void run(int) override { log->push_back(name); }
    bool enabled(int) const override { return on; }
    std::string name;
    std::set<int> ids;
    std::vector<std::string>* log;
    bool on;
};

class RouterTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    RecordingHandler main{"main", {1}, &log};
    RecordingHandler panel{"panel", {1, 2}, &log};
    RecordingHandler active{"active", {1, 2, 3}, &log};
    RecordingHandler other{"other", {1, 2, 3, 4}, &log};
    RecordingHandler document{"document", {1, 2, 3, 4, 5}, &log};
    CommandRouter router;

    void SetUp() override {
        router.setMainFrame(&main);
        router.setPanel(&panel);
        router.setActiveProject([this] { return ProjectCommandTargets{&active, &other, &document}; });
    }
};

// The chain is main window, panel, active view, other view, document. An unhandled command is
// disabled and not run; a disabled handler decides for later levels.
TEST_F(RouterTest, EachCommandGoesToTheFirstLevelThatHandlesItUnlessDisabled) {
    EXPECT_FALSE(router.isEnabled(99));
    EXPECT_FALSE(router.dispatch(99));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(router.chain(), (std::vector<CommandHandler*>{&main, &panel, &active, &other, &document}));
    for (int id = 1; id <= 5; ++id)
        EXPECT_TRUE(router.dispatch(id));
    EXPECT_EQ(log, (std::vector<std::string>{"main", "panel", "active", "other", "document"}));
    active.on = false;
    EXPECT_FALSE(router.isEnabled(3));
    EXPECT_FALSE(router.dispatch(3));
    EXPECT_EQ(log.size(), 5u);
}

class ProgressDialogTest : public ::testing::Test, protected test::WithApplication {
protected:
    void SetUp() override {
        test::ensureApplication();
        parent.show();
    }
    std::unique_ptr<RenderProgressDialog> makeDialog() {
        return std::make_unique<RenderProgressDialog>(&parent, [this] { return now; });
    }
    QWidget parent;
    int64_t now = 1000;
};

TEST_F(ProgressDialogTest, CancelButtonSetsTheFlagWithoutClosing) {
    auto dialog = makeDialog();
    dialog->cancelButton()->click();
    EXPECT_TRUE(dialog->cancelled());
    EXPECT_TRUE(dialog->isVisible());
}

// What every dialog is opened over.
struct Inputs : test::WithApplication {
    Inputs() { buildSyntheticProject(doc, 320, 200, 3); }
    CQuibDoc doc;
    NullScreenGrabber grabber{"nessuno schermo"};
    int rate = 2;
    OutputSettings output;
    CalloutLibrary callouts = defaultCalloutLibrary();
    FilterTable filters;
};

Inputs& inputs() {
    static Inputs shared;
    return shared;
}

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(Inputs&)> make;
};

template <typename D, typename... Args>
std::unique_ptr<QDialog> make(Args&&... args) {
    return std::make_unique<D>(std::forward<Args>(args)...);
}

const DialogCase kDialogs[] = {
    {"About", [](Inputs&) { return make<AboutDialog>(); }},
    {"Background", [](Inputs&) { return make<BackgroundDialog>(BackgroundDialog::Values{}); }},
    {"Capture",
     [](Inputs& in) {
         return make<CCaptureDialog>(in.grabber, nullptr, in.doc, Rect{0, 0, 320, 200}, true, 2, nullptr);
     }},
    {"CalloutEditor",
     [](Inputs& in) { return make<CalloutEditorDialog>(in.callouts, "Rettangolo", QString()); }},
    {"CursorEditor",
     [](Inputs&) { return make<CursorEditorDialog>(standardArrowCursor(), QStringLiteral("Cursore")); }},
    {"HtmlExport", [](Inputs& in) { return make<HtmlExportDialog>(in.filters, QString(), -1); }},
    {"CaptureSetup",
     [](Inputs& in) { return make<CCaptureSetupDialog>(in.doc, in.grabber, in.rate, nullptr); }},
    {"CropFrames", [](Inputs& in) { return make<CropFramesDialog>(in.doc); }},
    {"FontColour", [](Inputs&) { return make<FontColourDialog>(TextStyle::standardTextFont(), 0u); }},
    {"GotoFrame", [](Inputs& in) { return make<GotoFrameDialog>(in.doc, 0); }},
    {"InsertFrames", [](Inputs&) { return make<InsertFramesDialog>(true); }},
    {"MoveElements", [](Inputs&) { return make<MoveElementsDialog>(); }},
    {"NewPalette", [](Inputs&) { return make<NewPaletteDialog>(256); }},
    {"Palette", [](Inputs& in) { return make<PaletteDialog>(in.doc); }},
    {"Preferences", [](Inputs&) { return make<PreferencesDialog>(PreferenceValues{}); }},
    {"ProjectInfo", [](Inputs& in) { return make<ProjectInfoDialog>(projectInfo(in.doc)); }},
    {"ProjectSettings",
     [](Inputs& in) { return make<ProjectSettingsDialog>(in.output, QStringLiteral("/tmp")); }},
    {"RenderProgress", [](Inputs&) { return make<RenderProgressDialog>(nullptr); }},
};

QString plain(QString caption) {
    return caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// Room a title bar keeps for its icon and buttons.
constexpr int kTitleBarButtons = 96;

class DialogCaptions : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogCaptions, FitAtDefaultSize) {
    Inputs& in = inputs();
    std::unique_ptr<QDialog> dialog = GetParam().make(in);
    dialog->show();
    dialog->adjustSize();
    QFont titleFont = dialog->font();
    titleFont.setBold(true);
    EXPECT_GE(dialog->width(),
              QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + kTitleBarButtons)
        << dialog->windowTitle().toStdString();
    for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) {
        if (!group->isVisible())
            continue;
        EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(plain(group->title())) + 16)
            << group->title().toStdString();
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->textFormat() == Qt::RichText ||
            label->text().contains(QLatin1Char('\n')) || label->text().contains(QLatin1Char('<')))
            continue;
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(plain(label->text())))
            << label->text().toStdString();
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        const auto* tool = qobject_cast<const QToolButton*>(button);
        if (!button->isVisible() || button->text().isEmpty() ||
            (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly))
            continue;
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(plain(button->text())) + 8)
            << button->text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Every, DialogCaptions, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<DialogCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quib
