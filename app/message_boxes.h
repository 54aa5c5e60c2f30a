#pragma once
// The program's two conversations with the user: reporting a failure, and
// asking what to do with unsaved edits. Tests replace both with hooks, since
// a modal box would wait for a click that never comes.

#include <QString>

#include <exception>
#include <functional>

class QWidget;

// The text of an error as the user sees it: the message, with a full stop
// added when it does not already end with one.
QString errorBoxText(const QString& message);

// Shows a critical message box titled "rostradb".
void reportError(QWidget* parent, const QString& message);
void reportError(QWidget* parent, const std::exception& error);

enum class UnsavedChoice { Save, Discard, Cancel };

// Asks `question` with the buttons Save, Discard and Cancel.
UnsavedChoice askAboutUnsavedEdits(QWidget* parent, const QString& question);

// For tests: receive what would have been shown, answer what would have been
// asked. An empty function restores the real boxes.
void setErrorReporterForTesting(std::function<void(const QString& text)> reporter);
void setUnsavedQuestionForTesting(std::function<UnsavedChoice(const QString& question)> answer);
