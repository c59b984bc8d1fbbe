#pragma once

#include <vector>

#include "shapes/shape.h"

namespace quib {

// Fits a chain of cubic Bezier segments to digitised points (pixels, in drawing order) so that no
// point lies farther from the chain than the tolerance, a squared pixel distance. Returns 3s + 1
// points laid out as a CurveShape's (anchor, control, control, anchor, ...); empty when the points
// hold fewer than two distinct positions.
std::vector<PointD> fitBezierChain(const std::vector<PointD>& points, double tolerance);

}  // namespace quib
