#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/project_command.h"

namespace quib {

// The undo history of one project. Steps beyond the limit or the memory cap are forgotten,
// oldest first. The project is "clean" at the step it was last saved or loaded at.
class CommandStack {
public:
    // Records a change that is already made, merging it into the step before when that one
    // absorbs it. Anything that could be redone is dropped.
    void pushApplied(std::unique_ptr<ProjectCommand> command);

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < m_commands.size(); }
    std::string undoName() const { return canUndo() ? m_commands[m_index - 1]->name() : std::string(); }
    std::string redoName() const { return canRedo() ? m_commands[m_index]->name() : std::string(); }
    bool undo(CQuibDoc& doc);
    bool redo(CQuibDoc& doc);

    void setClean();
    // The project changed outside the history (a new project, captured frames): no step is
    // what the file holds any more, so undo never clears the modified mark.
    void forgetClean() {
        m_cleanIndex = -1;
        notify();
    }
    bool isClean() const { return m_cleanIndex == ptrdiff_t(m_index); }
    void clear();
    size_t count() const { return m_commands.size(); }
    // Steps kept at most (0: no limit) and bytes kept at most (0: no cap).
    void setLimits(size_t steps, size_t bytes);
    size_t cost() const;

    // Told after every push, undo, redo and clear.
    std::function<void()> changed;

private:
    void trim();
    void notify() const {
        if (changed)
            changed();
    }

    std::vector<std::unique_ptr<ProjectCommand>> m_commands;
    size_t m_index = 0;          // steps done; the next undo reverts m_commands[m_index - 1]
    ptrdiff_t m_cleanIndex = 0;  // -1: the saved state is no longer reachable
    size_t m_stepLimit = 100;
    size_t m_byteLimit = size_t(512) << 20;
};

}  // namespace quib
