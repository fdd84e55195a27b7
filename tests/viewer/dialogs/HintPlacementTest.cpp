#include "viewer/dialogs/HintPlacement.h"
#include "viewer/dialogs/HintText.h"
#include "viewer/dialogs/LegendDrawing.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale>
#include <string>

#include "platform/Files.h"
#include "platform/Process.h"

namespace {

// View client area 100..500 x 200..500 in screen coordinates: centre (300, 350).
const QRect kView(100, 200, 400, 300);
const QSize kHint(80, 20);

struct PlaceCase {
    const char* name;
    QPoint anchor;
    QPoint nearAnchor;
    QPoint seekingEdges;
};

// A comma as decimal separator in both the C and the C++ locale, as under de_DE.
class CommaLocale {
public:
    CommaLocale()
    {
        m_previousC = std::setlocale(LC_NUMERIC, nullptr);
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
            // The machine lacks the locale: build it into a private folder.
            const std::string folder = tessara::TempFolder() + "legend-locales";
            tessara::RunProcess({"mkdir", "-p", folder});
            tessara::RunProcess({"localedef", "-i", "de_DE", "-f", "UTF-8", folder + "/de_DE.UTF-8"});
            setenv("LOCPATH", folder.c_str(), 1);
            std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        }
        struct Comma : std::numpunct<char> {
            char do_decimal_point() const override { return ','; }
        };
        m_previousCpp = std::locale::global(std::locale(std::locale::classic(), new Comma));
    }
    ~CommaLocale()
    {
        std::setlocale(LC_NUMERIC, m_previousC.c_str());
        std::locale::global(m_previousCpp);
    }
    bool CUsesComma() const
    {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 20.0);
        return std::string(text) == "20,0";
    }

private:
    std::string m_previousC;
    std::locale m_previousCpp;
};

}  // namespace

TEST(HintPlacement, EachQuadrantAndEdge)
{
    const std::vector<PlaceCase> cases{
        // Near the anchor: towards the centre. Seeking edges: away from it unless
        // that leaves the view.
        {"upper left", {150, 250}, {160, 260}, {160, 220}},
        {"upper right", {450, 250}, {360, 260}, {360, 220}},
        {"lower left", {150, 450}, {160, 420}, {160, 460}},
        {"lower right", {450, 450}, {360, 420}, {360, 460}},
        {"left of centre, room on the left", {290, 340}, {300, 350}, {200, 310}},
        {"right of centre, room on the right", {310, 360}, {220, 330}, {320, 370}},
        {"top left corner", {100, 200}, {110, 210}, {110, 210}},
        {"bottom right corner", {500, 500}, {410, 470}, {410, 470}},
        {"top edge", {200, 200}, {210, 210}, {110, 210}},
        {"bottom edge", {400, 500}, {310, 470}, {410, 470}},
        {"left edge", {100, 300}, {110, 310}, {110, 270}},
        {"right edge", {500, 400}, {410, 370}, {410, 410}},
        {"exactly on the centre", {300, 350}, {310, 360}, {210, 320}},
    };
    for (const PlaceCase& c : cases) {
        EXPECT_EQ(HintNearAnchor(c.anchor, kHint, kView), c.nearAnchor) << c.name;
        EXPECT_EQ(HintSeekingEdges(c.anchor, kHint, kView), c.seekingEdges) << c.name;
    }
}

TEST(HintPlacement, SeparatesTwoAndThreeOverlappingHints)
{
    struct Case {
        const char* name;
        std::vector<QRect> in, out;
    };
    const QRect a(10, 100, 80, 20);
    const std::vector<Case> cases{
        {"one", {a}, {a}},
        {"two apart", {a, a.translated(0, 30)}, {a, a.translated(0, 30)}},
        {"two overlapping by 5", {a, a.translated(0, 15)}, {a.translated(0, -5), a.translated(0, 15)}},
        {"lower one first in kind order", {a.translated(0, 15), a}, {a.translated(0, 15), a.translated(0, -5)}},
        {"three stacked", {a, a, a}, {a.translated(0, -20), a, a.translated(0, 20)}},
        {"three, last two overlapping", {a, a.translated(0, 40), a.translated(0, 50)},
         {a, a.translated(0, 40), a.translated(0, 60)}},
        {"side by side do not overlap", {a, a.translated(100, 0)}, {a, a.translated(100, 0)}},
    };
    for (const Case& c : cases) EXPECT_EQ(SeparateHints(c.in), c.out) << c.name;
}

