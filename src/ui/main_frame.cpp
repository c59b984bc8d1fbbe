#include "main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "about_dialog.h"
#include "app_paths.h"
#include "app_settings.h"
#include "base/strings.h"
#include "child_frame.h"
#include "command_ids.h"
#include "document_prompts.h"
#include "menu_layout.h"
#include "placeholder_document.h"
#include "placeholder_views.h"
#include "preferences_dialog.h"
#include "quib_project_document.h"
#include "quib_thumb_view.h"
#include "quib_view.h"
#include "recent_file_name.h"
#include "result_opener.h"
#include "status_bar.h"

namespace quib {

namespace {
QString appName() {
    return QString::fromUtf8(stringText(str::AppName));
}

ProjectViews placeholderViews(ProjectDocument& document) {
    return {new PlaceholderEditorView(document.title()), new PlaceholderThumbnailView()};
}

// Commands the main window answers itself; everything else goes on down the router.
bool isMainFrameCommand(int id) {
    switch (id) {
        case cmd::FileNew:
        case cmd::FileOpen:
        case cmd::FileClose:
        case cmd::FileSaveAll:
        case cmd::Preferences:
        case cmd::AppExit:
        case cmd::ViewToolbar:
        case cmd::ViewStatusBar:
        case cmd::ShowPanel:
        case cmd::WindowCascade:
        case cmd::WindowTile:
        case cmd::WindowArrange:
        case cmd::UserGuide:
        case cmd::Tutorial1:
        case cmd::Tutorial2:
        case cmd::AppAbout:
        case cmd::NextPane:
        case cmd::PreviousPane:
            return true;
        default:
            return false;
    }
}
}  // namespace

CMainFrame::CMainFrame(AppSettings& settings, QSettings& store, QWidget* parent)
    : QMainWindow(parent),
      m_settings(settings),
      m_store(store),
      m_opener(PlaceholderDocument::open),
      m_viewFactory(placeholderViews) {
    setWindowTitle(appName());
    setObjectName(QStringLiteral("MainFrame"));
    setAcceptDrops(true);
    m_message = [this](const QString& text) { QMessageBox::warning(this, appName(), text); };

    m_actions = std::make_unique<CommandActions>(this, [this](int id) { dispatch(id); });
    for (const auto& [id, action] : m_actions->actions())
        addAction(action);

    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { activeProjectChanged(); });

