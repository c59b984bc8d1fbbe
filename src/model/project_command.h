#pragma once

#include <string>

namespace quib {

class CQuibDoc;

// One undoable change of a project, recorded after it was made: revert() gives back the project
// as it was before, apply() as it was after.
class ProjectCommand {
public:
    explicit ProjectCommand(std::string name) : m_name(std::move(name)) {}
    virtual ~ProjectCommand() = default;

    // The action as the Edit menu names it ("Sposta casella di testo").
    const std::string& name() const { return m_name; }
    virtual void apply(CQuibDoc& doc) = 0;
    virtual void revert(CQuibDoc& doc) = 0;
    // Takes next, recorded right after this one, into this step (typing in one field, nudges in a
    // row). Returns false to keep them apart.
    virtual bool absorb(const ProjectCommand& /*next*/) { return false; }
    // Rough bytes this step keeps alive, for the stack's memory cap.
    virtual size_t cost() const { return 0; }

private:
    std::string m_name;
};

}  // namespace quib
