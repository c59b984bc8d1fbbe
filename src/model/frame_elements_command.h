#pragma once

#include <string>
#include <vector>

#include "model/frame.h"
#include "model/project_command.h"

namespace quib {

// The elements (and cursor picture) of some frames before and after an edit.
struct FrameChange {
    int index = -1;
    Frame before;  // elements and cursor pixels only
    Frame after;
};

// An edit of frame elements: a move, a resize, a text or a property. Edits with the same merge
// key on the same frames, one right after the other, are one step (typing, nudges).
class FrameElementsCommand final : public ProjectCommand {
public:
    FrameElementsCommand(std::string name, std::vector<FrameChange> changes, std::string mergeKey = {})
        : ProjectCommand(std::move(name)), m_changes(std::move(changes)), m_mergeKey(std::move(mergeKey)) {}
    void apply(CQuibDoc& doc) override;
    void revert(CQuibDoc& doc) override;
    bool absorb(const ProjectCommand& next) override;
    size_t cost() const override;

private:
    void put(CQuibDoc& doc, bool after) const;

    std::vector<FrameChange> m_changes;
    std::string m_mergeKey;
};

}  // namespace quib
