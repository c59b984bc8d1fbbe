#pragma once

#include "main_frame.h"

namespace quib {

// The editor and thumbnail strip of a project document (placeholders for other documents).
ProjectViews makeProjectViews(ProjectDocument& document);

// Plugs the project document, its views, the new-project command and the callout library in.
void installProjectDocument(CMainFrame& frame);

}  // namespace quib
