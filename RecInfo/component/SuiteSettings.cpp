#include "SuiteSettings.h"

#include <QSettings>

#include <mutex>

namespace vxRecInfo {

namespace {
std::mutex g_mutex;
QString g_path;
} // namespace

QString suiteSettingsFile()
{
    {
        std::lock_guard lock(g_mutex);
        if (!g_path.isEmpty())
            return g_path;
    }
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orvale Systems"),
                     QStringLiteral("LoggerSuite"))
        .fileName();
}

void setSuiteSettingsFile(const QString& path)
{
    std::lock_guard lock(g_mutex);
    g_path = path;
}

} // namespace vxRecInfo
