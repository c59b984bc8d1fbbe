#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "../ui/ui_test_support.h"
#include "model/synthetic_project.h"
#include "palette/frame_palette.h"
#include "palette/palette_file.h"
#include "palette/standard_palettes.h"
#include "palette_test_support.h"
#include "ui/new_palette_dialog.h"
#include "ui/palette_dialog.h"
#include "ui/palette_swatch_grid.h"
#include "ui/render_progress_dialog.h"

namespace quib {
namespace {

using test::RecordingProgress;

std::vector<PaletteEntry> firstEntries(const Palette& palette) {
    return {palette.entries.begin(), palette.entries.begin() + palette.count};
}

void setProjectPalette(CQuibDoc& doc, const Palette& palette) {
    std::copy(palette.entries.begin(), palette.entries.end(), doc.settings.palette);
    doc.settings.paletteCount = palette.count;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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
        ask.makeProgress = [this](QWidget*) { return std::make_unique<RecordingProgress>(cancelAtRow); };
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

TEST_F(PaletteDialogTest, CreateIsDisabledWithoutFrames) {
    CQuibDoc empty;
    PaletteDialog dialog(empty);
    EXPECT_FALSE(dialog.createButton()->isEnabled());
    EXPECT_FALSE(dialog.createNew());
}

TEST_F(PaletteDialogTest, OctreeOverTheCurrentFrameReadsThatFrameOnly) {
    CQuibDoc small;
    test::buildProjectOf(small, {test::flatPicture(8, 4, 10, 20, 30), test::flatPicture(8, 4, 200, 100, 50)});
    small.SelectFrame(1);
    PaletteDialog dialog(small);
    ASSERT_TRUE(createWith(dialog, [](NewPaletteDialog& d) { d.currentFrameButton()->setChecked(true); }));
    EXPECT_EQ(firstEntries(dialog.palette()), (std::vector<PaletteEntry>{{200, 100, 50, 255}}));
    EXPECT_EQ(small.currentFrameIndex, 1);
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

TEST_F(PaletteDialogTest, OctreeRunsUnderTheProgressDialogAndGivesTheDialogBack) {
    PaletteDialog::prompts().makeProgress = nullptr;
    PaletteDialog dialog(doc);
    dialog.show();
    ASSERT_TRUE(createWith(dialog, [](NewPaletteDialog& d) { d.countEdit()->setValue(32); }));
    EXPECT_LE(dialog.palette().count, 32);
    EXPECT_GT(dialog.palette().count, 1);
    EXPECT_TRUE(dialog.isEnabled());
}

TEST_F(PaletteDialogTest, CancelledNewPaletteDialogChangesNothing) {
    setProjectPalette(doc, test::paletteOf({{1, 2, 3}}));
    PaletteDialog dialog(doc);
    PaletteDialog::prompts().runNewPalette = [](NewPaletteDialog& d) {
        d.webSafeButton()->setChecked(true);
        return false;
    };
    EXPECT_FALSE(dialog.createNew());
    EXPECT_EQ(dialog.palette().count, 1);
}

TEST(NewPaletteChoices, CountOutsideOneTo256KeepsTheDialogOpen) {
    test::ensureApplication();
    QStringList messages;
    NewPaletteDialog dialog(16);
    dialog.setMessageFunction([&](const QString& text) { messages.append(text); });
    dialog.show();
    for (int wrong : {0, 257}) {
        dialog.countEdit()->setValue(wrong);
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(messages, QStringList(2, QStringLiteral("Si prega di inserire un numero tra 1 e 256")));
    EXPECT_EQ(dialog.focusWidget(), dialog.countEdit());
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
    EXPECT_EQ(readAll(path), QByteArray("JASC-PAL\n0100\n4\n0 0 0\n255 128 1\n17 34 51\n255 255 255\n"));

    CQuibDoc other;
    PaletteDialog loading(other);
    ASSERT_TRUE(loading.loadFile());
    ASSERT_EQ(loading.palette().count, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loading.palette().entries[size_t(i)].red, palette.entries[size_t(i)].red) << i;
        EXPECT_EQ(loading.palette().entries[size_t(i)].green, palette.entries[size_t(i)].green) << i;
        EXPECT_EQ(loading.palette().entries[size_t(i)].blue, palette.entries[size_t(i)].blue) << i;
    }
    EXPECT_EQ(loading.countEdit()->value(), 4);
    EXPECT_EQ(loading.state().selected(), 0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PaletteDialogTest, MissingFileIsReportedAndChangesNothing) {
    const Palette before = test::paletteOf({{1, 2, 3}});
    setProjectPalette(doc, before);
    PaletteDialog::prompts().openFileName = [&] { return inFolder(QStringLiteral("nowhere.pal")); };
    PaletteDialog dialog(doc);
    EXPECT_FALSE(dialog.loadFile());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Impossibile aprire il file")});
    EXPECT_EQ(dialog.palette(), before);
}

TEST_F(PaletteDialogTest, UnknownFileIsReportedAndChangesNothing) {
    const Palette before = test::paletteOf({{1, 2, 3}});
    setProjectPalette(doc, before);
    const QString path = inFolder(QStringLiteral("odd.pal"));
    writeAll(path, "GIF89a...");
    PaletteDialog::prompts().openFileName = [&] { return path; };
    PaletteDialog dialog(doc);
    EXPECT_FALSE(dialog.loadFile());
    EXPECT_EQ(dialog.palette(), before);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Formato di file sconosciuto")});
}

TEST_F(PaletteDialogTest, SaveIntoAMissingFolderIsReported) {
    PaletteDialog::prompts().saveFileName = [&] { return inFolder(QStringLiteral("no/such/folder/x.pal")); };
    PaletteDialog dialog(doc);
    EXPECT_FALSE(dialog.saveFile());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Impossibile creare il file")});
}

TEST_F(PaletteDialogTest, NoFileChosenDoesNothing) {
    PaletteDialog::prompts().openFileName = [] { return QString(); };
    PaletteDialog::prompts().saveFileName = [] { return QString(); };
    PaletteDialog dialog(doc);
    EXPECT_FALSE(dialog.loadFile());
    EXPECT_FALSE(dialog.saveFile());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PaletteDialogTest, TypedCountAsksBeforeResizing) {
    setProjectPalette(doc, test::paletteOf({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}));
    PaletteDialog dialog(doc);
    dialog.show();
    dialog.countEdit()->setValue(3);
    EXPECT_TRUE(questions.isEmpty());
    dialog.countEdit()->setValue(5);
    EXPECT_EQ(questions, QStringList{QStringLiteral("Volete ridimensionare la palette in 5 colori?")});
    ASSERT_EQ(dialog.palette().count, 5);
    EXPECT_EQ(dialog.palette().entries[3], PaletteEntry{});
    EXPECT_EQ(dialog.palette().entries[4], PaletteEntry{});
    answerYes = false;
    dialog.countEdit()->setValue(2);
    EXPECT_EQ(dialog.palette().count, 5);
    // Leaving the field shows the count the palette really has.
    emit dialog.countEdit()->editingFinished();
    EXPECT_EQ(dialog.countEdit()->value(), 5);
    EXPECT_EQ(questions.size(), 2);
}

TEST_F(PaletteDialogTest, TypedCountOutsideTheRangeIsRefused) {
    setProjectPalette(doc, test::paletteOf({{1, 1, 1}, {2, 2, 2}}));
    PaletteDialog dialog(doc);
    dialog.show();
    dialog.countEdit()->setValue(0);
    dialog.countEdit()->setValue(257);
    EXPECT_EQ(messages, QStringList(2, QStringLiteral("Si prega di inserire un numero tra 1 e 256")));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(dialog.palette().count, 2);
    EXPECT_EQ(dialog.focusWidget(), dialog.countEdit());
}

TEST_F(PaletteDialogTest, DoubleClickEditsTheColourAndKeepsTheFourthByte) {
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
}

TEST_F(PaletteDialogTest, CancelledColourChooserChangesNothing) {
    const Palette before = test::paletteOf({{1, 1, 1}});
    setProjectPalette(doc, before);
    PaletteDialog::prompts().chooseColour = [](const QColor&) { return std::optional<QColor>(); };
    PaletteDialog dialog(doc);
    EXPECT_FALSE(dialog.editEntry(0));
    EXPECT_FALSE(dialog.editEntry(1));
    EXPECT_EQ(dialog.palette(), before);
}

}  // namespace
}  // namespace quib
