#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "base/progress.h"
#include "export/export_result.h"
#include "export/picture_encoder.h"

namespace quib {

class CQuibDoc;
class CalloutLibrary;

// The movie as a web page plays it: a stage picture per frame (whole or the changed rectangle),
// the cursor over it, and what the buttons do.
struct WebButton {
    enum class Action { PlayOn, ShowFrame, PlayFrom };
    Rect rect;  // on the canvas
    Action action = Action::PlayOn;
    int frame = 0;  // ShowFrame and PlayFrom
};

struct WebPicture {
    std::string file;  // in the folder
    Rect rect;         // where it goes on the stage
};

struct WebFrame {
    // Drawn over the stage in order; none: the stage stays as it was. A whole frame covers the stage
    // with tiles, and a tile equal to the one of the last whole frame at its place is that file again.
    std::vector<WebPicture> pictures;
    bool whole = false;
    Point cursor;            // where the cursor is, shown or not (a hidden one still glides there)
    int cursorPicture = -1;  // index into WebMovie::cursorPictures; -1: hidden
    // The stage under the cursor with the cursor drawn in, shown while the frame is held, so that the
    // page matches the frame as the editor composes it whatever the cursor's alpha.
    std::string cursorMark;
    Rect cursorMarkRect;
    int64_t glideFrames = 0;  // frames the cursor glides before the picture changes
    int64_t holdFrames = 1;
    bool stops = false;
    std::vector<WebButton> buttons;
    std::string title;
    std::string text;
};

struct WebMovie {
    std::string name;    // the page's name without extension, for its title
    std::string folder;  // the pictures' folder as the page refers to it, ending in '/'
    Size canvas;
    uint32_t frameRate = 8;
    uint8_t background[3] = {0, 0, 0};  // red, green, blue around the stage
    std::vector<std::string> cursorPictures;
    std::vector<WebFrame> frames;
};

// The timeline as a script that sets window.quibTimeline, so that a page opened from the disk
// reads it without fetching.
std::string webMovieTimeline(const WebMovie& movie);
// The page that shows the movie with the player script of the folder.
std::string webMoviePage(const WebMovie& movie);

// The player's files shipped with the program (its script and style), in the order tried.
std::vector<std::string> webPlayerFolders();
inline constexpr const char* kWebPlayerFiles[] = {"quib-player.js", "quib-player.css"};

// Writes path (the page), and beside it the folder NAME_files with the player, the pictures and the
// timeline. The old page and folder stay until the new ones are whole; a damaged frame writes
// nothing. Frames are composed in order and encoded on every core.
ExportResult writeWebMovie(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& path,
                           PictureFormat format, Progress& progress);

}  // namespace quib
