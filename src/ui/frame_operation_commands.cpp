#include "frame_operation_commands.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMessageBox>

#include "app_settings.h"
#include "application_filters.h"
#include "background_dialog.h"
#include "command_ids.h"
#include "crop_frames_dialog.h"
#include "image_open_dialog.h"
#include "imagefilters/image_file.h"
#include "insert_frames_dialog.h"
#include "main_frame.h"
#include "model/frame_operations.h"
#include "quib_project_document.h"
#include "windows_dialog.h"

namespace quib {

namespace {
// The window titles of the button picture dialogs, Previous, Next, Goto 1, Goto 2.
const char* const kButtonPictureTitles[4] = {
    "Scegli immagine pulsante Indietro",
    "Scegli immagine pulsante Avanti",
    "Scegli immagine pulsante VaiA 1",
    "Scegli immagine pulsante VaiA 2",
};

int buttonKindFor(int id) {
    switch (id) {
        case cmd::PreviousButtonImage:
            return 0;
        case cmd::NextButtonImage:
            return 1;
        case cmd::Goto1ButtonImage:
            return 2;
        case cmd::Goto2ButtonImage:
            return 3;
        default:
            return -1;
    }
}

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

CMainFrame* mainFrame() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* frame = dynamic_cast<CMainFrame*>(widget))
            return frame;
    return nullptr;
}

QString text(int id) {
    return QString::fromUtf8(stringText(id));
}

// The status-bar progress of the application, or none.
std::unique_ptr<Progress> statusProgress() {
    if (QuibProjectDocument::interaction().statusProgress)
        if (std::unique_ptr<Progress> progress = QuibProjectDocument::interaction().statusProgress())
            return progress;
    return std::make_unique<NullProgress>();
}

// Keeps the main window from taking input while a long operation runs inside its command (the
// progress display lets pending events through).
class MainWindowDisabled {
public:
    MainWindowDisabled() : m_window(mainFrame()) {
        if (m_window && m_window->isEnabled())
            m_window->setEnabled(false);
        else
            m_window = nullptr;
    }
    ~MainWindowDisabled() {
        if (m_window)
            m_window->setEnabled(true);
    }
    MainWindowDisabled(const MainWindowDisabled&) = delete;
    MainWindowDisabled& operator=(const MainWindowDisabled&) = delete;

private:
    QWidget* m_window;
};

template <typename Dialog>
bool runDialog(const std::function<bool(Dialog&)>& runner, Dialog& dialog) {
    return runner ? runner(dialog) : dialog.exec() == QDialog::Accepted;
}
}  // namespace

FrameOperationInteraction& FrameOperationCommands::interaction() {
    static FrameOperationInteraction functions;
    return functions;
}

FrameOperationCommands::FrameOperationCommands(QuibProjectDocument& document) : m_document(document) {}

bool FrameOperationCommands::handles(int id) const {
    return id == cmd::InsertFrames || id == cmd::CropFrames || id == cmd::BackgroundImage ||
           buttonKindFor(id) >= 0 || id == cmd::WindowsDialog;
}

void FrameOperationCommands::run(int id) {
    if (id == cmd::InsertFrames)
        insertFrames();
    else if (id == cmd::CropFrames)
        cropFrames();
    else if (id == cmd::BackgroundImage)
        chooseBackground();
    else if (buttonKindFor(id) >= 0)
        chooseButtonPicture(buttonKindFor(id));
    else if (id == cmd::WindowsDialog)
        manageWindows();
}

bool FrameOperationCommands::enabled(int id) const {
    if (id == cmd::CropFrames || id == cmd::BackgroundImage)
        return m_document.doc().frameCount() > 0;
    if (id == cmd::WindowsDialog)
        return mainFrame() != nullptr;
    return handles(id);
}

bool FrameOperationCommands::insertFrames() {
    CQuibDoc& doc = m_document.doc();
    InsertFramesDialog dialog(doc.frameCount() > 0, dialogParent());
    dialog.setMessageFunction([this](const QString& message) { showMessage(message); });
    dialog.setFilesFunction([this] { return askImageFiles(QStringLiteral("Inserire frames")); });
    if (!runDialog(interaction().runInsertDialog, dialog))
        return false;
    const InsertFramesRequest request = dialog.request();
    Status status;
    if (request.fromFiles) {
        MainWindowDisabled busy;
        std::unique_ptr<Progress> progress = statusProgress();
        status = insertPictureFrames(doc, PictureFileReader(filters()), request.pictureFiles, request.after,
                                     *progress);
    } else {
        status = quib::insertFrames(doc, request);
    }
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    return true;
}

