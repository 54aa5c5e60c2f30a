#include "main/game_location.h"

#include "db/data_paths.h"
#include "db/wine_prefixes.h"

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

#ifdef Q_OS_WIN
// QSettings opens a registry key for writing where it may, and so creates it
// and every key above it that is missing. The installer's key is only looked
// at: each level is first found among its parent's keys.
bool registryKeyExists(const QString& key)
{
    QStringList levels = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString path = levels.takeFirst(); // the hive, always there
    for (const QString& level : levels) {
        if (!QSettings(path, QSettings::NativeFormat).childGroups().contains(level, Qt::CaseInsensitive))
            return false;
        path += QLatin1Char('\\') + level;
    }
    return true;
}
#endif

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
    if (!registryKeyExists(settingsPlaces().gameKey))
        return {};
    const QSettings settings(settingsPlaces().gameKey, QSettings::NativeFormat);
#else
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmoor Ltd"),
                             QStringLiteral("Fendra"));
#endif
    return valueAsDirectory(settings);
}

QStringList readWineGameDirectories()
{
    QStringList folders;
#ifdef Q_OS_LINUX
    for (const auto& folder : rostradb::wine::gameLocations())
        folders << QFile::decodeName(folder.native().c_str());
#endif
    return folders;
}

StartupFolder findGameDirectory(const std::optional<QString>& commandLine)
{
    if (commandLine && !commandLine->isEmpty())
        return {*commandLine, true, {}};
    StartupFolder found;
    // The first own source that failed is the one the user expects: the
    // folder they took last.
    const auto serves = [&found](const QString& folder) {
        const QString problem = gameFolderProblem(folder);
        if (!problem.isEmpty() && found.passedOver.isEmpty())
            found.passedOver = problem;
        return problem.isEmpty();
    };
    for (const QString& folder : recentGameFolders())
        if (serves(folder)) {
            found.folder = folder;
            return found;
        }
    if (QString location = readGameDirectory(); !location.isEmpty()) {
        found.folder = location;
        found.named = true;
        found.passedOver.clear(); // Location's own failure is the one to tell
        return found;
    }
    for (const QString& folder : readWineGameDirectories())
        if (serves(folder)) {
            found.folder = folder;
            return found;
        }
    return found;
}

QStringList recentGameFolders()
{
    const QSettings settings = programSettings();
    QStringList folders = settings.value(kRecentKey).toStringList();
    folders.removeAll(QString());
    return folders.mid(0, kRecentGameFolders);
}

namespace {

bool storeRecentFolders(const QStringList& folders)
{
    QSettings settings = programSettings();
    settings.setValue(kRecentKey, folders.mid(0, kRecentGameFolders));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

bool rememberGameFolder(const QString& folder)
{
    QStringList folders = recentGameFolders();
    folders.removeAll(folder);
    folders.prepend(folder);
    return storeRecentFolders(folders);
}

bool forgetGameFolder(const QString& folder)
{
    QStringList folders = recentGameFolders();
    folders.removeAll(folder);
    return storeRecentFolders(folders);
}

QString settingsNotWritableMessage()
{
    return QStringLiteral("The game folder could not be remembered: %1 is not writable")
        .arg(QDir::toNativeSeparators(programSettings().fileName()));
}

QString gameFolderProblem(const QString& folder)
{
    if (folder.isEmpty())
        return QStringLiteral("No game folder is known");
    try {
        const std::string path =
            rostradb::dataFilePath(QFile::encodeName(folder).toStdString(), rostradb::datafile::kIndex);
        if (QFileInfo(QFile::decodeName(path.c_str())).isFile())
            return {};
    } catch (const std::exception& error) { // two files that differ only in letter case
        return QStringLiteral("%1 does not hold the game: %2")
            .arg(QDir::toNativeSeparators(folder), QString::fromUtf8(error.what()));
    }
    return QStringLiteral("%1 does not hold the game: data/index.dat is missing")
        .arg(QDir::toNativeSeparators(folder));
}

bool holdsGame(const QString& folder) { return gameFolderProblem(folder).isEmpty(); }

QString notAGameFolderMessage(const QString& folder)
{
    return gameFolderProblem(folder) + QStringLiteral(". Choose the folder the game is installed in");
}
