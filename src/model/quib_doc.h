#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/cursor_picture.h"
#include "base/geometry.h"
#include "base/status.h"
#include "doc_observer.h"
#include "frame.h"
#include "model/command_stack.h"
#include "offscreen_surface.h"

namespace quib {

// The contents of a project: what a load replaces as a whole. Kept apart from the document's
// title, path, modified flag and observers so that a load can parse into a fresh instance first.
struct ProjectData {
    std::vector<Frame> frames;
    // Working copy of the selected frame; its picture is currentImage, its cursor pixels its own.
    Frame currentFrame;
    int32_t currentFrameIndex = -1;
    Size backgroundSize;
    Size frameSize;
    Point frameOrigin;
    ButtonImageSet buttonImages;
    Bitmap24 currentImage;     // frameSize, decompressed picture of the current frame
    Bitmap24 backgroundImage;  // backgroundSize, or null for no background picture
    std::string projectDir;    // folder of the project file with a trailing separator, or empty
    ProjectSettings settings;
    TitleSettings titles;
    bool elementsChanged = false;  // currentFrame's elements differ from the array copy
    bool imageChanged = false;     // currentImage differs from the array's stream
    bool compressedSave = false;   // the save under way writes the compressed variant
    bool settingsOnly = false;     // the load under way reads the settings only
};

// The project document: frames kept zlib-compressed, one of them decompressed as the working copy.
class CQuibDoc : public ProjectData {
public:
    CQuibDoc() = default;
    CQuibDoc(const CQuibDoc&) = delete;
    CQuibDoc& operator=(const CQuibDoc&) = delete;

    int frameCount() const { return int(frames.size()); }
    bool isValidIndex(int index) const { return index >= 0 && index < frameCount(); }

    bool SelectFrame(int index, bool force = false);
    // Compresses currentImage (whatever the index) into the frame at index (-1: current).
    bool CommitFrameImage(int index = -1);
    // Copies the working copy's elements and cursor pixels into the frame at index (-1: current).
    bool CommitFrameElements(int index = -1);
    bool CopyFrameImage(int destination, int source);
    // Fills out by elements (cursor pixels and image are left alone); defaults for a bad index.
    void GetFrame(int index, FrameElements& out) const;
    // The cursor picture of a frame as GetFrame would see it (the working copy's for the current).
    Bitmap32 frameCursorImage(int index) const;

    // Read-only access for outputs and other readers: nothing here selects a frame, commits the
    // working copy or tells the views, so any number of readers may run while the editor waits.
    // The frame as the editor shows it (the working copy for the current frame, no Previous button
    // on the first frame, no Next button on the last), with its cursor pixels but no picture stream.
    Frame readFrame(int index) const;
    // Inflates the picture of frame index (the working picture for the current frame) into into,
    // which is resized to the frame size when needed. A damaged stream fails with
    // "Formato del file inaspettato." and leaves what it produced.
    Status decodeFrame(int index, Bitmap24& into) const;
    void SetFrame(int index, const Frame& in, bool withCursorImage);
    // The working copy and currentImage are the template of the inserted frames. Pending changes of
    // the current frame are not committed here: callers select it (forced) first when they matter.
    bool InsertFrames(int position, bool before, int count);
    bool InsertFramesAtCurrent(bool before, int count) {
        return InsertFrames(currentFrameIndex, before, count);
    }
    bool DeleteFrame(int index);
    void SetEmptyProjectFrameSize(int cx, int cy);
    bool AppendCapturedFrame();
    static void SetCursorImageFromHandle(Frame& frame, const CursorPicture& cursor);
    void SetModifiedFlag(bool modified = true);
    void DeleteContents();
    // A new project without the wizard: a movie output, default button pictures, modified.
    void InitNewProject();

    // Status-bar texts: "Frame %d di %d" and "%dx%d (%dx%d)".
    std::string frameIndicatorText() const;
    std::string sizeIndicatorText() const;

    void addObserver(DocObserver* observer);
    void removeObserver(DocObserver* observer);
    // Tells every observer except sender.
    void UpdateAllViews(int hint, uint32_t arg = 0, DocObserver* sender = nullptr);

    const std::string& title() const { return m_title; }
    void setTitle(const std::string& title) { m_title = title; }
    const std::string& pathName() const { return m_pathName; }
    void setPathName(const std::string& path);
    bool isModified() const { return m_modified; }

    // Replaces the contents by a parsed project (title, path and observers stay).
    void replaceContents(ProjectData&& data);

    // Drawing surfaces of the text box and the title, reused while their sizes stay the same.
    CompositionSurfaces compositionSurfaces;

    // The project's undo history. Every change of the project is recorded in it (project_edit.h).
    CommandStack commands;
    // Edits inside an edit are part of the outer step.
    class EditScope {
    public:
        explicit EditScope(CQuibDoc& doc) : m_doc(doc) { ++m_doc.m_editDepth; }
        ~EditScope() { --m_doc.m_editDepth; }

    private:
        CQuibDoc& m_doc;
    };
    int editDepth() const { return m_editDepth; }

private:
    void reallocateCurrentImage();
    void shiftGotoTargets(int q, int delta);

    std::string m_title;
    std::string m_pathName;
    bool m_modified = false;
    std::vector<DocObserver*> m_observers;
    int m_editDepth = 0;
};

}  // namespace quib
