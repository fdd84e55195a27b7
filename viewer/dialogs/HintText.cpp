#include "viewer/dialogs/HintText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "outside/StoreMarkers.h"

std::string CFixedText(double v, int decimals)
{
    if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    // to_chars never consults the locale, and rounds as printf does.
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

QString HintValueText(double value)
{
    return QString::fromStdString(CFixedText(value, 6) + "m");
}

QStringList HintCoordinateLines(double x, double y, double z)
{
    std::vector<std::string> values{CFixedText(x, 4), CFixedText(y, 4)};
    if (!IsUnsetValue(z)) values.push_back(CFixedText(z, 4));
    std::size_t longest = 0;
    for (const std::string& v : values) longest = std::max(longest, v.size());
    static constexpr const char* kPrefixes[] = {"X: ", "Y: ", "Z: "};
    QStringList lines;
    for (std::size_t i = 0; i < values.size(); ++i)
        lines << QString::fromStdString(kPrefixes[i] + std::string(longest - values[i].size(), ' ') + values[i]);
    return lines;
}

QString HintSectionText(double value, int kind)
{
    if (kind == 5 || kind == 6) {
        if (IsUnsetValue(value)) return QStringLiteral("高低差：     m");
        return QStringLiteral("高低差：") + QString::fromStdString(CFixedText(value, 3)) + QStringLiteral("m");
    }
    if (kind == 7) return QStringLiteral("距離：") + QString::fromStdString(CFixedText(value, 3)) + QStringLiteral("m");
    return {};
}
