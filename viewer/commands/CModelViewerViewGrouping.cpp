// Registering the selected points as a point-cloud group (context menu command
// 32835): the dialog first, then the undo snapshot, then the move under the lock.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/CEditPCloudGroupDlg.h"
#include "viewer/commands/GroupRegistration.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/files/ViewProgress.h"

#include <mutex>

namespace {

constexpr unsigned kRegisterAsGroup = 32835;
constexpr std::uint16_t kGroupCloudsContent = 0x01;

} // namespace

void CModelViewerView::RegisterGroupingCommands(CommandMap& map)
{
    map.On(kRegisterAsGroup, [this] { RegisterSelectionAsGroup(); });
}

void CModelViewerView::InvalidateLegends()
{
    m_legendDirty = 1;
}

void CModelViewerView::RegisterSelectionAsGroup()
{
    CEditPCloudGroupDlg::Values values;
    const bool read = ReadStore<bool>(
        [&](const CModelDataMng& store) {
            for (int i = 0; i < store.GetGroupCount(); ++i)
                if (const CPCloudMng* g = store.GetGroup(i))
                    values.allDisplayNames.push_back(grouping::DisplayName(*g));
            for (std::int64_t i : grouping::ListedGroups(store)) {
                const CPCloudMng& g = *store.GetGroup(i);
                values.listed.push_back({grouping::DisplayName(g), g.m_memo, g.m_nColor});
            }
            values.newGroupColour =
                CModelDataMng::GetDefPointCloudGroupCol(static_cast<std::uint16_t>(store.GetGroupCount()));
            return true;
        },
        false);
    if (!read) {
        tessara::MessageBox(filetexts::kBusy, filetexts::kCaption, tessara::MB_ICONWARNING, this);
        return;
    }
    values.preferNewGroup = m_newGroupOnRegister;
    if (tessara::RunDialog<CEditPCloudGroupDlg>(this, values) != tessara::IDOK)
        return;
    m_newGroupOnRegister = values.newGroup;
    if (values.newGroup == 1)
        MoveSelectionToNewGroup(values.name, values.memo, values.colour);
    else
        MoveSelectionToGroup(values.listIndex, values.memo, values.colour);
}

void CModelViewerView::MoveSelectionToNewGroup(const std::string& name, const std::string& memo, COLORREF colour)
{
    PushUndoSnapshot(kGroupCloudsContent);
    auto group = std::make_unique<CPCloudMng>();
    group->m_name = name;
    group->m_memo = memo;
    group->m_nColor = colour;
    {
        std::lock_guard lock(ViewMutex());
        grouping::MoveSelectedPoints(ModelStore(), BuffersState().pickBuckets, *group);
        if (group->GetCloudPointSize() > 0) {
            group->m_nDataFlag = 1;
            ModelStore().AddGroup(std::move(group));
        }
        FinishSelectionMove();
    }
    update();
}

void CModelViewerView::MoveSelectionToGroup(int listIndex, const std::string& memo, COLORREF colour)
{
    PushUndoSnapshot(kGroupCloudsContent);
    {
        std::lock_guard lock(ViewMutex());
        // The list was read before the dialog; a group that has gone since takes nothing.
        const auto listed = grouping::ListedGroups(ModelStore());
        if (listIndex >= 0 && static_cast<std::size_t>(listIndex) < listed.size()) {
            CPCloudMng& target = *ModelStore().GetGroup(listed[static_cast<std::size_t>(listIndex)]);
            target.m_memo = memo;
            target.m_nColor = colour;
            grouping::MoveSelectedPoints(ModelStore(), BuffersState().pickBuckets, target);
        }
        FinishSelectionMove();
    }
    update();
}

void CModelViewerView::FinishSelectionMove()
{
    BuffersState().pickBuckets.clear();
    ClearPickBuckets();
    m_groupTreeDirty = 1;
    InvalidateLegends();
    InvalidateAllBuffers();
    InvalidateScene();
}
