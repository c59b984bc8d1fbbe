#include "command_table.h"

#include <algorithm>
#include <array>

#include "command_ids.h"

namespace quib {

namespace {
using G = CommandGroup;

constexpr std::array kCommands = {
    CommandInfo{cmd::FileNew, "&Nuovo\tCtrl+N", "Ctrl+N", "", G::Framework},
    CommandInfo{cmd::FileOpen, "&Apri...\tCtrl+O", "Ctrl+O", "", G::Framework},
    CommandInfo{cmd::FileClose, "&Chiudi\tCtrl+F4", "", "", G::Framework},
    CommandInfo{cmd::FileSave, "&Salva\tCtrl+S", "Ctrl+S", "", G::Framework},
    CommandInfo{cmd::FileSaveAs, "Salva c&on nome...", "", "", G::Framework},
    CommandInfo{cmd::FileSaveAll, "Salva &tutto", "", "", G::Application},
    CommandInfo{cmd::FileSaveCompressed, "Sal&va compresso", "", "", G::Document},
    CommandInfo{cmd::SaveAsTemplate, "Salva progetto come &modello", "", "", G::Editor},
    CommandInfo{cmd::ExportHtml, "Esporta in &HTML", "",
                "Esporta il progetto su file HTML adatto per visualizzazione e stampa\nEsporta in HTML",
                G::Document},
    CommandInfo{cmd::ExportPdf, "Esporta in &PDF", "",
                "Esporta il progetto su file PDF adatto per visualizzazione e stampa\nEsporta in PDF",
                G::Document},
    CommandInfo{cmd::Preferences, "Pre&ferenze\tF4", "F4", "", G::Application},
    CommandInfo{cmd::FileMruFirst, "File recente", "", "", G::Framework},
    CommandInfo{cmd::AppExit, "&Esci\tAlt+F4", "", "", G::Framework},
    CommandInfo{cmd::EditUndo, "&Annulla\tCtrl+Z", "Ctrl+Z", "", G::Document},
    CommandInfo{cmd::EditRedo, "Ri&pristina\tCtrl+Y", "Ctrl+Y; Ctrl+Shift+Z", "", G::Document},
    CommandInfo{cmd::EditCut, "&Taglia\tCtrl+X", "Ctrl+X; Shift+Del", "", G::Views},
    CommandInfo{cmd::EditCopy, "&Copia\tCtrl+C", "Ctrl+C; Ctrl+Ins", "", G::Views},
    CommandInfo{cmd::CopyMerged, "Copia && &unisci\tCtrl+Shift+C", "Ctrl+Shift+C", "", G::Editor},
    CommandInfo{cmd::EditPaste, "&Incolla\tCtrl+V", "Ctrl+V; Shift+Ins", "", G::Views},
    CommandInfo{cmd::EditDelete, "&Elimina\tDel", "", "", G::Views},
    CommandInfo{cmd::EditSelectAll, "&Seleziona tutto\tCtrl+A", "Ctrl+A", "", G::Views},
    CommandInfo{cmd::ViewToolbar, "Barra degli s&trumenti", "", "", G::Framework, true},
    CommandInfo{cmd::ViewStatusBar, "Barra di &stato", "", "", G::Framework, true},
    CommandInfo{cmd::ShowPanel, "&Mostra pannello", "", "", G::MainFrame, true},
    CommandInfo{cmd::PanelSimple, "&Semplice", "", "", G::Panel, true},
    CommandInfo{cmd::PanelAdvanced, "&Avanzato", "", "", G::Panel, true},
    CommandInfo{cmd::ThumbnailsOnly, "Solo miniature\tAlt+F6", "Alt+F6", "", G::Thumbnails, true},
    CommandInfo{cmd::ZoomIn, "&Ingrandisci\tCtrl++", "Ctrl++; Ctrl+=", "", G::Editor},
    CommandInfo{cmd::ZoomOut, "Ri&duci\tCtrl+-", "Ctrl+-", "", G::Editor},
    CommandInfo{cmd::ZoomActual, "Dimensioni &reali\tCtrl+0", "Ctrl+0", "", G::Editor},
    CommandInfo{cmd::ZoomFit, "&Adatta alla finestra", "", "", G::Editor, true},
    CommandInfo{cmd::FirstFrame, "&Primo frame\tAlt+Ctrl+Freccia sinistra", "Ctrl+Alt+Left", "",
                G::Thumbnails},
    CommandInfo{cmd::PreviousFrame, "Frame precedente\tAlt+Freccia sinistra", "Alt+Left", "", G::Thumbnails},
    CommandInfo{cmd::NextFrame, "Frame successivo\tAlt+Freccia destra", "Alt+Right", "", G::Thumbnails},
    CommandInfo{cmd::LastFrame, "&Ultimo frame\tAlt+Ctrl+Freccia destra", "Ctrl+Alt+Right", "",
                G::Thumbnails},
    CommandInfo{cmd::ChooseFont, "Scegli il &carattere...\tCtrl+F", "Ctrl+F", "", G::Panel},
    CommandInfo{cmd::ChooseCursor, "Scegli il c&ursore...\tCtrl+R", "Ctrl+R",
                "Sceglie l'immagine del cursore di questo frame\nScegli cursore", G::Panel},
    CommandInfo{cmd::ChooseCallout, "Scegli il Ca&llout...\tCtrl+L", "Ctrl+L", "", G::Panel},
    CommandInfo{cmd::GotoTarget1, "Scegli la destinazione del pulsante VaiA &1...", "", "", G::Panel},
    CommandInfo{cmd::GotoTarget2, "Scegli la destinazione del pulsante VaiA &2...", "", "", G::Panel},
    CommandInfo{cmd::EditTitle, "Modifica t&itolo\tCtrl+I", "Ctrl+I", "", G::Panel},
    CommandInfo{cmd::EditText, "Modifica t&esto\tCtrl+E", "Ctrl+E", "", G::Panel},
    CommandInfo{cmd::InsertFrames, "&Inserisci frames\tIns", "", "", G::Editor},
    CommandInfo{cmd::CropFrames, "&Ritaglia frames", "", "", G::Editor},
    CommandInfo{cmd::MoveAllElements, "&Sposta tutti gli elementi", "", "", G::Thumbnails},
    CommandInfo{cmd::EditPalette, "&Modifica Palette\tCtrl+P", "Ctrl+P", "", G::Document},
    CommandInfo{cmd::NextButtonImage, "Scegli l'immagine del pulsante &Avanti", "", "", G::Editor},
    CommandInfo{cmd::PreviousButtonImage, "Scegli l'immagine del pulsante &Indietro", "", "", G::Editor},
    CommandInfo{cmd::Goto1ButtonImage, "Scegli l'immagine del pulsante VaiA &1", "", "", G::Editor},
    CommandInfo{cmd::Goto2ButtonImage, "Scegli l'immagine del pulsante VaiA &2", "", "", G::Editor},
    CommandInfo{cmd::BackgroundImage, "Scegli l'immagine di &sfondo", "", "", G::Editor},
    CommandInfo{cmd::ApplyTemplate, "Applica un &modello\tCtrl+T", "Ctrl+T", "", G::Editor},
    CommandInfo{cmd::ProjectInfo, "Informazioni...", "", "", G::Editor},
    CommandInfo{cmd::ProjectSettings, "Impostazioni...\tF3", "F3",
                "Visualizza/modifica le impostazioni del progetto corrente\nImpostazioni progetto",
                G::Document},
    CommandInfo{cmd::Render, "&Renderizza\tF7", "F7", "Renderizza il file di output del progetto\nRenderizza",
                G::Document},
    CommandInfo{cmd::ShowResult, "Mostra risultato...", "", "", G::Document},
    CommandInfo{cmd::WindowCascade, "Sovrapponi a &cascata", "", "", G::Framework},
    CommandInfo{cmd::WindowTile, "&Affianca", "", "", G::Framework},
    CommandInfo{cmd::WindowArrange, "&Disponi icone", "", "", G::Framework},
    CommandInfo{cmd::WindowsDialog, "&Finestre...", "", "", G::MainFrame},
    CommandInfo{cmd::UserGuide, "Guida &utente", "", "", G::MainFrame},
    CommandInfo{cmd::Tutorial1, "Tutorial &1", "", "", G::MainFrame},
    CommandInfo{cmd::Tutorial2, "Tutorial &2", "", "", G::MainFrame},
    CommandInfo{cmd::AppAbout, "&Informazioni su Quib...", "", "", G::Application},
    CommandInfo{cmd::NextPane, "", "F6", "", G::Framework},
    CommandInfo{cmd::PreviousPane, "", "Shift+F6", "", G::Framework},
};
}  // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(int id) {
    auto it =
        std::find_if(kCommands.begin(), kCommands.end(), [id](const CommandInfo& c) { return c.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

}  // namespace quib
