#include "model/command_stack.h"

#include "model/quib_doc.h"

namespace quib {

void CommandStack::pushApplied(std::unique_ptr<ProjectCommand> command) {
    if (!command)
        return;
    if (m_index < m_commands.size()) {
        m_commands.erase(m_commands.begin() + ptrdiff_t(m_index), m_commands.end());
        if (m_cleanIndex > ptrdiff_t(m_index))
            m_cleanIndex = -1;
    }
    // A merged step must not swallow the saved state: after a save the next edit starts anew.
    if (m_index > 0 && m_cleanIndex != ptrdiff_t(m_index) && m_commands[m_index - 1]->absorb(*command)) {
        notify();
        return;
    }
    m_commands.push_back(std::move(command));
    ++m_index;
    trim();
    notify();
}

bool CommandStack::undo(CQuibDoc& doc) {
    if (!canUndo())
        return false;
    m_commands[--m_index]->revert(doc);
    doc.SetModifiedFlag(!isClean());
    notify();
    return true;
}

bool CommandStack::redo(CQuibDoc& doc) {
    if (!canRedo())
        return false;
    m_commands[m_index++]->apply(doc);
    doc.SetModifiedFlag(!isClean());
    notify();
    return true;
}

void CommandStack::setClean() {
    m_cleanIndex = ptrdiff_t(m_index);
    notify();
}

void CommandStack::clear() {
    m_commands.clear();
    m_index = 0;
    m_cleanIndex = 0;
    notify();
}

void CommandStack::setLimits(size_t steps, size_t bytes) {
    m_stepLimit = steps;
    m_byteLimit = bytes;
    trim();
}

size_t CommandStack::cost() const {
    size_t total = 0;
    for (const auto& command : m_commands)
        total += command->cost();
    return total;
}

void CommandStack::trim() {
    size_t drop = 0;
    if (m_stepLimit > 0 && m_commands.size() > m_stepLimit)
        drop = m_commands.size() - m_stepLimit;
    if (m_byteLimit > 0) {
        size_t total = cost();
        for (size_t k = 0; k < drop; ++k)
            total -= m_commands[k]->cost();
        // The newest step stays whatever it costs.
        while (total > m_byteLimit && drop + 1 < m_commands.size() && drop < m_index)
            total -= m_commands[drop++]->cost();
    }
    drop = std::min(drop, m_index);
    if (drop == 0)
        return;
    m_commands.erase(m_commands.begin(), m_commands.begin() + ptrdiff_t(drop));
    m_index -= drop;
    m_cleanIndex = m_cleanIndex >= ptrdiff_t(drop) ? m_cleanIndex - ptrdiff_t(drop) : -1;
}

}  // namespace quib
