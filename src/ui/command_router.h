#pragma once

#include <functional>
#include <vector>

#include "command_handler.h"

namespace quib {

// The levels a project window offers to the router: its active view first, then the other view,
// then the document. Any of them may be missing.
struct ProjectCommandTargets {
    CommandHandler* activeView = nullptr;
    CommandHandler* otherView = nullptr;
    CommandHandler* document = nullptr;
};

// Routes a command through main window, properties panel, active view, other view and document;
// the first level that handles it runs it and decides whether it is enabled.
class CommandRouter {
public:
    void setMainFrame(CommandHandler* handler) { m_mainFrame = handler; }
    void setPanel(CommandHandler* handler) { m_panel = handler; }
    void setActiveProject(std::function<ProjectCommandTargets()> provider) {
        m_project = std::move(provider);
    }

    std::vector<CommandHandler*> chain() const;
    CommandHandler* handlerFor(int id) const;

    // Runs the command on its handler; false when nothing handles it or it is disabled.
    bool dispatch(int id);
    bool isEnabled(int id) const;
    bool isChecked(int id) const;
    QString menuText(int id) const;

private:
    CommandHandler* m_mainFrame = nullptr;
    CommandHandler* m_panel = nullptr;
    std::function<ProjectCommandTargets()> m_project;
};

}  // namespace quib
