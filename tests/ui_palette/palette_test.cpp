#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <tuple>

#include "../ui/main_window_fixture.h"
#include "../ui/ui_test_support.h"
#include "model/synthetic_project.h"
#include "palette/palette_entry.h"
#include "render/render_project.h"
#include "support/bytes_and_pictures.h"
#include "support/files_and_commands.h"
#include "ui/command_ids.h"
#include "ui/command_router.h"
#include "ui/new_palette_dialog.h"
#include "ui/palette_commands.h"
#include "ui/palette_dialog.h"
#include "ui/palette_edit_state.h"
#include "ui/palette_swatch_grid.h"
#include "ui/quib_project_document.h"
#include "ui/render_progress_dialog.h"

namespace quib::test {

// Fills an empty document with one frame per picture (all of the first picture's size); the first
// frame is current.
void buildProjectOf(CQuibDoc& doc, const std::vector<Bitmap24>& pictures) {
    if (pictures.empty())
        return;
    doc.SetEmptyProjectFrameSize(pictures.front().width, pictures.front().height);
    for (const Bitmap24& picture : pictures) {
        doc.currentImage = picture;
        doc.AppendCapturedFrame();
    }
    doc.SelectFrame(0, true);
    doc.SetModifiedFlag(false);
}

// A palette of the given colours, fourth byte 255.
Palette paletteOf(std::initializer_list<PaletteEntry> entries) {
    Palette palette;
    for (const PaletteEntry& e : entries)
        palette.entries[size_t(palette.count++)] = PaletteEntry{e.red, e.green, e.blue, 255};
    return palette;
}

}  // namespace quib::test

namespace quib {
namespace {

std::vector<PaletteEntry> firstEntries(const Palette& palette) {
    return {palette.entries.begin(), palette.entries.begin() + palette.count};
}

void setProjectPalette(CQuibDoc& doc, const Palette& palette) {
    std::copy(palette.entries.begin(), palette.entries.end(), doc.settings.palette);
    doc.settings.paletteCount = palette.count;
}

// A project of three synthetic frames; every question the palette dialog asks is answered here.
struct PaletteDialogTest : test::WithApplication, ::testing::Test {
    PaletteDialogTest() {
        EXPECT_TRUE(buildSyntheticProject(doc, 80, 60, 3));
        doc.SelectFrame(0, true);
        PaletteDialogPrompts& ask = PaletteDialog::prompts();
        ask.showMessage = [this](const QString& text) { messages.append(text); };
        ask.askYesNo = [this](const QString& question) {
            questions.append(question);
            return answerYes;
        };
        ask.makeProgress = [this](QWidget*) {
            return std::make_unique<test::RecordingProgress>(cancelAtRow);
        };
    }
    ~PaletteDialogTest() override { PaletteDialog::prompts() = PaletteDialogPrompts{}; }

    // "Crea nuova" answered by choose (which sets up the second dialog), then OK.
    bool createWith(PaletteDialog& dialog, const std::function<void(NewPaletteDialog&)>& choose) {
        PaletteDialog::prompts().runNewPalette = [&](NewPaletteDialog& choice) {
            choose(choice);
            choice.accept();
            return choice.result() == QDialog::Accepted;
        };
        return dialog.createNew();
    }
    QString inFolder(const QString& name) const { return QDir(folder.path()).filePath(name); }

