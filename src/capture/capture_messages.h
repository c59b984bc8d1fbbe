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
inline constexpr const char* PortalUnavailable =
    "Il portale del desktop non è disponibile: impossibile catturare lo schermo.";
inline constexpr const char* PortalTimedOut = "Il portale del desktop non ha risposto in tempo.";
inline constexpr const char* PortalCancelled = "La scelta dello schermo da catturare è stata annullata.";
inline constexpr const char* PortalRefused = "Il desktop ha rifiutato la condivisione dello schermo.";
inline constexpr const char* StreamFailed = "Impossibile ricevere le immagini dello schermo condiviso.";
inline constexpr const char* StreamEnded =
    "La condivisione dello schermo è terminata: riaprire la cattura per sceglierlo di nuovo.";
inline constexpr const char* NoFrameYet = "Lo schermo condiviso non ha ancora inviato immagini.";
inline constexpr const char* PortalNoKeys =
    "Questo desktop non offre scorciatoie globali: i tasti \"Pausa\" e \"Shift+Pausa\" non arrivano a "
    "Quib quando si usano altre finestre.";
inline constexpr const char* PortalKeysRefused =
    "Il desktop offre scorciatoie globali ma non le ha concesse a Quib: i tasti \"Pausa\" e "
    "\"Shift+Pausa\" non arrivano a Quib quando si usano altre finestre.";
inline constexpr const char* CursorInPicture =
    "Questo desktop non fornisce il cursore separatamente: resterà disegnato nei frame catturati.";

}  // namespace quib::captureText
