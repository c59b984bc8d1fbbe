#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <thread>

#include "export/project_output.h"
#include "export_test_util.h"
#include "model/doc_observer.h"
#include "raster/gui_application.h"
#include "shapes/default_callouts.h"

namespace quib {
namespace {

struct HintRecorder : DocObserver {
    void onUpdate(int hint, uint32_t) override { hints.push_back(hint); }
    std::vector<int> hints;
};

class ProjectOutputs : public ::testing::TestWithParam<OutputType> {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }
    void SetUp() override {
        callouts = defaultCalloutLibrary();
        test::makeProject(doc, 120, 80, 3);
        doc.frames[2].textBox = TextBox{1, Rect{10, 10, 100, 60}, "Clic", callouts.at(0).name, {}};
        options.callouts = &callouts;
        options.filters = &test::shippedFilters();
    }
    CQuibDoc doc;
    CalloutLibrary callouts;
    OutputOptions options;
    test::TempDir dir;
};

// Outputs only read the project: the editor's frame, its pending edits, the stored streams and the
// modified mark stay, no view is told anything, and the writer runs on another thread while this
// one keeps serving events. Then a damaged frame stops the write with its message and the file
// written before stays.
TEST_P(ProjectOutputs, WriteOnAWorkerLeavesTheProjectAsItWasAndADamagedFrameKeepsTheOldFile) {
    const ProjectOutput& output = projectOutput(GetParam());
    doc.SelectFrame(1);
    doc.currentFrame.textBox = TextBox{1, Rect{5, 5, 90, 50}, "In corso", callouts.at(0).name, {}};
    doc.elementsChanged = true;
    doc.currentImage.pixels[0] = 77;
    doc.imageChanged = true;
    doc.SetModifiedFlag(false);
    const Frame working = doc.currentFrame;
    std::vector<std::vector<uint8_t>> streams;
    for (const Frame& frame : doc.frames)
        streams.push_back(frame.imageData.toVector());
    HintRecorder views;
    doc.addObserver(&views);

    const std::string path = dir.path("out." + std::string(output.extension()));
    ExportResult result;
    std::atomic<int> ticks{0};
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    std::thread worker([&] {
        NullProgress progress;
        result = output.write(doc, path, options, progress);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    ASSERT_TRUE(result.status.ok()) << result.status.message();
    EXPECT_EQ(result.framesWritten, 3);
    EXPECT_TRUE(test::fileExists(result.path)) << result.path;
    EXPECT_GT(ticks.load(), 0);
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_TRUE(doc.elementsChanged && doc.imageChanged);
    EXPECT_EQ(doc.currentFrame, working);
    EXPECT_EQ(doc.currentImage.pixels[0], 77);
    for (size_t i = 0; i < streams.size(); ++i)
        EXPECT_EQ(doc.frames[i].imageData, streams[i]) << "frame " << i;
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(views.hints.empty());
    doc.removeObserver(&views);

    const std::string old = test::readFile(result.path);
    auto& stream = doc.frames[2].imageData;
    stream = std::vector<uint8_t>(stream.begin(), stream.begin() + stream.size() / 2);
    NullProgress progress;
    const ExportResult damaged = output.write(doc, path, options, progress);
    EXPECT_EQ(damaged.status.stringId(), str::UnexpectedFormat) << damaged.status.message();
    if (GetParam() != OutputType::HtmlPages) {  // the page keeps the frames before the damaged one
        EXPECT_EQ(test::readFile(result.path), old);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryOutput, ProjectOutputs,
                         ::testing::Values(OutputType::Movie, OutputType::Executable,
                                           OutputType::LinuxExecutable, OutputType::Html5,
                                           OutputType::HtmlPages, OutputType::Pdf),
                         [](const auto& info) { return std::string(outputTypeName(info.param)); });

}  // namespace
}  // namespace quib
