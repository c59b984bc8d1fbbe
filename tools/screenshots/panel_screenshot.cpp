// Shows the properties panel beside a project in the main window and saves a picture of the
// window: panel_screenshot <advanced.png> [<simple.png> [<several frames.png>]]. Run it on a real
// (virtual) display.
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QListWidget>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "base/progress.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"

using namespace quib;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s advanced.png [simple.png [several.png]]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QSettings store(folder.filePath(QStringLiteral("Quib.conf")), QSettings::IniFormat);
    AppSettings settings;
    settings.propertiesPanelViewMode = 1;

    CQuibDoc source;
    buildSyntheticProject(source, 640, 400, 6);
    const QString path = folder.filePath(QStringLiteral("Demo.qbk"));
    NullProgress progress;
    if (!SaveProject(path.toStdString(), source, progress).ok())
        return 1;

    CMainFrame frame(settings, store);
    installProjectDocument(frame);
    frame.resize(1100, 760);
    frame.show();
    if (!frame.openProject(path))
        return 1;
    CChildFrame* child = frame.activeChild();
    child->showMaximized();
    auto* list = qobject_cast<QListWidget*>(child->thumbnailView());
    list->setCurrentRow(1);

    const QString advanced = QString::fromLocal8Bit(argv[1]);
    const QString simple = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString several = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTimer::singleShot(800, [&] {
        frame.grab().save(advanced);
        if (simple.isEmpty()) {
            app.quit();
            return;
        }
        frame.router().dispatch(cmd::PanelSimple);
        QTimer::singleShot(500, [&] {
            frame.grab().save(simple);
            if (several.isEmpty()) {
                app.quit();
                return;
            }
            frame.router().dispatch(cmd::PanelAdvanced);
            for (int row : {2, 3, 4, 5})
                list->item(row)->setSelected(true);
            QTimer::singleShot(500, [&] {
                frame.grab().save(several);
                app.quit();
            });
        });
    });
    return app.exec();
}
