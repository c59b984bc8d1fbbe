#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QSplitter>

#include "capture/capture_session.h"
#include "export/html_export.h"
#include "main_window_fixture.h"
#include "ui/app_paths.h"
#include "ui/application_filters.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/html_export_dialog.h"
#include "ui/new_palette_dialog.h"
#include "ui/new_project_wizard.h"
#include "ui/palette_dialog.h"
#include "ui/placeholder_document.h"
#include "ui/project_settings_dialog.h"
#include "ui/properties_panel.h"
#include "ui/region_picker.h"
#include "ui/result_opener.h"
#include "ui/status_bar.h"
#include "ui/thumbnail_row.h"

namespace quib {
namespace {

using ProjectViewsTest = test::MainWindowFixture;

TEST_F(ProjectViewsTest, ANewThumbnailSizeRebuildsTheOpenStrips) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("wide.qbk"), 2, 160, 80)));
    strip()->finishThumbnails();
    settings.thumbCx = 128;
    settings.thumbCy = 128;
    rebuildAllThumbnails(frame);
    strip()->finishThumbnails();
    EXPECT_EQ(strip()->thumbnailSize(), QSize(128 + 6, 64 + 6));
    EXPECT_EQ(strip()->count(), 2);
    // The row holds one item, two pixels and the scroll bar.
    QApplication::processEvents();
    frame.activeChild()->recalcRows();
    EXPECT_EQ(strip()->itemHeight(), 64 + 6 + CQuibThumbView::ItemExtraHeight);
    EXPECT_EQ(frame.activeChild()->thumbnailRowHeight(),
              strip()->itemHeight() + 2 + strip()->horizontalScrollBarHeight());
}

TEST_F(ProjectViewsTest, AFileThatIsNotAProjectIsReportedAndOpensNoWindow) {
    const QString path = test::makeFile(temp.folder(), QStringLiteral("broken.qbk"));
    EXPECT_FALSE(frame.openProject(path));
    EXPECT_EQ(frame.childFrames().size(), 0);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(ProjectViewsTest, SaveWritesTheProjectAndClearsTheModifiedFlag) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("p.qbk"), 3)));
    strip()->run(cmd::LastFrame);
    strip()->run(cmd::EditDelete);
    ASSERT_TRUE(document().save());
    EXPECT_FALSE(document().isModified());
    QString error;
    auto reopened = QuibProjectDocument::open(document().pathName(), &error);
    ASSERT_TRUE(reopened) << error.toStdString();
    EXPECT_EQ(dynamic_cast<QuibProjectDocument&>(*reopened).doc().frameCount(), 2);
}

TEST_F(ProjectViewsTest, NewWithoutCapturingMakesAnEmptyModifiedProjectWindowAndCancelMakesNone) {
    ASSERT_TRUE(frame.enabled(cmd::FileNew));
    NewProjectWizard::setDefaultRunners(
        [](CCaptureSetupDialog& setup) {
            setup.startCapturingCheck()->setChecked(false);
            setup.accept();
            return setup.result();
        },
        {});
    frame.run(cmd::FileNew);
    ASSERT_EQ(frame.childFrames().size(), 1);
    EXPECT_TRUE(frame.activeChild()->document()->isModified());
    EXPECT_EQ(strip()->count(), 0);

    NewProjectWizard::setDefaultRunners([](CCaptureSetupDialog&) { return int(QDialog::Rejected); }, {});
    frame.run(cmd::FileNew);
    EXPECT_EQ(frame.childFrames().size(), 1);
    NewProjectWizard::setDefaultRunners({}, {});
}

