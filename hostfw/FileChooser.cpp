#include "hostfw/FileChooser.h"

#include "hostfw/VCabinetDocExDLL.h"

#include <QApplication>
#include <QFileDialog>

#include <mutex>
#include <system_error>

namespace {

std::mutex g_mutex;
FileChooserHook g_hook;
std::vector<std::string> g_selected;

} // namespace

int _XFileNameLstForCals(const std::string& binderFile, std::string&, std::string&, int&,
                         const std::string& listFile, DWORD, int, int, int&, CABINFO& info, void*,
                         std::vector<std::string>&, int&)
{
    FileChooserHook hook;
    {
        std::lock_guard lock(g_mutex);
        hook = g_hook;
        g_selected.clear();
    }
    const std::filesystem::path store = VCabinetDocExDLL::Folder() / "files";
    std::error_code ec;
    std::filesystem::create_directories(store, ec);
    std::string chosen;
    if (hook) {
        const std::optional<std::string> name = hook(listFile);
        if (!name || name->empty())
            return 0;
        chosen = (store / std::filesystem::path(*name).filename()).string();
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QString start = QString::fromStdString(
            binderFile.empty() ? store.string() : (store / V_GetFileName(binderFile)).string());
        const QString file = QFileDialog::getSaveFileName(nullptr, QString(), start, "CSV (*.csv *.CSV)");
        if (file.isEmpty())
            return 0;
        chosen = (store / std::filesystem::path(file.toStdString()).filename()).string();
    } else {
        return 0;
    }
    info.cabinet = "binder";
    info.folder = store.string();
    std::lock_guard lock(g_mutex);
    g_selected.push_back(chosen);
    return 1;
}

int GetSelectFileCount()
{
    std::lock_guard lock(g_mutex);
    return static_cast<int>(g_selected.size());
}

std::string GetSelectFileName(int index)
{
    std::lock_guard lock(g_mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= g_selected.size())
        return {};
    return g_selected[static_cast<std::size_t>(index)];
}

void SetFileChooserHook(FileChooserHook hook)
{
    std::lock_guard lock(g_mutex);
    g_hook = std::move(hook);
}
