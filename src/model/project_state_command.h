#pragma once

#include <memory>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "model/frame.h"
#include "model/project_command.h"

namespace quib {

// Everything of a project that an edit of its frame list or its settings can change. Frames
// share their picture streams with the project, so a state costs little more than the elements.
struct ProjectState {
    std::vector<Frame> frames;
    int32_t currentFrameIndex = -1;
    Size backgroundSize;
    Size frameSize;
    Point frameOrigin;
    std::shared_ptr<const ButtonImageSet> buttonImages;
    std::shared_ptr<const Bitmap24> backgroundImage;
    std::shared_ptr<const ProjectSettings> settings;
    TitleSettings titles;

    // The committed state of doc (commit pending edits first). Parts equal to like's share its copy.
    static ProjectState of(const CQuibDoc& doc, const ProjectState* like = nullptr);
    // Puts the state back and reloads the current frame's working copy.
    void restoreInto(CQuibDoc& doc) const;
    size_t cost() const;
};

// A change of the frame list or of project-wide settings: the state before and after.
class ProjectStateCommand final : public ProjectCommand {
public:
    ProjectStateCommand(std::string name, ProjectState before, ProjectState after)
        : ProjectCommand(std::move(name)), m_before(std::move(before)), m_after(std::move(after)) {}
    void apply(CQuibDoc& doc) override;
    void revert(CQuibDoc& doc) override;
    size_t cost() const override;

private:
    ProjectState m_before;
    ProjectState m_after;
    mutable size_t m_cost = 0;  // worked out once: the states never change
};

}  // namespace quib
