#pragma once
// Save found values on the disk that another program changed since the load:
// the user decides whether the editor's values replace them. Tests answer
// through a hook, since a modal box would wait for a click that never comes.

#include <functional>

class QWidget;

// True when the user chose Save; Cancel (the default, also Escape) is false.
bool askToReplaceChangesOnDisk(QWidget* parent);

// For tests: answer instead of the box; an empty function restores it.
void setReplaceQuestionForTesting(std::function<bool()> answer);
