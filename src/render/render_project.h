#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/progress.h"
#include "base/status.h"
#include "model/output_type.h"

namespace quib {

class CQuibDoc;
class CalloutLibrary;
class SwfMovie;

// The message shown when palette output is asked for before a palette was chosen.
inline constexpr const char* kNoPaletteMessage =
    "Quando renderizzate un progetto la prima volta dovete selezionare un palette per l'output video. "
    "Potete farlo scegliendo il comando \"Progetto > Modifica Palette\".";

// Why a render cannot start. The user interface answers NoOutputName with the project settings
// dialog and NoPalette with the palette dialog, then asks again.
enum class RenderBlocker {
    None,
    NoOutputName,      // stop without a message
    CannotCreateFile,  // "Impossibile creare il file"
    NoPalette,         // kNoPaletteMessage
    MovieLimits,       // canvas above 16383 pixels or frame rate outside 1 .. 255
};

struct RenderCheck {
    RenderBlocker blocker = RenderBlocker::None;
    Status status;  // the message to show (success for None and NoOutputName)
    bool ok() const { return blocker == RenderBlocker::None; }
};

// The checks before a render, in order: an output name, an output file that can be created in
// its folder (the existing file is left untouched until the new one is complete), a palette in
// palette mode (not for the html5 output), a movie size and rate the format can hold.
RenderCheck CheckRenderable(const CQuibDoc& doc);
// The same checks for an output written to outputPath instead of the project's output name.
RenderCheck CheckRenderable(const CQuibDoc& doc, const std::string& outputPath);

// Figures of one render pass.
struct RenderStats {
    int projectFrames = 0;  // project frames put into the movie
    bool cancelled = false;
    int swfFrames = 0;
    int imagePatches = 0;
    int fullFrames = 0;
    size_t cursorPictures = 0;
    std::vector<int> frameStart;  // per project frame, the SWF frame go-to actions jump to
    std::vector<int> stopFrame;   // per project frame, the SWF frame its text and buttons go on
    Status frameStatus;           // a frame whose picture could not be read ends the pass
};

// Builds the movie of the project (checked with CheckRenderable first) into movie, reporting to
// progress (range over the frames, cancel between frames: the frames done so far stay). The
// project is only read; frames are decoded one at a time.
RenderStats BuildProjectMovie(const CQuibDoc& doc, const CalloutLibrary& callouts, Progress& progress,
                              SwfMovie& movie);

struct RenderResult {
    RenderCheck check;     // why nothing was rendered, if so
    Status movieStatus;    // writing the movie or executable
    Status pageStatus;     // writing the HTML page ("swf" output only)
    std::string pagePath;  // the page written, if any
    size_t outputBytes = 0;
    RenderStats stats;
    bool ok() const { return check.ok() && movieStatus.ok() && pageStatus.ok(); }
};

// The render command: checks, builds the movie and writes the output of the project's settings
// (movie and HTML page, or executable).
RenderResult RenderProject(const CQuibDoc& doc, const CalloutLibrary& callouts, Progress& progress);
// The same to outputPath as type (Movie, Executable or LinuxExecutable); playerPath: the projector to append,
// empty to look for it.
RenderResult RenderProjectTo(const CQuibDoc& doc, const CalloutLibrary& callouts,
                             const std::string& outputPath, OutputType type, Progress& progress,
                             const std::string& playerPath = {});

}  // namespace quib
