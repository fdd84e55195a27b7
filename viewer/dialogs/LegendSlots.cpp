#include "viewer/dialogs/LegendSlots.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/Log.h"
#include "viewer/dialogs/HintPlacement.h"
#include "viewer/dialogs/HintSlots.h"
#include "viewer/dialogs/LegendMessagePaint.h"
#include "viewer/dialogs/LegendThrottle.h"
#include "viewer/render/ShellHooks.h"

namespace {

constexpr int kSlopeLegendHeight = 140;
constexpr int kRampLegendHeight = 340;
constexpr int kIntensityLegendWidth = 70;

struct LegendSlotState {
    QPointer<MessagePaint> window;
    LegendThrottle throttle;
    QPointer<QTimer> timer;   // fires when a waiting re-creation is due
};

struct PopupSources {
    std::function<QWidget*()> documentView;
    std::function<QWidget*()> mainWindow;
};

PopupSources& Sources()
{
    static PopupSources sources;
    return sources;
}

std::array<LegendSlotState, 3>& Slots()
{
    static std::array<LegendSlotState, 3> table;
    return table;
}

LegendSlotState& SlotOf(LegendSlot slot)
{
    return Slots()[static_cast<std::size_t>(slot)];
}

// Deletes the slot's pop-up if Qt has not already done so with its owner.
void DestroyWindow(LegendSlotState& slot)
{
    // The owner window holds the pop-up as its child; the slot only watches it.
    delete slot.window.data();
    slot.window = nullptr;
}

void ArmTimer(LegendSlotState& slot)
{
    const std::int64_t dueMs = slot.throttle.PendingDueInMs();
    if (dueMs < 0 || QCoreApplication::instance() == nullptr) return;
    if (!slot.timer) {
        slot.timer = new QTimer(QCoreApplication::instance());
        slot.timer->setSingleShot(true);
        QObject::connect(slot.timer, &QTimer::timeout, [&slot] {
            if (!slot.throttle.RunDue()) ArmTimer(slot);
        });
    }
    slot.timer->start(static_cast<int>(std::max<std::int64_t>(dueMs, 1)));
}

bool CloseSlot(LegendSlot which)
{
    if (!PopupOnUiThread()) return false;
    LegendSlotState& slot = SlotOf(which);
    slot.throttle.Cancel();
    if (slot.timer) slot.timer->stop();
    const bool wasOpen = !slot.window.isNull();
    DestroyWindow(slot);
    LayoutLegendWindows();
    return wasOpen;
}

// Opens the slot's legend made by configure, at most once per 100 ms: inside that
// window the open legend stays and the latest request runs when the window ends.
void OpenSlot(LegendSlot which, QWidget* view, COLORREF background, std::function<void(MessagePaint&)> configure)
{
    if (!PopupOnUiThread()) return;
    LegendSlotState& slot = SlotOf(which);
    if (PopupDocumentView() == nullptr || view == nullptr) {
        CloseSlot(which);
        return;
    }
    QPointer<QWidget> owner(view);
    const bool now = slot.throttle.Request([&slot, owner, background, configure = std::move(configure)] {
        DestroyWindow(slot);
        if (owner) {
            auto* popup = new MessagePaint(background);   // owned by the owner's window from Create on
            configure(*popup);
            slot.window = popup;
            popup->Create(owner);
        }
        LayoutLegendWindows();
    });
    if (!now) ArmTimer(slot);
}

}  // namespace

void SetPopupSources(std::function<QWidget*()> documentView, std::function<QWidget*()> mainWindow)
{
    Sources() = {std::move(documentView), std::move(mainWindow)};
}

QWidget* PopupDocumentView()
{
    return Sources().documentView ? Sources().documentView() : nullptr;
}

QWidget* PopupMainWindow()
{
    return Sources().mainWindow ? Sources().mainWindow() : nullptr;
}

bool PopupOnUiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    const bool onUi = app != nullptr && QThread::currentThread() == app->thread();
    Q_ASSERT(onUi);
    if (!onUi) tessara::Log("pop-ups: called off the UI thread; nothing done");
    return onUi;
}

