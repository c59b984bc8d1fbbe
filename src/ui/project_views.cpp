#include "project_views.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "app_settings.h"
#include "application_callouts.h"
#include "child_frame.h"
#include "goto_frame_dialog.h"
#include "new_project_wizard.h"
#include "placeholder_views.h"
#include "properties_panel.h"
#include "quib_project_document.h"
#include "quib_thumb_view.h"
#include "quib_view.h"

namespace quib {

ProjectViews makeProjectViews(ProjectDocument& document) {
    if (auto* project = dynamic_cast<QuibProjectDocument*>(&document))
        return {new CQuibView(project->doc()), new CQuibThumbView(project->doc())};
    return {new PlaceholderEditorView(document.title()), new PlaceholderThumbnailView()};
}

namespace {
// The panel shows the active project and edits the frames selected in its strip.
void followActiveProject(CMainFrame& frame, CPropertiesPanel* panel) {
    CChildFrame* child = frame.activeChild();
    auto* project = child ? dynamic_cast<QuibProjectDocument*>(child->document()) : nullptr;
    if (!project) {
        panel->setDocument(nullptr);
        return;
    }
    if (panel->document() == &project->doc())
        return;
    QPointer<CQuibThumbView> strip = dynamic_cast<CQuibThumbView*>(child->thumbnailView());
    panel->setDocument(
        &project->doc(), [strip] { return strip ? strip->selectedRows() : std::vector<int>{}; }, child);
    if (strip && !strip->property("quibPanelFollows").toBool()) {
        strip->setProperty("quibPanelFollows", true);
        QObject::connect(strip, &QListWidget::itemSelectionChanged, panel, [panel, strip] {
            if (strip && panel->document() == &strip->document())
                panel->refresh();
        });
    }
}
}  // namespace

void installPropertiesPanel(CMainFrame& frame) {
    auto* panel = new CPropertiesPanel;
    panel->setSettings(&frame.settings());
    panel->setCommandPoster([&frame](int id) {
        frame.router().dispatch(id);
        frame.updateCommandStates();
    });
    frame.setPanelWidget(panel, panel);
    // Goto targets are chosen from the frames with the strip's thumbnails as previews.
    panel->choices().chooseFrame = [&frame, panel](int, int initial) -> std::optional<int> {
        CQuibDoc* doc = panel->document();
        if (!doc)
            return std::nullopt;
        CChildFrame* child = frame.activeChild();
        QPointer<CQuibThumbView> strip =
            child ? dynamic_cast<CQuibThumbView*>(child->thumbnailView()) : nullptr;
        std::function<QImage(int)> thumbnail;
        if (strip)
            thumbnail = [strip](int index) { return strip ? strip->thumbnail(index) : QImage(); };
        const int chosen = GotoFrameDialog::choose(*doc, initial, thumbnail, panel);
        return chosen < 0 ? std::nullopt : std::optional<int>(chosen);
    };
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, panel,
                     [&frame, panel] { followActiveProject(frame, panel); });
}

void rebuildAllThumbnails(CMainFrame& frame) {
    for (CChildFrame* child : frame.childFrames())
        if (auto* project = dynamic_cast<QuibProjectDocument*>(child->document()))
            project->doc().UpdateAllViews(hint::Everything);
}

void installProjectDocument(CMainFrame& frame) {
    useBuiltInCalloutsUntilLoaded();
    frame.setDocumentOpener(QuibProjectDocument::open);
    frame.setViewFactory(makeProjectViews);
    // "Nuovo" runs the capture wizard; it makes nothing when the wizard is cancelled.
    frame.setNewDocumentFactory(newProjectByWizard(frame));
    frame.setThumbnailSizeChanged([&frame] { rebuildAllThumbnails(frame); });
    QuibProjectDocument::interaction().savedUnderNewName =
        [window = QPointer<CMainFrame>(&frame)](const QString& path) {
            if (window)
                window->settings().addRecentFile(path);
        };
    installPropertiesPanel(frame);
}

}  // namespace quib
