#include "menu_layout.h"

#include <array>

#include "command_ids.h"

namespace quib {

namespace {
constexpr MenuItem popup(const char* title) {
    return {MenuItem::PopupBegin, 0, title};
}
constexpr MenuItem end() {
    return {MenuItem::PopupEnd};
}
constexpr MenuItem sep() {
    return {MenuItem::Separator};
}
constexpr MenuItem c(int id) {
    return {MenuItem::Command, id};
}

constexpr std::array kNoProject = {
    popup("&File"),
    c(cmd::FileNew),
    c(cmd::FileOpen),
    sep(),
    c(cmd::Preferences),
    sep(),
    c(cmd::FileMruFirst),
    sep(),
    c(cmd::AppExit),
    end(),
    popup("&Visualizza"),
    c(cmd::ViewToolbar),
    c(cmd::ViewStatusBar),
    c(cmd::ShowPanel),
    end(),
    popup("&?"),
    c(cmd::UserGuide),
    sep(),
    c(cmd::Tutorial1),
    c(cmd::Tutorial2),
    sep(),
    c(cmd::AppAbout),
    end(),
};

constexpr std::array kProject = {
    popup("&File"),
    c(cmd::FileNew),
    c(cmd::FileOpen),
    c(cmd::FileClose),
    c(cmd::FileSave),
    c(cmd::FileSaveAs),
    c(cmd::FileSaveAll),
    c(cmd::FileSaveCompressed),
    sep(),
    c(cmd::SaveAsTemplate),
    sep(),
    c(cmd::ExportHtml),
    c(cmd::ExportPdf),
    sep(),
    c(cmd::Preferences),
    sep(),
    c(cmd::FileMruFirst),
    sep(),
    c(cmd::AppExit),
    end(),

    popup("&Modifica"),
    c(cmd::EditUndo),
    c(cmd::EditRedo),
    sep(),
    c(cmd::EditCut),
    c(cmd::EditCopy),
    c(cmd::CopyMerged),
    c(cmd::EditPaste),
    c(cmd::EditDelete),
    sep(),
    c(cmd::EditSelectAll),
    end(),

    popup("&Visualizza"),
    c(cmd::ViewToolbar),
    c(cmd::ViewStatusBar),
    sep(),
    popup("&Pannello proprietà"),
    c(cmd::ShowPanel),
    sep(),
    c(cmd::PanelSimple),
    c(cmd::PanelAdvanced),
    end(),
    sep(),
    c(cmd::ThumbnailsOnly),
    sep(),
    c(cmd::ZoomIn),
    c(cmd::ZoomOut),
    c(cmd::ZoomActual),
    c(cmd::ZoomFit),
    sep(),
    c(cmd::FirstFrame),
    c(cmd::PreviousFrame),
    c(cmd::NextFrame),
    c(cmd::LastFrame),
    end(),

    popup("F&rame"),
    c(cmd::ChooseFont),
    c(cmd::ChooseCursor),
    c(cmd::ChooseCallout),
    sep(),
    c(cmd::GotoTarget1),
    c(cmd::GotoTarget2),
    sep(),
    c(cmd::EditTitle),
    c(cmd::EditText),
    sep(),
    c(cmd::InsertFrames),
    c(cmd::CropFrames),
    c(cmd::MoveAllElements),
    end(),

    popup("&Progetto"),
    c(cmd::EditPalette),
    sep(),
    c(cmd::NextButtonImage),
    c(cmd::PreviousButtonImage),
    c(cmd::Goto1ButtonImage),
    c(cmd::Goto2ButtonImage),
    c(cmd::BackgroundImage),
    sep(),
    c(cmd::ApplyTemplate),
    sep(),
    c(cmd::ProjectInfo),
    c(cmd::ProjectSettings),
    sep(),
    c(cmd::Render),
    c(cmd::ShowResult),
    end(),

    popup("F&inestra"),
    c(cmd::WindowCascade),
    c(cmd::WindowTile),
    c(cmd::WindowArrange),
    sep(),
    MenuItem{MenuItem::WindowList},
    c(cmd::WindowsDialog),
    end(),

    popup("&?"),
    c(cmd::UserGuide),
    sep(),
    c(cmd::Tutorial1),
    c(cmd::Tutorial2),
    sep(),
    c(cmd::AppAbout),
    end(),
};

constexpr std::array kToolbar = {cmd::FileNew,
                                 cmd::FileOpen,
                                 cmd::FileSave,
                                 cmd::Preferences,
                                 0,
                                 cmd::EditUndo,
                                 cmd::EditRedo,
                                 0,
                                 cmd::EditDelete,
                                 cmd::EditCut,
                                 cmd::EditCopy,
                                 cmd::EditPaste,
                                 0,
                                 cmd::FirstFrame,
                                 cmd::PreviousFrame,
                                 cmd::NextFrame,
                                 cmd::LastFrame,
                                 0,
                                 cmd::EditPalette,
                                 cmd::ProjectSettings,
                                 cmd::Render,
                                 0,
                                 cmd::AppAbout};
static_assert(kToolbar.size() == 23);
}  // namespace

std::span<const MenuItem> menuNoProject() {
    return kNoProject;
}
std::span<const MenuItem> menuProject() {
    return kProject;
}
std::span<const int> toolbarCommands() {
    return kToolbar;
}

}  // namespace quib
