#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/progress.h"
#include "base/status.h"

namespace quib {

class CQuibDoc;

// Reads one picture file (blue, green, red); nothing when it cannot. The callers pass the image
// plug-ins' reader, tests one of their own.
using PictureReader = std::function<std::optional<Bitmap24>(const std::string& path)>;

// What the insert-frames dialog asks for.
struct InsertFramesRequest {
    int count = 1;                    // 1 .. 99
    bool copyCurrent = false;         // a copy of the current frame instead of an empty black frame
    bool after = false;               // after the current frame instead of before it
    Size emptyProjectSize{640, 480};  // the frame size a project without frames takes
    // Frames from picture files instead (one each, count not used).
    bool fromFiles = false;
    std::vector<std::string> pictureFiles;
};

inline constexpr int kMaxInsertedFrames = 99;
// Largest side of a frame or background picture this program makes.
inline constexpr int kMaxPictureSide = 32767;

// Inserts frames at the current frame: empty ones (black, no text box, no buttons, the text box
// rectangle in the lower right fifth) or copies of the current frame without text. A project
// without frames first takes request.emptyProjectSize and gets empty frames at index 0. Pending
// edits of the current frame are committed first, so that they are neither lost nor altered.
// Tells the views which frames arrived (hint 9) and marks the document modified. On failure the
// frames are as they were and the status names the message.
Status insertFrames(CQuibDoc& doc, const InsertFramesRequest& request);

// Fits a picture to a frame size: placed at the top-left, cut where it is larger, black where it
// is smaller.
Bitmap24 fitPictureToFrame(const Bitmap24& picture, Size frameSize);

// Inserts one frame for each picture file, in order, before or after the current frame. Each
// picture is fitted to the frame; the frames have no text box and no buttons. A project without
// frames takes the size of the first picture. Every file is read before anything changes: one that
// cannot be read is named in the failure ("Formato di file sconosciuto") and the project stays as
// it was.
Status insertPictureFrames(CQuibDoc& doc, const PictureReader& read, const std::vector<std::string>& paths,
                           bool after, Progress& progress);

// Fills an empty document with one frame per picture file, with no limit on their number. The
// first picture fixes the frame and canvas size; the frames start as captured frames do (only the
// default positions set, nothing shown). A file that cannot be read fails as insertPictureFrames
// does and leaves the document as it was.
Status ImportImages(CQuibDoc& doc, const PictureReader& read, const std::vector<std::string>& paths);

// Crops every frame to columns left .. right - 1 and rows top .. bottom - 1 of its picture. The
// picture stays where its cropped part was: frameOrigin moves by (left, top); the canvas follows
// the new frame size when there is no background picture. Element positions are unchanged.
// The rectangle must be non-empty and inside the frame; nothing changes otherwise.
Status cropFrames(CQuibDoc& doc, Rect crop, Progress& progress);

// A cx x cy background of one colour (0x00BBGGRR); refused when smaller than the frame.
Status setFillBackground(CQuibDoc& doc, int cx, int cy, uint32_t color);

// A background from a loaded picture: transparent pixels (alpha 0) become white. Refused when
// smaller than the frame. frameOrigin stays.
Status setPictureBackground(CQuibDoc& doc, const Bitmap32& picture);

// Replaces the picture of one navigation button (kind: 0 Previous, 1 Next, 2 Goto 1, 3 Goto 2),
// alpha kept.
Status setButtonPicture(CQuibDoc& doc, int kind, const Bitmap32& picture);

}  // namespace quib
