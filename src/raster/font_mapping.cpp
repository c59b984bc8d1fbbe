#include "raster/font_mapping.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quib::raster {

namespace {
constexpr int kDefaultPixelSize = 13;
constexpr int kLargestPixelSize = 2000;
}  // namespace

QFont fontFromLogFont(const LogFont& logFont, bool antialiased) {
    QFont font;
    const QString face = QString::fromLatin1(logFont.face().c_str());
    QStringList families;
    if (!face.isEmpty())
        families << face;
    families << QStringLiteral("DejaVu Sans") << QStringLiteral("Sans Serif");
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Weight(logFont.weight <= 0 ? 400 : std::clamp(logFont.weight, 1, 1000)));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    font.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);

    int32_t height = logFont.height;
    if (height == 0) {
        font.setPixelSize(kDefaultPixelSize);
    } else if (height < 0) {
        // INT_MIN has no positive counterpart; any huge size is clamped anyway.
        int64_t size = -int64_t(height);
        font.setPixelSize(int(std::min<int64_t>(size, kLargestPixelSize)));
    } else {
        // A positive height asks for the cell (ascent + descent): scale the em size to fit it.
        QFont probe = font;
        probe.setPixelSize(100);
        double cell = QFontMetricsF(probe).height();
        double size = cell > 0 ? height * 100.0 / cell : height;
        font.setPixelSize(std::clamp(int(std::lround(size)), 1, kLargestPixelSize));
    }
    return font;
}

}  // namespace quib::raster