TEST_F(ProjectViewsTest, NewWithCapturedFramesOpensAProjectOfTheRegionsSize) {
    settings.previousTimedCaptureFrameRate = 5;
    int rateSeen = 0;
    NewProjectWizard::setDefaultRunners(
        [](CCaptureSetupDialog& setup) {
            setup.regionList()->setCurrentIndex(int(RegionMode::Rectangle));
            setup.beginPick();
            setup.picker()->pressAt(Point{20, 10});
            setup.picker()->releaseAt(Point{180, 130});
            setup.accept();
            return setup.result();
        },
        [&](CCaptureDialog& capture) {
            rateSeen = capture.session().rate();
            capture.toggleCapture(false);
            capture.toggleCapture(false);
            capture.finish();
            return capture.result();
        });
    frame.run(cmd::FileNew);
    ASSERT_EQ(frame.childFrames().size(), 1);
    EXPECT_EQ(rateSeen, 5);
    EXPECT_EQ(doc().frameCount(), 2);
    EXPECT_EQ(doc().frameSize, (Size{160, 120}));
    EXPECT_EQ(doc().backgroundSize, (Size{160, 120}));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.isEnabled());
    NewProjectWizard::setDefaultRunners({}, {});
}

TEST_F(ProjectViewsTest, DeletedFramesComeBackWithTheNamedUndoItemAndTheirThumbnails) {
    ASSERT_TRUE(frame.openProject(writeProject(QStringLiteral("undo.qbk"), 6)));
    // A lone project window fills the workspace.
    EXPECT_EQ(frame.mdiArea()->subWindowList().first()->geometry(),
              QRect(QPoint(0, 0), frame.mdiArea()->viewport()->size()));
    strip()->finishThumbnails();
    const QImage third = strip()->thumbnail(2);
    QAction* undo = frame.action(cmd::EditUndo);
    QAction* redo = frame.action(cmd::EditRedo);

    // Deleting asks nothing; the status bar tells how to get the frames back.
    strip()->setCurrentRow(1);
    for (int row = 1; row <= 4; ++row)
        strip()->item(row)->setSelected(true);
    strip()->run(cmd::EditDelete);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(doc().frameCount(), 2);
    EXPECT_EQ(frame.panes()->messagePane()->text(),
              QStringLiteral("4 frame eliminati \u2014 Ctrl+Z per annullare"));
    frame.updateCommandStates();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Annulla Elimina 4 frame\tCtrl+Z"));

    undo->trigger();
    EXPECT_EQ(doc().frameCount(), 6);
    EXPECT_EQ(strip()->count(), 6);
    // Back at the saved state: no modified mark, and the thumbnail shows at once.
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(frame.activeChild()->windowTitle(), QStringLiteral("undo.qbk"));
    EXPECT_EQ(strip()->thumbnail(2), third);
    EXPECT_EQ(redo->text(), QStringLiteral("Ri&pristina Elimina 4 frame\tCtrl+Y"));

    redo->trigger();
    EXPECT_EQ(doc().frameCount(), 2);
    EXPECT_TRUE(doc().isModified());
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(ProjectViewsTest, SaveAsProposesTheDefaultNameAndListsTheFileAmongTheRecentOnes) {
    frame.addProjectWindow(QuibProjectDocument::createNew());
    doc().SetModifiedFlag(true);
    QString proposed;
    const QString path = inFolder(QStringLiteral("saved.qbk"));
    QuibProjectDocument::interaction().askSaveName = [&](const QString& suggested) {
        proposed = suggested;
        return path;
    };
    frame.router().dispatch(cmd::FileSaveAs);
    EXPECT_EQ(proposed, QStringLiteral("Senzatitolo.qbk"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(frame.settings().recentFiles.value(0), QFileInfo(path).absoluteFilePath());
}

// A main window with one synthetic project open; every question the document asks is answered
// by the test.
struct DocumentCommandsTest : test::MainWindowFixture {
    DocumentCommandsTest() {
        if (applicationFilters().size() == 0)
            loadApplicationFilters();
        QuibProjectDocument::setApplicationSettings(&settings);
        DocumentInteraction& ask = QuibProjectDocument::interaction();
        ask.askYesNo = [this](const QString& question) {
            questions.append(question);
            return answerYes;
        };
        ask.openPage = [this](const QString& path) { openedPages.append(path); };
        ask.outputWritten = [this](const ExportResult& result) {
            written.append(QString::fromStdString(result.path));
        };
        projectPath = writeProject(QStringLiteral("demo project.qbk"), 3, 80, 60);
        EXPECT_TRUE(frame.openProject(projectPath));
    }
    ~DocumentCommandsTest() override { QuibProjectDocument::setApplicationSettings(nullptr); }

    int filterFor(const char* extension) const {
        for (int index : htmlExportFilterIndices(applicationFilters()))
            if (ExtensionListHas(applicationFilters().entry(index).caps->extensions, extension))
                return index;
        return -1;
    }

    QString projectPath;
    QStringList questions;
    QStringList openedPages;
    QStringList written;
    bool answerYes = true;
};

// Cancelled, the settings keep only the type change; OK changes the output and marks the project.
TEST_F(DocumentCommandsTest, ProjectSettingsOkChangesTheOutputAndMarksTheProjectModified) {
    const ProjectSettings before = doc().settings;
    QuibProjectDocument::interaction().editOutputSettings = [&](OutputSettings& output, const QString&) {
        output.outputType = OutputType::Executable;
        output.frameRate = 99;
        return false;
    };
    frame.router().dispatch(cmd::ProjectSettings);
    EXPECT_EQ(doc().settings.outputType, OutputType::Executable);
    EXPECT_EQ(doc().settings.frameRate, before.frameRate);
    EXPECT_FALSE(doc().isModified());

    QString shownFolder;
    QuibProjectDocument::interaction().editOutputSettings = [&](OutputSettings& output,
                                                                const QString& folder) {
        shownFolder = folder;
        output.outputFileName = inFolder(QStringLiteral("movie.exe"));
        output.outputType = OutputType::Executable;
        output.frameRate = 12;
        output.usePalette = true;
        return true;
    };
    ASSERT_TRUE(frame.router().dispatch(cmd::ProjectSettings));
    EXPECT_EQ(shownFolder.toStdString(), doc().projectDir);
    EXPECT_EQ(doc().settings.outputFileName, inFolder(QStringLiteral("movie.exe")).toStdString());
    EXPECT_EQ(doc().settings.frameRate, 12u);
    EXPECT_EQ(doc().settings.usePalette, 1u);
    EXPECT_TRUE(doc().isModified());
}

TEST_F(DocumentCommandsTest, RenderWithoutAnOutputNameAsksForOneThenWritesTheMovieAndPage) {
    doc().settings.outputFileName.clear();
    doc().settings.outputType = OutputType::Movie;
    QuibProjectDocument::interaction().editOutputSettings = [&](OutputSettings& output, const QString&) {
        output.outputFileName = inFolder(QStringLiteral("first.swf"));
        return true;
    };
    ASSERT_TRUE(document().render()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(bytesIn(QStringLiteral("first.swf")).starts_with("FWS"));
    EXPECT_TRUE(QFileInfo::exists(inFolder(QStringLiteral("first.htm"))));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DocumentCommandsTest, RenderInPaletteModeWithoutAPaletteAsksForOneAndStopsWithoutOne) {
    doc().settings.outputFileName = inFolder(QStringLiteral("indexed.swf")).toStdString();
    doc().settings.outputType = OutputType::Movie;
    doc().settings.usePalette = 1;
    doc().settings.paletteCount = 0;
    PaletteDialogPrompts& prompts = PaletteDialog::prompts();
    const PaletteDialogPrompts saved = prompts;
    // No palette chosen: nothing is written.
    prompts.runPalette = [](PaletteDialog&) { return false; };
    EXPECT_FALSE(document().render());
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("indexed.swf"))));
    EXPECT_EQ(doc().settings.paletteCount, 0);
    messages.clear();

    int dialogs = 0;
    prompts.runPalette = [&](PaletteDialog& dialog) {
        ++dialogs;
        prompts.runNewPalette = [](NewPaletteDialog& choice) {
            choice.webSafeButton()->setChecked(true);
            return true;
        };
        return dialog.createNew();
    };
    ASSERT_TRUE(document().render()) << messages.join(QLatin1Char('\n')).toStdString();
    prompts = saved;
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Quando renderizzate un progetto")));
    EXPECT_EQ(doc().settings.paletteCount, 216);
    EXPECT_TRUE(QFileInfo::exists(inFolder(QStringLiteral("indexed.swf"))));
}

TEST_F(DocumentCommandsTest, ShowResultOffersToRenderFirstAndOpensThePage) {
    doc().settings.outputFileName = inFolder(QStringLiteral("later.swf")).toStdString();
    doc().settings.outputType = OutputType::Movie;

    answerYes = false;
    EXPECT_FALSE(document().showResult());
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(openedPages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("later.swf"))));

    answerYes = true;
    EXPECT_TRUE(document().showResult());
    EXPECT_EQ(questions.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(inFolder(QStringLiteral("later.swf"))));
    EXPECT_EQ(written, QStringList{inFolder(QStringLiteral("later.swf"))});
    ASSERT_EQ(openedPages.size(), 1);
    EXPECT_EQ(openedPages.first(), inFolder(QStringLiteral("later.htm")));

    // With the output there, the page opens without a question.
    EXPECT_TRUE(document().showResult());
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(openedPages.size(), 2);
}

