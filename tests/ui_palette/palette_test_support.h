#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "base/bitmap.h"
#include "base/progress.h"
#include "model/quib_doc.h"
#include "palette/palette_entry.h"

namespace quib::test {

// A picture of w x h filled with one colour.
Bitmap24 flatPicture(int w, int h, uint8_t red, uint8_t green, uint8_t blue);

// Fills an empty document with one frame per picture (all of the first picture's size); the first
// frame is current.
void buildProjectOf(CQuibDoc& doc, const std::vector<Bitmap24>& pictures);

// A palette of the given colours, fourth byte 255.
Palette paletteOf(std::initializer_list<PaletteEntry> entries);

// Counts positions and cancels once a given number of rows is reached (never when negative).
class RecordingProgress : public Progress {
public:
    explicit RecordingProgress(int cancelAt = -1) : m_cancelAt(cancelAt) {}
    void setText(const std::string& text) override { title = text; }
    void setRange(int low, int high) override { rangeLow = low, rangeHigh = high; }
    void setPosition(int position) override { last = position, ++steps; }
    bool cancelled() const override { return m_cancelAt >= 0 && last >= m_cancelAt; }

    std::string title;
    int rangeLow = 0;
    int rangeHigh = 0;
    int last = -1;
    int steps = 0;

private:
    int m_cancelAt;
};

// Hands every call on to a progress the test keeps.
class ForwardingProgress : public Progress {
public:
    explicit ForwardingProgress(Progress& target) : m_target(target) {}
    void setText(const std::string& text) override { m_target.setText(text); }
    void setRange(int low, int high) override { m_target.setRange(low, high); }
    void setPosition(int position) override { m_target.setPosition(position); }
    bool cancelled() const override { return m_target.cancelled(); }

private:
    Progress& m_target;
};

}  // namespace quib::test
