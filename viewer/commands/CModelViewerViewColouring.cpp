// The point colour buttons, the edit colour dialogs, the right-click style menu
// and the legend refresh of the view.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/StyleRules.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/render/ShellHooks.h"

#include <QActionGroup>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>
#include <mutex>

namespace {

void Close(const std::function<bool()>& close)
{
    if (close)
        close();
}

// Remembers whether Escape closed the menu.
class EscapeWatch : public QObject {
public:
    bool escape = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            escape = true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void CModelViewerView::RegisterColouringCommands(CommandMap& map)
{
    short mode = 1;
    for (unsigned id : {cmd::kPointHeight, cmd::kPointRgb, cmd::kPointMono, cmd::kPointIntensity, cmd::kPointGroup}) {
        const short pressed = mode++;
        map.On(id, [this, pressed] { SetPointColourMode(pressed); });
    }
}

void CModelViewerView::SetPointColourMode(short pressed)
{
    const short previous = m_pointColourMode;
    m_pointColourMode = style::NextPointColourMode(previous, pressed);
    const style::ColourModeLegends legends =
        style::LegendsForColourMode(previous, m_pointColourMode, m_settings.tinPictureMode);
    if (legends.height == style::LegendAction::Update)
        UpdateHeightLegend();
    else if (legends.height == style::LegendAction::Close)
        Close(ShellHooks::Instance().closeElevationLegend);
    if (legends.intensity == style::LegendAction::Update)
        UpdateIntensityLegend();
    else
        Close(ShellHooks::Instance().closeIntensityLegend);
    InvalidateScaleCaption();
    RequestRecolourPoints();
    InvalidateScene();
}

void CModelViewerView::OnAssortHigh() { SetPointColourMode(1); }
void CModelViewerView::OnAssortColor() { SetPointColourMode(2); }
void CModelViewerView::OnAssortMono() { SetPointColourMode(3); }
void CModelViewerView::OnAssortIntensity() { SetPointColourMode(4); }
void CModelViewerView::OnAssortPclGroup() { SetPointColourMode(5); }

std::optional<COLORREF> CModelViewerView::RunEditColourDialog()
{
    ColorDialogPlacement placement;
    placement.atCursor = true;
    placement.ownerRect = QRect(mapToGlobal(QPoint(0, 0)), size());
    placement.cursor = QCursor::pos();
    placement.caption = "作図色選択";
    return ChooseColor(m_settings.cadEditColour, this, placement, &m_settings.customColours);
}

void CModelViewerView::ChooseCadEditColor()
{
    if (const auto chosen = RunEditColourDialog())
        m_settings.cadEditColour = *chosen;
}

void CModelViewerView::ChooseElementColor()
{
    const auto chosen = RunEditColourDialog();
    if (!chosen)
        return;
    std::vector<std::int64_t> selected = BuffersState().selectedCadElements;
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        auto& figures = ModelStore().m_elmList;
        for (std::int64_t index : selected) {
            if (index < 0 || index >= static_cast<std::int64_t>(figures.size()))
                continue;  // a figure removed since it was selected
            CElmData figure = figures[static_cast<std::size_t>(index)];
            figure.m_nColor = *chosen;
            figures[static_cast<std::size_t>(index)] = std::move(figure);
        }
    }
    BuffersState().book.Kind(DrawableKind::CadFigure).releasePending = 1;
    InvalidateScene();
}

CModelViewerView::ContextMenuAnswer CModelViewerView::TrackContextMenu(QMenu& menu, QPoint globalPoint)
{
    if (m_contextMenuTracker)
        return m_contextMenuTracker(menu, globalPoint);
    EscapeWatch watch;
    menu.installEventFilter(&watch);
    ContextMenuAnswer answer;
    if (QAction* chosen = menu.exec(globalPoint))
        answer.command = chosen->data().toInt();
    menu.removeEventFilter(&watch);
    answer.escape = watch.escape;
    const double ratio = devicePixelRatioF();
    const QPoint local = mapFromGlobal(QCursor::pos());
    answer.cursor = QPoint(static_cast<int>(local.x() * ratio), static_cast<int>(local.y() * ratio));
    return answer;
}

void CModelViewerView::ShowContextMenu(QPoint clientPoint)
{
    QMenu menu(this);
    const auto addItems = [](QMenu* sub, int first, const std::vector<const char*>& labels, int checked) {
        for (std::size_t i = 0; i < labels.size(); ++i) {
            QAction* action = sub->addAction(QString::fromUtf8(labels[i]));
            const int id = first + static_cast<int>(i);
            action->setData(id);
            action->setCheckable(true);
            action->setChecked(id == checked);
        }
    };
    addItems(menu.addMenu(QStringLiteral("点群の表示サイズ")), style::kPointSizeFirst,
             {"極小", "小さい", "普通", "大きい"}, style::CheckedPointSizeItem(GetPointSizeIndex()));
    menu.addSeparator();
    addItems(menu.addMenu(QStringLiteral("CAD図形の線幅")), style::kLineWidthFirst, {"1.0", "2.0", "3.0", "4.0", "5.0"},
             style::CheckedLineWidthItem(m_settings.cadLineWidthIndex));

    const double ratio = devicePixelRatioF() > 0.0 ? devicePixelRatioF() : 1.0;
    const QPoint global = mapToGlobal(QPoint(static_cast<int>(clientPoint.x() / ratio),
                                             static_cast<int>(clientPoint.y() / ratio)));
    m_menuOpen = false;
    const ContextMenuAnswer answer = TrackContextMenu(menu, global);
    if (style::ApplyMenuChoice(answer.command, m_settings)) {
        InvalidateScene();
    } else if (answer.command == 0 &&
               style::MenuDismissedByClick(answer.escape, answer.cursor, m_clientWidth, m_clientHeight)) {
        m_menuOpen = true;
    }
}

void CModelViewerView::RefreshValueLegends()
{
    if (m_settings.tinPictureMode == 4 || m_pointColourMode == 1)
        UpdateHeightLegend();
    if (m_pointColourMode == 4)
        UpdateIntensityLegend();
}

void CModelViewerView::UpdateLegends()
{
    if (m_legendDirty == 0)
        return;
    if (m_settings.tinPictureMode == 4 || m_pointColourMode == 1)
        UpdateHeightLegend();
    else
        Close(ShellHooks::Instance().closeElevationLegend);
    if (m_settings.tinPictureMode == 2 && CountShownTinTriangles() > 0)
        ShowSlopeLegendWindow();
    else
        Close(ShellHooks::Instance().closeSlopeLegend);
    if (m_pointColourMode == 4)
        UpdateIntensityLegend();
    else
        Close(ShellHooks::Instance().closeIntensityLegend);
    m_legendDirty = 0;
}
