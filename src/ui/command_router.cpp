#include "command_router.h"

namespace quib {

std::vector<CommandHandler*> CommandRouter::chain() const {
    std::vector<CommandHandler*> levels;
    auto add = [&levels](CommandHandler* h) {
        if (h)
            levels.push_back(h);
    };
    add(m_mainFrame);
    add(m_panel);
    if (m_project) {
        ProjectCommandTargets project = m_project();
        add(project.activeView);
        add(project.otherView);
        add(project.document);
    }
    return levels;
}

CommandHandler* CommandRouter::handlerFor(int id) const {
    for (CommandHandler* h : chain())
        if (h->handles(id))
            return h;
    return nullptr;
}

bool CommandRouter::dispatch(int id) {
    CommandHandler* h = handlerFor(id);
    if (!h || !h->enabled(id))
        return false;
    h->run(id);
    return true;
}

bool CommandRouter::isEnabled(int id) const {
    CommandHandler* h = handlerFor(id);
    return h && h->enabled(id);
}

bool CommandRouter::isChecked(int id) const {
    CommandHandler* h = handlerFor(id);
    return h && h->checked(id);
}

QString CommandRouter::menuText(int id) const {
    CommandHandler* h = handlerFor(id);
    return h ? h->menuText(id) : QString();
}

}  // namespace quib
