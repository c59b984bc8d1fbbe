#include "window_pictures.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "base/progress.h"
#include "capture/screen_grabber.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "ui/app_settings.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/child_frame.h"
#include "ui/main_frame.h"
#include "ui/output_settings.h"
#include "ui/project_settings_dialog.h"
#include "ui/project_views.h"
#include "ui/render_progress_dialog.h"

namespace quib {

namespace {

constexpr int kTitleBar = 24;

// The screen the capture windows are told about; nothing is grabbed while they are pictured.
class PicturedScreen final : public ScreenGrabber {
public:
    Status grab(const Rect&, Bitmap24&) override { return Status::failureText("no screen"); }
    ScreenCursor grabCursor() override { return {}; }
    Size screenSize() override { return Size{1280, 800}; }
    WindowAtPoint windowAt(Point) override { return {}; }
};

void settle(int ms = 150) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window as a desktop shows it: the grabbed contents under a title bar with its caption.
QImage framed(QWidget& window) {
    const QImage contents = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage picture(contents.width() + 2, contents.height() + kTitleBar + 1, QImage::Format_RGB32);
    picture.fill(QColor(60, 64, 72));
    QPainter p(&picture);
    QLinearGradient bar(0, 0, 0, kTitleBar);
    bar.setColorAt(0, QColor(70, 96, 140));
    bar.setColorAt(1, QColor(46, 70, 112));
    p.fillRect(QRect(1, 1, picture.width() - 2, kTitleBar - 1), bar);
    QFont font = QApplication::font();
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(10, 0, picture.width() - 60, kTitleBar), Qt::AlignVCenter | Qt::AlignLeft,
               window.windowTitle());
    // Close box.
    p.setPen(QPen(QColor(230, 230, 235), 2));
    const int x = picture.width() - 18, y = kTitleBar / 2;
    p.drawLine(x - 4, y - 4, x + 4, y + 4);
    p.drawLine(x - 4, y + 4, x + 4, y - 4);
    p.drawImage(1, kTitleBar, contents);
    return picture;
}

// Where a widget's centre is in the framed picture of its window.
QPoint centreIn(QWidget& window, const QWidget* widget) {
    if (!widget)
        return QPoint(window.width() / 2, window.height() / 2 + kTitleBar);
    // A check box is pointed at by its box, not the middle of its caption.
    const QPoint inside =
        qobject_cast<const QCheckBox*>(widget) ? QPoint(8, widget->height() / 2) : widget->rect().center();
    return widget->mapTo(&window, inside) + QPoint(1, kTitleBar);
}

// The first button, label, group box or combo whose text starts with text (the mnemonic left out).
const QWidget* widgetWithText(QWidget& window, const QString& text) {
    const auto plain = [](QString caption) { return caption.remove(QLatin1Char('&')); };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            caption = button->text();
        else if (auto* label = qobject_cast<QLabel*>(w))
            caption = label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            caption = group->title();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            caption = combo->currentText();
        if (!caption.isEmpty() && plain(caption).startsWith(text))
            return w;
    }
    return nullptr;
}

WindowPicture picture(QWidget& window, const std::map<QString, const QWidget*>& places) {
    settle();
    WindowPicture result{framed(window), {}};
    for (const auto& [name, widget] : places)
        result.spots[name] = centreIn(window, widget);
    return result;
}

}  // namespace

QPoint WindowPicture::spot(const QString& name) const {
    const auto it = spots.find(name);
    return it == spots.end() ? QPoint(image.width() / 2, image.height() / 2) : it->second;
}

