#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "export/html_export.h"
#include "main_window_fixture.h"
#include "ui/app_paths.h"
#include "ui/application_filters.h"
#include "ui/html_export_dialog.h"
#include "ui/new_palette_dialog.h"
#include "ui/palette_dialog.h"
#include "ui/result_opener.h"

namespace quib {
namespace {

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
    EXPECT_EQ(doc().settings.outputType, OutputType::Executable);
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
    QFile movie(inFolder(QStringLiteral("first.swf")));
    ASSERT_TRUE(movie.open(QIODevice::ReadOnly));
    EXPECT_EQ(movie.read(3), QByteArray("FWS"));
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
    QFile page(inFolder(QStringLiteral("pages/tour.htm")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray html = page.readAll();
    EXPECT_TRUE(html.startsWith("<html>\r\n"));
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
    FilterTable none;
    HtmlExportDialog empty(none, QString(), 0);
    EXPECT_FALSE(empty.hasTypes());
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
    QFile pdf(inFolder(QStringLiteral("handout.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/Title (handout)"));
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

struct ResultOpenerTest : test::WithApplication, ::testing::Test {};

// A result nothing can open (file gone, no opener, the opener fails) gives a message naming it.
TEST_F(ResultOpenerTest, NamesTheFileWhenNothingOpensIt) {
    test::TempSettings temp;
    const QString page = QDir(temp.folder()).filePath(QStringLiteral("movie.html"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
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