TEST_F(DocumentCommandsTest, HtmlExportWritesThePageAndImagesRemembersTheChoiceAndReportsFailure) {
    const int png = filterFor("png");
    ASSERT_GE(png, 0) << "the PNG plug-in is built beside the tests";
    QuibProjectDocument::interaction().askHtmlExport = [&](QString& page, int& filter) {
        page = QStringLiteral("pages/tour");  // relative: beside the project
        filter = png;
        return true;
    };
    QDir(temp.folder()).mkdir(QStringLiteral("pages"));
    ASSERT_TRUE(frame.router().dispatch(cmd::ExportHtml));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(bytesIn(QStringLiteral("pages/tour.htm")).starts_with("<html>\r\n"));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(QFileInfo::exists(inFolder(QStringLiteral("pages/tour%1.png").arg(i)))) << i;
    EXPECT_EQ(settings.lastHtmlExportName, QStringLiteral("pages/tour"));
    EXPECT_EQ(settings.previousExportFilter, png);

    // A folder that cannot be made is reported by the page's path.
    QuibProjectDocument::interaction().askHtmlExport = [&](QString& page, int& filter) {
        page = inFolder(QStringLiteral("missing/folder/tour.htm"));
        filter = filterFor("bmp");
        return true;
    };
    EXPECT_FALSE(document().exportHtml());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Impossibile creare il file")));
    EXPECT_TRUE(messages.first().contains(QStringLiteral("tour.htm")));
}

