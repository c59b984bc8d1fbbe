#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "base/progress.h"
#include "model/project_file.h"
#include "panel_test_support.h"
#include "ui/command_ids.h"
#include "ui/move_elements_dialog.h"
#include "ui/project_settings_dialog.h"

namespace quib {
namespace {

// One edit made through the panel or a project command, on the frames selected.
struct HistoryCase {
    const char* label;
    std::vector<int> selection;
    std::function<void(test::PanelFixture&)> edit;
    const char* step;
};

void PrintTo(const HistoryCase& c, std::ostream* os) {
    *os << c.label;
}

struct PanelHistoryTest : test::PanelFixture, ::testing::WithParamInterface<HistoryCase> {
    std::vector<uint8_t> fileBytes() {
        NullProgress progress;
        return ProjectFile::store(doc, "/tmp/panel_history.qbk", progress);
    }
};

const std::vector<HistoryCase> kCases{
    {"TextOneFrame",
     {0},
     [](auto& f) { f.typeInto(f.textField(), QStringLiteral("Ciao")); },
     "Modifica testo"},
    {"TextThreeFrames",
     {0, 1, 2},
     [](auto& f) { f.typeInto(f.textField(), QStringLiteral("Ciao")); },
     "Modifica testo"},
    {"FontTwoFrames",
     {1, 2},
     [](auto& f) {
         f.fakes.font = test::serifFont();
         f.panel->run(cmd::ChooseFont);
     },
     "Cambia carattere"},
    {"CalloutOneFrame",
     {0},
     [](auto& f) {
         f.fakes.callout = f.library.at(0).name == f.frame(0).textBox.calloutName ? 1 : 0;
         f.panel->run(cmd::ChooseCallout);
     },
     "Cambia callout"},
    {"DisplayTimeTwoFrames",
     {1, 3},
     [](auto& f) { f.typeInto(f.edit(1168), QStringLiteral("750")); },
     "Cambia tempo di visualizzazione"},
    {"NextButtonOneFrame", {1}, [](auto& f) { f.click(f.check(1152)); }, "Mostra pulsante"},
    {"NextButtonTwoFrames", {1, 2}, [](auto& f) { f.click(f.check(1152)); }, "Mostra pulsante"},
    {"GotoTarget",
     {3},
     [](auto& f) {
         f.fakes.frame = 1;
         f.panel->run(cmd::GotoTarget1);
     },
     "Cambia destinazione"},
    {"TitleOneFrame",
     {2},
     [](auto& f) { f.typeInto(f.edit(600), QStringLiteral("Inizio")); },
     "Modifica titolo"},
    {"TitleTwoFrames",
     {0, 2},
     [](auto& f) { f.typeInto(f.edit(600), QStringLiteral("Inizio")); },
     "Modifica titolo"},
    {"TitleArea", {0}, [](auto& f) { f.typeInto(f.edit(305), QStringLiteral("7")); }, "Impostazioni titolo"},
    {"MoveAllElements",
     {1, 2},
     [](auto& f) { moveAllElements(f.doc, 5, -3, &f.selected); },
     "Sposta tutti gli elementi"},
    {"UseAsDefaultStyle",
     {1},
     [](auto& f) { f.panel->run(CPropertiesPanel::UseAsDefaultStyleCommand); },
     "Usa come stile predefinito"},
    {"ApplyDefaultStyleToTwo",
     {0, 2},
     [](auto& f) { f.panel->run(CPropertiesPanel::ApplyDefaultStyleCommand); },
     "Applica lo stile predefinito"},
    {"ProjectSettings",
     {0},
     [](auto& f) {
         runProjectSettings(f.doc, nullptr, [](OutputSettings& settings, const QString&) {
             settings.frameRate = 12;
             settings.usePalette = !settings.usePalette;
             return true;
         });
     },
     "Impostazioni progetto"},
};

// Each edit is one named step; undoing it gives back the very file the project was, redoing
// it the file it became.
TEST_P(PanelHistoryTest, OneStepThatUndoAndRedoGiveBackWhole) {
    const HistoryCase& c = GetParam();
    select(c.selection, c.selection.front());
    const size_t steps = doc.commands.count();
    const std::vector<uint8_t> before = fileBytes();
    c.edit(*this);
    EXPECT_EQ(doc.commands.count(), steps + 1);
    EXPECT_EQ(doc.commands.undoName(), c.step);
    EXPECT_TRUE(doc.isModified());
    const std::vector<uint8_t> after = fileBytes();
    ASSERT_NE(after, before);
    ASSERT_TRUE(doc.commands.undo(doc));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_FALSE(doc.isModified());
    ASSERT_TRUE(doc.commands.redo(doc));
    EXPECT_EQ(fileBytes(), after);
}

INSTANTIATE_TEST_SUITE_P(PanelEdits, PanelHistoryTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace quib
