#pragma once
// Settings and a Wine prefix of the test program's own, in places that live
// as long as the program: nothing of the machine's may name a game here, and
// nothing of the user's is read or written.

#include "main/game_location.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdlib>

inline QTemporaryDir& configHome()
{
    static QTemporaryDir dir;
    return dir;
}

inline QTemporaryDir& winePrefix()
{
    static QTemporaryDir dir;
    return dir;
}

// The home folder, where ~/.wine, Steam, Lutris and Bottles keep prefixes.
inline QTemporaryDir& homeFolder()
{
    static QTemporaryDir dir;
    return dir;
}

#ifdef Q_OS_WIN
// The registry has no private copy: the test's settings go under a key of its
// own in the user's, removed when the program ends.
inline QString privateOrganisation()
{
    return QStringLiteral("rostradb-test-%1").arg(QCoreApplication::applicationPid());
}

inline QString privateGameKey()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\Fendra").arg(privateOrganisation());
}

inline void removePrivateRegistryKey()
{
    QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat).remove(privateOrganisation());
}
#endif

// Points $XDG_CONFIG_HOME, $WINEPREFIX and $HOME at them (Qt settles where
// settings live on first use, so this comes first in main()); on Windows,
// rostradb's settings and the game's Location at a registry key of the test's own.
inline void usePrivateSettings()
{
    qputenv("XDG_CONFIG_HOME", configHome().path().toLocal8Bit());
    qputenv("WINEPREFIX", winePrefix().path().toLocal8Bit());
    qputenv("HOME", homeFolder().path().toLocal8Bit());
#ifdef Q_OS_WIN
    moveSettingsForTesting(privateOrganisation(), privateGameKey());
    std::atexit(removePrivateRegistryKey);
#endif
}

// The game installer's settings, where readGameDirectory() reads Location.
inline QSettings gameSettings()
{
#ifdef Q_OS_WIN
    return QSettings(privateGameKey(), QSettings::NativeFormat);
#else
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmoor Ltd"),
                     QStringLiteral("Fendra"));
#endif
}
