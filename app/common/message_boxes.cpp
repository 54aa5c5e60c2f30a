#include "common/message_boxes.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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

std::function<bool(const QString&)>& storeAnswer()
{
    static std::function<bool(const QString&)> answer;
    return answer;
}

std::function<bool(const QString&)>& conflictAnswer()
{
    static std::function<bool(const QString&)> answer;
    return answer;
}

std::function<QString(const QString&)>& folderAnswer()
{
    static std::function<QString(const QString&)> answer;
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

QString confirmBeforeWhat(ConfirmBefore next)
{
    switch (next) {
    case ConfirmBefore::Saving:
        return QStringLiteral("saving");
    case ConfirmBefore::Closing:
        return QStringLiteral("closing");
    case ConfirmBefore::LoadingAgain:
        return QStringLiteral("loading again");
    case ConfirmBefore::ChangingGame:
        return QStringLiteral("changing the game folder");
    case ConfirmBefore::Undoing:
        return QStringLiteral("undoing");
    case ConfirmBefore::Redoing:
        return QStringLiteral("redoing");
    case ConfirmBefore::Reverting:
        return QStringLiteral("reverting");
    case ConfirmBefore::ChangingTable:
        return QStringLiteral("changing the people table");
    }
    return {};
}

QString showingWhat(const QString& other) { return QStringLiteral("showing %1").arg(other); }

QString confirmEditsQuestion(const QString& name, const QString& what)
{
    return QStringLiteral("Confirm the changes to %1 before %2?").arg(name, what);
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

bool askToStoreNotAsTyped(QWidget* parent, const QStringList& lines)
{
    const QString text = QStringLiteral("Some values will not be stored as typed:\n") + lines.join(QLatin1Char('\n'));
    if (storeAnswer())
        return storeAnswer()(text);
    QMessageBox box(QMessageBox::Warning, kProgramName, text, QMessageBox::Cancel, parent);
    QPushButton* store = box.addButton(QStringLiteral("Store"), QMessageBox::AcceptRole);
    // Storing a number the user did not type must be a deliberate choice.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == store;
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

void setFolderChooserForTesting(std::function<QString(const QString&)> answer)
{
    folderAnswer() = std::move(answer);
}

void setStoreQuestionForTesting(std::function<bool(const QString&)> answer) { storeAnswer() = std::move(answer); }
void setInformationReporterForTesting(std::function<void(const QString&)> reporter)
{
    informationReporter() = std::move(reporter);
}

void setConflictQuestionForTesting(std::function<bool(const QString&)> answer) { conflictAnswer() = std::move(answer); }