std::map<QString, WindowPicture> grabProgramWindows() {
    std::map<QString, WindowPicture> pictures;
    QTemporaryDir folder;
    QSettings store(folder.filePath(QStringLiteral("Quib.conf")), QSettings::IniFormat);
    AppSettings settings;
    settings.propertiesPanelViewMode = 1;

    {
        CMainFrame frame(settings, store);
        installProjectDocument(frame);
        frame.resize(720, 440);
        frame.show();
        QMenuBar* menus = frame.menuBar();
        const QPoint file = menus->actionGeometry(menus->actions().value(0)).center();
        WindowPicture main = picture(frame, {});
        main.spots[QStringLiteral("file")] = menus->mapTo(&frame, file) + QPoint(1, kTitleBar);
        pictures[QStringLiteral("main")] = main;

        PicturedScreen grabber;
        CQuibDoc doc;
        int lastRate = 2;
        CCaptureSetupDialog wizard(doc, grabber, lastRate, nullptr);
        wizard.show();
        settle();
        pictures[QStringLiteral("wizard")] =
            picture(wizard, {{QStringLiteral("region"), wizard.regionList()},
                             {QStringLiteral("select"), wizard.selectButton()},
                             {QStringLiteral("timed"), wizard.timedCaptureCheck()},
                             {QStringLiteral("clicks"), wizard.clickCaptureCheck()},
                             {QStringLiteral("settings"), wizard.settingsButton()}});
        wizard.regionList()->setCurrentIndex(1);
        wizard.setRegion(Rect{20, 50, 560, 450});
        pictures[QStringLiteral("wizard-rectangle")] =
            picture(wizard, {{QStringLiteral("select"), wizard.selectButton()}});
        wizard.hide();

        CCaptureDialog capture(grabber, nullptr, doc, Rect{0, 0, 400, 300}, true, 2, nullptr);
        capture.show();
        pictures[QStringLiteral("capture")] = picture(
            capture, {{QStringLiteral("finish"), widgetWithText(capture, QStringLiteral("Termina"))},
                      {QStringLiteral("cancel"), widgetWithText(capture, QStringLiteral("Annulla"))}});
        capture.hide();
    }

    {
        CQuibDoc source;
        buildSyntheticProject(source, 560, 340, 5);
        const QString path = folder.filePath(QStringLiteral("Esempio.qbk"));
        NullProgress progress;
        if (SaveProject(path.toStdString(), source, progress).ok()) {
            CMainFrame frame(settings, store);
            installProjectDocument(frame);
            frame.resize(740, 440);
            frame.show();
            if (frame.openProject(path)) {
                CChildFrame* child = frame.activeChild();
                child->showMaximized();
                auto* list = qobject_cast<QListWidget*>(child->thumbnailView());
                if (list)
                    list->setCurrentRow(1);
                settle(400);
                QMenuBar* menus = frame.menuBar();
                QPoint frameMenu;
                for (QAction* menu : menus->actions()) {
                    if (menu->text() == QStringLiteral("F&rame"))
                        frameMenu =
                            menus->mapTo(&frame, menus->actionGeometry(menu).center()) + QPoint(1, kTitleBar);
                }
                pictures[QStringLiteral("project")] = picture(
                    frame,
                    {{QStringLiteral("editor"), child->editorView()},
                     {QStringLiteral("thumbnails"), child->thumbnailView()},
                     {QStringLiteral("title"), widgetWithText(frame, QStringLiteral("Titolo"))},
                     {QStringLiteral("buttons"), widgetWithText(frame, QStringLiteral("bottone Avanti"))}});
                pictures[QStringLiteral("project")].spots[QStringLiteral("frame-menu")] = frameMenu;
            }
        }
    }

    OutputSettings output;
    output.outputType = OutputType::Html5;
    output.outputFileName = QStringLiteral("Esempio.html");
    ProjectSettingsDialog projectSettings(output, folder.path());
    projectSettings.show();
    pictures[QStringLiteral("settings")] =
        picture(projectSettings, {{QStringLiteral("type"), projectSettings.typeList()},
                                  {QStringLiteral("name"), projectSettings.nameEdit()}});
    projectSettings.hide();

    RenderProgressDialog render(nullptr, [] { return int64_t(4000); });
    render.setRange(0, 100);
    render.setPosition(62);
    render.show();
    pictures[QStringLiteral("render")] =
        picture(render, {{QStringLiteral("bar"), render.findChild<QProgressBar*>()}});
    return pictures;
}

}  // namespace quib
