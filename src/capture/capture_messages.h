#pragma once

namespace quib::captureText {

inline constexpr const char* NoX11Display =
    "Nessun display X11 disponibile: impossibile catturare lo schermo e usare i tasti "
    "\"Pausa\" e \"Shift+Pausa\".";
inline constexpr const char* HotKeyTaken =
    "Il tasto \"Pausa\" è già usato da un'altra applicazione: la cattura con la tastiera non è "
    "disponibile.";
inline constexpr const char* NoPauseKey = "La tastiera non ha un tasto \"Pausa\".";
inline constexpr const char* UnsupportedScreenFormat = "Formato dei pixel dello schermo non supportato.";
inline constexpr const char* ScreenReadFailed = "Impossibile leggere il contenuto dello schermo.";
inline constexpr const char* RegionTooLarge = "La regione di cattura è troppo grande.";

}  // namespace quib::captureText
