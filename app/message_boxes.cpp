#include "message_boxes.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

std::function<void(const QString&)>& errorReporter()
{
    static std::function<void(const QString&)> reporter;
    return reporter;
}

std::function<UnsavedChoice(const QString&)>& unsavedAnswer()
{
    static std::function<UnsavedChoice(const QString&)> answer;
    return answer;
}

std::function<ConfirmChoice(const QString&)>& confirmAnswer()
{
    static std::function<ConfirmChoice(const QString&)> answer;
    return answer;
}

std::function<bool()>& replaceAnswer()
{
    static std::function<bool()> answer;
    return answer;
}

std::function<QString(const QString&)>& folderAnswer()
{
    static std::function<QString(const QString&)> answer;
    return answer;
}

const QString kProgramName = QStringLiteral("rostradb");

} // namespace

QString errorBoxText(const QString& message)
{
    return message.endsWith(QLatin1Char('.')) ? message : message + QLatin1Char('.');
}

void reportError(QWidget* parent, const QString& message)
{
    const QString text = errorBoxText(message);
    if (errorReporter()) {
        errorReporter()(text);
        return;
    }
    QMessageBox::critical(parent, kProgramName, text);
}

void reportError(QWidget* parent, const std::exception& error)
{
    reportError(parent, QString::fromUtf8(error.what()));
}

UnsavedChoice askAboutUnsavedEdits(QWidget* parent, const QString& question)
{
    if (unsavedAnswer())
        return unsavedAnswer()(question);
    const auto button = QMessageBox::question(parent, kProgramName, question,
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    switch (button) {
    case QMessageBox::Save:
        return UnsavedChoice::Save;
    case QMessageBox::Discard:
        return UnsavedChoice::Discard;
    default:
        return UnsavedChoice::Cancel;
    }
}

QString confirmEditsQuestion(const QString& name, ConfirmBefore next)
{
    switch (next) {
    case ConfirmBefore::Saving:
        return QStringLiteral("Confirm the changes to %1 before saving?").arg(name);
    case ConfirmBefore::Closing:
        return QStringLiteral("Confirm the changes to %1 before closing?").arg(name);
    case ConfirmBefore::LoadingAgain:
        return QStringLiteral("Confirm the changes to %1 before loading again?").arg(name);
    case ConfirmBefore::ChangingGame:
        return QStringLiteral("Confirm the changes to %1 before changing the game folder?").arg(name);
    }
    return {};
}

ConfirmChoice askToConfirmEdits(QWidget* parent, const QString& question)
{
    if (confirmAnswer())
        return confirmAnswer()(question);
    const auto button = QMessageBox::question(parent, kProgramName, question,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    switch (button) {
    case QMessageBox::Yes:
        return ConfirmChoice::Confirm;
    case QMessageBox::No:
        return ConfirmChoice::Skip;
    default:
        return ConfirmChoice::Cancel; // also Escape and the window's close button
    }
}

bool askToReplaceChangesOnDisk(QWidget* parent)
{
    if (replaceAnswer())
        return replaceAnswer()();
    QMessageBox box(QMessageBox::Warning, kProgramName,
                    QStringLiteral("staff.dat has been changed by another program since it was loaded."),
                    QMessageBox::Save | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Save replaces those changes with the editor's values."));
    // Replacing someone else's work must be a deliberate choice.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

QString askForGameFolder(QWidget* parent, const QString& startIn)
{
    if (folderAnswer())
        return folderAnswer()(startIn);
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Choose the game folder"), startIn);
}

void setErrorReporterForTesting(std::function<void(const QString&)> reporter)
{
    errorReporter() = std::move(reporter);
}

void setUnsavedQuestionForTesting(std::function<UnsavedChoice(const QString&)> answer)
{
    unsavedAnswer() = std::move(answer);
}

void setConfirmQuestionForTesting(std::function<ConfirmChoice(const QString&)> answer)
{
    confirmAnswer() = std::move(answer);
}

void setReplaceQuestionForTesting(std::function<bool()> answer) { replaceAnswer() = std::move(answer); }

void setFolderChooserForTesting(std::function<QString(const QString&)> answer)
{
    folderAnswer() = std::move(answer);
}
