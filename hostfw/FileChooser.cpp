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

std::filesystem::path BinderFileStore()
{
    return VCabinetDocExDLL::Folder() / "files";
}

} // namespace

std::optional<std::string> AskBinderFileName(const std::string& suggested)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    const std::filesystem::path store = BinderFileStore();
    const QString start = QString::fromStdString(suggested.empty() ? store.string() : (store / suggested).string());
    QFileDialog chooser(nullptr, QString(), start, "CSV (*.csv *.CSV)");
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without its extension is still a CSV file of the binder.
    chooser.setDefaultSuffix("CSV");
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    const QString file = chooser.selectedFiles().front();
    return std::filesystem::path(file.toStdString()).filename().string();
}

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
    const std::filesystem::path store = BinderFileStore();
    std::error_code ec;
    std::filesystem::create_directories(store, ec);
    const std::optional<std::string> name =
        hook ? hook(listFile) : AskBinderFileName(binderFile.empty() ? std::string() : V_GetFileName(binderFile));
    if (!name || name->empty())
        return 0;
    const std::string chosen = (store / std::filesystem::path(*name).filename()).string();
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
