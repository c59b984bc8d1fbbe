#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>
#include <set>

#include "capture/null_backends.h"
#include "cursors/standard_cursors.h"
#include "imagefilters/filter_table.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "model/text_style.h"
#include "shapes/default_callouts.h"
#include "ui/about_dialog.h"
#include "ui/app_settings.h"
#include "ui/background_dialog.h"
#include "ui/callout_editor_dialog.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/child_frame.h"
#include "ui/command_line.h"
#include "ui/command_router.h"
#include "ui/crop_frames_dialog.h"
#include "ui/cursor_editor_dialog.h"
#include "ui/document_prompts.h"
#include "ui/font_colour_dialog.h"
#include "ui/goto_frame_dialog.h"
#include "ui/html_export_dialog.h"
#include "ui/insert_frames_dialog.h"
#include "ui/move_elements_dialog.h"
#include "ui/new_palette_dialog.h"
#include "ui/output_settings.h"
#include "ui/palette_dialog.h"
#include "ui/placeholder_document.h"
#include "ui/placeholder_views.h"
#include "ui/preferences_dialog.h"
#include "ui/progress_bar.h"
#include "ui/project_info_dialog.h"
#include "ui/project_settings_dialog.h"
#include "ui/recent_file_name.h"
#include "ui/render_progress_dialog.h"
#include "ui/status_bar.h"
#include "ui/thumbnail_row.h"
#include "ui_test_support.h"

