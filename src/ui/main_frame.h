#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

#include "command_actions.h"
#include "command_handler.h"
#include "command_router.h"
#include "project_document.h"

class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QSettings;
class QTimer;
class QToolBar;

namespace quib {

struct AppSettings;
class CChildFrame;
class QuibStatusBar;

// The two views of a project window, made for a newly opened document.
struct ProjectViews {
    QWidget* editor = nullptr;
    QWidget* thumbnails = nullptr;
};
using ViewFactory = std::function<ProjectViews(ProjectDocument& document)>;

// The main window: menus, toolbar, status bar, properties panel and the project windows. It is
// the first level of command routing and handles the window, file-list and application commands.
class CMainFrame : public QMainWindow, public CommandHandler {
public:
    CMainFrame(AppSettings& settings, QSettings& store, QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(int id) const { return m_actions->action(id); }
    const CommandActions& commandActions() const { return *m_actions; }
    CommandRouter& router() { return m_router; }
    QuibStatusBar* panes() const { return m_statusBar; }
    QToolBar* toolbar() const { return m_toolbar; }
    QMdiArea* mdiArea() const { return m_mdi; }
    QDockWidget* propertiesPanel() const { return m_panel; }
    AppSettings& settings() { return m_settings; }

    // Plug-in points for the project document, its views and the properties panel.
    void setDocumentOpener(DocumentOpener opener) { m_opener = std::move(opener); }
    void setViewFactory(ViewFactory factory) { m_viewFactory = std::move(factory); }
    // Makes the document of "Nuovo"; the command stays disabled until it is set.
    void setNewDocumentFactory(std::function<std::unique_ptr<ProjectDocument>()> make) {
        m_newDocument = std::move(make);
    }
    void setPanelWidget(QWidget* widget, CommandHandler* handler);
    // Replaces the message box of failures (tests use it to stay non-modal).
    void setMessageFunction(std::function<void(const QString&)> show) { m_message = std::move(show); }
    void showMessage(const QString& text) const { m_message(text); }
    // Runs a sample project's tutorial (render when needed, then show the result); the two
    // tutorial commands stay disabled until it is set.
    void setTutorialHandler(std::function<void(const QString& projectPath)> handler) {
        m_tutorialHandler = std::move(handler);
    }
    // Called after the preferences changed the thumbnail size.
    void setThumbnailSizeChanged(std::function<void()> notify) { m_thumbSizeChanged = std::move(notify); }

    // Opens a project in a new window (or activates the window that has it); reports failures.
    bool openProject(const QString& path);
    // Adds a window for an already opened document.
    CChildFrame* addProjectWindow(std::unique_ptr<ProjectDocument> document);
    CChildFrame* activeChild() const;
    // The preferences' undo levels and memory, on one project.
    void applyUndoLimits(ProjectDocument* document) const;
    QList<CChildFrame*> childFrames() const;
    QString activeProjectPath() const;

    // Whether menu 101 (a project open) is shown rather than menu 100.
    bool showsProjectMenu() const { return m_showsProjectMenu; }
    QList<QAction*> recentFileActions() const { return m_recentActions; }
    QList<QAction*> windowListActions() const { return m_windowActions; }

    // Sets every command's enabled and checked state from the router.
    void updateCommandStates();
    // Applies "Workspace": placement (kept on screen) and toolbar state, then shows the window.
    void showWithPlacement();
    void runPreferences();

    // CommandHandler
    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    bool checked(int id) const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void dispatch(int id);
    void selectMenu();
    void rebuildRecentFiles(QMenu* menu);
    void rebuildWindowList();
    void activeProjectChanged();
    // The window, project and panel titles of the active project.
    void refreshTitles();
    void arrangeIcons();
    void openWithDialog();
    void openDataFile(const QString& relativePath, const std::function<void(const QString&)>& use);
    void saveAll();
    void storeWorkspace();

    AppSettings& m_settings;
    QSettings& m_store;
    CommandRouter m_router;
    std::unique_ptr<CommandActions> m_actions;
    BuiltMenus m_noProjectMenus;
    BuiltMenus m_projectMenus;
    bool m_showsProjectMenu = false;
    QList<QAction*> m_recentActions;
    QList<QAction*> m_windowActions;
    QToolBar* m_toolbar = nullptr;
    QuibStatusBar* m_statusBar = nullptr;
    QDockWidget* m_panel = nullptr;
    CommandHandler* m_panelHandler = nullptr;
    QMdiArea* m_mdi = nullptr;
    DocumentOpener m_opener;
    ViewFactory m_viewFactory;
    std::function<std::unique_ptr<ProjectDocument>()> m_newDocument;
    std::function<void(const QString&)> m_message;
    std::function<void()> m_thumbSizeChanged;
    std::function<void(const QString&)> m_tutorialHandler;
    QTimer* m_stateUpdate = nullptr;
    bool m_destroying = false;
};

}  // namespace quib
