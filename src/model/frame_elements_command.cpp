#include "model/frame_elements_command.h"

#include "model/doc_observer.h"
#include "model/quib_doc.h"

namespace quib {

void FrameElementsCommand::put(CQuibDoc& doc, bool after) const {
    for (const FrameChange& change : m_changes) {
        if (!doc.isValidIndex(change.index))
            continue;
        const Frame& state = after ? change.after : change.before;
        Frame& stored = doc.frames[size_t(change.index)];
        stored.assignElements(state);
        stored.cursorPixels = state.cursorPixels;
    }
    // The stored frames are the truth now: the working copy is reloaded, at the first frame the
    // step touched, so that the reader sees what came back.
    doc.elementsChanged = false;
    const int shown = m_changes.empty() ? doc.currentFrameIndex : m_changes.front().index;
    if (doc.isValidIndex(shown))
        doc.SelectFrame(shown, true);
    doc.UpdateAllViews(hint::CurrentFrameChanged);
}

void FrameElementsCommand::apply(CQuibDoc& doc) {
    put(doc, true);
}

void FrameElementsCommand::revert(CQuibDoc& doc) {
    put(doc, false);
}

bool FrameElementsCommand::absorb(const ProjectCommand& next) {
    const auto* other = dynamic_cast<const FrameElementsCommand*>(&next);
    if (!other || m_mergeKey.empty() || other->m_mergeKey != m_mergeKey ||
        other->m_changes.size() != m_changes.size())
        return false;
    for (size_t k = 0; k < m_changes.size(); ++k)
        if (m_changes[k].index != other->m_changes[k].index)
            return false;
    for (size_t k = 0; k < m_changes.size(); ++k)
        m_changes[k].after = other->m_changes[k].after;
    return true;
}

size_t FrameElementsCommand::cost() const {
    size_t total = 0;
    for (const FrameChange& change : m_changes)
        total += 2 * sizeof(Frame) + change.before.cursorPixels.size() + change.after.cursorPixels.size();
    return total;
}

}  // namespace quib