namespace quib {
namespace {

TEST(DocumentPrompts, SaveChangesNamesTheProject) {
    EXPECT_EQ(saveChangesPrompt(QStringLiteral("demo.qbk")),
              QStringLiteral("Salvare le modifiche di demo.qbk?"));
    EXPECT_EQ(saveChangesPrompt(QStringLiteral("Senza nome *")),
              QStringLiteral("Salvare le modifiche di Senza nome?"));
    EXPECT_EQ(projectFileFilter(), QStringLiteral("Quib Projects (*.qbk)"));
}

TEST(Preferences, DialogFieldsAndAChangedThumbnailSize) {
    AppSettings s;
    EXPECT_TRUE(applyPreferences(s, {10, true, 96, 64}));
    EXPECT_EQ(s.thumbCx, 96);
    EXPECT_FALSE(applyPreferences(s, {12, true, 96, 64}));
    EXPECT_EQ(s.mruSize, 12);

    // The dialog shows and returns its fields.
    test::ensureApplication();
    PreferencesDialog dialog({7, true, 80, 60});
    EXPECT_EQ(dialog.mruSizeEdit()->text(), QStringLiteral("7"));
    EXPECT_TRUE(dialog.reloadCheck()->isChecked());
    dialog.mruSizeEdit()->setText(QStringLiteral("0"));
    dialog.reloadCheck()->setChecked(false);
    dialog.thumbCyEdit()->setText(QStringLiteral("0"));
    const PreferenceValues v = dialog.values();
    EXPECT_EQ(v.mruSize, 0);
    EXPECT_FALSE(v.reloadLastProject);
    EXPECT_EQ(v.thumbCx, 80);
    EXPECT_EQ(v.thumbCy, 0);
}

// Short paths stay whole; long ones keep the first folder and the end.
TEST(RecentFileName, LongPathsKeepTheFirstFolderAndTheEnd) {
    EXPECT_EQ(recentFileDisplayName(QStringLiteral("/a/b.qbk"), 30), QStringLiteral("/a/b.qbk"));
    const QString name =
        recentFileDisplayName(QStringLiteral("/home/someone/projects/tutorials/2026/demo.qbk"), 30);
    EXPECT_LE(name.size(), 30);
    EXPECT_EQ(name, QStringLiteral("/.../tutorials/2026/demo.qbk"));
    EXPECT_EQ(recentFileDisplayName(QStringLiteral("/x/a-very-long-project-file-name-here.qbk"), 30),
              QStringLiteral("a-very-long-project-file-name-here.qbk"));
}

// Arguments split by the shell are joined back into one name; a program path with spaces is quoted.
TEST(CommandLine, JoinedArgumentsGiveBackTheFileName) {
    const struct {
        QStringList argv;
        QString name;
    } cases[] = {
        {{QStringLiteral("/usr/bin/quib"), QStringLiteral("/home/a/my"), QStringLiteral("tutorial.qbk")},
         QStringLiteral("/home/a/my tutorial.qbk")},
        {{QStringLiteral("/opt/my apps/quib"), QStringLiteral("/tmp/x y.qbk")},
         QStringLiteral("/tmp/x y.qbk")},
        {{QStringLiteral("quib"), QStringLiteral("/tmp/quoted name.qbk")},
         QStringLiteral("/tmp/quoted name.qbk")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileNameFromCommandLine(joinCommandLine(c.argv)), c.name);
    EXPECT_EQ(joinCommandLine({QStringLiteral("/opt/my apps/quib"), QStringLiteral("/tmp/x y.qbk")}),
              QStringLiteral("\"/opt/my apps/quib\" /tmp/x y.qbk"));
}

using test::TempSettings;

AppSettings changedSettings() {
    AppSettings s;
    s.reloadLastProject = false;
    s.mruSize = 6;
    s.showPropertiesBar = false;
    s.thumbCx = 80;
    s.thumbCy = 48;
    s.lastTemplateLoadDir = QStringLiteral("/t");
    s.lastImageLoadDir = QStringLiteral("/i");
    s.lastHtmlExportName = QStringLiteral("/h.html");
    s.lastPdfExportName = QStringLiteral("/p.pdf");
    s.lastBackgroundFileName = QStringLiteral("/b.png");
    s.previousExportFilter = 2;
    s.previousTimedCaptureFrameRate = 7;
    s.captureWizard = CaptureWizardChoices{1, false, true, true, true, QRect(-20, 30, 800, 600)};
    s.propertiesPanelViewMode = 1;
    s.previousBackgroundMode = 2;
    s.previousBackgroundCx = 800;
    s.previousBackgroundCy = 600;
    s.previousBackgroundFillColor = 0x123456;
    s.recentFiles = {QStringLiteral("/a.qbk"), QStringLiteral("/b c.qbk")};
    return s;
}

TEST(AppSettings, EveryValueSurvivesSaveAndLoad) {
    TempSettings temp;
    const AppSettings written = changedSettings();
    written.save(temp.store());
    auto reader = temp.reopen();
    AppSettings read = AppSettings::defaults(QStringLiteral("/other"));
    read.load(*reader);
    EXPECT_EQ(read.reloadLastProject, false);
    EXPECT_EQ(read.mruSize, 6);
    EXPECT_EQ(read.showPropertiesBar, false);
    EXPECT_EQ(read.thumbCx, 80);
    EXPECT_EQ(read.thumbCy, 48);
    EXPECT_EQ(read.lastTemplateLoadDir, QStringLiteral("/t"));
    EXPECT_EQ(read.lastImageLoadDir, QStringLiteral("/i"));
    EXPECT_EQ(read.lastHtmlExportName, QStringLiteral("/h.html"));
    EXPECT_EQ(read.lastPdfExportName, QStringLiteral("/p.pdf"));
    EXPECT_EQ(read.lastBackgroundFileName, QStringLiteral("/b.png"));
    EXPECT_EQ(read.previousExportFilter, 2);
    EXPECT_EQ(read.previousTimedCaptureFrameRate, 7);
    EXPECT_EQ(read.captureWizard.regionMode, 1);
    EXPECT_FALSE(read.captureWizard.startCapturing);
    EXPECT_TRUE(read.captureWizard.hideMainWindow);
    EXPECT_TRUE(read.captureWizard.timedCapture);
    EXPECT_TRUE(read.captureWizard.clickCapture);
    EXPECT_EQ(read.captureWizard.rectangle, QRect(-20, 30, 800, 600));
    EXPECT_EQ(read.propertiesPanelViewMode, 1);
    EXPECT_EQ(read.previousBackgroundMode, 2);
    EXPECT_EQ(read.previousBackgroundCx, 800);
    EXPECT_EQ(read.previousBackgroundCy, 600);
    EXPECT_EQ(read.previousBackgroundFillColor, 0x123456);
    EXPECT_EQ(read.recentFiles, written.recentFiles);
}

TEST(AppSettings, ReadsAHandWrittenFile) {
    TempSettings temp;
    {
        QFile file(temp.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "[Settings]\n"
            "Thumb%20cx=96\n"
            "MRU%20Size=2\n"
            "LastImageLoadDir=/pictures\n"
            "Last%20Project%20Path=/p/last.qbk\n"
            "\n[Recent%20File%20List]\n"
            "File1=/one.qbk\nFile2=/two.qbk\nFile3=/beyond the size.qbk\n"
            "\n[Workspace]\n"
            "AppWindow=3 10 20 810 620\n"
            "Toolbars=0 255 7 \n");
    }
    QSettings store(temp.path(), QSettings::IniFormat);
    AppSettings s;
    s.load(store);
    EXPECT_EQ(s.thumbCx, 96);
    EXPECT_EQ(s.thumbCy, 64);
    EXPECT_EQ(s.mruSize, 2);
    EXPECT_EQ(s.lastImageLoadDir, QStringLiteral("/pictures"));
    EXPECT_EQ(s.lastProjectPath, QStringLiteral("/p/last.qbk"));
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/one.qbk"), QStringLiteral("/two.qbk")}));
    ASSERT_TRUE(s.appWindow.valid);
    EXPECT_EQ(s.appWindow.showState, 3);
    EXPECT_EQ(s.appWindow.normalRect, QRect(10, 20, 800, 600));
    EXPECT_EQ(s.toolbars, QByteArray("\x00\xff\x07", 3));
}

TEST(AppSettings, RecentListKeepsMostRecentFirstWithoutDuplicatesAndWithinSize) {
    AppSettings s;
    s.mruSize = 3;
    for (const char* p : {"/a", "/b", "/c", "/b", "/d"})
        s.addRecentFile(QString::fromLatin1(p));
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/d"), QStringLiteral("/b"), QStringLiteral("/c")}));
    s.removeRecentFile(QStringLiteral("/b"));
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/d"), QStringLiteral("/c")}));
}

TEST(WorkspaceFormat, DockStateIsDecimalBytesEachFollowedByASpace) {
    EXPECT_EQ(formatDockState(QByteArray("\x01\x80\x00", 3)), QStringLiteral("1 128 0 "));
    EXPECT_EQ(parseDockState(QStringLiteral("1 128 0 ")), QByteArray("\x01\x80\x00", 3));
    EXPECT_TRUE(parseDockState(QStringLiteral("1 300 ")).isEmpty());
}

// Handles the ids it is given and records every run in a shared log under its name.
struct RecordingHandler : CommandHandler {
    RecordingHandler(std::string name, std::set<int> ids, std::vector<std::string>* log, bool on = true)
        : name(std::move(name)), ids(std::move(ids)), log(log), on(on) {}
    bool handles(int id) const override { return ids.count(id) > 0; }
    void run(int) override { log->push_back(name); }
    bool enabled(int) const override { return on; }
    std::string name;
    std::set<int> ids;
    std::vector<std::string>* log;
    bool on;
};

class RouterTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    RecordingHandler main{"main", {1}, &log};
    RecordingHandler panel{"panel", {1, 2}, &log};
    RecordingHandler active{"active", {1, 2, 3}, &log};
    RecordingHandler other{"other", {1, 2, 3, 4}, &log};
    RecordingHandler document{"document", {1, 2, 3, 4, 5}, &log};
    CommandRouter router;

    void SetUp() override {
        router.setMainFrame(&main);
        router.setPanel(&panel);
        router.setActiveProject([this] { return ProjectCommandTargets{&active, &other, &document}; });
    }
};

// The chain is main window, panel, active view, other view, document. An unhandled command is
// disabled and not run; a disabled handler decides for later levels.
TEST_F(RouterTest, EachCommandGoesToTheFirstLevelThatHandlesItUnlessDisabled) {
    EXPECT_FALSE(router.isEnabled(99));
    EXPECT_FALSE(router.dispatch(99));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(router.chain(), (std::vector<CommandHandler*>{&main, &panel, &active, &other, &document}));
    for (int id = 1; id <= 5; ++id)
        EXPECT_TRUE(router.dispatch(id));
    EXPECT_EQ(log, (std::vector<std::string>{"main", "panel", "active", "other", "document"}));
    active.on = false;
    EXPECT_FALSE(router.isEnabled(3));
    EXPECT_FALSE(router.dispatch(3));
    EXPECT_EQ(log.size(), 5u);
}

class ProgressDialogTest : public ::testing::Test, protected test::WithApplication {
protected:
    void SetUp() override {
        test::ensureApplication();
        parent.show();
    }
    std::unique_ptr<RenderProgressDialog> makeDialog() {
        return std::make_unique<RenderProgressDialog>(&parent, [this] { return now; });
    }
    QWidget parent;
    int64_t now = 1000;
};

TEST_F(ProgressDialogTest, PositionZeroRestartsTheClockAndDurationsSwitchToMinutes) {
    auto dialog = makeDialog();
    dialog->setRange(0, 10);
    now += 5000;
    dialog->setPosition(5);
    const QString estimate = dialog->remainingText();
    now += 9000;
    dialog->setPosition(0);
    EXPECT_EQ(dialog->elapsedText(), QStringLiteral("0 secs"));
    EXPECT_EQ(dialog->remainingText(), estimate);
    // Durations switch to minutes at sixty seconds.
    EXPECT_EQ(RenderProgressDialog::durationText(20), QStringLiteral("20 secs"));
    EXPECT_EQ(RenderProgressDialog::durationText(59), QStringLiteral("59 secs"));
    EXPECT_EQ(RenderProgressDialog::durationText(60), QStringLiteral("1 min, 0 secs"));
    EXPECT_EQ(RenderProgressDialog::durationText(3725), QStringLiteral("62 min, 5 secs"));
}

TEST_F(ProgressDialogTest, CancelButtonAndEscapeSetTheFlagWithoutClosing) {
    auto dialog = makeDialog();
    dialog->cancelButton()->click();
    EXPECT_TRUE(dialog->cancelled());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->cancelButton()->text(), QStringLiteral("&Annulla"));

