#pragma once

#include "shapes/callout_library.h"

namespace quib {

// The callouts shipped with the program: rectangle, rounded box, speech bubbles pointing down, up,
// left and right, a highlight frame and a note.
CalloutLibrary defaultCalloutLibrary();

// What a text box draws when its callout is no longer in the library (deleted or renamed away, or
// a project from another library): a plain white box with a grey edge, so that the text
// still shows. Text boxes that name no callout draw nothing, as before.
const Callout* calloutForTextBox(const CalloutLibrary& library, std::string_view name);

}  // namespace quib
