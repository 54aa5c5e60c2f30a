#pragma once
// The program's conversations with the user: reporting a failure, telling
// what happened (an interrupted save undone), asking whether to confirm the
// edits still standing in the form, asking what to do with unsaved edits,
// asking whether Save may write the editor's values over values another
// program changed differently on the disk, whether to store numbers not as
// typed, and which folder holds the game. Tests replace each with a hook,
// since a modal box would wait for a click that never comes.

#include <QString>
#include <QStringList>

#include <exception>
#include <functional>

class QWidget;

// The text of an error as the user sees it: the message, with a full stop
// added when it does not already end with one.
QString errorBoxText(const QString& message);

// Shows a critical message box titled "rostradb".
void reportError(QWidget* parent, const QString& message);
void reportError(QWidget* parent, const std::exception& error);

// Shows an information box titled "rostradb".
void informUser(QWidget* parent, const QString& text);

enum class UnsavedChoice { Save, Discard, Cancel };

// Asks `question` with the buttons Save, Discard and Cancel.
UnsavedChoice askAboutUnsavedEdits(QWidget* parent, const QString& question);

// What the user is about to do while the form holds edits not confirmed.
enum class ConfirmBefore { Saving, Closing, LoadingAgain, ChangingGame, Undoing, Redoing, Reverting, ChangingTable };

// The words for it in the question: "saving", "closing", ...
QString confirmBeforeWhat(ConfirmBefore next);
// The words for choosing another person: "showing OTHER".
QString showingWhat(const QString& other);

// "Confirm the changes to NAME before WHAT?"
QString confirmEditsQuestion(const QString& name, const QString& what);

// Confirm: "Confirm Changes", then go on. Skip: go on; the typed values stay
// in the form. Cancel: stop.
enum class ConfirmChoice { Confirm, Skip, Cancel };

// Asks `question` with the buttons Yes (Confirm), No (Skip) and Cancel.
ConfirmChoice askToConfirmEdits(QWidget* parent, const QString& question);

// Confirm found boxes whose text is stored as another number: asks "Some
// values will not be stored as typed:" followed by `lines`, one per box. True
// when the user chose Store; Cancel (the default, also Escape) is false.
bool askToStoreNotAsTyped(QWidget* parent, const QStringList& lines);
// Save found values that another program and the editor both changed, to
// different values, listed one a line: true when the user chose Save (the
// editor's values win); Cancel (the default, also Escape) is false.
bool askToOverwriteConflicts(QWidget* parent, const QStringList& conflicts);

// The folder dialog for choosing the game's folder, opened in `startIn`; the
// empty string when the user cancelled.
QString askForGameFolder(QWidget* parent, const QString& startIn);

// For tests: receive what would have been shown, answer what would have been
// asked. An empty function restores the real boxes.
void setErrorReporterForTesting(std::function<void(const QString& text)> reporter);
void setUnsavedQuestionForTesting(std::function<UnsavedChoice(const QString& question)> answer);
void setConfirmQuestionForTesting(std::function<ConfirmChoice(const QString& question)> answer);
void setFolderChooserForTesting(std::function<QString(const QString& startIn)> answer);
void setStoreQuestionForTesting(std::function<bool(const QString& text)> answer);
void setInformationReporterForTesting(std::function<void(const QString& text)> reporter);
// Receives the conflict lines joined by line breaks.
void setConflictQuestionForTesting(std::function<bool(const QString& conflicts)> answer);