    auto second = makeDialog();
    QTest::keyClick(second.get(), Qt::Key_Return);  // Enter neither cancels nor closes
    EXPECT_FALSE(second->cancelled());
    QTest::keyClick(second.get(), Qt::Key_Escape);
    EXPECT_TRUE(second->cancelled());
    EXPECT_TRUE(second->isVisible());
}

class StatusProgressTest : public ::testing::Test, protected test::WithApplication {
protected:
    void SetUp() override {
        test::ensureApplication();
        window.resize(1200, 30);
        bar = new QuibStatusBar(&window);
        bar->setGeometry(0, 0, 1200, 30);
        window.show();
    }
    QWidget window;
    QuibStatusBar* bar = nullptr;
};

TEST_F(StatusProgressTest, ShowsTheTextAndPlacesTheBarAfterIt) {
    CProgressBar progress(bar, QStringLiteral("Inizializzazione delle miniature..."), 40, 12);
    EXPECT_EQ(bar->messagePane()->text(), QStringLiteral("Inizializzazione delle miniature..."));
    EXPECT_FALSE(progress.isShown());
    progress.SetPos(3);
    ASSERT_TRUE(progress.isShown());
    EXPECT_EQ(progress.bar()->value(), 3);
    EXPECT_EQ(progress.bar()->maximum(), 12);
    QLabel* pane = bar->messagePane();
    const QFontMetrics fm = pane->fontMetrics();
    const int left = fm.horizontalAdvance(QStringLiteral("Inizializzazione delle miniature...")) +
                     4 * fm.horizontalAdvance(QLatin1Char(' '));
    const QRect geometry = progress.bar()->geometry();
    EXPECT_EQ(geometry.left(), left);
    EXPECT_EQ(geometry.width(), (pane->width() - left) * 40 / 100);
    EXPECT_EQ(geometry.top(), pane->height() / 10);
    EXPECT_EQ(geometry.height(), pane->height() - 2 * (pane->height() / 10));
}

TEST(StatusBarPanes, ProjectPanesStartEmptyAndIdleTextIsReady) {
    test::ensureApplication();
    QuibStatusBar bar;
    EXPECT_EQ(bar.messagePane()->text(), QStringLiteral("Pronto"));
    bar.setPaneText(QuibStatusBar::FrameNumber, QStringLiteral("Frame 1 di 3"));
    EXPECT_EQ(bar.pane(QuibStatusBar::FrameNumber)->text(), QStringLiteral("Frame 1 di 3"));
    bar.clearProjectPanes();
    EXPECT_TRUE(bar.pane(QuibStatusBar::FrameNumber)->text().isEmpty());
    const int spaces =
        bar.pane(QuibStatusBar::Sizes)->fontMetrics().horizontalAdvance(QString(36, QLatin1Char(' ')));
    EXPECT_GE(bar.pane(QuibStatusBar::Sizes)->minimumWidth(), spaces);
    bar.setLockIndicators(true, false);
    EXPECT_TRUE(bar.capsLockShown());
    EXPECT_FALSE(bar.numLockShown());
}

// A thumbnail strip with chosen metrics.
struct FakeStrip : QWidget, ThumbnailRowMetrics {
    bool empty = false;
    int item = 70;
    int scrollBar = 0;
    bool isEmpty() const override { return empty; }
    int itemHeight() const override { return item; }
    int horizontalScrollBarHeight() const override { return scrollBar; }
};

class ChildFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureApplication();
        strip = new FakeStrip;
        editor = new QWidget;
        child = std::make_unique<CChildFrame>(
            std::make_unique<PlaceholderDocument>(QStringLiteral("/x/p.qbk")), editor, strip);
        child->resize(600, 500);
        child->show();
    }
    QSplitter* splitter() const { return child->findChild<QSplitter*>(); }
    int available() const { return splitter()->height() - splitter()->handleWidth(); }

    FakeStrip* strip = nullptr;
    QWidget* editor = nullptr;
    std::unique_ptr<CChildFrame> child;
};