    m_toolbar = new QToolBar(QStringLiteral("Barra degli strumenti"), this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar100"));
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    fillToolbar(m_toolbar, toolbarCommands(), *m_actions);
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    m_statusBar = new QuibStatusBar(this);
    m_statusBar->zoomChosen = [this](double scale) {
        CChildFrame* child = activeChild();
        if (auto* view = child ? dynamic_cast<CQuibView*>(child->editorView()) : nullptr) {
            if (scale <= 0)
                view->fitToWindow();
            else
                view->setZoom(scale);
        }
        updateCommandStates();
    };
    setStatusBar(m_statusBar);
    m_stateUpdate = new QTimer(this);
    m_stateUpdate->setSingleShot(true);
    m_stateUpdate->setInterval(0);
    connect(m_stateUpdate, &QTimer::timeout, this, [this] { updateCommandStates(); });

    m_panel = new QDockWidget(QStringLiteral("Proprietà"), this);
    m_panel->setObjectName(QStringLiteral("PropertiesPanel"));
    m_panel->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* emptyPanel = new QWidget(m_panel);
    emptyPanel->setMinimumWidth(220);
    m_panel->setWidget(emptyPanel);
    addDockWidget(Qt::LeftDockWidgetArea, m_panel);
    if (!m_settings.showPropertiesBar)
        m_panel->hide();

    connect(m_panel, &QDockWidget::visibilityChanged, this, [this] { updateCommandStates(); });
    connect(m_toolbar, &QToolBar::visibilityChanged, this, [this] { updateCommandStates(); });

    m_noProjectMenus = buildMenus(menuNoProject(), *m_actions, this);
    m_projectMenus = buildMenus(menuProject(), *m_actions, this);
    for (const BuiltMenus* built : {&m_noProjectMenus, &m_projectMenus}) {
        for (QMenu* menu : built->topLevel)
            connect(menu, &QMenu::aboutToShow, this, [this] { updateCommandStates(); });
        if (QMenu* file = built->fileMenu)
            connect(file, &QMenu::aboutToShow, this, [this, file] { rebuildRecentFiles(file); });
    }
    if (m_projectMenus.windowMenu)
        connect(m_projectMenus.windowMenu, &QMenu::aboutToShow, this, [this] { rebuildWindowList(); });

    m_router.setMainFrame(this);
    m_router.setActiveProject([this] {
        CChildFrame* child = activeChild();
        return child ? child->commandTargets() : ProjectCommandTargets{};
    });
    connect(qApp, &QApplication::focusChanged, this, [this] { updateCommandStates(); });

    selectMenu();
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    // Closing the widget base below still emits visibility and focus signals; ignore them.
    m_destroying = true;
    disconnect(qApp, nullptr, this, nullptr);
}

void CMainFrame::setPanelWidget(QWidget* widget, CommandHandler* handler) {
    if (widget)
        m_panel->setWidget(widget);
    m_panelHandler = handler;
    m_router.setPanel(handler);
    updateCommandStates();
}

void CMainFrame::dispatch(int id) {
    m_router.dispatch(id);
    updateCommandStates();
}

void CMainFrame::updateCommandStates() {
    if (m_destroying)
        return;
    m_actions->updateStates(m_router);
    refreshTitles();
    // Strings 10 and 11: the current frame and the sizes of the active project.
    CChildFrame* child = activeChild();
    if (auto* project = child ? dynamic_cast<QuibProjectDocument*>(child->document()) : nullptr) {
        m_statusBar->setPaneText(QuibStatusBar::FrameNumber,
                                 QString::fromStdString(project->doc().frameIndicatorText()));
        m_statusBar->setPaneText(QuibStatusBar::Sizes,
                                 QString::fromStdString(project->doc().sizeIndicatorText()));
    }
}

bool CMainFrame::handles(int id) const {
    return isMainFrameCommand(id);
}

bool CMainFrame::enabled(int id) const {
    const bool hasChild = !m_mdi->subWindowList().isEmpty();
    switch (id) {
        case cmd::FileClose:
        case cmd::NextPane:
        case cmd::PreviousPane:
            return activeChild() != nullptr;
        case cmd::Tutorial1:
        case cmd::Tutorial2:
            return bool(m_tutorialHandler);
        case cmd::FileNew:
            return bool(m_newDocument);
        case cmd::FileSaveAll:
        case cmd::WindowCascade:
        case cmd::WindowTile:
        case cmd::WindowArrange:
            return hasChild;
        default:
            return isMainFrameCommand(id);
    }
}

bool CMainFrame::checked(int id) const {
    switch (id) {
        case cmd::ViewToolbar:
            return !m_toolbar->isHidden();
        case cmd::ViewStatusBar:
            return !m_statusBar->isHidden();
        case cmd::ShowPanel:
            return !m_panel->isHidden();
        default:
            return false;
    }
}

void CMainFrame::run(int id) {
    switch (id) {
        case cmd::FileNew:
            // A cancelled wizard makes no document.
            if (m_newDocument)
                if (std::unique_ptr<ProjectDocument> document = m_newDocument())
                    addProjectWindow(std::move(document));
            break;
        case cmd::FileOpen:
            openWithDialog();
            break;
        case cmd::FileClose:
            if (QMdiSubWindow* sub = m_mdi->activeSubWindow())
                sub->close();
            break;
        case cmd::FileSaveAll:
            saveAll();
            break;
        case cmd::Preferences:
            runPreferences();
            break;
        case cmd::AppExit:
            close();
            break;
        case cmd::ViewToolbar:
            m_toolbar->setVisible(m_toolbar->isHidden());
            break;
        case cmd::ViewStatusBar:
            m_statusBar->setVisible(m_statusBar->isHidden());
            break;
        case cmd::ShowPanel:
            m_panel->setVisible(m_panel->isHidden());
            break;
        case cmd::WindowCascade:
            m_mdi->cascadeSubWindows();
            break;
        case cmd::WindowTile:
            m_mdi->tileSubWindows();
            break;
        case cmd::WindowArrange:
            arrangeIcons();
            break;
        case cmd::UserGuide:
            openDataFile(QStringLiteral("docs/guida-utente.html"),
                         [this](const QString& path) { openWithDesktop(path, false, m_message); });
            break;
        case cmd::Tutorial1:
        case cmd::Tutorial2:
            if (m_tutorialHandler)
                openDataFile(id == cmd::Tutorial1 ? QStringLiteral("samples/tutorial.qbk")
                                                  : QStringLiteral("samples/sample.qbk"),
                             m_tutorialHandler);
            break;
        case cmd::AppAbout: {
            AboutDialog about(this);
            about.exec();
            break;
        }
        case cmd::NextPane:
        case cmd::PreviousPane:
            if (CChildFrame* child = activeChild())
                child->activateNextPane();
            break;
        default:
            break;
    }
}

void CMainFrame::runPreferences() {
    PreferencesDialog dialog({m_settings.mruSize, m_settings.reloadLastProject, m_settings.thumbCx,
                              m_settings.thumbCy, m_settings.undoLevels, m_settings.undoMemoryMb},
                             this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (applyPreferences(m_settings, dialog.values()) && m_thumbSizeChanged)
        m_thumbSizeChanged();
    for (CChildFrame* child : childFrames())
        applyUndoLimits(child->document());
}

void CMainFrame::applyUndoLimits(ProjectDocument* document) const {
    if (auto* project = dynamic_cast<QuibProjectDocument*>(document))
        project->doc().commands.setLimits(size_t(std::max(1, m_settings.undoLevels)),
                                          size_t(std::max(1, m_settings.undoMemoryMb)) << 20);
}

void CMainFrame::openDataFile(const QString& relativePath, const std::function<void(const QString&)>& use) {
    const QString path = findDataFile(relativePath);
    if (path.isEmpty()) {
        const QString expected = installedDataFolder() + QLatin1Char('/') + relativePath;
        m_message(QString::fromStdString(formatString1(str::FileNotFound, expected.toStdString())));
        return;
    }
    use(path);
}

void CMainFrame::openWithDialog() {
    QString path = QFileDialog::getOpenFileName(this, QString(), QString(), projectFileFilter());
    if (!path.isEmpty())
        openProject(path);
}

bool CMainFrame::openProject(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        auto* child = dynamic_cast<CChildFrame*>(sub->widget());
        if (child && child->document() && child->document()->pathName() == absolute) {
            m_mdi->setActiveSubWindow(sub);
            return true;
        }
    }
    QString error;
    std::unique_ptr<ProjectDocument> document = m_opener(absolute, &error);
    if (!document) {
        m_settings.removeRecentFile(absolute);
        if (!error.isEmpty())
            m_message(error);
        return false;
    }
    addProjectWindow(std::move(document));
    m_settings.addRecentFile(absolute);
    return true;
}

CChildFrame* CMainFrame::addProjectWindow(std::unique_ptr<ProjectDocument> document) {
    // Many notifications can arrive in one step (a drag, a rebuild): the states follow once after it.
    document->setChangeListener([this] { m_stateUpdate->start(); });
    applyUndoLimits(document.get());
    ProjectViews views = m_viewFactory(*document);
    auto* child = new CChildFrame(std::move(document), views.editor, views.thumbnails);
    if (auto* thumbs = dynamic_cast<PlaceholderThumbnailView*>(views.thumbnails))
        thumbs->setWrapModeHandler([child](bool wrap) { child->setEditorRowHidden(wrap); });
    if (auto* thumbs = dynamic_cast<CQuibThumbView*>(views.thumbnails)) {
        thumbs->setWrapModeHandler([child](bool wrap) { child->setEditorRowHidden(wrap); });
        connect(thumbs, &QListWidget::currentRowChanged, this, [this] { updateCommandStates(); });
    }
    QMdiSubWindow* sub = m_mdi->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    connect(sub, &QObject::destroyed, this, [this] {
        selectMenu();
        activeProjectChanged();
    });
    const QSize area = m_mdi->viewport()->size();
    sub->resize(std::max(320, area.width() * 9 / 10), std::max(240, area.height() * 9 / 10));
    int projects = 0;
    for (QMdiSubWindow* other : m_mdi->subWindowList())
        projects += dynamic_cast<CChildFrame*>(other->widget()) != nullptr;
    if (projects == 1) {
        // A lone project fills the workspace (sized, not maximised, so titles stay as they are).
        sub->setGeometry(QRect(QPoint(0, 0), area));
        sub->show();
    } else {
        sub->show();
        // Cascading can push a new window past the workspace: keep it where it can be seen.
        const QRect placed = sub->geometry();
        const int x = std::clamp(placed.x(), 0, std::max(0, area.width() - placed.width()));
        const int y = std::clamp(placed.y(), 0, std::max(0, area.height() - placed.height()));
        if (!sub->isMaximized() && (x != placed.x() || y != placed.y()))
            sub->move(x, y);
    }
    m_mdi->setActiveSubWindow(sub);
    selectMenu();
    activeProjectChanged();
    return child;
}

CChildFrame* CMainFrame::activeChild() const {
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (!sub)
        sub = m_mdi->currentSubWindow();
    return sub ? dynamic_cast<CChildFrame*>(sub->widget()) : nullptr;
}

QList<CChildFrame*> CMainFrame::childFrames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (auto* child = dynamic_cast<CChildFrame*>(sub->widget()))
            frames.append(child);
    return frames;
}

