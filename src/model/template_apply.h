#pragma once

#include <cstdint>

namespace quib {

class CQuibDoc;
struct TemplateSet;

// Applies the elements present both in chosen and in the template's mask. Moving the frame
// origin moves every frame's cursor, text box and the buttons the template does not place by
// the same offset, so that they keep their place on the captured picture. Returns the mask
// that was applied.
uint32_t ApplyTemplate(CQuibDoc& doc, const TemplateSet& set, uint32_t chosen);

}  // namespace quib
