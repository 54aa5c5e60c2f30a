#pragma once
// The about text on the "Main frame" tab, rostradb.txt. A user who keeps their
// own copy in the folder they start the editor from sees theirs; otherwise
// the copy that came with the program: beside the executable (a build tree,
// or a folder the program was unpacked into), then the installed data
// folder, share/rostradb/ beside bin/.

#include <QString>
#include <QStringList>

inline constexpr const char* kAboutTextFile = "rostradb.txt";

// The folders searched, in order, for a program in `programFolder`.
QStringList aboutTextFolders(const QString& programFolder);

// The lines of the first rostradb.txt found in `folders`. Raises "Cannot open
// file rostradb.txt" when none of them holds one that can be read.
QStringList readAboutText(const QStringList& folders);