QString CMainFrame::activeProjectPath() const {
    CChildFrame* child = activeChild();
    return child && child->document() ? child->document()->pathName() : QString();
}

void CMainFrame::selectMenu() {
    if (m_destroying)
        return;
    // A closing window is still listed while it is destroyed, so count only live project windows.
    bool hasProject = false;
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (dynamic_cast<CChildFrame*>(sub->widget()))
            hasProject = true;
    if (hasProject == m_showsProjectMenu && !menuBar()->actions().isEmpty())
        return;
    m_showsProjectMenu = hasProject;
    menuBar()->clear();
    for (QMenu* menu : (hasProject ? m_projectMenus : m_noProjectMenus).topLevel)
        menuBar()->addMenu(menu);
}

void CMainFrame::rebuildRecentFiles(QMenu* menu) {
    QAction* anchor = m_actions->action(cmd::FileMruFirst);
    for (QAction* old : m_recentActions)
        delete old;
    m_recentActions.clear();
    anchor->setVisible(m_settings.recentFiles.isEmpty());
    for (int i = 0; i < m_settings.recentFiles.size() && i < m_settings.mruSize; ++i) {
        const QString path = m_settings.recentFiles[i];
        QString label = recentFileDisplayName(path, 30);
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(label), menu);
        entry->setData(cmd::FileMruFirst + i);
        entry->setStatusTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { openProject(path); });
        menu->insertAction(anchor, entry);
        m_recentActions.append(entry);
    }
}

