#include "main/game_location.h"

#include "db/data_paths.h"
#include "db/wine_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <stdexcept>

namespace {

const QString kRecentKey = QStringLiteral("RecentGameFolders");

struct SettingsPlaces {
    QString organisation = QStringLiteral("rostradb");
    QString gameKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillmoor Ltd\\Fendra");
};

SettingsPlaces& settingsPlaces()
{
    static SettingsPlaces places;
    return places;
}

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

// The game's settings belong to its installer; these are ours.
QSettings programSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, settingsPlaces().organisation,
                     QStringLiteral("rostradb"));
}

void moveSettingsForTesting(const QString& organisation, const QString& gameKey)
{
    settingsPlaces() = {organisation, gameKey};
}

QString readGameDirectory()
{
    // Read only: the key belongs to the game's installer.
#ifdef Q_OS_WIN
    const QSettings settings(settingsPlaces().gameKey, QSettings::NativeFormat);
#else
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmoor Ltd"),
                             QStringLiteral("Fendra"));
#endif
    return valueAsDirectory(settings);
}

QString readWineGameDirectory()
{
#ifdef Q_OS_LINUX
    const auto prefix = rostradb::wine::defaultPrefix();
    if (!prefix)
        return {};
    const auto folder = rostradb::wine::gameLocation(*prefix);
    return folder ? QFile::decodeName(folder->native().c_str()) : QString();
#else
    return {};
#endif
}

QString findGameDirectory(const std::optional<QString>& commandLine)
{
    if (commandLine && !commandLine->isEmpty())
        return *commandLine;
    if (const QStringList recent = recentGameFolders(); !recent.isEmpty())
        return recent.first();
    if (QString location = readGameDirectory(); !location.isEmpty())
        return location;
    return readWineGameDirectory();
}

QStringList recentGameFolders()
{
    const QSettings settings = programSettings();
    QStringList folders = settings.value(kRecentKey).toStringList();
    folders.removeAll(QString());
    return folders.mid(0, kRecentGameFolders);
}

void rememberGameFolder(const QString& folder)
{
    QStringList folders = recentGameFolders();
    folders.removeAll(folder);
    folders.prepend(folder);
    QSettings settings = programSettings();
    settings.setValue(kRecentKey, folders.mid(0, kRecentGameFolders));
    settings.sync();
}

bool holdsGame(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const std::string path = rostradb::dataFilePath(QFile::encodeName(folder).toStdString(), rostradb::datafile::kIndex);
    return QFileInfo(QFile::decodeName(path.c_str())).isFile();
}

QString notAGameFolderMessage(const QString& folder)
{
    return QStringLiteral("%1 does not hold the game: data/index.dat is missing. Choose the folder the game is "
                          "installed in")
        .arg(QDir::toNativeSeparators(folder));
}
