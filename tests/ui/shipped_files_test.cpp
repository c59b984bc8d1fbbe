#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <set>
#include <string>
#include <vector>

#include "base/progress.h"
#include "export/project_output.h"
#include "model/project_storage.h"
#include "shapes/default_callouts.h"
#include "support/files_and_commands.h"
#include "swf_test_decoder.h"
#include "ui/command_table.h"
#include "ui/menu_layout.h"
#include "ui_test_support.h"

namespace quib {
namespace {

const QString kDocs = QStringLiteral(QUIB_BUILD_DIR "/share/quib/docs");

QString guidePage() {
    QFile page(kDocs + QStringLiteral("/guida-utente.html"));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

// A menu caption as a reader sees it: no mnemonic, accelerator or trailing dots.
QString shownCaption(const char* menuText) {
    QString text = QString::fromUtf8(menuText).section(QLatin1Char('\t'), 0, 0);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

TEST(UserGuide, NamesEveryMenuCommandAndShowsPicturesThatExist) {
    test::ensureApplication();
    const QString page = guidePage();
    ASSERT_FALSE(page.isEmpty());
    QTextDocument document;
    document.setHtml(page);
    const QString text = document.toPlainText();
    std::set<int> ids;
    for (const auto& menu : {menuNoProject(), menuProject()})
        for (const MenuItem& item : menu)
            if (item.kind == MenuItem::Command)
                ids.insert(item.id);
    EXPECT_GT(ids.size(), 60u);
    for (int id : ids) {
        const CommandInfo* info = findCommand(id);
        ASSERT_NE(info, nullptr) << id;
        const QString caption = shownCaption(info->menuText);
        EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
    }

    const QRegularExpression image(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    int count = 0;
    for (const QRegularExpressionMatch& match : image.globalMatch(page)) {
        ++count;
        EXPECT_TRUE(QFile::exists(QDir(kDocs).filePath(match.captured(1))))
            << match.captured(1).toStdString();
    }
    EXPECT_GE(count, 6);
    EXPECT_GT(QFileInfo(kDocs + QStringLiteral("/guida-utente.pdf")).size(), 50000);
}

struct Sample {
    const char* file;
    std::vector<std::string> titles;
};

const Sample kSamples[] = {
    {"tutorial.qbk",
     {"Tutorial 1: catturare lo schermo", "Quale zona catturare", "Disegnare il rettangolo",
      "Cattura temporizzata o a ogni clic", "Il tasto Pausa", "La finestra di cattura",
      "Il progetto catturato"}},
    {"sample.qbk",
     {"Tutorial 2: annotare e pubblicare", "La casella di testo", "Il fumetto e il carattere",
      "Il titolo del frame", "I pulsanti di navigazione", "Impostazioni progetto",
      "Rendering e pubblicazione"}},
};

std::string samplePath(const char* file) {
    return std::string(QUIB_BUILD_DIR "/share/quib/samples/") + file;
}

class SampleProjects : public ::testing::TestWithParam<Sample> {};

TEST_P(SampleProjects, RenderEveryFrameWithItsTitle) {
    const Sample& sample = GetParam();
    const std::string path = samplePath(sample.file);
    EXPECT_LT(QFileInfo(QString::fromStdString(path)).size(), 400 * 1024);
    CQuibDoc doc;
    NullProgress progress;
    ASSERT_TRUE(LoadProject(path, doc, progress).ok());
    ASSERT_EQ(doc.frameCount(), int(sample.titles.size()));
    for (int k = 0; k < doc.frameCount(); ++k) {
        const Frame& frame = doc.frames[size_t(k)];
        EXPECT_EQ(frame.title, sample.titles[size_t(k)]);
        EXPECT_TRUE(frame.textBox.visible && !frame.textBox.text.empty()) << k;
        EXPECT_TRUE(frame.cursorVisible && frame.hasCursorImage()) << k;
        EXPECT_EQ(bool(frame.nextButton.visible), k + 1 < doc.frameCount()) << k;
    }

    const CalloutLibrary callouts = defaultCalloutLibrary();
    OutputOptions options;
    options.callouts = &callouts;
    QTemporaryDir out;
    const std::string movie = out.filePath(QStringLiteral("sample.swf")).toStdString();
    const ExportResult rendered = projectOutput(OutputType::Movie).write(doc, movie, options, progress);
    ASSERT_TRUE(rendered.status.ok()) << rendered.status.message();
    const std::string bytes = test::readFile(movie);
    EXPECT_GE(swftest::decodeMovie(std::vector<uint8_t>(bytes.begin(), bytes.end())).showFrameCount(),
              doc.frameCount());

    const std::string page = out.filePath(QStringLiteral("sample.html")).toStdString();
    const ExportResult html = projectOutput(OutputType::Html5).write(doc, page, options, progress);
    ASSERT_TRUE(html.status.ok()) << html.status.message();
    EXPECT_EQ(html.framesWritten, doc.frameCount());
    const std::string text = test::readFile(page);
    for (const std::string& title : sample.titles)
        EXPECT_NE(text.find(title), std::string::npos) << title;
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, SampleProjects, ::testing::ValuesIn(kSamples), [](const ::testing::TestParamInfo<Sample>& info) {
        return std::string(info.param.file).substr(0, std::string(info.param.file).find('.'));
    });

}  // namespace
}  // namespace quib
