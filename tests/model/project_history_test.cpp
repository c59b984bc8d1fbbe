#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "model/frame_clipboard.h"
#include "model/frame_operations.h"
#include "model/project_edit.h"
#include "model_test_util.h"

namespace quib {
namespace {

int anyFrame(const CQuibDoc& doc, std::mt19937& random) {
    return doc.frameCount() == 0 ? -1 : int(random() % unsigned(doc.frameCount()));
}

// Every kind of change a user makes, each done the way the application does it.
using Edit = std::function<void(CQuibDoc&, std::mt19937&)>;
const std::vector<std::pair<std::string, Edit>>& edits() {
    static const std::vector<std::pair<std::string, Edit>> list{
        {"insert",
         [](CQuibDoc& doc, std::mt19937& r) {
             InsertFramesRequest request;
             request.count = 1 + int(r() % 2);
             request.copyCurrent = r() % 2;
             request.after = r() % 2;
             request.emptyProjectSize = Size{8, 6};
             (void)insertFrames(doc, request);
         }},
        {"delete",
         [](CQuibDoc& doc, std::mt19937& r) {
             const int index = anyFrame(doc, r);
             editProject(doc, "Elimina frame", [&] { return doc.DeleteFrame(index); });
         }},
        {"paste",
         [](CQuibDoc& doc, std::mt19937& r) {
             if (doc.frameCount() == 0)
                 return;
             const auto bytes = CopyFramesToClipboardFile(doc, {anyFrame(doc, r)});
             (void)PasteFramesFromFile(doc, bytes, anyFrame(doc, r));
         }},
        {"crop",
         [](CQuibDoc& doc, std::mt19937&) {
             if (doc.frameSize.cx > 3 && doc.frameSize.cy > 3) {
                 NullProgress progress;
                 (void)cropFrames(doc, Rect{1, 1, doc.frameSize.cx, doc.frameSize.cy}, progress);
             }
         }},
        {"background",
         [](CQuibDoc& doc, std::mt19937& r) {
             (void)setFillBackground(doc, doc.frameSize.cx + 2, doc.frameSize.cy + 1,
                                     uint32_t(r()) & 0xFFFFFF);
         }},
        {"move text box",
         [](CQuibDoc& doc, std::mt19937& r) {
             const int index = anyFrame(doc, r);
             if (index < 0)
                 return;
             doc.SelectFrame(index);
             editFrames(doc, "Sposta casella di testo", {index}, [&] {
                 doc.currentFrame.textBox.rect.left += 3;
                 doc.currentFrame.textBox.visible = 1;
                 doc.elementsChanged = true;
             });
         }},
        {"type",
         [](CQuibDoc& doc, std::mt19937& r) {
             const int index = doc.currentFrameIndex;
             if (index < 0)
                 return;
             editFrames(
                 doc, "Modifica testo", {index},
                 [&] {
                     doc.currentFrame.textBox.text += char('a' + r() % 26);
                     doc.elementsChanged = true;
                 },
                 "text");
         }},
    };
    return list;
}

// Undoing every step gives back the very file the project was, redoing every step the file it
// became, whatever the sequence of edits.
TEST(ProjectHistory, UndoAllAndRedoAllGiveTheSameFileBytes) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        CQuibDoc doc;
        test::makeProject(doc, 4);
        doc.SetModifiedFlag(false);
        const std::vector<uint8_t> initial = test::projectFileBytes(doc);
        std::string done;
        for (int step = 0; step < 10; ++step) {
            const auto& [name, edit] = edits()[random() % edits().size()];
            done += name + ", ";
            edit(doc, random);
        }
        SCOPED_TRACE(done);
        const std::vector<uint8_t> final = test::projectFileBytes(doc);
        while (doc.commands.undo(doc)) {
        }
        EXPECT_EQ(test::projectFileBytes(doc), initial);
        EXPECT_FALSE(doc.isModified());
        while (doc.commands.redo(doc)) {
        }
        EXPECT_EQ(test::projectFileBytes(doc), final);
    }
}

TEST(ProjectHistory, TheOldestStepsGoBeyondTheLimitAndFailuresRecordNothing) {
    CQuibDoc doc;
    test::makeProject(doc, 6);
    // A failed operation records nothing.
    NullProgress progress;
    EXPECT_FALSE(cropFrames(doc, Rect{5, 5, 2, 2}, progress).ok());
    EXPECT_FALSE(doc.commands.canUndo());
    doc.commands.setLimits(3, 0);
    for (int k = 0; k < 5; ++k)
        editProject(doc, "Elimina frame", [&] { return doc.DeleteFrame(0); });
    EXPECT_EQ(doc.commands.count(), 3u);
    EXPECT_EQ(doc.frameCount(), 1);
    int undone = 0;
    while (doc.commands.undo(doc))
        ++undone;
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(doc.frameCount(), 4);
}

}  // namespace
}  // namespace quib
