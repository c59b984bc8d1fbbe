#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "base/progress.h"
#include "command_handler.h"

namespace quib {

struct AppSettings;
class BackgroundDialog;
class CropFramesDialog;
class FilterTable;
class InsertFramesDialog;
class QuibProjectDocument;
class WindowsDialog;

// What the frame operations ask of the user and of the application; tests replace these so that
// no modal dialog opens. Members left empty use the standard dialogs and the application's state.
struct FrameOperationInteraction {
    // Runs a dialog; true for OK.
    std::function<bool(InsertFramesDialog&)> runInsertDialog;
    std::function<bool(CropFramesDialog&)> runCropDialog;
    std::function<bool(BackgroundDialog&)> runBackgroundDialog;
    std::function<void(WindowsDialog&)> runWindowsDialog;
    // A picture file to load: (window title, starting folder, starting name) -> path, empty when
    // cancelled. The folder it was chosen in is remembered as the last image folder.
    std::function<QString(const QString& title, const QString& folder, const QString& name)> askImageFile;
    // Picture files to insert as frames: (window title, starting folder) -> paths, empty when
    // cancelled.
    std::function<QStringList(const QString& title, const QString& folder)> askImageFiles;
    // A failure message (an error box by default).
    std::function<void(const QString&)> showMessage;
    // The settings the dialogs start from and remember in (the main window's by default).
    AppSettings* settings = nullptr;
    // The image types pictures load through (the application's by default).
    FilterTable* filters = nullptr;
};

// The commands that change the frame list or the geometry of the whole project: insert frames,
// crop, background picture, the four button pictures, and the windows dialog of the open projects.
class FrameOperationCommands final : public CommandHandler {
public:
    explicit FrameOperationCommands(QuibProjectDocument& document);

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;

    bool insertFrames();
    bool cropFrames();
    bool chooseBackground();
    // kind: 0 Previous, 1 Next, 2 Goto 1, 3 Goto 2.
    bool chooseButtonPicture(int kind);
    // The windows dialog over the main window's project windows; false when there is none.
    bool manageWindows();

    static FrameOperationInteraction& interaction();

private:
    void showMessage(const QString& text) const;
    AppSettings& settings() const;
    const FilterTable& filters() const;
    QString askImageFile(const QString& title, const QString& name);
    QStringList askImageFiles(const QString& title);

    QuibProjectDocument& m_document;
};

}  // namespace quib
