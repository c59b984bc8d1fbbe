#include "render_progress_texts.h"

#include <cmath>

namespace quib {

std::string RenderProgressTexts::durationText(double seconds) {
    const int64_t whole = int64_t(seconds);
    if (seconds < 60.0)
        return std::to_string(whole) + " secs";
    return std::to_string(whole / 60) + " min, " + std::to_string(whole % 60) + " secs";
}

std::string RenderProgressTexts::percentText() const {
    return std::to_string(m_percent) + "%";
}

void RenderProgressTexts::setPosition(int position, int64_t nowMs) {
    if (m_high == m_low || position == m_high)
        m_percent = 100;
    else
        m_percent = int((int64_t(position) - m_low) * 100 / (int64_t(m_high) - m_low));
    if (position == 0) {
        m_startMs = nowMs;
        m_elapsed = "0 secs";
        return;
    }
    const double elapsed = double(nowMs - m_startMs) * 0.001;
    m_elapsed = durationText(elapsed);
    const double remaining = double(m_high) * elapsed / position - elapsed;
    m_remaining = durationText(remaining);
}

}  // namespace quib
