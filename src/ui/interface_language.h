#pragma once

namespace quib {

// The interface speaks Italian whatever the desktop's language: the toolkit's own texts (standard
// buttons, file and colour dialogs) are loaded in Italian too. Returns whether they were found.
bool installItalianToolkitTexts();

}  // namespace quib
