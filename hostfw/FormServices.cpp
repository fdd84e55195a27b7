#include "hostfw/FormServices.h"

#include "hostfw/CVApp.h"
#include "hostfw/PeldaIni.h"
#include "platform/Files.h"
#include "platform/Log.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_mutex;
std::filesystem::path g_formsFolder;
std::filesystem::path g_outputFolder;
std::function<int(WORD)> g_selectHook;
std::function<void(const std::string&)> g_reportHook;
bool g_layoutReports = false;

std::vector<std::string> FormFiles(WORD programNo)
{
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "form%05u", static_cast<unsigned>(programNo));
    std::vector<std::string> out;
    for (const tessara::FileEntry& entry : tessara::ListFiles(GetFormsFolder().string(), "frm"))
        if (entry.name.rfind(prefix, 0) == 0)
            out.push_back(entry.path);
    return out;
}

} // namespace

void FormGlobalStartNotCmp() {}

void FormGlobalEndNotCmp() {}

int FormSelectDlg(WORD programNo, int)
{
    std::function<int(WORD)> hook;
    {
        std::lock_guard lock(g_mutex);
        hook = g_selectHook;
    }
    return hook ? hook(programNo) : 1;
}

int GetFormCnt(WORD programNo, int)
{
    return static_cast<int>(FormFiles(programNo).size());
}

int GetFormFileName(WORD programNo, int index, std::string& name, int)
{
    const std::vector<std::string> files = FormFiles(programNo);
    if (index < 0 || static_cast<std::size_t>(index) >= files.size()) {
        name.clear();
        return 0;
    }
    name = files[static_cast<std::size_t>(index)];
    return 1;
}

void SetFormsFolder(const std::filesystem::path& folder)
{
    std::lock_guard lock(g_mutex);
    g_formsFolder = folder;
}

std::filesystem::path GetFormsFolder()
{
    std::lock_guard lock(g_mutex);
    return g_formsFolder.empty() ? CVApp::Instance().PluginDataDir() : g_formsFolder;
}

void SetFormOutputFolder(const std::filesystem::path& folder)
{
    std::lock_guard lock(g_mutex);
    g_outputFolder = folder;
}

std::filesystem::path GetFormOutputFolder()
{
    std::lock_guard lock(g_mutex);
    return g_outputFolder.empty() ? PeldaIni::DataRoot() / "forms-out" : g_outputFolder;
}

void SetFormSelectHook(std::function<int(WORD)> hook)
{
    std::lock_guard lock(g_mutex);
    g_selectHook = std::move(hook);
}

void SetFormReportHook(std::function<void(const std::string&)> hook)
{
    std::lock_guard lock(g_mutex);
    g_reportHook = std::move(hook);
}

void ReportFormLine(const std::string& line)
{
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard lock(g_mutex);
        hook = g_reportHook;
    }
    if (hook)
        hook(line);
    else
        tessara::Log("%s", line.c_str());
}

void SetFormLayoutReports(bool on)
{
    std::lock_guard lock(g_mutex);
    g_layoutReports = on;
}

bool FormLayoutReports()
{
    std::lock_guard lock(g_mutex);
    return g_layoutReports;
}
