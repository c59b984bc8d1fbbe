#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/geometry.h"

namespace quib {

// The entries of the wizard's region list, in list order.
enum class RegionMode { Screen = 0, Rectangle = 1, Window = 2 };

namespace captureText {
inline constexpr const char* InvalidCaptureRate = "Indicare un frame rate valido (un numero > 0)";
inline constexpr const char* ConfirmDiscardCapture =
    "Siete sicuri di voler eliminare la cattura?\nTutte le schermate catturate andranno perdute!";
inline constexpr const char* TimedCaptureHint = "Avvia/ferma la cattura a tempo - \"Shift+Pausa\"";
inline constexpr const char* TrayTip = "Quib Capture";
inline constexpr const char* EmptyCaptureRegion =
    "La regione di cattura è vuota: selezionare un'area più grande.";
}  // namespace captureText

// Which controls of the wizard are usable: the region group follows "Avvia &catturando le
// schermate", "&Seleziona" also needs a region other than "Schermo", the rate follows
// "Abilita la cattura &temporizzata".
struct WizardControlStates {
    bool regionControls = true;
    bool selectButton = false;
    bool rateControls = false;
    friend bool operator==(const WizardControlStates&, const WizardControlStates&) = default;
};
WizardControlStates wizardControlStates(bool startCapturing, RegionMode mode, bool timedCapture);

// "&Seleziona" is usable only while capturing is chosen and the list is not on "Schermo".
bool selectButtonEnabled(bool startCapturing, RegionMode mode);
// A region frames can be captured from: at least one pixel wide and high.
bool usableCaptureRegion(const Rect& region);
// The whole primary screen.
Rect screenRegion(Size screen);
// left <= right and top <= bottom, whichever corner the drag began at.
Rect normalizedRegion(const Rect& region);
// The region label: "(left, top) - (right, bottom)".
std::string regionLabelText(const Rect& region);
// The rate typed in the wizard; nothing when it is not a whole number above 0.
std::optional<int> parseCaptureRate(std::string_view text);
// The timed-capture timer: 1000 / rate milliseconds, a rate below 1 counting as 1.
int timedCaptureIntervalMs(int rate);
// The capture dialog's caption after a grab: "Quib:3 Frames".
std::string capturedFramesCaption(int frameCount);

// The sizes offered for a rectangle, smallest first.
inline constexpr Size kCommonCaptureSizes[] = {
    {640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1920, 1080}};
// The index of size among the common sizes, or -1.
int commonCaptureSizeIndex(Size size);
// A rectangle of the given size that keeps the region's top-left corner where it fits on the
// screen, and is moved left and up just enough otherwise (never past the screen's corner).
Rect regionWithSize(const Rect& region, Size size, Size screen);

// Where a window of the given outer size can stand on the screen without covering any of the
// region: to its right, left, below or above (in that order of preference), margin pixels
// away, level with the region's top or left where the screen allows. Nothing when no side has
// room.
std::optional<Point> placementOutsideRegion(const Rect& region, Size window, Size screen, int margin = 8);

// The rubber band of Rectangle mode: begins as the point, follows the pointer with its
// right-bottom corner, ends normalized.
class RectangleDrag {
public:
    void begin(Point p) {
        m_rect = Rect{p.x, p.y, p.x, p.y};
        m_active = true;
    }
    void moveTo(Point p) {
        m_rect.right = p.x;
        m_rect.bottom = p.y;
    }
    Rect finish() {
        m_active = false;
        return normalizedRegion(m_rect);
    }
    bool active() const { return m_active; }
    // As drawn while dragging.
    Rect current() const { return normalizedRegion(m_rect); }

private:
    Rect m_rect;
    bool m_active = false;
};

}  // namespace quib
