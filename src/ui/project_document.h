#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "command_handler.h"

namespace quib {

// What the application shell needs of an open project; the project document implements it and
// is the last level of command routing.
class ProjectDocument : public CommandHandler {
public:
    virtual QString pathName() const = 0;
    // The name shown in window titles and prompts.
    virtual QString title() const = 0;
    virtual bool isModified() const = 0;
    // Saves under the current name (asking for one when there is none); false when not saved.
    virtual bool save() = 0;
    // Called after every change the document tells its views of (current frame, modified flag).
    virtual void setChangeListener(std::function<void()> listener) { (void)listener; }

    bool handles(int) const override { return false; }
    void run(int) override {}
    bool enabled(int) const override { return false; }
};

// Opens the project file at path; on failure returns nullptr and sets the message to show.
using DocumentOpener = std::function<std::unique_ptr<ProjectDocument>(const QString& path, QString* error)>;

}  // namespace quib
