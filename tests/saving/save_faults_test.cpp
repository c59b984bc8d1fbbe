// Every writer of the programs goes through the one atomic writer: a save that fails half way
// leaves the file it would replace whole, and no temporary file behind.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "base/atomic_file.h"
#include "cursors/cursor_library_file.h"
#include "export/pdf_export.h"
#include "export_test_util.h"
#include "imagefilters/image_file.h"
#include "model/frame_composition.h"
#include "model/project_storage.h"
#include "model/template_file.h"
#include "palette/palette_file.h"
#include "raster/png_file.h"
#include "render/movie_output.h"
#include "shapes/callout_library.h"
#include "swf/swf_movie.h"

namespace quib {
namespace {

namespace fs = std::filesystem;

// Each writer saves version 1 or 2 (different content) of its file into folder.
struct Writer {
    const char* name;
    const char* file;  // the file it is named for, in folder
    std::function<bool(const std::string& folder, int version)> save;
};

bool saveProject(const std::string& folder, int version, bool compressed) {
    CQuibDoc doc;
    test::makeProject(doc, 48, 32, version);
    NullProgress progress;
    const std::string path = folder + "/tour.qbk";
    return compressed ? SaveProjectCompressed(path, doc, progress).ok()
                      : SaveProject(path, doc, progress).ok();
}

void buildMovie(SwfMovie& movie, int version) {
    movie.setFrameRate(10 + version);
    movie.frame(2 + version);
}

std::vector<Writer> writers() {
    return {
        {"project", "tour.qbk", [](const std::string& f, int v) { return saveProject(f, v, false); }},
        {"compressed project", "tour.qbk",
         [](const std::string& f, int v) { return saveProject(f, v, true); }},
        {"template", "look.qtp",
         [](const std::string& f, int v) {
             TemplateSet set;
             set.frameRate = uint32_t(v);
             set.calloutName = "Nota " + std::to_string(v);
             return set.Save(f + "/look.qtp").ok();
         }},
        {"callout library", "callout.dat",
         [](const std::string& f, int v) {
             CalloutLibrary library;
             for (int i = 0; i < v; ++i) {
                 Callout callout = library.NewCallout(0);
                 callout.name = "Fumetto " + std::to_string(i);
                 library.Add(callout);
             }
             return library.SaveLibrary(f + "/callout.dat").ok();
         }},
        {"cursor library", "usercurs.dat",
         [](const std::string& f, int v) {
             CursorPicture cursor;
             cursor.image = Bitmap32(8 * v, 8);
             return saveUserCursorFile(f + "/usercurs.dat", {UserCursor{"Mano", cursor}}).ok();
         }},
        {"palette", "colours.pal",
         [](const std::string& f, int v) {
             Palette palette;
             palette.count = 16 * v;
             return SavePaletteFile(f + "/colours.pal", palette).ok();
         }},
        {"movie", "tour.swf",
         [](const std::string& f, int v) {
             SwfMovie movie;
             buildMovie(movie, v);
             return movie.writeFile(f + "/tour.swf").ok();
         }},
        {"movie with its page", "tour.swf",
         [](const std::string& f, int v) {
             SwfMovie movie;
             buildMovie(movie, v);
             return WriteMovieOutput(movie, f + "/tour.swf", OutputType::Movie, {40 + v, 30})
                 .movieStatus.ok();
         }},
        {"executable movie", "tour.exe",
         [](const std::string& f, int v) {
             const std::string player = f + "/../player";
             std::ofstream(player, std::ios::binary) << std::string(3000, 'P');
             SwfMovie movie;
             buildMovie(movie, v);
             return WriteMovieOutput(movie, f + "/tour.exe", OutputType::Executable, {40, 30}, player)
                 .movieStatus.ok();
         }},
        {"PDF export", "tour.pdf",
         [](const std::string& f, int v) {
             CQuibDoc doc;
             test::makeProject(doc, 48, 32, v);
             NullProgress progress;
             return ExportPdf(doc, applicationCalloutsOrNone(), f + "/tour.pdf", progress).status.ok();
         }},
        {"picture through a plug-in", "shot.bmp",
         [](const std::string& f, int v) {
             return SaveImageFile(test::shippedFilters(), f + "/shot.bmp", test::framePattern(40, 30, v));
         }},
        {"PNG of a frame", "frame.png",
         [](const std::string& f, int v) {
             const Bitmap24 p = test::framePattern(40, 30, v);
             const QImage image(p.pixels.data(), p.width, p.height, qsizetype(p.stride()),
                                QImage::Format_BGR888);
             return raster::savePngFile(image, f + "/frame.png");
         }},
    };
}

std::set<std::string> fileNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(SaveFaults, EveryWriterLeavesTheOldFileWholeWhenAWriteFails) {
    test::TempDir dir;
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string folder = dir.path(writer.name);
        fs::create_directory(folder);
        ASSERT_TRUE(writer.save(folder, 1));
        const std::string target = folder + "/" + writer.file;
        const std::string old = test::readFile(target);
        ASSERT_FALSE(old.empty());
        const std::set<std::string> before = fileNames(folder);

        struct Fault {
            AtomicFileFault step;
            uint64_t afterBytes;
        };
        // Every file here fits the writer's buffer: a full disk shows at the same write wherever it fills.
        const Fault faults[] = {{AtomicFileFault::Write, old.size() / 2},
                                {AtomicFileFault::Sync, 0},
                                {AtomicFileFault::Rename, 0}};
        for (const Fault& fault : faults) {
            SCOPED_TRACE(testing::Message() << "fault " << int(fault.step) << " after " << fault.afterBytes);
            setAtomicFileFault(fault.step, fault.afterBytes);
            const bool saved = writer.save(folder, 2);
            setAtomicFileFault(AtomicFileFault::None);
            EXPECT_FALSE(saved);
            EXPECT_EQ(test::readFile(target), old);
            // Files beside the named one (the page beside a movie) may have been replaced whole;
            // none may be new, gone or a temporary.
            EXPECT_EQ(fileNames(folder), before);
        }
        // The second version really differs, so the checks above could have seen it.
        ASSERT_TRUE(writer.save(folder, 2));
        EXPECT_NE(test::readFile(target), old);
    }
}

}  // namespace
}  // namespace quib
