#pragma once

#include <cstdint>
#include <string>

namespace quib {

// The figures of the render progress dialog: percentage, elapsed time and an estimate of the
// time left, from the range and the position. Times are passed in, so it needs no clock.
class RenderProgressTexts {
public:
    void setRange(int low, int high) {
        m_low = low;
        m_high = high;
    }
    // Position 0 restarts the elapsed time at nowMs.
    void setPosition(int position, int64_t nowMs);

    int percent() const { return m_percent; }
    std::string percentText() const;                                  // "42%"
    const std::string& elapsedText() const { return m_elapsed; }      // "0 secs", "1 min, 15 secs"
    const std::string& remainingText() const { return m_remaining; }  // unchanged at position 0

    // "%d secs" below a minute, else "%d min, %d secs".
    static std::string durationText(double seconds);

private:
    int m_low = 0;
    int m_high = 100;
    int64_t m_startMs = 0;
    int m_percent = 0;
    std::string m_elapsed = "0 secs";
    std::string m_remaining;
};

}  // namespace quib