TEST_F(DocumentCommandsTest, HtmlExportDialogListsOnlyWritableTypesAndSelectsTheRememberedOne) {
    const std::vector<int> writable = htmlExportFilterIndices(applicationFilters());
    ASSERT_GE(writable.size(), 2u);
    HtmlExportDialog dialog(applicationFilters(), QStringLiteral("old.htm"), writable[1]);
    EXPECT_EQ(dialog.typeList()->count(), int(writable.size()));
    EXPECT_EQ(dialog.filterIndex(), writable[1]);
    EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("old.htm"));
    dialog.setBrowseFunction(
        [](QWidget*, const QString& current) { return current + QStringLiteral(".new"); });
    dialog.browse();
    EXPECT_EQ(dialog.pageName(), QStringLiteral("old.htm.new"));

    HtmlExportDialog unknown(applicationFilters(), QString(), 9999);
    EXPECT_EQ(unknown.filterIndex(), writable[0]);
}

TEST_F(DocumentCommandsTest, PdfExportStartsFromTheRememberedNameAndAddsTheExtension) {
    settings.lastPdfExportName = inFolder(QStringLiteral("before.pdf"));
    QString offered;
    QuibProjectDocument::interaction().askPdfName = [&](const QString& remembered) {
        offered = remembered;
        return inFolder(QStringLiteral("handout"));
    };
    ASSERT_TRUE(frame.router().dispatch(cmd::ExportPdf));
    EXPECT_EQ(offered, inFolder(QStringLiteral("before.pdf")));
    EXPECT_EQ(settings.lastPdfExportName, inFolder(QStringLiteral("handout")));
    const std::string bytes = bytesIn(QStringLiteral("handout.pdf"));
    EXPECT_TRUE(bytes.starts_with("%PDF-"));
    EXPECT_NE(bytes.find("/Title (handout)"), std::string::npos);
}

