#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../model/pattern_project.h"
#include "../ui/ui_test_support.h"
#include "base/bitmap.h"
#include "imagefilters/filter_abi.h"
#include "imagefilters/filter_table.h"
#include "model/quib_doc.h"
#include "support/bytes_and_pictures.h"
#include "ui/app_settings.h"
#include "ui/background_dialog.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/command_router.h"
#include "ui/crop_frames_dialog.h"
#include "ui/frame_operation_commands.h"
#include "ui/goto_frame_dialog.h"
#include "ui/insert_frames_dialog.h"
#include "ui/main_frame.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"
#include "ui/windows_dialog.h"

namespace quib::test {

namespace {
bool readHeader(const char* path, int32_t& w, int32_t& h) {
    QFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::ReadOnly) || file.read(reinterpret_cast<char*>(&w), 4) != 4 ||
        file.read(reinterpret_cast<char*>(&h), 4) != 4)
        return false;
    return w > 0 && h > 0 && file.size() == 8 + qint64(w) * h * 4;
}

int rawGetInfo(const char* path, ImageDesc* desc, intptr_t, intptr_t) {
    return readHeader(path, desc->width, desc->height) ? 1 : 0;
}

FilterHandle rawOpenRead(const char* path, int*) {
    return new std::string(path);
}

int rawRead(FilterHandle handle, ImageDesc* desc, intptr_t, intptr_t) {
    QFile file(QString::fromStdString(*static_cast<std::string*>(handle)));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(8))
        return 0;
    const qint64 bytes = qint64(desc->width) * desc->height * 4;
    return file.read(static_cast<char*>(desc->pixels), bytes) == bytes ? 1 : 0;
}

void rawCloseRead(FilterHandle handle) {
    delete static_cast<std::string*>(handle);
}

const FilterCaps kRawCaps = [] {
    FilterCaps caps{};
    caps.extensions = "raw";
    caps.description = "Raw (*.raw)|*.raw";
    caps.readCaps = 1;
    caps.openRead = rawOpenRead;
    caps.read = rawRead;
    caps.closeRead = rawCloseRead;
    caps.getInfo = rawGetInfo;
    return caps;
}();
}  // namespace

// A raw picture file (".raw": width, height as 32-bit values, then blue-green-red-alpha rows),
// read by the filter that rawFilterTable() registers.
FilterTable& rawFilterTable() {
    static FilterTable table = [] {
        FilterTable filled;
        filled.addEntry(nullptr, &kRawCaps);
        return filled;
    }();
    return table;
}

QString writeRawPicture(const QString& folder, const QString& name, const Bitmap32& picture) {
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(reinterpret_cast<const char*>(&picture.width), 4);
    file.write(reinterpret_cast<const char*>(&picture.height), 4);
    file.write(reinterpret_cast<const char*>(picture.pixels.data()), qint64(picture.pixels.size()));
    return path;
}

// A new project document holding makePatternProject's frames.
std::unique_ptr<QuibProjectDocument> patternProject(int frameCount, int cx, int cy) {
    auto document = QuibProjectDocument::createNew();
    if (!makePatternProject(document->doc(), frameCount, cx, cy))
        return nullptr;
    return document;
}

// Installs test replacements for every question the frame operations ask, and removes them again.
struct FrameOpsFixture : ::testing::Test, WithApplication {
    FrameOpsFixture() {
        FrameOperationInteraction& ask = FrameOperationCommands::interaction();
        ask = {};
        ask.settings = &settings;
        ask.filters = &rawFilterTable();
        ask.showMessage = [this](const QString& text) { messages << text; };
        ask.askImageFile = [](const QString&, const QString&, const QString&) { return QString(); };
        ask.runInsertDialog = [](InsertFramesDialog&) { return false; };
        ask.runCropDialog = [](CropFramesDialog&) { return false; };
        ask.runBackgroundDialog = [](BackgroundDialog&) { return false; };
    }
    ~FrameOpsFixture() override { FrameOperationCommands::interaction() = {}; }
    AppSettings settings;
    QStringList messages;
};

}  // namespace quib::test

