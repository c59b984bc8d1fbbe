#include "project_views.h"

#include "model/frame_composition.h"
#include "new_project_wizard.h"
#include "placeholder_views.h"
#include "quib_project_document.h"
#include "quib_thumb_view.h"
#include "quib_view.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"

namespace quib {

ProjectViews makeProjectViews(ProjectDocument& document) {
    if (auto* project = dynamic_cast<QuibProjectDocument*>(&document))
        return {new CQuibView(project->doc()), new CQuibThumbView(project->doc())};
    return {new PlaceholderEditorView(document.title()), new PlaceholderThumbnailView()};
}

void installProjectDocument(CMainFrame& frame) {
    if (!applicationCalloutLibrary()) {
        static const CalloutLibrary library = defaultCalloutLibrary();
        setApplicationCalloutLibrary(&library);
    }
    frame.setDocumentOpener(QuibProjectDocument::open);
    frame.setViewFactory(makeProjectViews);
    // "Nuovo" runs the capture wizard; it makes nothing when the wizard is cancelled.
    frame.setNewDocumentFactory(newProjectByWizard(frame));
}

}  // namespace quib
