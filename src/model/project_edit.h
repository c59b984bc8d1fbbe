#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/status.h"
#include "model/frame.h"

namespace quib {

class CQuibDoc;

// Runs edit as one undoable step of the project's history: pending edits of the current frame
// are committed first, then the project before and after is recorded. edit returns whether it
// changed anything; nothing is recorded when it did not. An edit run inside another is part of
// the outer step.
bool editProject(CQuibDoc& doc, std::string name, const std::function<bool()>& edit);

// The same for an operation that reports a Status: recorded when it succeeds.
Status editProject(CQuibDoc& doc, std::string name, const std::function<Status()>& operation);

// Records an edit of frame elements that spans several events (a drag): made when it starts,
// finish() records one step when anything changed.
class FrameEditRecorder {
public:
    FrameEditRecorder(CQuibDoc& doc, std::string name, std::vector<int> indices, std::string mergeKey = {});
    // Records the step; false when nothing changed.
    bool finish();

private:
    CQuibDoc& m_doc;
    std::string m_name;
    std::string m_mergeKey;
    std::vector<int> m_indices;
    std::vector<Frame> m_before;
};

// Runs edit, which changes elements of the frames at indices, as one undoable step; steps with
// the same mergeKey on the same frames in a row merge (typing in one field).
bool editFrames(CQuibDoc& doc, std::string name, std::vector<int> indices, const std::function<void()>& edit,
                std::string mergeKey = {});

}  // namespace quib
