#pragma once

#include <string>

namespace quib {

// Numbered user-interface texts (Italian). Texts without a number live beside the code that shows them.
namespace str {
inline constexpr int ThumbnailsInit = 6;    // "Inizializzazione delle miniature..."
inline constexpr int SavingCompressed = 7;  // "Salvo il progetto compresso"
inline constexpr int TemplateFilter = 8;
inline constexpr int LoadingCompressed = 9;  // "Carico il progetto compresso"
inline constexpr int FrameOfFrames = 10;     // "Frame %d di %d"
inline constexpr int SizeIndicator = 11;     // "%dx%d (%dx%d)"
inline constexpr int RectIndicator = 15;     // "%d,%d - %d,%d"
inline constexpr int NotRenderedYet = 16;
inline constexpr int AllSupportedTypes = 24;  // "Tutti i tipi supportati"
inline constexpr int AllFiles = 25;           // "Tutti i files"
inline constexpr int BackgroundTooSmall = 27;
inline constexpr int PropertiesFor = 28;     // "Proprietà per "
inline constexpr int TextPlaceholder = 29;   // "Il vostro testo apparirà qui..."
inline constexpr int TitlePlaceholder = 30;  // "Il titolo del frame apparirà qui..."
inline constexpr int FrameWord = 123;        // "Frame "
inline constexpr int MultipleSelection = 125;
inline constexpr int MultipleCallouts = 127;
inline constexpr int MultipleFonts = 128;
inline constexpr int Cropping = 173;
inline constexpr int CropTooLarge = 175;
inline constexpr int RemoveBackground = 177;
inline constexpr int GotoOutsideProject = 180;   // "destinazione fuori dal progetto"
inline constexpr int AppName = 57344;            // "Quib"
inline constexpr int Ready = 57345;              // "Pronto"
inline constexpr int CannotCreateFile = 61216;   // "Impossibile creare il file"
inline constexpr int UnknownFileFormat = 61225;  // "Formato di file sconosciuto"
inline constexpr int NumberOneToNinetyNine = 61227;
inline constexpr int InsertFramesFailed = 61228;  // "Errore sconosciuto durante l'inserimento dei frames"
inline constexpr int SaveChanges = 61699;         // "Salvare le modifiche di %1?"
inline constexpr int UnexpectedFormat = 61728;    // "Formato del file inaspettato."
inline constexpr int FileNotFound = 61729;        // "%1\nImpossibile trovare questo file...."
}  // namespace str

// The text of a numbered string, or an empty string for an unknown number.
const char* stringText(int id);

// printf-style formatting for the numbered texts that take %d arguments.
std::string formatString(int id, ...);

// Replaces "%1" in the text of id by arg, as the save-changes and file-not-found texts need.
std::string formatString1(int id, const std::string& arg);

}  // namespace quib
