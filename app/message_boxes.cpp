#include "message_boxes.h"

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

std::function<bool(const QString&)>& conflictAnswer()
{
    static std::function<bool(const QString&)> answer;
    return answer;
}

std::function<void(const QString&)>& informationReporter()
{
    static std::function<void(const QString&)> reporter;
    return reporter;
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

void informUser(QWidget* parent, const QString& text)
{
    if (informationReporter()) {
        informationReporter()(text);
        return;
    }
    QMessageBox::information(parent, kProgramName, text);
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

bool askToOverwriteConflicts(QWidget* parent, const QStringList& conflicts)
{
    const QString list = conflicts.join(QLatin1Char('\n'));
    if (conflictAnswer())
        return conflictAnswer()(list);
    QMessageBox box(QMessageBox::Warning, kProgramName,
                    QStringLiteral("Another program has changed values in staff.dat since it was loaded that "
                                   "the editor has changed too:\n\n") +
                        list,
                    QMessageBox::Save | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Save writes the editor's values over them; Cancel writes nothing."));
    // Replacing someone else's work must be a deliberate choice.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
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

void setInformationReporterForTesting(std::function<void(const QString&)> reporter)
{
    informationReporter() = std::move(reporter);
}

void setConflictQuestionForTesting(std::function<bool(const QString&)> answer) { conflictAnswer() = std::move(answer); }
