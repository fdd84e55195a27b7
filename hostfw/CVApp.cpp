#include "hostfw/CVApp.h"

#include "hostfw/CVPartDocument.h"
#include "hostfw/CmdMsgBox.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PeldaSysData.h"

#include <QCoreApplication>
#include <QDialog>

#include <algorithm>

CVApp::CVApp() : m_cmdMsgBox(std::make_unique<CmdMsgBox>()), m_document(std::make_unique<CVPartDocument>())
{
}

CVApp::~CVApp() = default;

CVApp& CVApp::Instance()
{
    static CVApp app;
    return app;
}

int CVApp::AddPartSystem(std::unique_ptr<PartSystem> system, const std::string& name)
{
    const int number = m_nextNumber++;
    m_systems[number] = std::make_unique<PeldaSysData>(number, name, std::move(system));
    if (m_current == 0)
        m_current = number;
    return number;
}

void CVApp::RemovePartSystem(int number)
{
    m_systems.erase(number);
    if (m_current == number)
        m_current = 0;
}

PeldaSysData* CVApp::GetPartSysData(int number) const
{
    auto it = m_systems.find(number);
    return it == m_systems.end() ? nullptr : it->second.get();
}

void CVApp::EnableCmdMsgBox(bool enable)
{
    if (enable && !m_cmdMsgBox)
        m_cmdMsgBox = std::make_unique<CmdMsgBox>();
    else if (!enable)
        m_cmdMsgBox.reset();
}

void CVApp::RegisterPartDialog(QDialog* dialog)
{
    if (std::find(m_dialogs.begin(), m_dialogs.end(), dialog) == m_dialogs.end())
        m_dialogs.push_back(dialog);
}

void CVApp::UnregisterPartDialog(QDialog* dialog)
{
    m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), dialog), m_dialogs.end());
}

void CVApp::CloseAllPartDialogs()
{
    // Deleting a dialog unregisters it, so work on a copy.
    const std::vector<QDialog*> dialogs = m_dialogs;
    m_dialogs.clear();
    for (QDialog* dialog : dialogs)
        delete dialog;
    // Dialogs closed with OK or Cancel delete themselves later; run those deletions now,
    // before the host unloads the plug-in whose code they need.
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void CVApp::Reset()
{
    CloseAllPartDialogs();
    m_systems.clear();
    m_current = 0;
    m_nextNumber = 1;
    m_cmdMsgBox = std::make_unique<CmdMsgBox>();
    m_document = std::make_unique<CVPartDocument>();
    m_mainWnd = nullptr;
}

CVApp& PeldaGetApp()
{
    return CVApp::Instance();
}

QWidget* PeldaGetMainWnd()
{
    return CVApp::Instance().GetMainWnd();
}

PartSystem* GetCurrentPartSystem()
{
    const CVApp& app = CVApp::Instance();
    const PeldaSysData* data = app.GetPartSysData(app.GetCurPartSysNo());
    return data ? data->GetHandle() : nullptr;
}