// One item plus two pixels, plus the scroll bar when there is one; 110 pixels when empty.
TEST_F(ChildFrameTest, ThumbnailRowIsOneItemPlusTwoPixelsOrEverythingWithoutTheEditor) {
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), 72);
    EXPECT_EQ(child->editorRowHeight(), available() - 72);
    strip->scrollBar = 15;
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), 87);
    strip->empty = true;
    child->recalcRows();
    EXPECT_EQ(child->thumbnailRowHeight(), 110);

    // A hidden editor row gives the thumbnails everything.
    strip->empty = false;
    strip->scrollBar = 0;
    child->setEditorRowHidden(true);
    QApplication::processEvents();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(child->editorRowHeight(), 0);
    EXPECT_GE(strip->height(), available() - 1);
    child->setEditorRowHidden(false);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(child->thumbnailRowHeight(), 72);
}

TEST_F(ChildFrameTest, SplitterBarCannotBeDragged) {
    child->recalcRows();
    const QList<int> before = splitter()->sizes();
    QSplitterHandle* handle = splitter()->handle(1);
    ASSERT_NE(handle, nullptr);
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(5, 1));
    QTest::mouseMove(handle, QPoint(5, -120));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(5, -120));
    EXPECT_EQ(splitter()->sizes(), before);
}

