#include <gtest/gtest.h>

#include "shape_bytes.h"

#include "base/atomic_file.h"
#include "shapes/callout_library.h"
#include "shapes/callout_library_lookup.h"
#include "shapes/curve_shape.h"
#include "shapes/default_callouts.h"
#include "shapes/fill_shape.h"
#include "shapes/polygon_shape.h"
#include "support/temp_dir.h"

using namespace quib;

namespace {

Callout calloutNamed(const std::string& name, uint32_t textColour = 0) {
    Callout c = CalloutLibrary().NewCallout(textColour);
    c.name = name;
    return c;
}

CalloutLibrary libraryOf(std::initializer_list<const char*> names) {
    CalloutLibrary library;
    for (const char* n : names)
        library.Add(calloutNamed(n));
    library.setChanged(false);
    return library;
}

std::vector<std::string> namesOf(const CalloutLibrary& library) {
    std::vector<std::string> names;
    for (const Callout& c : library.callouts())
        names.push_back(c.name);
    return names;
}

using test::TempDir;
using test::writeBytes;

}  // namespace

TEST(CalloutLibraryFormat, HandWrittenFileReads) {
    test::RawBytes b;
    b.u32(1).u8(4).chars("Nota").u32(2);
    // Text field: polygon, no name, 2 points, one keyframe.
    b.u32(1).u32(0).u32(2).u32(0).u32(1).u32(2).u32(1).u32(0).u32(1);
    b.f64(0.0).f64(0.1).f64(0.2).f64(0.9).f64(0.8);
    // A fill marker with one point at the centre.
    b.u32(3).u32(0).u32(1).u32(0x0000FF00).u32(1).u32(0).u32(1).u32(0).u32(0).f64(0.0).f64(0.5).f64(0.5);
    b.u32(0x00336699);
    const std::vector<uint8_t>& bytes = b.b;
    CalloutLibrary library;
    Status status = library.read(bytes.data(), bytes.size());
    ASSERT_TRUE(status.ok()) << status.message();
    ASSERT_EQ(library.size(), 1u);
    const Callout& c = library.at(0);
    EXPECT_EQ(c.name, "Nota");
    EXPECT_EQ(c.textColour, 0x00336699u);
    ASSERT_EQ(c.shapes.size(), 2u);
    EXPECT_TRUE(c.shapes[0]->permanent);
    EXPECT_EQ(c.shapes[1]->type(), ShapeType::Fill);
    EXPECT_EQ(c.shapes[0]->current.size(), 2u) << "shapes are updated at time 0 as they are read";
    EXPECT_EQ(c.TextRect(100, 100), (Rect{10 - 2 + 5, 20 - 2 + 5, 90 + 3 - 5, 80 + 3 - 5}));
    EXPECT_EQ(library.write(), bytes);
}

TEST(CalloutLibraryFormat, RoundTripOfEveryShapeKindAndOfNone) {
    CalloutLibrary library;
    Callout c = calloutNamed("Tutto", 0x00FF00FF);
    c.shapes.push_back(quib::testing::shapeOf<CurveShape>({{0, 0}, {0.3, 0.4}, {0.6, 0.4}, {1, 0}}));
    c.shapes.push_back(FillShape::at(0.5, 0.5, 200, 200, 0x00123456));
    library.Add(c);
    library.Add(calloutNamed("Perché"));
    std::vector<uint8_t> bytes = library.write();
    CalloutLibrary back;
    ASSERT_TRUE(back.read(bytes.data(), bytes.size()).ok());
    EXPECT_EQ(namesOf(back), (std::vector<std::string>{"Tutto", "Perché"}));
    EXPECT_EQ(back.at(0).shapes.size(), 3u);
    EXPECT_EQ(back.at(0).shapes[1]->type(), ShapeType::Curve);
    EXPECT_EQ(back.at(0).shapes[2]->colour, 0x00123456u);
    EXPECT_EQ(back.write(), bytes);
    // An empty library is four zero bytes.
    const CalloutLibrary empty;
    EXPECT_EQ(empty.write(), (std::vector<uint8_t>{0, 0, 0, 0}));
    ASSERT_TRUE(back.read(empty.write().data(), 4).ok());
    EXPECT_TRUE(back.empty());
}

