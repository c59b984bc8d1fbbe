#include "strings.h"

#include <cstdarg>
#include <cstdio>
#include <unordered_map>

namespace quib {

namespace {
const std::unordered_map<int, const char*>& table() {
    static const std::unordered_map<int, const char*> texts = {
        {6, "Inizializzazione delle miniature..."},
        {7, "Salvo il progetto compresso"},
        {8, "Modelli di Quib (*.qtp)|*.qtp|Tutti i files (*.*)|*.*||"},
        {9, "Carico il progetto compresso"},
        {10, "Frame %d di %d"},
        {11, "%dx%d (%dx%d)"},
        {15, "%d,%d - %d,%d"},
        {16, "Questo progetto non ha ancora un file di output. Volete eseguire il rendering ora?"},
        {24, "Tutti i tipi supportati"},
        {25, "Tutti i files"},
        {27,
         "La dimensione dello sfondo deve essere maggiore dell'immagine attuale.\nInserire un valore "
         "maggiore, o scegliere un file immagine più grande."},
        {28, "Proprietà per "},
        {29, "Il vostro testo apparirà qui..."},
        {30, "Il titolo del frame apparirà qui..."},
        {123, "Frame "},
        {125, "Selezione multipla"},
        {127, "<Multiple Callouts>"},
        {128, "<Multiple Fonts>"},
        {173, "Ritaglio..."},
        {175, "La dimensione di ritaglio deve essere inferiore a quella corrente."},
        {177,
         "Questo rimuovera' l'immagine di sfondo. Per ripristinarla, dovrete di nuovo scegliere lo "
         "sfondo. Continuate?"},
        {180, "destinazione fuori dal progetto"},
        {57344, "Quib"},
        {57345, "Pronto"},
        {61216, "Impossibile creare il file"},
        {61225, "Formato di file sconosciuto"},
        {61227, "Si prega di inserire un numero tra 1 e 99"},
        {61228, "Errore sconosciuto durante l'inserimento dei frames"},
        {61699, "Salvare le modifiche di %1?"},
        {61728, "Formato del file inaspettato."},
        {61729,
         "%1\nImpossibile trovare questo file.\nVerificare che il percorso ed il nome del file siano "
         "corretti."},
    };
    return texts;
}
}  // namespace

const char* stringText(int id) {
    auto it = table().find(id);
    return it == table().end() ? "" : it->second;
}

std::string formatString(int id, ...) {
    va_list args;
    va_start(args, id);
    va_list copy;
    va_copy(copy, args);
    const char* format = stringText(id);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out(n > 0 ? size_t(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(out.data(), out.size() + 1, format, args);
    va_end(args);
    return out;
}

std::string formatString1(int id, const std::string& arg) {
    std::string text = stringText(id);
    auto at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, arg);
    return text;
}

}  // namespace quib
