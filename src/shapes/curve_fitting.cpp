#include "shapes/curve_fitting.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quib {

namespace {

using Bezier = std::array<PointD, 4>;

PointD operator+(PointD a, PointD b) {
    return {a.x + b.x, a.y + b.y};
}
PointD operator-(PointD a, PointD b) {
    return {a.x - b.x, a.y - b.y};
}
PointD operator*(PointD a, double s) {
    return {a.x * s, a.y * s};
}
double dot(PointD a, PointD b) {
    return a.x * b.x + a.y * b.y;
}
double length(PointD a) {
    return std::sqrt(dot(a, a));
}

PointD unit(PointD a) {
    const double l = length(a);
    return l > 0 ? a * (1 / l) : a;
}

PointD bezierAt(const Bezier& b, double t) {
    const double s = 1 - t;
    return b[0] * (s * s * s) + b[1] * (3 * s * s * t) + b[2] * (3 * s * t * t) + b[3] * (t * t * t);
}

PointD firstDerivative(const Bezier& b, double t) {
    const double s = 1 - t;
    return (b[1] - b[0]) * (3 * s * s) + (b[2] - b[1]) * (6 * s * t) + (b[3] - b[2]) * (3 * t * t);
}

PointD secondDerivative(const Bezier& b, double t) {
    return (b[2] - b[1] * 2 + b[0]) * (6 * (1 - t)) + (b[3] - b[2] * 2 + b[1]) * (6 * t);
}

// Parameters by the chord length from the first point.
std::vector<double> chordLengths(const std::vector<PointD>& p, size_t first, size_t last) {
    std::vector<double> u(last - first + 1, 0.0);
    for (size_t i = first + 1; i <= last; ++i)
        u[i - first] = u[i - first - 1] + length(p[i] - p[i - 1]);
    const double total = u.back();
    for (double& v : u)
        v = total > 0 ? v / total : 0;
    return u;
}

// Least-squares control points for the given end tangents; falls back to thirds of the chord when
// the system is singular or the result would put a control point behind its anchor.
Bezier generate(const std::vector<PointD>& p, size_t first, size_t last, const std::vector<double>& u,
                PointD tanStart, PointD tanEnd) {
    double c00 = 0, c01 = 0, c11 = 0, x0 = 0, x1 = 0;
    const PointD a0 = p[first], a3 = p[last];
    for (size_t i = 0; i < u.size(); ++i) {
        const double t = u[i], s = 1 - t;
        const double b0 = s * s * s, b1 = 3 * s * s * t, b2 = 3 * s * t * t, b3 = t * t * t;
        const PointD v1 = tanStart * b1, v2 = tanEnd * b2;
        c00 += dot(v1, v1);
        c01 += dot(v1, v2);
        c11 += dot(v2, v2);
        const PointD rest = p[first + i] - (a0 * (b0 + b1) + a3 * (b2 + b3));
        x0 += dot(v1, rest);
        x1 += dot(v2, rest);
    }
    const double det = c00 * c11 - c01 * c01;
    double alphaStart = 0, alphaEnd = 0;
    if (std::fabs(det) > 1e-12) {
        alphaStart = (x0 * c11 - x1 * c01) / det;
        alphaEnd = (c00 * x1 - c01 * x0) / det;
    }
    const double chord = length(a3 - a0);
    const double epsilon = 1e-6 * chord;
    if (alphaStart < epsilon || alphaEnd < epsilon)
        alphaStart = alphaEnd = chord / 3;
    return {a0, a0 + tanStart * alphaStart, a3 + tanEnd * alphaEnd, a3};
}

// Largest squared distance between the points and the curve at their parameters, and where.
double maxError(const std::vector<PointD>& p, size_t first, size_t last, const Bezier& b,
                const std::vector<double>& u, size_t& split) {
    double worst = 0;
    split = (first + last) / 2;
    for (size_t i = first + 1; i < last; ++i) {
        const PointD d = bezierAt(b, u[i - first]) - p[i];
        const double e = dot(d, d);
        if (e >= worst) {
            worst = e;
            split = i;
        }
    }
    return worst;
}

// One Newton step per point towards the parameter of the curve's nearest point.
void reparameterise(const std::vector<PointD>& p, size_t first, const Bezier& b, std::vector<double>& u) {
    for (size_t i = 0; i < u.size(); ++i) {
        const double t = u[i];
        const PointD d = bezierAt(b, t) - p[first + i];
        const PointD d1 = firstDerivative(b, t), d2 = secondDerivative(b, t);
        const double denominator = dot(d1, d1) + dot(d, d2);
        if (std::fabs(denominator) > 1e-12)
            u[i] = std::clamp(t - dot(d, d1) / denominator, 0.0, 1.0);
    }
}

void fitRange(const std::vector<PointD>& p, size_t first, size_t last, PointD tanStart, PointD tanEnd,
              double tolerance, std::vector<PointD>& out) {
    auto append = [&out](const Bezier& b) {
        out.push_back(b[1]);
        out.push_back(b[2]);
        out.push_back(b[3]);
    };
    if (last - first == 1) {
        const double third = length(p[last] - p[first]) / 3;
        append({p[first], p[first] + tanStart * third, p[last] + tanEnd * third, p[last]});
        return;
    }
    std::vector<double> u = chordLengths(p, first, last);
    Bezier b = generate(p, first, last, u, tanStart, tanEnd);
    size_t split = 0;
    double error = maxError(p, first, last, b, u, split);
    if (error < tolerance) {
        append(b);
        return;
    }
    // Close enough to be worth sliding the parameters before splitting.
    if (error < tolerance * tolerance) {
        for (int round = 0; round < 4; ++round) {
            reparameterise(p, first, b, u);
            b = generate(p, first, last, u, tanStart, tanEnd);
            error = maxError(p, first, last, b, u, split);
            if (error < tolerance) {
                append(b);
                return;
            }
        }
    }
    split = std::clamp(split, first + 1, last - 1);
    PointD centre = unit(p[split - 1] - p[split + 1]);
    if (length(centre) == 0)
        centre = unit(PointD{-(p[split] - p[split - 1]).y, (p[split] - p[split - 1]).x});
    fitRange(p, first, split, tanStart, centre, tolerance, out);
    fitRange(p, split, last, centre * -1, tanEnd, tolerance, out);
}

}  // namespace

std::vector<PointD> fitBezierChain(const std::vector<PointD>& points, double tolerance) {
    // Repeated positions carry no direction and would give zero-length chords.
    std::vector<PointD> p;
    for (const PointD& point : points)
        if (std::isfinite(point.x) && std::isfinite(point.y) && (p.empty() || !(p.back() == point)))
            p.push_back(point);
    if (p.size() < 2)
        return {};
    const PointD tanStart = unit(p[1] - p[0]);
    const PointD tanEnd = unit(p[p.size() - 2] - p.back());
    std::vector<PointD> out{p.front()};
    fitRange(p, 0, p.size() - 1, tanStart, tanEnd, tolerance, out);
    return out;
}

}  // namespace quib
