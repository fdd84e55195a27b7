#include "viewer/dialogs/ModelFileList.h"

#include "platform/Files.h"

#include <QDateTime>
#include <QLocale>

std::vector<ModelFileList::Entry> ModelFileList::List(const std::string& folder, const std::string& extension)
{
    std::vector<Entry> entries;
    const auto files = tessara::ListFiles(folder, extension);
    entries.reserve(files.size());
    for (const auto& file : files) {
        std::string title = file.name;
        if (title.size() > extension.size())
            title.resize(title.size() - extension.size() - 1);
        entries.push_back({std::move(title), TimeText(file.lastWrite)});
    }
    return entries;
}

std::optional<std::string> ModelFileList::ExistingPath(const std::string& folder, const std::string& name,
                                                       const std::string& extension)
{
    const auto path = ResultPath(folder, name, extension);
    if (!path || tessara::FileExists(*path))
        return path;
    for (const auto& file : tessara::ListFiles(folder, extension)) {
        if (file.name.size() == name.size() + extension.size() + 1 && file.name.compare(0, name.size(), name) == 0)
            return file.path;
    }
    return std::nullopt;
}

std::string ModelFileList::TimeText(std::chrono::system_clock::time_point t)
{
    if (t.time_since_epoch().count() == 0)
        return {};
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms).toLocalTime();
    if (local.date().year() == 0)
        return {};
    // The program speaks Japanese whatever the system's language: "2026年12月11日金曜日 10:40".
    const QLocale locale(QLocale::Japanese, QLocale::Japan);
    return (locale.toString(local.date(), QLocale::LongFormat) + ' ' +
            locale.toString(local.time(), QLocale::ShortFormat))
        .toStdString();
}

std::optional<std::string> ModelFileList::ResultPath(const std::string& folder, const std::string& name,
                                                     const std::string& extension)
{
    if (name.empty())
        return std::nullopt;
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + name + '.' + extension;
}