// A type change replaces the text after the last dot. A relative name lands in the project folder,
// each parent step takes one folder off (never past the root), backslash folders keep their form,
// absolute names and a missing folder leave it alone.
TEST(OutputName, TypeChangeReplacesTheExtensionAndARelativeNameLandsInTheProjectFolder) {
    EXPECT_EQ(replaceExtension(QStringLiteral("demo.swf"), QStringLiteral("exe")),
              QStringLiteral("demo.exe"));
    EXPECT_EQ(replaceExtension(QStringLiteral("my.demo.swf"), QStringLiteral("exe")),
              QStringLiteral("my.demo.exe"));
    EXPECT_EQ(replaceExtension(QStringLiteral("demo"), QStringLiteral("swf")), QStringLiteral("demo.swf"));
    EXPECT_EQ(replaceExtension(QString(), QStringLiteral("swf")), QStringLiteral(".swf"));
    // The Linux executable has no extension; a dot in a folder name is not one.
    EXPECT_EQ(replaceExtension(QStringLiteral("out/demo.exe"), QString()), QStringLiteral("out/demo"));
    EXPECT_EQ(replaceExtension(QStringLiteral("my.dir/demo"), QStringLiteral("swf")),
              QStringLiteral("my.dir/demo.swf"));
    const QString proj = QStringLiteral("/work/proj/"), dos = QStringLiteral("C:\\work\\proj\\");
    const struct {
        const char* name;
        QString folder;
        const char* resolved;
    } cases[] = {
        {"demo.exe", proj, "/work/proj/demo.exe"},
        {"../out/demo.swf", proj, "/work/out/demo.swf"},
        {"../../demo.swf", proj, "/demo.swf"},
        {"../../../demo.swf", proj, "/demo.swf"},
        {"..\\out\\demo.swf", dos, "C:\\work\\out\\demo.swf"},
        {"D:\\x.swf", dos, "D:\\x.swf"},
        {"/tmp/x.swf", proj, "/tmp/x.swf"},
        {"x.swf", QString(), "x.swf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveOutputName(QString::fromUtf8(c.name), c.folder), QString::fromUtf8(c.resolved))
            << c.name;
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureApplication();
        settings.outputFileName = QStringLiteral("/work/proj/demo.swf");
        settings.outputType = OutputType::Movie;
        settings.frameRate = 12;
        settings.cursorSmoothness = 40;
        settings.usePalette = true;
    }
    std::unique_ptr<ProjectSettingsDialog> open() {
        auto dialog = std::make_unique<ProjectSettingsDialog>(settings, QStringLiteral("/work/proj/"));
        dialog->setMessageFunction([this](const QString& m) { messages.append(m); });
        dialog->show();
        return dialog;
    }
    OutputSettings settings;
    QStringList messages;
};

TEST_F(SettingsDialogTest, TypeChangeRewritesTheExtensionAndANameWithoutOneGetsIt) {
    auto d = open();
    d->typeList()->setCurrentIndex(1);
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("demo.exe"));
    EXPECT_EQ(settings.outputType, OutputType::Executable);
    d->reject();
    // Kept although the dialog was cancelled; the name is not.
    EXPECT_EQ(settings.outputType, OutputType::Executable);
    EXPECT_EQ(settings.outputFileName, QStringLiteral("/work/proj/demo.swf"));

    // A name without extension gets the type's, in the project folder.
    auto named = open();
    named->nameEdit()->setText(QStringLiteral("demo"));
    named->accept();
    EXPECT_EQ(named->result(), QDialog::Accepted);
    EXPECT_EQ(settings.outputFileName, QStringLiteral("/work/proj/demo.exe"));
}