void CMainFrame::rebuildWindowList() {
    QMenu* menu = m_projectMenus.windowMenu;
    for (QAction* old : m_windowActions)
        delete old;
    m_windowActions.clear();
    const QList<QMdiSubWindow*> subs = m_mdi->subWindowList();
    for (int i = 0; i < subs.size() && i < 9; ++i) {
        QMdiSubWindow* sub = subs[i];
        QString title = sub->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title), menu);
        entry->setCheckable(true);
        entry->setChecked(sub == m_mdi->activeSubWindow());
        QPointer<QMdiSubWindow> target = sub;
        connect(entry, &QAction::triggered, this, [this, target] {
            if (target)
                m_mdi->setActiveSubWindow(target);
        });
        menu->insertAction(m_projectMenus.windowListAnchor, entry);
        m_windowActions.append(entry);
    }
}

void CMainFrame::activeProjectChanged() {
    if (m_destroying)
        return;
    CChildFrame* child = activeChild();
    if (!child)
        m_statusBar->clearProjectPanes();
    // The zoom box follows the active editor.
    if (auto* view = child ? dynamic_cast<CQuibView*>(child->editorView()) : nullptr) {
        QPointer<CQuibView> watched(view);
        view->setZoomListener([this, watched] {
            CChildFrame* active = activeChild();
            if (watched && active && active->editorView() == watched)
                m_statusBar->showZoom(watched->zoom(), watched->fitsWindow());
        });
        m_statusBar->showZoom(view->zoom(), view->fitsWindow());
    } else {
        m_statusBar->showZoom(0, false);
    }
    updateCommandStates();
}