bool FrameOperationCommands::cropFrames() {
    CQuibDoc& doc = m_document.doc();
    if (doc.frameCount() == 0)
        return false;
    CropFramesDialog dialog(doc, dialogParent());
    dialog.setMessageFunction([this](const QString& message) { showMessage(message); });
    if (!runDialog(interaction().runCropDialog, dialog))
        return false;
    Status status;
    {
        MainWindowDisabled busy;
        std::unique_ptr<Progress> progress = statusProgress();
        status = quib::cropFrames(doc, dialog.cropRect(), *progress);
    }
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    return true;
}

bool FrameOperationCommands::chooseBackground() {
    CQuibDoc& doc = m_document.doc();
    if (doc.frameCount() == 0)
        return false;
    AppSettings& remembered = settings();
    BackgroundDialog::Values start;
    start.mode = remembered.previousBackgroundMode == BackgroundDialog::FileMode ? BackgroundDialog::FileMode
                                                                                 : BackgroundDialog::FillMode;
    start.cx = remembered.previousBackgroundCx;
    start.cy = remembered.previousBackgroundCy;
    start.fillColor = uint32_t(remembered.previousBackgroundFillColor);
    start.fileName = remembered.lastBackgroundFileName;
    BackgroundDialog dialog(start, dialogParent());
    dialog.setBrowseFunction([this](const QString& current) {
        return askImageFile(QStringLiteral("Seleziona l'immagine di sfondo"), current);
    });
    if (!runDialog(interaction().runBackgroundDialog, dialog))
        return false;
    const BackgroundDialog::Values chosen = dialog.values();
    Status status;
    if (chosen.mode == BackgroundDialog::FillMode) {
        status = setFillBackground(doc, chosen.cx, chosen.cy, chosen.fillColor);
        if (status) {
            remembered.previousBackgroundMode = BackgroundDialog::FillMode;
            remembered.previousBackgroundCx = chosen.cx;
            remembered.previousBackgroundCy = chosen.cy;
            remembered.previousBackgroundFillColor = int(chosen.fillColor);
        }
    } else {
        remembered.previousBackgroundMode = BackgroundDialog::FileMode;
        remembered.lastBackgroundFileName = chosen.fileName;
        const std::optional<Bitmap32> picture = LoadImageFile(filters(), chosen.fileName.toStdString());
        status = picture ? setPictureBackground(doc, *picture) : Status::failure(str::UnknownFileFormat);
    }
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    return true;
}

bool FrameOperationCommands::chooseButtonPicture(int kind) {
    if (kind < 0 || kind > 3)
        return false;
    const QString path = askImageFile(QString::fromUtf8(kButtonPictureTitles[kind]), QString());
    if (path.isEmpty())
        return false;
    const std::optional<Bitmap32> picture = LoadImageFile(filters(), path.toStdString());
    const Status status = picture ? setButtonPicture(m_document.doc(), kind, *picture)
                                  : Status::failure(str::UnknownFileFormat);
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    return true;
}

bool FrameOperationCommands::manageWindows() {
    CMainFrame* frame = mainFrame();
    if (!frame)
        return false;
    WindowsDialog dialog(*frame->mdiArea(), {}, frame);
    if (interaction().runWindowsDialog)
        interaction().runWindowsDialog(dialog);
    else
        dialog.exec();
    return true;
}

void FrameOperationCommands::showMessage(const QString& message) const {
    if (interaction().showMessage)
        interaction().showMessage(message);
    else
        QMessageBox::critical(dialogParent(), text(str::AppName), message);
}

AppSettings& FrameOperationCommands::settings() const {
    if (interaction().settings)
        return *interaction().settings;
    if (CMainFrame* frame = mainFrame())
        return frame->settings();
    static AppSettings fallback;
    return fallback;
}

const FilterTable& FrameOperationCommands::filters() const {
    return interaction().filters ? *interaction().filters : applicationFilters();
}

QString FrameOperationCommands::askImageFile(const QString& title, const QString& name) {
    AppSettings& remembered = settings();
    QString folder;
    QString path;
    if (interaction().askImageFile) {
        path = interaction().askImageFile(title, remembered.lastImageLoadDir, name);
        if (!path.isEmpty())
            folder = QFileInfo(path).absolutePath();
    } else {
        path = askImageFileName(dialogParent(), filters(), title, remembered.lastImageLoadDir, name, &folder);
    }
    if (!path.isEmpty() && !folder.isEmpty())
        remembered.lastImageLoadDir = folder;
    return path;
}

QStringList FrameOperationCommands::askImageFiles(const QString& title) {
    AppSettings& remembered = settings();
    QStringList paths;
    QString folder;
    if (interaction().askImageFiles)
        paths = interaction().askImageFiles(title, remembered.lastImageLoadDir);
    else
        paths = askImageFileNames(dialogParent(), filters(), title, remembered.lastImageLoadDir);
    if (!paths.isEmpty())
        remembered.lastImageLoadDir = QFileInfo(paths.first()).absolutePath();
    return paths;
}

}  // namespace quib
