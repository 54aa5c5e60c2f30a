#include "disk_change_question.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

std::function<bool()>& replaceAnswer()
{
    static std::function<bool()> answer;
    return answer;
}

} // namespace

bool askToReplaceChangesOnDisk(QWidget* parent)
{
    if (replaceAnswer())
        return replaceAnswer()();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("rostradb"),
                    QStringLiteral("staff.dat has been changed by another program since it was loaded."),
                    QMessageBox::Save | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Save replaces those changes with the editor's values."));
    // Replacing someone else's work must be a deliberate choice.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

void setReplaceQuestionForTesting(std::function<bool()> answer) { replaceAnswer() = std::move(answer); }
