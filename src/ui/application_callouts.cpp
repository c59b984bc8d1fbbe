#include "application_callouts.h"

#include <QApplication>

#include "callout_editor_dialog.h"
#include "child_frame.h"
#include "main_frame.h"
#include "model/doc_observer.h"
#include "model/frame_composition.h"
#include "quib_project_document.h"
#include "shapes/callout_library.h"
#include "shapes/callout_library_lookup.h"
#include "shapes/default_callouts.h"

namespace quib {

namespace {

CalloutLibrary& loadedLibrary() {
    static CalloutLibrary loaded;
    return loaded;
}

}  // namespace

QStringList loadApplicationCalloutLibrary() {
    FoundCalloutLibrary found = findCalloutLibrary();
    loadedLibrary() = std::move(found.library);
    setApplicationCalloutLibrary(&loadedLibrary());
    QStringList problems;
    for (const std::string& problem : found.problems)
        problems << QString::fromStdString(problem);
    return problems;
}

void useBuiltInCalloutsUntilLoaded() {
    if (!applicationCalloutLibrary()) {
        static const CalloutLibrary builtIn = defaultCalloutLibrary();
        setApplicationCalloutLibrary(&builtIn);
    }
}

CalloutLibrary& editableApplicationCalloutLibrary() {
    CalloutLibrary& loaded = loadedLibrary();
    const CalloutLibrary* current = applicationCalloutLibrary();
    if (current != &loaded) {
        if (current)
            loaded = *current;
        setApplicationCalloutLibrary(&loaded);
    }
    return loaded;
}

QString userCalloutLibraryPath() {
    return QString::fromStdString(calloutLibraryFiles().front());
}

void redrawOpenProjects() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* main = dynamic_cast<CMainFrame*>(window);
        if (!main)
            continue;
        for (CChildFrame* child : main->childFrames())
            if (auto* project = dynamic_cast<QuibProjectDocument*>(child->document()))
                project->doc().UpdateAllViews(hint::TextBoxVisibility);
    }
}

std::optional<size_t> runCalloutEditor(QWidget* parent, const std::string& current) {
    CalloutLibrary& library = editableApplicationCalloutLibrary();
    CalloutEditorDialog dialog(library, current, userCalloutLibraryPath(), parent);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    if (dialog.libraryChanged())
        redrawOpenProjects();
    if (!chosen || dialog.resultIndex() < 0 || size_t(dialog.resultIndex()) >= library.size())
        return std::nullopt;
    return size_t(dialog.resultIndex());
}

}  // namespace quib
