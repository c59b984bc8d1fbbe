#include "model/project_state_command.h"

#include <unordered_set>

#include "model/doc_observer.h"
#include "model/quib_doc.h"

namespace quib {

namespace {

template <typename T>
std::shared_ptr<const T> shareIfEqual(const T& value, const std::shared_ptr<const T>& like) {
    if (like && *like == value)
        return like;
    return std::make_shared<const T>(value);
}

}  // namespace

ProjectState ProjectState::of(const CQuibDoc& doc, const ProjectState* like) {
    ProjectState state;
    state.frames = doc.frames;
    state.currentFrameIndex = doc.currentFrameIndex;
    state.backgroundSize = doc.backgroundSize;
    state.frameSize = doc.frameSize;
    state.frameOrigin = doc.frameOrigin;
    state.buttonImages = shareIfEqual(doc.buttonImages, like ? like->buttonImages : nullptr);
    state.backgroundImage = shareIfEqual(doc.backgroundImage, like ? like->backgroundImage : nullptr);
    state.settings = shareIfEqual(doc.settings, like ? like->settings : nullptr);
    state.titles = doc.titles;
    return state;
}

void ProjectState::restoreInto(CQuibDoc& doc) const {
    doc.frames = frames;
    doc.backgroundSize = backgroundSize;
    doc.frameSize = frameSize;
    doc.frameOrigin = frameOrigin;
    doc.buttonImages = *buttonImages;
    doc.backgroundImage = *backgroundImage;
    doc.settings = *settings;
    doc.titles = titles;
    // The working copy belongs to the state being left: reload it, never commit it.
    doc.elementsChanged = doc.imageChanged = false;
    doc.currentFrameIndex = currentFrameIndex;
    if (doc.isValidIndex(currentFrameIndex)) {
        doc.SelectFrame(currentFrameIndex, true);
    } else {
        doc.currentFrame = Frame();
        doc.currentImage.clear();
    }
    doc.UpdateAllViews(hint::Everything);
}

size_t ProjectState::cost() const {
    size_t total = frames.size() * sizeof(Frame);
    for (const Frame& frame : frames)
        total += frame.cursorPixels.size() + frame.textBox.text.size() + frame.title.size();
    return total;
}

void ProjectStateCommand::apply(CQuibDoc& doc) {
    m_after.restoreInto(doc);
}

void ProjectStateCommand::revert(CQuibDoc& doc) {
    m_before.restoreInto(doc);
}

size_t ProjectStateCommand::cost() const {
    if (m_cost != 0)
        return m_cost;
    // Pictures that differ between the two states are kept only by the history.
    size_t total = m_before.cost() + m_after.cost();
    auto streamsOnlyIn = [](const ProjectState& state, const ProjectState& other) {
        std::unordered_set<const uint8_t*> shared;
        for (const Frame& frame : other.frames)
            shared.insert(frame.imageData.data());
        size_t bytes = 0;
        for (const Frame& frame : state.frames)
            if (!shared.count(frame.imageData.data()))
                bytes += frame.imageData.size();
        return bytes;
    };
    total += streamsOnlyIn(m_before, m_after) + streamsOnlyIn(m_after, m_before);
    if (m_before.backgroundImage != m_after.backgroundImage)
        total += m_before.backgroundImage->pixels.size() + m_after.backgroundImage->pixels.size();
    m_cost = total;
    return total;
}

}  // namespace quib
