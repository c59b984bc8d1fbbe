#include "command_actions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QToolBar>
#include <vector>

#include "command_ids.h"
#include "command_router.h"
#include "command_table.h"
#include "toolbar_icons.h"

namespace quib {

namespace {
QList<QKeySequence> parseKeys(const char* keys) {
    QList<QKeySequence> sequences;
    for (const QString& part : QString::fromUtf8(keys).split(QStringLiteral("; "), Qt::SkipEmptyParts))
        sequences.append(QKeySequence(part, QKeySequence::PortableText));
    return sequences;
}
}  // namespace

QString plainCommandText(const char* menuText) {
    QString text = QString::fromUtf8(menuText).section(QLatin1Char('\t'), 0, 0);
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    if (plain.endsWith(QStringLiteral("...")))
        plain.chop(3);
    return plain;
}

CommandActions::CommandActions(QObject* owner, std::function<void(int)> dispatcher) {
    for (const CommandInfo& info : commandTable()) {
        auto* action = new QAction(QString::fromUtf8(info.menuText), owner);
        action->setData(info.id);
        action->setShortcuts(parseKeys(info.keys));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(info.checkable);
        QString prompt = QString::fromUtf8(info.prompt);
        if (!prompt.isEmpty()) {
            action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
            action->setToolTip(prompt.section(QLatin1Char('\n'), 1));
        } else if (*info.menuText) {
            action->setToolTip(plainCommandText(info.menuText));
        }
        QIcon icon = commandIcon(info.id);
        if (!icon.isNull())
            action->setIcon(icon);
        action->setIconVisibleInMenu(false);
        const int id = info.id;
        QObject::connect(action, &QAction::triggered, owner, [dispatcher, id] { dispatcher(id); });
        m_actions[id] = action;
    }
}

QAction* CommandActions::action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CommandActions::updateStates(const CommandRouter& router) const {
    for (const auto& [id, action] : m_actions) {
        action->setEnabled(router.isEnabled(id));
        if (const CommandInfo* info = findCommand(id); info && *info->menuText) {
            QString text = router.menuText(id);
            if (text.isEmpty())
                text = QString::fromUtf8(info->menuText);
            if (action->text() != text) {
                action->setText(text);
                if (!*info->prompt)
                    action->setToolTip(plainCommandText(text.toUtf8().constData()));
            }
        }
        if (action->isCheckable())
            action->setChecked(router.isChecked(id));
    }
}

BuiltMenus buildMenus(std::span<const MenuItem> items, const CommandActions& actions, QWidget* parent) {
    BuiltMenus built;
    std::vector<QMenu*> open;
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::PopupBegin: {
                auto* menu = new QMenu(QString::fromUtf8(item.title), open.empty() ? parent : open.back());
                if (open.empty())
                    built.topLevel.append(menu);
                else
                    open.back()->addMenu(menu);
                open.push_back(menu);
                break;
            }
            case MenuItem::PopupEnd:
                open.pop_back();
                break;
            case MenuItem::Separator:
                open.back()->addSeparator();
                break;
            case MenuItem::WindowList:
                built.windowMenu = open.back();
                built.windowListAnchor = open.back()->addSeparator();
                break;
            case MenuItem::Command:
                if (QAction* action = actions.action(item.id)) {
                    open.back()->addAction(action);
                    if (item.id == cmd::FileMruFirst)
                        built.fileMenu = open.back();
                }
                break;
        }
    }
    return built;
}

void fillToolbar(QToolBar* toolbar, std::span<const int> ids, const CommandActions& actions) {
    for (int id : ids) {
        if (id == 0)
            toolbar->addSeparator();
        else if (QAction* action = actions.action(id))
            toolbar->addAction(action);
    }
}

}  // namespace quib
