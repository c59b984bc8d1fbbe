#include "application_callouts.h"

#include <QApplication>
#include <QMessageBox>

#include "callout_editor_dialog.h"
#include "child_frame.h"
#include "main_frame.h"
#include "model/doc_observer.h"
#include "model/frame_composition.h"
#include "model/project_edit.h"
#include "model/quib_doc.h"
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

std::vector<CQuibDoc*> openProjects() {
    std::vector<CQuibDoc*> docs;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* main = dynamic_cast<CMainFrame*>(window);
        if (!main)
            continue;
        for (CChildFrame* child : main->childFrames())
            if (auto* project = dynamic_cast<QuibProjectDocument*>(child->document()))
                docs.push_back(&project->doc());
    }
    return docs;
}

std::vector<int> framesNaming(const CQuibDoc& doc, const std::string& name) {
    std::vector<int> frames;
    for (int i = 0; i < doc.frameCount(); ++i) {
        FrameElements frame;
        doc.GetFrame(i, frame);
        if (frame.textBox.calloutName == name)
            frames.push_back(i);
    }
    return frames;
}

int framesUsing(const std::string& name) {
    int users = 0;
    for (CQuibDoc* doc : openProjects())
        users += int(framesNaming(*doc, name).size());
    return users;
}

// Renamed callouts keep their frames, when the user agrees.
void followRenames(QWidget* parent, const std::vector<CalloutNameChange>& changes) {
    for (const CalloutNameChange& change : changes) {
        if (change.newName.empty())
            continue;
        const int users = framesUsing(change.oldName);
        if (users == 0)
            continue;
        const QString question =
            QString::fromUtf8(
                "Il Callout \"%1\" è usato da %2 frame dei progetti aperti.\nRinominarlo anche nei frame?")
                .arg(QString::fromStdString(change.oldName))
                .arg(users);
        if (QMessageBox::question(parent, QStringLiteral("Callout Editor"), question,
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            continue;
        for (CQuibDoc* doc : openProjects())
            renameCalloutInFrames(*doc, change.oldName, change.newName);
    }
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
    for (CQuibDoc* doc : openProjects())
        doc->UpdateAllViews(hint::TextBoxVisibility);
}

int renameCalloutInFrames(CQuibDoc& doc, const std::string& oldName, const std::string& newName) {
    const std::vector<int> frames = framesNaming(doc, oldName);
    if (frames.empty())
        return 0;
    editFrames(doc, "Rinomina Callout", frames, [&] {
        for (int index : frames) {
            Frame frame;
            doc.GetFrame(index, frame);
            frame.textBox.calloutName = newName;
            doc.SetFrame(index, frame, false);
        }
    });
    return int(frames.size());
}

std::optional<size_t> runCalloutEditor(QWidget* parent, const std::string& current) {
    CalloutLibrary& library = editableApplicationCalloutLibrary();
    CalloutEditorDialog dialog(library, current, userCalloutLibraryPath(), parent);
    dialog.setUseCounter(framesUsing);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    followRenames(parent, dialog.nameChanges());
    if (dialog.libraryChanged())
        redrawOpenProjects();
    if (!chosen || dialog.resultIndex() < 0 || size_t(dialog.resultIndex()) >= library.size())
        return std::nullopt;
    return size_t(dialog.resultIndex());
}

}  // namespace quib