// An empty name, or a frame rate of zero or below, is refused with the focus on its field and
// nothing kept.
TEST_F(SettingsDialogTest, EmptyNameOrFrameRateOfZeroOrBelowIsRefused) {
    const struct {
        bool name;
        const char* text;
        const char* message;
    } cases[] = {
        {true, "", "Si prega di indicare un nome di file valido"},
        {false, "0", "Inserire un valore > 0"},
        {false, "-5", "Inserire un valore > 0"},
        {false, "", "Inserire un valore > 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        messages.clear();
        auto d = open();
        d->activateWindow();
        QLineEdit* field = c.name ? d->nameEdit() : d->frameRateEdit();
        (c.name ? d->frameRateEdit() : d->nameEdit())->setFocus();
        field->setText(QString::fromLatin1(c.text));
        d->accept();
        EXPECT_EQ(messages, QStringList{QString::fromUtf8(c.message)});
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->focusWidget(), field);
        EXPECT_EQ(settings.outputFileName, QStringLiteral("/work/proj/demo.swf"));
        EXPECT_EQ(settings.frameRate, 12u);
    }
}

TEST_F(SettingsDialogTest, BrowseUsesTheTypeFilterAndShortensTheChoiceOrKeepsTheName) {
    auto d = open();
    QString seenFilter, seenSuffix, seenName;
    d->setBrowseFunction([&](QWidget*, const QString& filter, const QString& suffix, const QString& name) {
        seenFilter = filter;
        seenSuffix = suffix;
        seenName = name;
        return QStringLiteral("/work/proj/sub/chosen.swf");
    });
    d->browse();
    EXPECT_EQ(seenFilter, ProjectSettingsDialog::browseFilter(OutputType::Movie));
    EXPECT_TRUE(seenFilter.startsWith(QStringLiteral("Macromedia Flash (*.swf)")));
    EXPECT_EQ(seenSuffix, QStringLiteral("swf"));
    EXPECT_EQ(seenName, QStringLiteral("/work/proj/demo.swf"));
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("sub/chosen.swf"));
    EXPECT_TRUE(ProjectSettingsDialog::browseFilter(OutputType::Executable)
                    .startsWith(QStringLiteral("Executable Files (*.exe)")));
    // A cancelled browse keeps the name.
    d->setBrowseFunction([](QWidget*, const QString&, const QString&, const QString&) { return QString(); });
    d->browse();
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("sub/chosen.swf"));
}

