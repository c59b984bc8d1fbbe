#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <functional>
#include <memory>

#include "capture/null_backends.h"
#include "cursors/standard_cursors.h"
#include "imagefilters/filter_table.h"
#include "model/synthetic_project.h"
#include "model/text_style.h"
#include "shapes/default_callouts.h"
#include "ui/about_dialog.h"
#include "ui/background_dialog.h"
#include "ui/callout_editor_dialog.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/crop_frames_dialog.h"
#include "ui/cursor_editor_dialog.h"
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

using namespace quib;

namespace {

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

class DialogCaptions : public testing::TestWithParam<DialogCase> {};

}  // namespace

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

INSTANTIATE_TEST_SUITE_P(Every, DialogCaptions, testing::ValuesIn(kDialogs),
                         [](const testing::TestParamInfo<DialogCase>& info) {
                             return std::string(info.param.name);
                         });
