#include <gtest/gtest.h>

#include <QDir>
#include <QRadioButton>
#include <QSpinBox>
#include <cstring>

#include "../ui/ui_test_support.h"
#include "model/project_storage.h"
#include "palette/standard_palettes.h"
#include "palette_test_support.h"
#include "render/render_project.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/command_router.h"
#include "ui/main_frame.h"
#include "ui/new_palette_dialog.h"
#include "ui/palette_commands.h"
#include "ui/palette_dialog.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"

namespace quib {
namespace {

// A project with two frames and a known palette; the palette dialog is run by the test.
struct PaletteCommandTest : test::WithApplication, ::testing::Test {
    PaletteCommandTest() : document(QuibProjectDocument::createNew()) {
        test::buildProjectOf(doc(), {test::flatPicture(8, 6, 0, 0, 0), test::flatPicture(8, 6, 90, 60, 30)});
        for (int i = 0; i < 256; ++i)
            doc().settings.palette[i] = PaletteEntry{uint8_t(i), 1, 2, 3};
        doc().settings.paletteCount = 4;
        doc().settings.usePalette = 1;
        doc().SetModifiedFlag(false);
        doc().addObserver(&hints);
        PaletteDialog::prompts().runPalette = [this](PaletteDialog& dialog) {
            ++dialogsRun;
            return edit ? edit(dialog) : false;
        };
        PaletteDialog::prompts().runNewPalette = [](NewPaletteDialog& choice) {
            choice.webSafeButton()->setChecked(true);
            return true;
        };
    }
    ~PaletteCommandTest() override {
        doc().removeObserver(&hints);
        PaletteDialog::prompts() = PaletteDialogPrompts{};
    }
    CQuibDoc& doc() { return document->doc(); }
    std::vector<uint8_t> paletteBytes() {
        std::vector<uint8_t> bytes(sizeof(doc().settings.palette));
        std::memcpy(bytes.data(), doc().settings.palette, bytes.size());
        return bytes;
    }

    std::unique_ptr<QuibProjectDocument> document;
    test::HintRecorder hints;
    std::function<bool(PaletteDialog&)> edit;
    int dialogsRun = 0;
};

TEST_F(PaletteCommandTest, CancelLeavesTheProjectUnchanged) {
    const std::vector<uint8_t> before = paletteBytes();
    edit = [](PaletteDialog& dialog) {
        dialog.createNew();
        return false;
    };
    EXPECT_FALSE(runPaletteDialog(doc(), nullptr));
    EXPECT_EQ(dialogsRun, 1);
    EXPECT_EQ(paletteBytes(), before);
    EXPECT_EQ(doc().settings.paletteCount, 4);
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(hints.hints.empty());
}

TEST_F(PaletteCommandTest, CancelAfterAnOctreePaletteLeavesTheProjectUnchanged) {
    doc().SelectFrame(1);
    const std::vector<uint8_t> before = paletteBytes();
    PaletteDialog::prompts().runNewPalette = [](NewPaletteDialog& choice) {
        choice.countEdit()->setValue(8);
        return true;
    };
    PaletteDialog::prompts().makeProgress = [](QWidget*) { return std::make_unique<NullProgress>(); };
    int madeColours = 0;
    edit = [&](PaletteDialog& dialog) {
        dialog.createNew();
        madeColours = dialog.palette().count;
        return false;
    };
    EXPECT_FALSE(runPaletteDialog(doc(), nullptr));
    EXPECT_EQ(madeColours, 2);
    EXPECT_EQ(paletteBytes(), before);
    EXPECT_EQ(doc().settings.paletteCount, 4);
    EXPECT_EQ(doc().currentFrameIndex, 1);
    EXPECT_FALSE(doc().isModified());
}

TEST_F(PaletteCommandTest, OkWithoutChangesStillMarksTheProjectModified) {
    const std::vector<uint8_t> before = paletteBytes();
    edit = [](PaletteDialog&) { return true; };
    EXPECT_TRUE(runPaletteDialog(doc(), nullptr));
    EXPECT_EQ(paletteBytes(), before);
    EXPECT_TRUE(doc().isModified());
}

// The command reaches the palette dialog from the main window, past the views of the project.
struct PaletteFromMainWindow : test::WithApplication, ::testing::Test {
    PaletteFromMainWindow() : settings(AppSettings::defaults(temp.folder())), frame(settings, temp.store()) {
        installProjectDocument(frame);
        frame.resize(800, 500);
        frame.show();
        CQuibDoc source;
        test::buildProjectOf(source, {test::flatPicture(8, 6, 10, 20, 30)});
        source.settings.usePalette = 1;
        const QString path = QDir(temp.folder()).filePath(QStringLiteral("palette.qbk"));
        NullProgress progress;
        EXPECT_TRUE(SaveProject(path.toStdString(), source, progress).ok());
        EXPECT_TRUE(frame.openProject(path));
        PaletteDialog::prompts().runNewPalette = [](NewPaletteDialog& choice) {
            choice.standardButton()->setChecked(true);
            return true;
        };
        PaletteDialog::prompts().runPalette = [](PaletteDialog& dialog) { return dialog.createNew(); };
    }
    ~PaletteFromMainWindow() override { PaletteDialog::prompts() = PaletteDialogPrompts{}; }
    CQuibDoc& doc() const {
        return dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document())->doc();
    }

    test::TempSettings temp;
    AppSettings settings;
    CMainFrame frame;
};

TEST_F(PaletteFromMainWindow, CommandIsEnabledOnlyInPaletteModeAndSetsThePalette) {
    ASSERT_TRUE(frame.router().isEnabled(cmd::EditPalette));
    ASSERT_TRUE(frame.router().dispatch(cmd::EditPalette));
    EXPECT_EQ(doc().settings.paletteCount, 16);
    EXPECT_EQ(doc().settings.palette[9], (PaletteEntry{255, 0, 0, 255}));
    EXPECT_TRUE(doc().isModified());
    doc().settings.usePalette = 0;
    EXPECT_FALSE(frame.router().isEnabled(cmd::EditPalette));
}

// Palette mode without a palette: OK on an empty palette still stops the render.
TEST_F(PaletteCommandTest, OkWithAnEmptyPaletteStillStopsTheRender) {
    doc().settings.paletteCount = 0;
    edit = [](PaletteDialog&) { return true; };
    QStringList messages;
    EXPECT_FALSE(supplyMissingPalette(doc(), nullptr, [&](const QString& text) { messages.append(text); }));
    EXPECT_EQ(messages, QStringList{QString::fromUtf8(kNoPaletteMessage)});
    EXPECT_EQ(doc().settings.paletteCount, 0);
}

}  // namespace
}  // namespace quib
