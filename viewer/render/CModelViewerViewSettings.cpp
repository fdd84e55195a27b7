#include "viewer/render/CModelViewerView.h"

#include "platform/IProfile.h"
#include "viewer/render/ViewSettingsStore.h"

void CModelViewerView::LoadViewSettings(ViewSettings& settings)
{
    settings = ViewSettings();
    m_pointColourMode = 0;
    m_newGroupOnRegister = 0;
    if (tessara::IProfile* profile = tessara::AppProfile()) {
        ViewSettingsStore::Load(*profile, settings, m_pointColourMode, m_newGroupOnRegister);
    }
}

void CModelViewerView::SaveViewSettings(const ViewSettings& settings)
{
    if (tessara::IProfile* profile = tessara::AppProfile()) {
        ViewSettingsStore::Save(*profile, settings, m_pointColourMode, m_newGroupOnRegister);
    }
}
