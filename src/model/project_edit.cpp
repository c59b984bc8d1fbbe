#include "model/project_edit.h"

#include <memory>

#include "model/frame_elements_command.h"
#include "model/project_state_command.h"
#include "model/quib_doc.h"

namespace quib {

namespace {

// Stores the working copy's pending edits without reloading it: it already shows what is stored.
void commitPending(CQuibDoc& doc) {
    if (!doc.isValidIndex(doc.currentFrameIndex))
        return;
    if (doc.imageChanged && doc.CommitFrameImage(-1))
        doc.imageChanged = false;
    if (doc.elementsChanged && doc.CommitFrameElements(-1))
        doc.elementsChanged = false;
}

// A frame's committed elements and cursor pixels, without its picture stream.
Frame storedElements(const CQuibDoc& doc, int index) {
    Frame frame;
    if (doc.isValidIndex(index)) {
        frame.assignElements(doc.frames[size_t(index)]);
        frame.cursorPixels = doc.frames[size_t(index)].cursorPixels;
    }
    return frame;
}

}  // namespace

bool editProject(CQuibDoc& doc, std::string name, const std::function<bool()>& edit) {
    if (doc.editDepth() > 0)
        return edit();
    commitPending(doc);
    ProjectState before = ProjectState::of(doc);
    bool changed = false;
    {
        CQuibDoc::EditScope scope(doc);
        changed = edit();
    }
    if (!changed)
        return false;
    commitPending(doc);
    ProjectState after = ProjectState::of(doc, &before);
    doc.commands.pushApplied(
        std::make_unique<ProjectStateCommand>(std::move(name), std::move(before), std::move(after)));
    doc.SetModifiedFlag(true);
    return true;
}

Status editProject(CQuibDoc& doc, std::string name, const std::function<Status()>& operation) {
    Status status;
    editProject(doc, std::move(name), [&] {
        status = operation();
        return status.ok();
    });
    return status;
}

FrameEditRecorder::FrameEditRecorder(CQuibDoc& doc, std::string name, std::vector<int> indices,
                                     std::string mergeKey)
    : m_doc(doc), m_name(std::move(name)), m_mergeKey(std::move(mergeKey)), m_indices(std::move(indices)) {
    if (doc.editDepth() > 0)
        return;
    commitPending(doc);
    for (int index : m_indices)
        m_before.push_back(storedElements(doc, index));
}

bool FrameEditRecorder::finish() {
    if (m_doc.editDepth() > 0)
        return true;
    commitPending(m_doc);
    std::vector<FrameChange> changes;
    for (size_t k = 0; k < m_indices.size(); ++k) {
        if (!m_doc.isValidIndex(m_indices[k]))
            continue;
        Frame after = storedElements(m_doc, m_indices[k]);
        if (after.elements() == m_before[k].elements() && after.cursorPixels == m_before[k].cursorPixels)
            continue;
        changes.push_back(FrameChange{m_indices[k], std::move(m_before[k]), std::move(after)});
    }
    if (changes.empty())
        return false;
    m_doc.commands.pushApplied(
        std::make_unique<FrameElementsCommand>(std::move(m_name), std::move(changes), std::move(m_mergeKey)));
    m_doc.SetModifiedFlag(true);
    return true;
}

bool editFrames(CQuibDoc& doc, std::string name, std::vector<int> indices, const std::function<void()>& edit,
                std::string mergeKey) {
    FrameEditRecorder recorder(doc, std::move(name), std::move(indices), std::move(mergeKey));
    edit();
    return recorder.finish();
}

}  // namespace quib