TEST(CalloutLibraryFormat, MalformedLibrariesFailAndLeaveItEmpty) {
    CalloutLibrary good;
    good.Add(calloutNamed("A"));
    const std::vector<uint8_t> valid = good.write();
    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
    for (size_t cut : {size_t(2), size_t(5), valid.size() / 2, valid.size() - 1})
        cases.push_back({"truncated", std::vector<uint8_t>(valid.begin(), valid.begin() + ptrdiff_t(cut))});
    std::vector<uint8_t> hugeCount = valid;
    hugeCount[0] = hugeCount[1] = hugeCount[2] = hugeCount[3] = 0xFF;
    cases.push_back({"callout count beyond the data", hugeCount});
    std::vector<uint8_t> unknownType = valid;
    unknownType[4 + 2 + 4] = 7;  // count, name "A", shape count, then the first shape's type
    cases.push_back({"unknown shape type", unknownType});
    std::vector<uint8_t> hugeShapes = valid;
    hugeShapes[4 + 2 + 3] = 0x7F;
    cases.push_back({"shape count beyond the data", hugeShapes});
    std::vector<uint8_t> longName = valid;
    longName[4 + 2 + 4 + 4] = 0xFF;  // first shape's name length
    longName[4 + 2 + 4 + 5] = 0x01;
    cases.push_back({"shape name too long", longName});
    for (const auto& [what, bytes] : cases) {
        CalloutLibrary library = libraryOf({"old"});
        Status status = library.read(bytes.data(), bytes.size());
        EXPECT_FALSE(status.ok()) << what;
        EXPECT_EQ(status.stringId(), str::UnexpectedFormat) << what;
        EXPECT_TRUE(library.empty()) << what;
    }
}

TEST(CalloutLibraryFile, SaveCreatesAMissingFolderAndLoadReadsItBackOrKeepsTheLibraryWhenMissing) {
    TempDir folder;
    const std::string path = folder.path("quib/callout.dat");
    ASSERT_TRUE(libraryOf({"Uno", "Due"}).SaveLibrary(path).ok());
    CalloutLibrary back = libraryOf({"resta"});
    bool found = true;
    EXPECT_TRUE(back.LoadLibrary(folder.path("missing.dat"), &found).ok());
    EXPECT_FALSE(found);
    EXPECT_EQ(namesOf(back), (std::vector<std::string>{"resta"}));
    ASSERT_TRUE(back.LoadLibrary(path, &found).ok());
    EXPECT_TRUE(found);
    EXPECT_EQ(namesOf(back), (std::vector<std::string>{"Uno", "Due"}));
}

TEST(CalloutLibraryFile, FailedSaveKeepsTheLibraryAndACorruptFileEmptiesItWithAMessage) {
    TempDir folder;
    const std::string path = folder.path("callout.dat");
    CalloutLibrary library = libraryOf({"nuovo"});
    setAtomicFileFault(AtomicFileFault::Write, 3);
    Status status = library.SaveLibrary(path);
    setAtomicFileFault(AtomicFileFault::None);
    EXPECT_EQ(status.stringId(), str::CannotCreateFile);
    EXPECT_EQ(namesOf(library), (std::vector<std::string>{"nuovo"}));
    writeBytes(path, {5, 0, 0, 0, 3, 'a'});
    status = library.LoadLibrary(path);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find(path), std::string::npos);
    EXPECT_NE(status.message().find("Formato del file inaspettato."), std::string::npos);
    EXPECT_TRUE(library.empty());
}