    CQuibDoc doc;
    QTemporaryDir folder;
    QStringList messages;
    QStringList questions;
    bool answerYes = true;
    int cancelAtRow = -1;
};

TEST_F(PaletteDialogTest, CreateIsDisabledWithoutFramesAndCancelledChangesNothing) {
    CQuibDoc empty;
    PaletteDialog dialog(empty);
    EXPECT_FALSE(dialog.createButton()->isEnabled());
    EXPECT_FALSE(dialog.createNew());
    // A cancelled choice of the new palette changes nothing.
    setProjectPalette(doc, test::paletteOf({{1, 2, 3}}));
    PaletteDialog withFrames(doc);
    PaletteDialog::prompts().runNewPalette = [](NewPaletteDialog& d) {
        d.webSafeButton()->setChecked(true);
        return false;
    };
    EXPECT_FALSE(withFrames.createNew());
    EXPECT_EQ(withFrames.palette().count, 1);
}

TEST_F(PaletteDialogTest, OctreeOverTheCurrentFrameReadsThatFrameOnlyAndRunsUnderTheProgressDialog) {
    CQuibDoc small;
    test::buildProjectOf(small,
                         {test::solidImage({8, 4}, 30, 20, 10), test::solidImage({8, 4}, 50, 100, 200)});
    small.SelectFrame(1);
    PaletteDialog dialog(small);
    ASSERT_TRUE(createWith(dialog, [](NewPaletteDialog& d) { d.currentFrameButton()->setChecked(true); }));
    EXPECT_EQ(firstEntries(dialog.palette()), (std::vector<PaletteEntry>{{200, 100, 50, 255}}));
    EXPECT_EQ(small.currentFrameIndex, 1);

    PaletteDialog::prompts().makeProgress = nullptr;
    PaletteDialog shown(doc);
    shown.show();
    ASSERT_TRUE(createWith(shown, [](NewPaletteDialog& d) { d.countEdit()->setValue(32); }));
    EXPECT_LE(shown.palette().count, 32);
    EXPECT_GT(shown.palette().count, 1);
    EXPECT_EQ(doc.currentFrameIndex, 0) << "reading every frame gives the current one back";
    EXPECT_TRUE(shown.isEnabled());
}

TEST_F(PaletteDialogTest, CancelledOctreeLeavesThePaletteAndTheCurrentFrame) {
    const Palette before = test::paletteOf({{1, 2, 3}, {4, 5, 6}});
    setProjectPalette(doc, before);
    doc.SelectFrame(2);
    cancelAtRow = 70;  // part way through the second frame
    PaletteDialog dialog(doc);
    EXPECT_FALSE(createWith(dialog, [](NewPaletteDialog&) {}));
    EXPECT_EQ(dialog.palette(), before);
    EXPECT_EQ(dialog.countEdit()->value(), 2);
    EXPECT_EQ(doc.currentFrameIndex, 2);
    EXPECT_TRUE(messages.isEmpty());
}

TEST(NewPaletteChoices, CountOutsideOneTo256KeepsTheDialogOpen) {
    test::ensureApplication();
    QStringList messages;
    NewPaletteDialog dialog(16);
    dialog.setMessageFunction([&](const QString& text) { messages.append(text); });
    dialog.show();
    dialog.countEdit()->setValue(257);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Si prega di inserire un numero tra 1 e 256")});
    // The count does not matter for the fixed palettes.
    dialog.webSafeButton()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice().method, NewPaletteChoice::Method::WebSafe216);
}

TEST_F(PaletteDialogTest, SaveThenLoadRoundTripsTheColours) {
    Palette palette = test::paletteOf({{0, 0, 0}, {255, 128, 1}, {17, 34, 51}, {255, 255, 255}});
    setProjectPalette(doc, palette);
    const QString path = inFolder(QStringLiteral("colours.pal"));
    PaletteDialog::prompts().saveFileName = [&] { return path; };
    PaletteDialog::prompts().openFileName = [&] { return path; };
    PaletteDialog saving(doc);
    ASSERT_TRUE(saving.saveFile());
    EXPECT_EQ(test::readFile(path.toStdString()),
              "JASC-PAL\n0100\n4\n0 0 0\n255 128 1\n17 34 51\n255 255 255\n");

    CQuibDoc other;
    PaletteDialog loading(other);
    ASSERT_TRUE(loading.loadFile());
    ASSERT_EQ(loading.palette().count, 4);
    for (size_t i = 0; i < 4; ++i) {
        const PaletteEntry &got = loading.palette().entries[i], &put = palette.entries[i];
        EXPECT_EQ(std::tie(got.red, got.green, got.blue), std::tie(put.red, put.green, put.blue)) << i;
    }
    EXPECT_EQ(loading.countEdit()->value(), 4);
    EXPECT_EQ(loading.state().selected(), 0);
}

// A file that cannot be read or written is reported and changes nothing; no file chosen says nothing.
TEST_F(PaletteDialogTest, FilesThatFailOrAreNotChosenChangeNothing) {
    const Palette before = test::paletteOf({{1, 2, 3}});
    setProjectPalette(doc, before);
    test::writeFile(inFolder(QStringLiteral("odd.pal")).toStdString(), "GIF89a...");
    const struct {
        bool load;
        const char* name;
        QStringList said;
    } cases[] = {
        {true, "nowhere.pal", {QStringLiteral("Impossibile aprire il file")}},
        {true, "odd.pal", {QStringLiteral("Formato di file sconosciuto")}},
        {false, "no/such/folder/x.pal", {QStringLiteral("Impossibile creare il file")}},
        {true, nullptr, {}},
        {false, nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "none");
        messages.clear();
        const QString path = c.name ? inFolder(QString::fromUtf8(c.name)) : QString();
        PaletteDialog::prompts().openFileName = [&] { return path; };
        PaletteDialog::prompts().saveFileName = [&] { return path; };
        PaletteDialog dialog(doc);
        EXPECT_FALSE(c.load ? dialog.loadFile() : dialog.saveFile());
        EXPECT_EQ(messages, c.said);
        EXPECT_EQ(dialog.palette(), before);
    }
}

TEST_F(PaletteDialogTest, TypedCountOutsideTheRangeIsRefusedAndInsideAsksBeforeResizing) {
    setProjectPalette(doc, test::paletteOf({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}));
    PaletteDialog dialog(doc);
    dialog.show();
    dialog.countEdit()->setValue(0);
    dialog.countEdit()->setValue(257);
    EXPECT_EQ(messages, QStringList(2, QStringLiteral("Si prega di inserire un numero tra 1 e 256")));
    EXPECT_EQ(dialog.palette().count, 3);
    EXPECT_EQ(dialog.focusWidget(), dialog.countEdit());
    dialog.countEdit()->setValue(3);
    EXPECT_TRUE(questions.isEmpty());
    dialog.countEdit()->setValue(5);
    EXPECT_EQ(questions, QStringList{QStringLiteral("Volete ridimensionare la palette in 5 colori?")});
    ASSERT_EQ(dialog.palette().count, 5);
    EXPECT_EQ(dialog.palette().entries[4], PaletteEntry{});
    answerYes = false;
    dialog.countEdit()->setValue(2);
    EXPECT_EQ(dialog.palette().count, 5);
    // Leaving the field shows the count the palette really has.
    emit dialog.countEdit()->editingFinished();
    EXPECT_EQ(dialog.countEdit()->value(), 5);
    EXPECT_EQ(questions.size(), 2);
}

TEST_F(PaletteDialogTest, DoubleClickEditsTheColourKeepingTheFourthByteAndCancelChangesNothing) {
    Palette palette = test::paletteOf({{1, 1, 1}, {2, 2, 2}});
    palette.entries[1].flags = 0;
    setProjectPalette(doc, palette);
    std::vector<QColor> offered;
    PaletteDialog::prompts().chooseColour = [&](const QColor& initial) -> std::optional<QColor> {
        offered.push_back(initial);
        return QColor(100, 150, 200);
    };
    PaletteDialog dialog(doc);
    dialog.resize(500, 400);
    dialog.show();
    PaletteSwatchGrid* grid = dialog.grid();
    const QPoint cell = PaletteSwatchGrid::cellRect(grid->cellArea(), 1).center();
    QTest::mouseClick(grid, Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cell);
    EXPECT_EQ(offered, std::vector<QColor>{QColor(2, 2, 2)});
    EXPECT_EQ(dialog.palette().entries[1], (PaletteEntry{100, 150, 200, 0}));

    // A cancelled chooser, or an entry past the count, changes nothing.
    const Palette edited = dialog.palette();
    PaletteDialog::prompts().chooseColour = [](const QColor&) { return std::optional<QColor>(); };
    EXPECT_FALSE(dialog.editEntry(0));
    EXPECT_FALSE(dialog.editEntry(2));
    EXPECT_EQ(dialog.palette(), edited);
}

// A palette of count entries whose red byte is the index, the fourth byte 255.
Palette rampPalette(int count) {
    Palette palette;
    for (int i = 0; i < count; ++i)
        palette.entries[size_t(i)] = PaletteEntry{uint8_t(i), uint8_t(255 - i), 7, 255};
    palette.count = count;
    return palette;
}

PaletteEditState stateWithSelection(int count, int selected) {
    PaletteEditState state(rampPalette(count));
    state.select(selected);
    return state;
}

TEST(PaletteEditState, MovesStopAtTheStart_FirstEntryStays_PastTheCountAndEmptyReplaceIgnored) {
    PaletteEditState state = stateWithSelection(40, 16);
    EXPECT_TRUE(state.moveSelection(-16));
    EXPECT_FALSE(state.moveSelection(-1));
    EXPECT_EQ(state.selected(), 0);
    EXPECT_FALSE(PaletteEditState(rampPalette(40)).moveSelection(1));  // nothing selected

    state = stateWithSelection(5, 0);
    EXPECT_FALSE(state.removeSelected());
    EXPECT_FALSE(state.setColour(5, 1, 2, 3));
    EXPECT_FALSE(state.replace(std::vector<PaletteEntry>{}));
    EXPECT_EQ(state.palette(), rampPalette(5));
}

// The grid at a size where every cell is 16 pixels square.
struct PaletteGridWidget : test::WithApplication, ::testing::Test {
    PaletteGridWidget() : state(rampPalette(20)), grid(state) {
        const int frame = grid.frameWidth();
        grid.setFixedSize(256 + 2 * frame, 256 + 2 * frame);
        grid.setChangeCallback([this] { ++changes; });
        grid.show();
        grid.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&grid));
    }
    QPoint centreOf(int index) const { return PaletteSwatchGrid::cellRect(grid.cellArea(), index).center(); }

    PaletteEditState state;
    PaletteSwatchGrid grid;
    int changes = 0;
};

