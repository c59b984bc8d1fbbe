#pragma once

#include "main_frame.h"

namespace quib {

// The editor and thumbnail strip of a project document (placeholders for other documents).
ProjectViews makeProjectViews(ProjectDocument& document);

// Every open project's views start again from its frames (after the thumbnail size changed).
void rebuildAllThumbnails(CMainFrame& frame);

// The properties panel in the main window's dock, following the active project.
void installPropertiesPanel(CMainFrame& frame);

// Plugs the project document, its views, the new-project command, the callout library and the
// properties panel in.
void installProjectDocument(CMainFrame& frame);

}  // namespace quib
