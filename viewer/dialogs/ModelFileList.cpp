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

std::string ModelFileList::TimeText(std::chrono::system_clock::time_point t)
{
    if (t.time_since_epoch().count() == 0)
        return {};
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms).toLocalTime();
    if (local.date().year() == 0)
        return {};
    const QLocale locale = QLocale::system();
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
