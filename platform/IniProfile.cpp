#include "platform/IniProfile.h"

#include "platform/AtomicFileWriter.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/Numbers.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tessara {
namespace {

QString SettingsKey(std::string_view section, std::string_view key)
{
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

IniProfile::IniProfile(const std::string& application)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QString::fromLatin1(kRegistryKey),
                                             QString::fromStdString(application)))
{
}

IniProfile::IniProfile(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

std::unique_ptr<IniProfile> IniProfile::AtPath(const std::string& iniPath)
{
    return std::unique_ptr<IniProfile>(new IniProfile(
        std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)));
}

IniProfile::~IniProfile() = default;

int IniProfile::GetProfileInt(std::string_view section, std::string_view key, int defaultValue)
{
    const std::string text = GetProfileString(section, key);
    return ParseInt(text).value_or(defaultValue);
}

std::string IniProfile::GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue)
{
    const std::lock_guard lock(m_mutex);
    const QVariant value = m_settings->value(SettingsKey(section, key));
    if (!value.isValid()) {
        return std::string(defaultValue);
    }
    // A hand-edited line "a, b" without quotes reads back as a list.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", ")).toStdString();
    }
    return value.toString().toStdString();
}

bool IniProfile::WriteProfileInt(std::string_view section, std::string_view key, int value)
{
    return WriteProfileString(section, key, std::to_string(value));
}

bool IniProfile::WriteProfileString(std::string_view section, std::string_view key,
                                    std::string_view value)
{
    bool written = false;
    {
        const std::lock_guard lock(m_mutex);
        written = WriteLocked(section, key, value);
    }
    // Told outside the lock: the box waits for the user while other threads read.
    if (!written) ReportWriteFailure();
    return written;
}

void IniProfile::ReportWriteFailure()
{
    if (m_failureReported.exchange(true)) return;
    const std::string path = FilePath();
    Log("the profile %s cannot be written; changed settings are not kept", path.c_str());
    MessageBox("設定ファイルに書き込めませんでした。\n" + path + "\n変更した設定は次回の起動に引き継がれません。",
               kDefaultMessageCaption, MB_OK | MB_ICONWARNING);
}

bool IniProfile::WriteLocked(std::string_view section, std::string_view key, std::string_view value)
{
    const QString settingsKey = SettingsKey(section, key);
    const QString text = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    // QSettings' own save can replace the file with an empty one and report success
    // when a write fails (a full disk). So the change is made on a hidden copy, which
    // replaces the profile only once it reads back whole.
    const std::string target = m_settings->fileName().toStdString();
    const std::size_t slash = target.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(target.substr(0, slash))) return false;
    AtomicFileWriter copy(target);
    if (!copy.Open()) return false;
    const std::optional<std::string> current = FileExists(target) ? ReadWholeFile(target) : std::string();
    if (!current || !copy.Write(*current)) return false;
    {
        QSettings changed(QString::fromStdString(copy.TempPath()), QSettings::IniFormat);
        changed.setValue(settingsKey, text);
        changed.sync();
        if (changed.status() != QSettings::NoError) return false;
        // Read back from a file of a new name: QSettings answers a name it has seen
        // from its cache, not from the disk.
        const std::optional<std::string> bytes = ReadWholeFile(copy.TempPath());
        AtomicFileWriter check(target);
        if (!bytes || !check.Open() || !check.Write(*bytes)) return false;
        const QSettings written(QString::fromStdString(check.TempPath()), QSettings::IniFormat);
        if (written.status() != QSettings::NoError || written.allKeys() != changed.allKeys()) return false;
        for (const QString& k : changed.allKeys())
            if (written.value(k) != changed.value(k)) return false;
    }
    if (!copy.Commit()) return false;
    m_settings->sync();   // no change of its own: reads the file again
    return m_settings->status() == QSettings::NoError;
}

std::string IniProfile::FilePath() const
{
    const std::lock_guard lock(m_mutex);
    return m_settings->fileName().toStdString();
}

} // namespace tessara