namespace quib {
namespace {

// The frame operations' own dialogs, each over a pattern project of its own.
struct FrameDialogs : test::FrameOpsFixture {
    std::function<void(const QString&)> collect() {
        return [this](const QString& text) { messages << text; };
    }
    QString picture(const QString& name, int cx, int cy, uint8_t blue) {
        return test::writeRawPicture(dir.path(), name, test::solidPicture32(cx, cy, blue, 2, 3, 255));
    }
    static uint8_t blueAt(CQuibDoc& doc, int index, int x, int y) {
        doc.SelectFrame(index);
        return doc.currentImage.pixel(x, y)[0];
    }
    QTemporaryDir dir;
};

TEST_F(FrameDialogs, Crop_StartsAtTheWholeFrameClampsAndRefusesCrossedBounds) {
    auto document = test::patternProject(3, 120, 70);
    CropFramesDialog dialog(document->doc());
    dialog.setMessageFunction(collect());
    EXPECT_EQ(dialog.cropRect(), (Rect{0, 0, 120, 70}));
    EXPECT_EQ(dialog.previewPicture().size(), QSize(120, 70));
    dialog.setBounds(-5, -5, 500, 500);
    EXPECT_EQ(dialog.cropRect(), (Rect{0, 0, 120, 70}));

    dialog.setBounds(50, 0, 40, 69);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0],
              QStringLiteral("La dimensione di ritaglio deve essere inferiore a quella corrente."));
    dialog.setBounds(10, 10, 109, 59);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(FrameDialogs, Goto_ShowsSmallThumbnailsAsTheyAreShrinksLargeOnesAndStoredPicturesAreTheFrames) {
    auto document = test::patternProject(4, 30, 20);
    GotoFrameDialog dialog(document->doc(), 1, [](int index) {
        return QImage(index == 1 ? QSize(40, 30) : QSize(800, 400), QImage::Format_RGB32);
    });
    EXPECT_EQ(dialog.preview()->pixmap().size(), QSize(40, 30));
    dialog.setSelectedIndex(3);
    // Shrunk with its shape kept.
    EXPECT_EQ(dialog.preview()->pixmap().size(), QSize(320, 160));

    CQuibDoc& doc = document->doc();
    const QImage picture = storedFramePicture(doc, 2);
    ASSERT_EQ(picture.size(), QSize(30, 20));
    EXPECT_EQ(qBlue(picture.pixel(5, 6)), test::patternBlue(5, 6, 2));
    EXPECT_EQ(qRed(picture.pixel(5, 6)), test::patternRed(5, 6, 2));
    EXPECT_TRUE(storedFramePicture(doc, 4).isNull());
    GotoFrameDialog stored(doc, 2);
    EXPECT_EQ(stored.preview()->pixmap().size(), QSize(30, 20));
}

TEST_F(FrameDialogs, Insert_RefusesACountOutOfRangeAZeroSizeAndNoFiles) {
    InsertFramesDialog dialog(false);
    dialog.setMessageFunction(collect());
    dialog.countEdit()->setValue(120);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Si prega di inserire un numero tra 1 e 99"));
    dialog.countEdit()->setValue(5);
    dialog.heightEdit()->setValue(0);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.heightEdit()->setValue(10);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages.size(), 1);

    InsertFramesDialog withFiles(true);
    withFiles.setMessageFunction(collect());
    withFiles.filesChoice()->setChecked(true);
    withFiles.accept();
    EXPECT_NE(withFiles.result(), QDialog::Accepted);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(FrameDialogs, Insert_InsertsTheFilesChosenInTheDialog) {
    auto document = test::patternProject(1, 40, 30);
    const QString a = picture("a.raw", 40, 30, 5);
    const QString b = picture("b.raw", 40, 30, 6);
    FrameOperationCommands::interaction().askImageFiles = [&](const QString&, const QString&) {
        return QStringList{a, b};
    };
    FrameOperationCommands::interaction().runInsertDialog = [](InsertFramesDialog& dialog) {
        dialog.chooseFiles();
        EXPECT_TRUE(dialog.filesChoice()->isChecked());
        dialog.afterChoice()->setChecked(true);
        return true;
    };
    document->run(cmd::InsertFrames);
    CQuibDoc& doc = document->doc();
    ASSERT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(blueAt(doc, 1, 0, 0), 5);
    EXPECT_EQ(blueAt(doc, 2, 0, 0), 6);
    EXPECT_EQ(settings.lastImageLoadDir, QDir(dir.path()).absolutePath());
    EXPECT_TRUE(messages.isEmpty());
}

struct Windows : test::FrameOpsFixture {
    QMdiArea area;
    QList<QMdiSubWindow*> windows;
    QList<QMdiSubWindow*> saved;