TEST_F(PaletteGridWidget, KeysMoveAndDeleteButStopAtTheEnd) {
    QTest::mouseClick(&grid, Qt::LeftButton, {}, centreOf(17));
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(state.selected(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Down);  // cell 33 is blank
    EXPECT_EQ(state.selected(), 17);
    const int before = changes;
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(changes, before + 1);
    EXPECT_EQ(state.count(), 19);
    EXPECT_EQ(state.entry(17).red, 18);
}

TEST_F(PaletteGridWidget, EntriesAreDrawnInTheirColourAndTheRestStaysBlank) {
    const QImage picture = grid.grab().toImage();
    EXPECT_EQ(picture.pixelColor(centreOf(4)), QColor(4, 251, 7));
    EXPECT_EQ(picture.pixelColor(centreOf(19)), QColor(19, 236, 7));
    const QColor blank = picture.pixelColor(centreOf(20));
    EXPECT_EQ(blank, picture.pixelColor(centreOf(255)));
    EXPECT_NE(blank, QColor(20, 235, 7));
}

// A project with two frames and a known palette; the palette dialog is run by the test.
struct PaletteCommandTest : test::WithApplication, ::testing::Test {
    PaletteCommandTest() : document(QuibProjectDocument::createNew()) {
        test::buildProjectOf(doc(),
                             {test::solidImage({8, 6}, 0, 0, 0), test::solidImage({8, 6}, 30, 60, 90)});
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

// Cancel, also after a new palette was made, leaves the project as it was; OK
// without changes still marks it modified.
TEST_F(PaletteCommandTest, CancelLeavesTheProjectUnchangedAndOkMarksItModified) {
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

    edit = [](PaletteDialog&) { return true; };
    EXPECT_TRUE(runPaletteDialog(doc(), nullptr));
    EXPECT_EQ(paletteBytes(), before);
    EXPECT_TRUE(doc().isModified());
}

// The command reaches the palette dialog from the main window, past the views of the project.
struct PaletteFromMainWindow : test::MainWindowFixture {
    PaletteFromMainWindow() {
        CQuibDoc source;
        test::buildProjectOf(source, {test::solidImage({8, 6}, 30, 20, 10)});
        source.settings.usePalette = 1;
        EXPECT_TRUE(frame.openProject(save(source, QStringLiteral("palette.qbk"))));
        PaletteDialog::prompts().runNewPalette = [](NewPaletteDialog& choice) {
            choice.standardButton()->setChecked(true);
            return true;
        };
        PaletteDialog::prompts().runPalette = [](PaletteDialog& dialog) { return dialog.createNew(); };
    }
    ~PaletteFromMainWindow() override { PaletteDialog::prompts() = PaletteDialogPrompts{}; }
};

TEST_F(PaletteFromMainWindow, CommandIsEnabledOnlyInPaletteModeAndSetsThePalette) {
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
