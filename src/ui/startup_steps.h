#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace quib {

// The start-up sequence as named steps run in order; a step returning false ends start-up.
// Subsystems plug in by replacing the body of their step or adding one after another.
class StartupSteps {
public:
    using Body = std::function<bool()>;

    void add(const QString& name, Body body);
    // False when no step has that name.
    bool replace(const QString& name, Body body);
    bool insertAfter(const QString& existing, const QString& name, Body body);

    // Runs every step in order until one fails; true when all succeeded.
    bool run();

    QStringList names() const;
    // Steps that ran in the last run, in order (the failing one included).
    const QStringList& executed() const { return m_executed; }

private:
    struct Step {
        QString name;
        Body body;
    };
    std::vector<Step>::iterator find(const QString& name);

    std::vector<Step> m_steps;
    QStringList m_executed;
};

}  // namespace quib