    Windows() {
        area.resize(600, 400);
        for (const char* title : {"uno.qbk", "due.qbk", "tre.qbk"}) {
            QMdiSubWindow* window = area.addSubWindow(new QLabel(QString::fromUtf8(title)));
            window->setWindowTitle(QString::fromUtf8(title));
            window->show();
            windows << window;
        }
        area.show();
    }
    std::unique_ptr<WindowsDialog> dialog() {
        return std::make_unique<WindowsDialog>(area, [this](QMdiSubWindow* w) {
            saved << w;
            return true;
        });
    }
};

TEST_F(Windows, ActivateRestoresAndTheOtherButtonsActOnTheSelectedWindowsOnly) {
    windows[1]->showMinimized();
    auto d = dialog();
    d->selectWindows({windows[1]});
    d->activateSelected();
    EXPECT_FALSE(windows[1]->isMinimized());
    EXPECT_EQ(area.activeSubWindow(), windows[1]);
    EXPECT_EQ(d->result(), QDialog::Accepted);

    // Save, minimise and close act on the selected windows only.
    d = dialog();
    d->selectWindows({windows[0], windows[2]});
    d->saveSelected();
    EXPECT_EQ(saved, (QList<QMdiSubWindow*>{windows[0], windows[2]}));
    d->minimizeSelected();
    EXPECT_TRUE(windows[0]->isMinimized());
    EXPECT_FALSE(windows[1]->isMinimized());
    EXPECT_TRUE(windows[2]->isMinimized());
    d->selectWindows({windows[1]});
    d->closeSelected();
    EXPECT_EQ(area.subWindowList().size(), 2);
    EXPECT_EQ(d->windowList()->count(), 2);
}

TEST_F(Windows, TilingRestoresTheSelectedAndMinimisesTheOthers) {
    auto d = dialog();
    d->selectWindows({windows[0], windows[1]});
    d->tileSelected(false);
    EXPECT_TRUE(windows[2]->isMinimized());
    EXPECT_FALSE(windows[0]->isMinimized());
    EXPECT_EQ(windows[1]->geometry().left(), windows[0]->geometry().right() + 1);
    d->tileSelected(true);
    EXPECT_EQ(windows[1]->geometry().top(), windows[0]->geometry().bottom() + 1);
    d->cascadeSelected();
    EXPECT_LT(windows[0]->geometry().top(), windows[1]->geometry().top());
}

constexpr const char* kTooSmall =
    "La dimensione dello sfondo deve essere maggiore dell'immagine attuale.\nInserire un valore maggiore, o "
    "scegliere un file immagine più grande.";

struct BackgroundAndButtons : test::FrameOpsFixture {
    std::unique_ptr<QuibProjectDocument> document = test::patternProject(2, 60, 40);
    CQuibDoc& doc = document->doc();
    QTemporaryDir dir;
    test::HintRecorder hints;

    BackgroundAndButtons() {
        doc.frameOrigin = Point{7, 9};
        doc.addObserver(&hints);
    }
    ~BackgroundAndButtons() { doc.removeObserver(&hints); }

