#pragma once
// Settings and a Wine prefix of the test program's own, in folders that live
// as long as the program: nothing of the machine's may name a game here.

#include <QTemporaryDir>
#include <QtGlobal>

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

// Points $XDG_CONFIG_HOME, $WINEPREFIX and $HOME at them. Qt settles where settings
// live on first use, so this comes first in main().
inline void usePrivateSettings()
{
    qputenv("XDG_CONFIG_HOME", configHome().path().toLocal8Bit());
    qputenv("WINEPREFIX", winePrefix().path().toLocal8Bit());
    qputenv("HOME", homeFolder().path().toLocal8Bit());
}
