#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/geometry.h"
#include "color.h"
#include "geometry.h"
#include "path.h"
#include "picture.h"

namespace quib::player {

// One frame action. Only the actions this player carries out are named; others are kept as
// Unknown and ignored.
struct Action {
    enum class Kind { Play, Stop, GotoFrame, NextFrame, PreviousFrame, Unknown };
    Kind kind = Kind::Unknown;
    uint8_t code = 0;
    int frame = 0;  // GotoFrame target, 0-based
};

using ActionList = std::vector<Action>;

enum class FillKind { Solid, LinearGradient, RadialGradient, RepeatingBitmap, ClippedBitmap };

struct GradientStop {
    double position = 0;  // 0..1
    Rgba color;
};

struct FillStyle {
    FillKind kind = FillKind::Solid;
    Rgba color;
    uint16_t bitmapId = 0;
    Transform matrix;  // bitmap or gradient space to shape space
    std::vector<GradientStop> stops;
};

struct LineStyle {
    int width = 0;
    Rgba color;
};

// A shape as filled areas and stroked outlines, one path per style used.
struct ShapeCharacter {
    RectF bounds;
    struct Fill {
        FillStyle style;
        Path path;
    };
    struct Line {
        LineStyle style;
        Path path;
    };
    std::vector<Fill> fills;
    std::vector<Line> lines;
};

// Decoded lossless bitmap, premultiplied ARGB.
struct BitmapCharacter {
    Picture image;
};

struct ButtonRecord {
    bool up = false, over = false, down = false, hit = false;
    uint16_t characterId = 0;
    uint16_t depth = 0;
    Transform matrix;
};

struct ButtonCondAction {
    uint16_t conditions = 0;
    ActionList actions;
};

// Condition bits of a button action (u16 as read little-endian).
inline constexpr uint16_t CondOverUpToOverDown = 0x0004;  // pressed
inline constexpr uint16_t CondOverDownToOverUp = 0x0008;  // released inside

struct ButtonCharacter {
    std::vector<ButtonRecord> records;
    std::vector<ButtonCondAction> actions;
};

using Character = std::variant<ShapeCharacter, BitmapCharacter, ButtonCharacter>;

// Changes to the display list and frame actions, in the order the frame holds them.
struct PlaceCommand {
    uint16_t depth = 0;
    bool move = false;
    std::optional<uint16_t> characterId;
    std::optional<Transform> matrix;
};
struct RemoveCommand {
    uint16_t depth = 0;
};
struct BackgroundCommand {
    Rgba color;
};
struct ActionCommand {
    ActionList actions;
};
using FrameCommand = std::variant<PlaceCommand, RemoveCommand, BackgroundCommand, ActionCommand>;

struct MovieFrame {
    std::vector<FrameCommand> commands;
};

// Movies measure positions in twips; the stage shows twenty of them to a pixel.
inline constexpr double TwipsPerPixel = 20.0;

struct MovieData {
    int version = 0;
    RectF frameRect;       // in twips
    double frameRate = 0;  // frames per second, 0 when the header says 0
    int declaredFrameCount = 0;
    std::map<uint16_t, std::shared_ptr<const Character>> characters;
    std::vector<MovieFrame> frames;

    // Natural size of the stage in pixels, whole pixels, at least 1 x 1.
    Size stageSize() const {
        return Size{std::max(1, int(std::ceil(frameRect.width() / TwipsPerPixel - 1e-9))),
                    std::max(1, int(std::ceil(frameRect.height() / TwipsPerPixel - 1e-9)))};
    }

    const Character* character(uint16_t id) const {
        auto it = characters.find(id);
        return it == characters.end() ? nullptr : it->second.get();
    }
};

}  // namespace quib::player