    void answerBackgroundDialog(BackgroundDialog::Values values) {
        FrameOperationCommands::interaction().runBackgroundDialog = [values](BackgroundDialog& dialog) {
            dialog.setMode(values.mode);
            dialog.widthEdit()->setValue(values.cx);
            dialog.heightEdit()->setValue(values.cy);
            dialog.setFillColor(values.fillColor);
            dialog.fileEdit()->setText(values.fileName);
            return true;
        };
    }
    void answerImageFile(const QString& path) {
        FrameOperationCommands::interaction().askImageFile = [this, path](const QString& title,
                                                                          const QString&, const QString&) {
            askedTitles << title;
            return path;
        };
    }
    QStringList askedTitles;
};

TEST_F(BackgroundAndButtons, PictureBackground_TakesThePictureWithTransparentPixelsWhite) {
    Bitmap32 picture = test::solidPicture32(70, 50, 10, 20, 30, 255);
    std::memset(picture.pixel(3, 4), 0, 4);
    const QString path = test::writeRawPicture(dir.path(), QStringLiteral("back.raw"), picture);
    answerBackgroundDialog({BackgroundDialog::FileMode, 0, 0, 0, path});
    document->run(cmd::BackgroundImage);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(doc.backgroundSize, (Size{70, 50}));
    ASSERT_EQ(doc.backgroundImage.width, 70);
    const auto bgr = [&](int x, int y) {
        const uint8_t* p = doc.backgroundImage.pixel(x, y);
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(bgr(0, 0), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(bgr(3, 4), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(doc.frameOrigin, (Point{7, 9}));
    EXPECT_EQ(settings.previousBackgroundMode, 1);
    EXPECT_EQ(settings.lastBackgroundFileName, path);
}

// A fill smaller than the frame, an unreadable picture and a picture smaller than the frame (why a
// picture cannot be read is the loader's own business).
TEST_F(BackgroundAndButtons, SmallFillOrUnreadableOrSmallPictureBackground_IsRefusedWithNothingChanged) {
    answerBackgroundDialog({BackgroundDialog::FillMode, 59, 80, 0xFF, {}});
    document->run(cmd::BackgroundImage);
    EXPECT_EQ(settings.previousBackgroundCx, 0);
    const QString garbage = test::makeFile(dir.path(), QStringLiteral("broken.raw"));
    const QString small = test::writeRawPicture(dir.path(), QStringLiteral("small.raw"),
                                                test::solidPicture32(60, 39, 1, 2, 3, 255));
    for (const QString& path : {garbage, small}) {
        answerBackgroundDialog({BackgroundDialog::FileMode, 0, 0, 0, path});
        document->run(cmd::BackgroundImage);
    }
    const QString unknown = QStringLiteral("Formato di file sconosciuto");
    EXPECT_EQ(messages, (QStringList{QString::fromUtf8(kTooSmall), unknown, QString::fromUtf8(kTooSmall)}));
    EXPECT_TRUE(doc.backgroundImage.isNull());
    EXPECT_EQ(doc.backgroundSize, (Size{60, 40}));
    EXPECT_FALSE(doc.isModified());
}

TEST_F(BackgroundAndButtons, BrowseInTheBackgroundDialog_FillsTheNameAndRemembersTheFolder) {
    answerImageFile(dir.path() + QStringLiteral("/chosen.raw"));
    FrameOperationCommands::interaction().runBackgroundDialog = [](BackgroundDialog& dialog) {
        dialog.setMode(BackgroundDialog::FileMode);
        dialog.browse();
        EXPECT_TRUE(dialog.fileEdit()->text().endsWith(QStringLiteral("chosen.raw")));
        return false;
    };
    document->run(cmd::BackgroundImage);
    EXPECT_EQ(settings.lastImageLoadDir, QDir(dir.path()).absolutePath());
}

TEST_F(BackgroundAndButtons, EachButtonCommand_ReplacesItsOwnPictureWithAlphaKeptUnlessUnreadable) {
    const struct {
        int command;
        int kind;
        const char* title;
    } cases[] = {
        {cmd::PreviousButtonImage, ButtonImageSet::Previous, "Scegli immagine pulsante Indietro"},
        {cmd::NextButtonImage, ButtonImageSet::Next, "Scegli immagine pulsante Avanti"},
        {cmd::Goto1ButtonImage, ButtonImageSet::Goto1, "Scegli immagine pulsante VaiA 1"},
        {cmd::Goto2ButtonImage, ButtonImageSet::Goto2, "Scegli immagine pulsante VaiA 2"},
    };
    int side = 10;
    for (const auto& c : cases) {
        const ButtonImageSet before = doc.buttonImages;
        const Bitmap32 picture = test::solidPicture32(side, side + 1, 1, 2, 3, uint8_t(side));
        answerImageFile(test::writeRawPicture(dir.path(), QStringLiteral("b%1.raw").arg(side), picture));
        hints.hints.clear();
        document->run(c.command);
        EXPECT_EQ(askedTitles.last(), QString::fromUtf8(c.title));
        ButtonImageSet expected = before;
        expected.images[c.kind] = picture;
        EXPECT_EQ(doc.buttonImages, expected) << "only its own picture changes";
        EXPECT_TRUE(hints.heard(hint::Buttons));
        ++side;
    }
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(messages.isEmpty());

    // An unreadable picture, or none chosen, changes nothing.
    doc.SetModifiedFlag(false);
    const ButtonImageSet before = doc.buttonImages;
    answerImageFile(test::makeFile(dir.path(), QStringLiteral("bad.raw")));
    document->run(cmd::NextButtonImage);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Formato di file sconosciuto"));
    EXPECT_EQ(doc.buttonImages, before);
    EXPECT_FALSE(doc.isModified());
    answerImageFile(QString());  // cancelled
    document->run(cmd::NextButtonImage);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(doc.buttonImages, before);
}

// The frame operations reached from the main window's actions, with the window's own settings.
struct FrameOpsInMainWindow : test::FrameOpsFixture {
    FrameOpsInMainWindow()
        : appSettings(AppSettings::defaults(temp.folder())), frame(appSettings, temp.store()) {
        FrameOperationCommands::interaction().settings = nullptr;
        installProjectDocument(frame);
        frame.resize(1000, 700);
        frame.show();
        frame.addProjectWindow(QuibProjectDocument::createNew());
    }
    CQuibDoc& doc() { return dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document())->doc(); }

    test::TempSettings temp;
    AppSettings appSettings;
    CMainFrame frame;
    QTemporaryDir dir;
};

// Progress that notes whether the main window took input while it ran.
struct WindowWatchingProgress : Progress {
    QWidget* window = nullptr;
    std::string* text = nullptr;
    bool* windowEnabledDuringWork = nullptr;
    void setText(const std::string& t) override { *text = t; }
    void setRange(int, int) override {}
    void setPosition(int) override { *windowEnabledDuringWork = window->isEnabled(); }
};

TEST_F(FrameOpsInMainWindow, CroppingShowsItsProgressWhileTheWindowIsDisabled) {
    FrameOperationCommands::interaction().runInsertDialog = [](InsertFramesDialog& dialog) {
        dialog.widthEdit()->setValue(80);
        dialog.heightEdit()->setValue(60);
        return true;
    };
    frame.action(cmd::InsertFrames)->trigger();
    ASSERT_EQ(doc().frameCount(), 1);
    std::string text;
    bool enabledDuringWork = true;
    QuibProjectDocument::interaction().statusProgress = [&]() -> std::unique_ptr<Progress> {
        auto progress = std::make_unique<WindowWatchingProgress>();
        progress->window = &frame;
        progress->text = &text;
        progress->windowEnabledDuringWork = &enabledDuringWork;
        return progress;
    };
    FrameOperationCommands::interaction().runCropDialog = [](CropFramesDialog& dialog) {
        dialog.setBounds(0, 0, 39, 29);
        return true;
    };
    frame.action(cmd::CropFrames)->trigger();
    QuibProjectDocument::interaction().statusProgress = {};
    EXPECT_EQ(doc().frameSize, (Size{40, 30}));
    EXPECT_EQ(text, "Ritaglio...");
    EXPECT_FALSE(enabledDuringWork);
    EXPECT_TRUE(frame.isEnabled());
}

}  // namespace
}  // namespace quib