// What every dialog is opened over.
struct Inputs : test::WithApplication {
    Inputs() { buildSyntheticProject(doc, 320, 200, 3); }
    CQuibDoc doc;
    NullScreenGrabber grabber{"nessuno schermo"};
    int rate = 2;
    OutputSettings output;
    CalloutLibrary callouts = defaultCalloutLibrary();
    FilterTable filters;
};

Inputs& inputs() {
    static Inputs shared;
    return shared;
}

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(Inputs&)> make;
};

template <typename D, typename... Args>
std::unique_ptr<QDialog> make(Args&&... args) {
    return std::make_unique<D>(std::forward<Args>(args)...);
}

const DialogCase kDialogs[] = {
    {"About", [](Inputs&) { return make<AboutDialog>(); }},
    {"Background", [](Inputs&) { return make<BackgroundDialog>(BackgroundDialog::Values{}); }},
    {"Capture",
     [](Inputs& in) {
         return make<CCaptureDialog>(in.grabber, nullptr, in.doc, Rect{0, 0, 320, 200}, true, 2, nullptr);
     }},
    {"CalloutEditor",
     [](Inputs& in) { return make<CalloutEditorDialog>(in.callouts, "Rettangolo", QString()); }},
    {"CursorEditor",
     [](Inputs&) { return make<CursorEditorDialog>(standardArrowCursor(), QStringLiteral("Cursore")); }},
    {"HtmlExport", [](Inputs& in) { return make<HtmlExportDialog>(in.filters, QString(), -1); }},
    {"CaptureSetup",
     [](Inputs& in) { return make<CCaptureSetupDialog>(in.doc, in.grabber, in.rate, nullptr); }},
    {"CropFrames", [](Inputs& in) { return make<CropFramesDialog>(in.doc); }},
    {"FontColour", [](Inputs&) { return make<FontColourDialog>(TextStyle::standardTextFont(), 0u); }},
    {"GotoFrame", [](Inputs& in) { return make<GotoFrameDialog>(in.doc, 0); }},
    {"InsertFrames", [](Inputs&) { return make<InsertFramesDialog>(true); }},
    {"MoveElements", [](Inputs&) { return make<MoveElementsDialog>(); }},
    {"NewPalette", [](Inputs&) { return make<NewPaletteDialog>(256); }},
    {"Palette", [](Inputs& in) { return make<PaletteDialog>(in.doc); }},
    {"Preferences", [](Inputs&) { return make<PreferencesDialog>(PreferenceValues{}); }},
    {"ProjectInfo", [](Inputs& in) { return make<ProjectInfoDialog>(projectInfo(in.doc)); }},
    {"ProjectSettings",
     [](Inputs& in) { return make<ProjectSettingsDialog>(in.output, QStringLiteral("/tmp")); }},
    {"RenderProgress", [](Inputs&) { return make<RenderProgressDialog>(nullptr); }},
};

QString plain(QString caption) {
    return caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// Room a title bar keeps for its icon and buttons.
constexpr int kTitleBarButtons = 96;

class DialogCaptions : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogCaptions, FitAtDefaultSize) {
    Inputs& in = inputs();
    std::unique_ptr<QDialog> dialog = GetParam().make(in);
    dialog->show();
    dialog->adjustSize();
    QFont titleFont = dialog->font();
    titleFont.setBold(true);
    EXPECT_GE(dialog->width(),
              QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + kTitleBarButtons)
        << dialog->windowTitle().toStdString();
    for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) {
        if (!group->isVisible())
            continue;
        EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(plain(group->title())) + 16)
            << group->title().toStdString();
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->textFormat() == Qt::RichText ||
            label->text().contains(QLatin1Char('\n')) || label->text().contains(QLatin1Char('<')))
            continue;
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(plain(label->text())))
            << label->text().toStdString();
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        const auto* tool = qobject_cast<const QToolButton*>(button);
        if (!button->isVisible() || button->text().isEmpty() ||
            (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly))
            continue;
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(plain(button->text())) + 8)
            << button->text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Every, DialogCaptions, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<DialogCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quib
