#include "startup_steps.h"

#include <algorithm>

namespace quib {

void StartupSteps::add(const QString& name, Body body) {
    m_steps.push_back({name, std::move(body)});
}

std::vector<StartupSteps::Step>::iterator StartupSteps::find(const QString& name) {
    return std::find_if(m_steps.begin(), m_steps.end(), [&name](const Step& s) { return s.name == name; });
}

bool StartupSteps::replace(const QString& name, Body body) {
    auto it = find(name);
    if (it == m_steps.end())
        return false;
    it->body = std::move(body);
    return true;
}

bool StartupSteps::insertAfter(const QString& existing, const QString& name, Body body) {
    auto it = find(existing);
    if (it == m_steps.end())
        return false;
    m_steps.insert(it + 1, {name, std::move(body)});
    return true;
}

bool StartupSteps::run() {
    m_executed.clear();
    for (const Step& step : m_steps) {
        m_executed.append(step.name);
        if (step.body && !step.body())
            return false;
    }
    return true;
}

QStringList StartupSteps::names() const {
    QStringList list;
    for (const Step& step : m_steps)
        list.append(step.name);
    return list;
}

}  // namespace quib
