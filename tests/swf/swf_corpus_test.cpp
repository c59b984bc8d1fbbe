#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "swf/swf_button_object.h"
#include "swf/swf_shape_object.h"
#include "swf_test_helpers.h"

// Movies kept under tests/data/swf: the writer's output must stay byte for byte the same.
// QUIB_REGENERATE_CORPUS=1 rewrites them after a deliberate change.

using namespace quib;

namespace {

std::vector<uint8_t> bitmapMovie() {
    SwfMovie movie;
    movie.setWidth(64);
    movie.setHeight(48);
    movie.setFrameRate(8);
    movie.frame(0).setBackgroundColor(255, 0, 0);
    swftest::TestBitmap screen = swftest::argbBitmap(40, 30, false, 7);
    BitmapObject full(movie, 0, 0, 39, 29, screen.description);
    full.setLayer(95);
    movie.frame(0).place(full);
    swftest::TestBitmap cursor = swftest::indexedBitmap(5, 7, 4, true);
    BitmapObject pointer(movie, 0, 0, 4, 6, cursor.description);
    pointer.setLayer(900);
    pointer.setTranslate(12, 9);
    movie.frame(0).place(pointer);
    return swftest::writeMovie(movie);
}

std::vector<uint8_t> buttonMovie() {
    SwfMovie movie;
    movie.setWidth(200);
    movie.setHeight(100);
    movie.setFrameRate(12);
    swftest::TestBitmap face = swftest::argbBitmap(16, 12, true, 3);
    BitmapObject picture(movie, 0, 0, 15, 11, face.description);
    ButtonObject button(&picture);
    button.setLayer(110);
    const std::function<void(ButtonObject&)> actions[] = {
        [](ButtonObject& b) { b.setAction(PlayActionSource(), ButtonCondition::OverDownToOverUp); },
        [](ButtonObject& b) { b.setAction(StopActionSource(), ButtonCondition::OverDownToOverUp); },
        [](ButtonObject& b) { b.setAction(GotoFrameActionSource(1), ButtonCondition::OverDownToOverUp); },
    };
    int frame = 0;
    for (const auto& setAction : actions) {
        picture.setTranslate(20 * frame, 10);
        setAction(button);
        movie.frame(frame).place(button);
        movie.frame(frame).addActions(StopActionSource());
        movie.frame(frame + 1).remove(button);
        ++frame;
    }
    return swftest::writeMovie(movie);
}

std::vector<uint8_t> multiFrameMovie() {
    SwfMovie movie;
    movie.setWidth(120);
    movie.setHeight(80);
    movie.setFrameRate(10);
    movie.frame(0).setBackgroundColor(255, 0, 0);
    ShapeObject box(10, 10, 49, 29);
    box.setFillColor({0, 128, 255, 255});
    box.setLayer(100);
    ShapeObject frameLine(0, 0, 119, 79);
    frameLine.setLayer(90);
    frameLine.setFillColor({255, 255, 255, 255});
    movie.frame(0).place(frameLine);
    for (int f = 0; f < 4; ++f) {
        box.setTranslate(f * 5, 0);
        if (f > 0)
            movie.frame(f).remove(box);
        movie.frame(f).place(box);
    }
    movie.frame(7).addActions(GotoFrameActionSource(0));
    return swftest::writeMovie(movie);
}

void checkCorpus(const std::string& name, const std::vector<uint8_t>& bytes) {
    ASSERT_NO_THROW(swftest::decodeMovie(bytes)) << name;
    const std::filesystem::path path = std::filesystem::path(QUIB_TEST_DATA_DIR) / "swf" / name;
    const char* regenerate = std::getenv("QUIB_REGENERATE_CORPUS");
    if (regenerate && std::string(regenerate) == "1") {
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(swftest::writeBytes(path.string(), bytes)) << path;
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(path))
        << "missing " << path << " (run with QUIB_REGENERATE_CORPUS=1)";
    EXPECT_EQ(swftest::readBytes(path.string()), bytes) << name << " differs from the committed file";
}

TEST(SwfCorpus, EveryMovieIsUnchanged) {
    checkCorpus("bitmap.swf", bitmapMovie());
    checkCorpus("button_actions.swf", buttonMovie());
    checkCorpus("multi_frame.swf", multiFrameMovie());
}

}  // namespace
