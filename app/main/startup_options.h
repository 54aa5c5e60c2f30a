#pragma once
// The command line of rostradb: --game-dir DIR or a FOLDER argument (what a
// desktop entry passes for a folder dropped on it), --help and --version.

#include "main/rostradbmain.h"

class QCommandLineParser;

// Describes the options and the FOLDER argument to `parser`.
void addStartupOptions(QCommandLineParser& parser);
// What the parsed command line asks for: --game-dir wins over FOLDER.
StartupOptions startupOptions(const QCommandLineParser& parser);
