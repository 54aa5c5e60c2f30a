#pragma once
// Where the game is installed: the value `Location` that the game's installer
// leaves in the system settings store. On Windows that is the registry key
// HKEY_LOCAL_MACHINE\SOFTWARE\Quillmoor Ltd\Fendra; elsewhere Qt's native
// store for organisation "Quillmoor Ltd", application "Fendra" (on Linux
// $XDG_CONFIG_HOME/Quillmoor Ltd/Fendra.conf, then the system-wide file).

#include <QString>

// The configured directory exactly as stored (nothing trimmed or added); the
// empty string when there is none. A value that is not text raises
// "Invalid data type for 'Location'". Nothing is ever written.
QString readGameDirectory();
