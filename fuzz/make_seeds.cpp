// Writes the seed corpus of every fuzz target: small valid inputs made by the program's own
// writers, one folder per target under the folder given.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "appended_movie.h"
#include "base/progress.h"
#include "cursors/cursor_library_file.h"
#include "imagefilters/image_file.h"
#include "model/frame_clipboard.h"
#include "model/project_file.h"
#include "model/synthetic_project.h"
#include "model/template_file.h"
#include "palette/palette_file.h"
#include "palette/standard_palettes.h"
#include "raster/gui_application.h"
#include "render/render_project.h"
#include "shapes/default_callouts.h"
#include "swf/swf_movie.h"

using namespace quib;
namespace fs = std::filesystem;

namespace {

fs::path g_root;

void seed(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(g_root / target);
    std::ofstream(g_root / target / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// 2 x 2, four colours, colour 3 transparent; each LZW code followed by a clear code.
std::vector<uint8_t> tinyGif() {
    return {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2,    0,    0xF1, 0,    0,    255,  0,    0, 0,
            255, 0,   0,   0,   255, 9,   9, 9, 0x21, 0xF9, 4,    1,    0,    0,    3,    0, 0x2C,
            0,   0,   0,   0,   2,   0,   2, 0, 0,    2,    4,    0x04, 0x43, 0x71, 0x2C, 0, 0x3B};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: make_seeds CARTELLA CARTELLA_FILTRI\n";
        return 2;
    }
    g_root = argv[1];
    raster::ensureGuiApplication();

    CQuibDoc doc;
    if (!buildSyntheticProject(doc, 24, 16, 3))
        return 1;
    NullProgress progress;
    seed("fuzz_project_file", "normal.qbk", ProjectFile::store(doc, "/p/a.qbk", progress));
    doc.compressedSave = true;
    seed("fuzz_project_file", "compressed.qbk", ProjectFile::store(doc, "/p/a.qbk", progress));
    doc.compressedSave = false;

    TemplateSet set;
    set.TakeFrom(doc, templ::AllElements);
    seed("fuzz_template", "all.qtp", set.toBytes());
    seed("fuzz_callout_library", "default.dat", defaultCalloutLibrary().write());
    CursorPicture cursor{Bitmap32(3, 2), Point{1, 1}};
    seed("fuzz_cursor_library", "one.dat", writeUserCursors({UserCursor{"freccia", cursor}}));
    Palette palette;
    const auto entries = StandardPalette16();
    palette.count = int(entries.size());
    std::copy(entries.begin(), entries.end(), palette.entries.begin());
    seed("fuzz_palette", "sixteen.pal", bytesOf(WriteJascPalette(palette)));
    seed("fuzz_clipboard_frames", "two.bin", CopyFramesToClipboardFile(doc, {0, 2}));
    seed("fuzz_clipboard_items", "all.bin", CopySelItemsToClipboardFile(doc, 0x7F));

    SwfMovie movie;
    BuildProjectMovie(doc, defaultCalloutLibrary(), progress, movie);
    std::vector<uint8_t> swf;
    if (!movie.write(swf).ok())
        return 1;
    seed("fuzz_movie", "project.swf", swf);
    std::vector<uint8_t> appended = {0x7F, 'E', 'L', 'F'};
    appended.insert(appended.end(), swf.begin(), swf.end());
    for (uint32_t v : {player::AppendedMovieMagic, uint32_t(swf.size())})
        for (int i = 0; i < 4; ++i)
            appended.push_back(uint8_t(v >> (8 * i)));
    seed("fuzz_appended_movie", "player.bin", appended);

    FilterTable table;
    table.loadFilters(argv[2], DefaultFilterTools(), 1, true);
    const fs::path pictures = g_root / "pictures";
    fs::create_directories(pictures);
    for (const char* extension : {"png", "jpg", "bmp"}) {
        const fs::path file = pictures / (std::string("frame.") + extension);
        if (!SaveImageFile(table, file.string(), doc.currentImage))
            return 1;
        fs::create_directories(g_root / (std::string("fuzz_image_") + extension));
        fs::copy_file(file, g_root / (std::string("fuzz_image_") + extension) / file.filename(),
                      fs::copy_options::overwrite_existing);
    }
    fs::remove_all(pictures);
    seed("fuzz_image_gif", "tiny.gif", tinyGif());
    return 0;
}