TEST_F(DocumentCommandsTest, TutorialRendersASampleWithoutOutputBesideItOnlyWhenAsked) {
    const QString sample = inFolder(QStringLiteral("sample.qbk"));
    ASSERT_TRUE(QFile::copy(projectPath, sample));

    answerYes = false;
    EXPECT_FALSE(QuibProjectDocument::runTutorial(sample));
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(openedPages.isEmpty());

    answerYes = true;
    EXPECT_TRUE(QuibProjectDocument::runTutorial(sample)) << messages.join(QLatin1Char('\n')).toStdString();
    // Rendered from its copy in the user's data folder; nothing is written beside the sample.
    const QString copies = userDataFolder() + QStringLiteral("/samples/");
    EXPECT_TRUE(QFileInfo::exists(copies + QStringLiteral("sample_files/timeline.js")));
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("sample.html"))));
    ASSERT_EQ(openedPages.size(), 1);
    EXPECT_EQ(openedPages.first(), copies + QStringLiteral("sample.html"));
    // No window was opened for it.
    EXPECT_EQ(frame.childFrames().size(), 1);

    EXPECT_TRUE(QuibProjectDocument::runTutorial(sample));
    EXPECT_EQ(questions.size(), 2);
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

struct ChildFrameTest : test::WithApplication, ::testing::Test {
    ChildFrameTest() {
        child->resize(600, 500);
        child->show();
    }
    QSplitter* splitter() const { return child->findChild<QSplitter*>(); }
    int available() const { return splitter()->height() - splitter()->handleWidth(); }

    FakeStrip* strip = new FakeStrip;
    QWidget* editor = new QWidget;
    std::unique_ptr<CChildFrame> child = std::make_unique<CChildFrame>(
        std::make_unique<PlaceholderDocument>(QStringLiteral("/x/p.qbk")), editor, strip);
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
}

// A type change replaces the text after the last dot. A relative name lands in the project folder,
// each parent step takes one folder off (never past the root), backslash folders keep their form,
// absolute names and a missing folder leave it alone.
TEST(OutputName, TypeChangeReplacesTheExtensionAndARelativeNameLandsInTheProjectFolder) {
    EXPECT_EQ(replaceExtension(QStringLiteral("demo.swf"), QStringLiteral("exe")),
              QStringLiteral("demo.exe"));
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

struct SettingsDialogTest : test::WithApplication, ::testing::Test {
    SettingsDialogTest() {
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
    EXPECT_EQ(seenSuffix, QStringLiteral("swf"));
    EXPECT_EQ(seenName, QStringLiteral("/work/proj/demo.swf"));
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("sub/chosen.swf"));
    // A cancelled browse keeps the name.
    d->setBrowseFunction([](QWidget*, const QString&, const QString&, const QString&) { return QString(); });
    d->browse();
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("sub/chosen.swf"));
}

struct ResultOpenerTest : test::WithApplication, ::testing::Test {};

// A result nothing can open (file gone, no opener, the opener fails) gives a message naming it.
TEST_F(ResultOpenerTest, NamesTheFileWhenNothingOpensIt) {
    test::TempSettings temp;
    const QString page = QDir(temp.folder()).filePath(QStringLiteral("movie.html"));
    test::writeFile(page.toStdString(), "");
    const struct {
        QString path;
        QString opener;
    } cases[] = {{page + QStringLiteral(".gone"), QStringLiteral("xdg-open")},
                 {page, QStringLiteral("/nonexistent/opener")},
                 {page, QStringLiteral("false")}};
    for (const auto& c : cases) {
        QString message;
        openWithDesktop(
            c.path, false, [&](const QString& text) { message = text; }, c.opener);
        for (int spins = 0; spins < 100000 && message.isEmpty(); ++spins)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        EXPECT_EQ(message, cannotOpenMessage(c.path)) << c.opener.toStdString();
    }
}

}  // namespace
}  // namespace quib
