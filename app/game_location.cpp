#include "game_location.h"

#include <QSettings>

#include <stdexcept>

namespace {

QString valueAsDirectory(const QSettings& settings)
{
    const QVariant value = settings.value(QStringLiteral("Location"));
    if (!value.isValid())
        return {};
    if (value.typeId() != QMetaType::QString)
        throw std::runtime_error("Invalid data type for 'Location'");
    return value.toString();
}

} // namespace

QString readGameDirectory()
{
    // Read only: the key belongs to the game's installer.
#ifdef Q_OS_WIN
    const QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillmoor Ltd\\Fendra"),
                             QSettings::NativeFormat);
#else
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmoor Ltd"),
                             QStringLiteral("Fendra"));
#endif
    return valueAsDirectory(settings);
}
