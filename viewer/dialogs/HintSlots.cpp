#include "viewer/dialogs/HintSlots.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cmath>

#include "outside/PT.h"
#include "viewer/dialogs/HintPlacement.h"
#include "viewer/dialogs/HintText.h"
#include "viewer/dialogs/HintToolTip.h"
#include "viewer/dialogs/LegendSlots.h"

namespace {

constexpr int kMinViewWidthPx = 100;
constexpr COLORREF kBlack = 0x000000;

enum class Placement { NearAnchor, SeekingEdges };

bool ValidKind(int kind)
{
    return kind >= kHintKindFirst && kind <= kHintKindLast;
}

std::array<QPointer<ToolTip>, kHintKindLast + 1>& Slots()
{
    static std::array<QPointer<ToolTip>, kHintKindLast + 1> table;
    return table;
}

QRect ViewOnScreen(const QWidget& view)
{
    return QRect(view.mapToGlobal(QPoint(0, 0)), view.size());
}

int DeviceWidth(const QWidget& view)
{
    return static_cast<int>(std::lround(view.width() * view.devicePixelRatioF()));
}

// The common road of every hint: refuse, close the kind's hint, make, place, show.
bool OpenHintWindow(int kind, const QStringList& lines, QPoint anchor, COLORREF textColour, QWidget* owner,
                    Placement placement)
{
    if (!ValidKind(kind) || !PopupOnUiThread()) return false;
    QWidget* view = PopupDocumentView();
    if (view == nullptr || DeviceWidth(*view) < kMinViewWidthPx) return false;
    if (owner == nullptr) owner = PopupMainWindow();
    if (owner == nullptr) owner = view->window();
    CloseToolTip(kind);
    const QPoint screenAnchor = ViewPointToScreen(*view, anchor);
    auto* hint = new ToolTip(lines, screenAnchor, textColour);   // owned by the owner's window
    Slots()[kind] = hint;
    hint->CreatePopup(owner);
    const QSize size(hint->m_width, hint->m_height);
    const QRect client = ViewOnScreen(*view);
    hint->move(placement == Placement::NearAnchor ? HintNearAnchor(screenAnchor, size, client)
                                                  : HintSeekingEdges(screenAnchor, size, client));
    hint->show();
    hint->raise();
    return true;
}

bool CloseThree(int first)
{
    bool allOpen = true;
    for (int kind = first; kind < first + 3; ++kind) allOpen = CloseToolTip(kind) && allOpen;
    return allOpen;
}

void ArrangeThree(int first, const std::vector<QRect>* labels)
{
    if (!PopupOnUiThread()) return;
    std::vector<ToolTip*> open;
    std::vector<QRect> places;
    for (int kind = first; kind < first + 3; ++kind) {
        if (ToolTip* hint = OpenHint(kind)) {
            open.push_back(hint);
            places.push_back(hint->geometry());
        }
    }
    places = SeparateHints(places);
    if (labels != nullptr) places = ClearHintsOfLabels(places, *labels);
    for (std::size_t i = 0; i < open.size(); ++i) {
        open[i]->move(places[i].topLeft());
        open[i]->update();
    }
}

}  // namespace

QPoint ViewPointToScreen(const QWidget& view, QPoint devicePoint)
{
    const qreal ratio = view.devicePixelRatioF();
    return view.mapToGlobal(QPointF(devicePoint.x() / ratio, devicePoint.y() / ratio)).toPoint();
}

bool ShowValueToolTip(double value, QPoint anchor, COLORREF textColour, int kind)
{
    return OpenHintWindow(kind, {HintValueText(value)}, anchor, textColour, nullptr, Placement::NearAnchor);
}

bool ShowMeasureListToolTip(const PT& point, QPoint anchor)
{
    return ShowListToolTip(nullptr, HintCoordinateLines(point.x(), point.y(), point.z()), anchor);
}

bool ShowListToolTip(QWidget* owner, const QStringList& lines, QPoint anchor)
{
    return OpenHintWindow(kHintKindList, lines, anchor, kBlack, owner, Placement::NearAnchor);
}

bool ShowSectionValueToolTip(double value, QPoint anchor, int kind)
{
    const QString text = HintSectionText(value, kind);
    if (text.isEmpty()) return false;
    return ShowTextToolTip(nullptr, text, anchor, kind);
}

bool ShowTextToolTip(QWidget* owner, const QString& text, QPoint anchor, int kind)
{
    if (kind < 5 || kind > kHintKindLast) return false;
    return OpenHintWindow(kind, {text}, anchor, kBlack, owner, Placement::SeekingEdges);
}

bool CloseToolTip(int kind)
{
    if (!ValidKind(kind) || !PopupOnUiThread()) return false;
    QPointer<ToolTip>& slot = Slots()[kind];
    const bool wasOpen = !slot.isNull();
    // The owner window holds the hint as its child; the slot only watches it.
    delete slot.data();
    slot = nullptr;
    return wasOpen;
}

bool CloseDistanceToolTips()
{
    return CloseThree(1);
}

bool CloseSectionToolTips()
{
    return CloseThree(5);
}

void ArrangeDistanceToolTips()
{
    ArrangeThree(1, nullptr);
}

void ArrangeSectionToolTips(const std::vector<QRect>& labels)
{
    ArrangeThree(5, &labels);
}

ToolTip* OpenHint(int kind)
{
    return ValidKind(kind) ? Slots()[kind].data() : nullptr;
}