TEST(HintPlacement, HintsStepOffLabelsTheShortestWayUpOrDown)
{
    struct Case {
        const char* name;
        std::vector<QRect> hints, labels, out;
    };
    const QRect hint(100, 100, 80, 20);        // rows 100..119
    const QRect label(120, 95, 30, 10);        // rows 95..104: up is 15, down 5
    const QRect column(120, 60, 30, 90);       // rows 60..149: up is 60, down 50
    const std::vector<Case> cases{
        {"clear already", {hint}, {label.translated(200, 0)}, {hint}},
        {"down is shorter", {hint}, {label}, {hint.translated(0, 5)}},
        {"up is shorter", {hint}, {label.translated(0, 20)}, {hint.translated(0, -5)}},
        {"off a column of labels", {hint}, {column}, {hint.translated(0, 50)}},
        {"the second avoids the moved first", {hint, hint.translated(0, 30)}, {label},
         {hint.translated(0, 5), hint.translated(0, 30)}},
        {"a second below takes the next free row", {hint, hint.translated(0, 26)}, {column},
         {hint.translated(0, 50), hint.translated(0, 70)}},
        {"no labels, apart hints stay", {hint, hint.translated(0, 40)}, {}, {hint, hint.translated(0, 40)}},
    };
    for (const Case& c : cases) {
        const std::vector<QRect> out = ClearHintsOfLabels(c.hints, c.labels);
        EXPECT_EQ(out, c.out) << c.name;
        for (std::size_t i = 0; i < out.size(); ++i) {
            for (const QRect& l : c.labels) EXPECT_FALSE(out[i].intersects(l)) << c.name;
            for (std::size_t j = i + 1; j < out.size(); ++j) EXPECT_FALSE(out[i].intersects(out[j])) << c.name;
        }
    }
}

TEST(HintText, CoordinateLinesPadToTheLongestAndSkipAnUnsetZ)
{
    EXPECT_EQ(HintCoordinateLines(1.5, -20.25, 1e-16), (QStringList{"X:   1.5000", "Y: -20.2500"}));
    EXPECT_EQ(HintCoordinateLines(-12345.6789, 2.0, 0.0),
              (QStringList{"X: -12345.6789", "Y:      2.0000", "Z:      0.0000"}));
}

TEST(HintText, DistanceAndSectionTexts)
{
    EXPECT_EQ(HintValueText(12.3456789), "12.345679m");
    EXPECT_EQ(HintValueText(0.0), "0.000000m");
    struct Case { double value; int kind; const char* text; };
    for (const Case c : {Case{1e-16, 5, "高低差：     m"}, Case{1e-16, 6, "高低差：     m"},
                         Case{-1.5, 6, "高低差：-1.500m"}, Case{12.3456, 7, "距離：12.346m"},
                         Case{1.0, 4, ""}, Case{1.0, 8, ""}}) {
        EXPECT_EQ(HintSectionText(c.value, c.kind), QString::fromUtf8(c.text)) << c.kind;
    }
}

TEST(HintText, NumbersStayInTheCLocaleUnderAGermanLocale)
{
    const CommaLocale german;
    EXPECT_TRUE(german.CUsesComma()) << "de_DE could not be made; the C++ locale alone is checked";
    EXPECT_EQ(HintValueText(20.0), "20.000000m");
    EXPECT_EQ(HintCoordinateLines(1.5, 2.5, 3.5), (QStringList{"X: 1.5000", "Y: 2.5000", "Z: 3.5000"}));
    EXPECT_EQ(HintSectionText(2.0, 7), QStringLiteral("距離：2.000m"));
    EXPECT_EQ(CFixedText(20.0, 1), "20.0");
    EXPECT_EQ(ElevationLabelText(20.0), "20.0m");
}