void InstallPopupHooks()
{
    ShellHooks& hooks = ShellHooks::Instance();
    hooks.closeElevationLegend = [] { return CloseElevationLegend(); };
    hooks.closeSlopeLegend = [] { return CloseSlopeLegend(); };
    hooks.closeIntensityLegend = [] { return CloseIntensityLegend(); };
    hooks.closeDistanceToolTips = [] { CloseDistanceToolTips(); };
    hooks.closeListHint = [] { CloseToolTip(kHintKindList); };
    hooks.closeSectionToolTips = [] { CloseSectionToolTips(); };
    hooks.legendColumnWidths = [] { return LegendColumnWidths(); };
}

void RemovePopupHooks()
{
    ShellHooks& hooks = ShellHooks::Instance();
    hooks.closeElevationLegend = nullptr;
    hooks.closeSlopeLegend = nullptr;
    hooks.closeIntensityLegend = nullptr;
    hooks.closeDistanceToolTips = nullptr;
    hooks.closeListHint = nullptr;
    hooks.closeSectionToolTips = nullptr;
    hooks.legendColumnWidths = nullptr;
}

void SetLegendClock(std::shared_ptr<FrameClock> clock)
{
    for (LegendSlotState& slot : Slots()) slot.throttle.SetClock(clock);
}

void ShowSlopeLegend(QWidget* view, COLORREF background, int colourSetB)
{
    OpenSlot(LegendSlot::Slope, view, background, [colourSetB](MessagePaint& p) {
        p.m_kind = MessagePaint::kSlope;
        p.m_height = kSlopeLegendHeight;
        p.m_colourSet = colourSetB;
    });
}

void ShowElevationLegend(QWidget* view, COLORREF background, double top, double bottom,
                         const std::vector<ColorConf>& stops)
{
    OpenSlot(LegendSlot::Elevation, view, background, [top, bottom, stops](MessagePaint& p) {
        p.m_kind = MessagePaint::kElevation;
        p.m_top = top;
        p.m_bottom = bottom;
        p.m_stops = stops;
        p.m_height = kRampLegendHeight;
    });
}

void ShowIntensityLegend(QWidget* view, COLORREF background, const std::vector<ColorConf>& stops)
{
    OpenSlot(LegendSlot::Intensity, view, background, [stops](MessagePaint& p) {
        p.m_kind = MessagePaint::kIntensity;
        p.m_top = 255.0;
        p.m_bottom = 0.0;
        p.m_stops = stops;
        p.m_width = kIntensityLegendWidth;
        p.m_height = kRampLegendHeight;
    });
}

bool CloseSlopeLegend()
{
    return CloseSlot(LegendSlot::Slope);
}

bool CloseElevationLegend()
{
    return CloseSlot(LegendSlot::Elevation);
}

bool CloseIntensityLegend()
{
    return CloseSlot(LegendSlot::Intensity);
}

void LayoutLegendWindows()
{
    if (!PopupOnUiThread()) return;
    QWidget* view = PopupDocumentView();
    if (view == nullptr) return;
    const auto widthOf = [](LegendSlot s) -> std::optional<int> {
        const MessagePaint* p = OpenLegend(s);
        return p != nullptr ? std::optional<int>(p->width()) : std::nullopt;
    };
    const QRect client(view->mapToGlobal(QPoint(0, 0)), view->size());
    const LegendPlaces places = LayOutLegends(
        client, {widthOf(LegendSlot::Slope), widthOf(LegendSlot::Elevation), widthOf(LegendSlot::Intensity)});
    const auto place = [](LegendSlot s, const std::optional<QPoint>& at) {
        if (MessagePaint* p = OpenLegend(s); p != nullptr && at) {
            p->move(*at);
            p->raise();
        }
    };
    place(LegendSlot::Slope, places.slope);
    place(LegendSlot::Elevation, places.elevation);
    place(LegendSlot::Intensity, places.intensity);
}

int LegendColumnWidths()
{
    int sum = 0;
    for (const LegendSlotState& slot : Slots()) {
        if (slot.window) sum += static_cast<int>(std::lround(slot.window->width() * slot.window->devicePixelRatioF()));
    }
    return sum;
}

MessagePaint* OpenLegend(LegendSlot slot)
{
    return SlotOf(slot).window.data();
}