TEST(CalloutLibraryLookup, TheFirstReadableFileWinsAndDamagedOnesAreNamed) {
    // Files in lookup order: the user's, then two shipped places. 'g' good, 'd' damaged, '-' missing.
    const struct {
        const char* files;
        int used;  // index of the file read, -1 for the built-in callouts
        int problems;
    } cases[] = {
        {"ggg", 0, 0}, {"-g-", 1, 0},  {"dg-", 1, 1},  {"d-g", 2, 1},
        {"ddg", 2, 2}, {"d--", -1, 1}, {"---", -1, 0},
    };
    for (const auto& c : cases) {
        TempDir folder;
        std::vector<std::string> files;
        for (int k = 0; k < 3; ++k) {
            files.push_back(folder.path("callout" + std::to_string(k) + ".dat"));
            if (c.files[k] == 'g')
                ASSERT_TRUE(
                    libraryOf({"Rettangolo", k == 0 ? "utente" : "fornito"}).SaveLibrary(files.back()));
            else if (c.files[k] == 'd')
                writeBytes(files.back(), {5, 0, 0, 0, 3, 'a'});
        }
        const FoundCalloutLibrary found = findCalloutLibrary(files);
        EXPECT_EQ(found.path, c.used < 0 ? std::string() : files[size_t(c.used)]) << c.files;
        ASSERT_EQ(found.problems.size(), size_t(c.problems)) << c.files;
        for (int k = 0; k < c.problems; ++k)
            EXPECT_NE(found.problems[size_t(k)].find(files[size_t(k)]), std::string::npos) << c.files;
        if (c.used >= 0)
            EXPECT_EQ(namesOf(found.library),
                      (std::vector<std::string>{"Rettangolo", c.used == 0 ? "utente" : "fornito"}));
        else
            EXPECT_EQ(found.library.write(), defaultCalloutLibrary().write()) << c.files;
    }
}

TEST(CalloutLibraryEditing, FindIsExactAndCaseSensitiveFirstMatch) {
    CalloutLibrary library = libraryOf({"Nota", "nota", "Nota"});
    EXPECT_EQ(library.Find("Nota"), 0u);
    EXPECT_EQ(library.Find("nota"), 1u);
    EXPECT_EQ(library.Find("NOTA"), std::nullopt);
    EXPECT_EQ(library.FindCallout("missing"), nullptr);
}

TEST(CalloutLibraryEditing, MovesSwapNeighboursAndStopAtTheEndsAndAddReplaceRemoveCopyTheCallouts) {
    CalloutLibrary library = libraryOf({"a", "b", "c"});
    EXPECT_FALSE(library.MoveUp(0));
    EXPECT_FALSE(library.MoveDown(2));
    EXPECT_FALSE(library.changed());
    EXPECT_TRUE(library.MoveUp(2));
    EXPECT_EQ(namesOf(library), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_TRUE(library.MoveDown(0));
    EXPECT_EQ(namesOf(library), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_TRUE(library.changed());
    CalloutLibrary copies = libraryOf({"a", "b"});
    Callout edited = calloutNamed("z", 0x0000FF);
    EXPECT_EQ(copies.Add(edited), 2u);
    edited.shapes.clear();
    EXPECT_EQ(copies.at(2).shapes.size(), 1u) << "the library holds its own copy";
    EXPECT_TRUE(copies.Replace(0, edited));
    EXPECT_EQ(copies.at(0).name, "z");
    EXPECT_FALSE(copies.Replace(5, edited));
    EXPECT_TRUE(copies.Remove(1));
    EXPECT_FALSE(copies.Remove(7));
    EXPECT_EQ(namesOf(copies), (std::vector<std::string>{"z", "z"}));
}

TEST(CalloutLibraryNaming, UntitledNumberComesFromTheLastMatchInListOrderAndANewCalloutHoldsTheTextField) {
    EXPECT_EQ(libraryOf({}).NewCalloutName(), "Untitled");
    EXPECT_EQ(libraryOf({"Nota", "untitled"}).NewCalloutName(), "Untitled");
    EXPECT_EQ(libraryOf({"Untitled"}).NewCalloutName(), "Untitled1");
    EXPECT_EQ(libraryOf({"Untitled3", "Untitled"}).NewCalloutName(), "Untitled1");
    EXPECT_EQ(libraryOf({"Untitled9", "Untitled4"}).NewCalloutName(), "Untitled5");
    EXPECT_EQ(libraryOf({"Untitled12abc"}).NewCalloutName(), "Untitled13");
    EXPECT_EQ(libraryOf({"Untitled99999999999999"}).NewCalloutName(), "Untitled2147483648");
    Callout c = libraryOf({}).NewCallout(0x00A0B0C0);
    EXPECT_EQ(c.name, "Untitled");
    EXPECT_EQ(c.textColour, 0x00A0B0C0u);
    EXPECT_EQ(c.shapes.size(), 1u);
}