void CMainFrame::refreshTitles() {
    CChildFrame* child = activeChild();
    ProjectDocument* document = child ? child->document() : nullptr;
    if (document) {
        // The title carries the modified mark, which changes with every edit.
        const QString title = document->title();
        if (child->windowTitle() != title)
            child->setWindowTitle(title);
        setWindowTitle(QStringLiteral("%1 - %2").arg(appName(), title));
        m_panel->setWindowTitle(QString::fromUtf8(stringText(str::PropertiesFor)) + title);
    } else {
        setWindowTitle(appName());
        m_panel->setWindowTitle(QStringLiteral("Proprietà"));
    }
}

void CMainFrame::arrangeIcons() {
    // Minimised windows line up along the bottom edge of the workspace, left to right.
    int x = 0;
    const int bottom = m_mdi->viewport()->height();
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, bottom - sub->height());
        x += sub->width();
    }
}

void CMainFrame::saveAll() {
    for (CChildFrame* child : childFrames()) {
        ProjectDocument* document = child->document();
        if (!document || !document->isModified())
            continue;
        if (askSaveChanges(this, document->title()) == QMessageBox::Yes)
            document->save();
    }
}

void CMainFrame::storeWorkspace() {
    WindowPlacement placement;
    placement.showState = isMaximized() ? 3 : 1;
    placement.normalRect = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    placement.valid = placement.normalRect.isValid();
    m_settings.appWindow = placement;
    m_settings.toolbars = saveState();
    m_settings.showPropertiesBar = !m_panel->isHidden();
    m_settings.saveWorkspace(m_store);
}

void CMainFrame::showWithPlacement() {
    if (!m_settings.toolbars.isEmpty())
        restoreState(m_settings.toolbars);
    const WindowPlacement& placement = m_settings.appWindow;
    if (placement.valid) {
        QRect rect = placement.normalRect;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            // Keep the corner at least an icon's size inside the screen.
            const QRect available = screen->availableGeometry();
            const int icon = style()->pixelMetric(QStyle::PM_LargeIconSize);
            rect.moveLeft(std::min(rect.left(), available.right() - icon));
            rect.moveTop(std::min(rect.top(), available.bottom() - icon));
            rect.moveLeft(std::max(rect.left(), available.left()));
            rect.moveTop(std::max(rect.top(), available.top()));
        }
        setGeometry(rect);
    } else {
        resize(1024, 720);
    }
    m_panel->setVisible(m_settings.showPropertiesBar);
    if (placement.valid && placement.showState == 3)
        showMaximized();
    else
        show();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    AppSettings::writeLastProjectPath(m_store, activeProjectPath());
    storeWorkspace();
    m_mdi->closeAllSubWindows();
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->isVisible()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            openProject(url.toLocalFile());
    event->acceptProposedAction();
}

}  // namespace quib
