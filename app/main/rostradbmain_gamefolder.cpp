// Choosing the game's folder: File > Choose Game Folder..., the folders taken
// before under File > Recent Game Folders, and the button the "Main frame"
// tab offers while no folder holding the game is known.

#include "main/rostradbmain.h"

#include "main/game_location.h"
#include "common/message_boxes.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

namespace {

// Where the label and the button sit on the "Main frame" tab.
constexpr int kDirectoryX = 140;
constexpr int kDirectoryY = 12;
constexpr int kDirectoryWidth = 480;
constexpr int kButtonWidth = 150;
constexpr int kGap = 8;

} // namespace

void Tfrm_main::ChooseGame1Click()
{
    if (busy_)
        return;
    const QString current = gameDirectory();
    const QString startIn = !current.isEmpty() && QDir(current).exists() ? current : QDir::homePath();
    const QString folder = askForGameFolder(this, startIn);
    if (!folder.isEmpty()) // empty: the dialog was cancelled
        takeGameFolder(folder);
}

void Tfrm_main::takeGameFolder(const QString& folder)
{
    if (busy_)
        return;
    if (!holdsGame(folder)) {
        reportError(this, notAGameFolderMessage(folder));
        return;
    }
    // The edits belong to the game loaded now, and Save writes them into the
    // folder shown: settle them while that is still this game's.
    if (!settleUnconfirmedEdits(ConfirmBefore::ChangingGame) ||
        !settleUnsavedEdits(tr("Save changes to the staff file before changing the game folder?")))
        return;
    const bool remembered = rememberGameFolder(folder);
    fillRecentGameMenu();
    fendradir_->setText(folder);
    updateGameFolderControls();
    // Load at once: tables of one game beside the folder of another would
    // let Save write them into the wrong files.
    loadGame(true);
    // Once: the user cannot mend it from here, and the game is loaded.
    if (!remembered && !settingsFailureTold_) {
        settingsFailureTold_ = true;
        showNotice(settingsNotWritableMessage());
    }
}

void Tfrm_main::takeRecentGameFolder(const QString& folder)
{
    if (busy_)
        return;
    if (holdsGame(folder)) {
        takeGameFolder(folder);
        return;
    }
    forgetGameFolder(folder);
    fillRecentGameMenu();
    reportError(this, gameFolderProblem(folder) + QStringLiteral(". It was taken off File > Recent Game Folders"));
}

void Tfrm_main::fillRecentGameMenu()
{
    recentGames_->clear();
    const QStringList folders = recentGameFolders();
    for (const QString& folder : folders) {
        QString text = QDir::toNativeSeparators(folder);
        QAction* action = recentGames_->addAction(text.replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, folder] { takeRecentGameFolder(folder); });
    }
    recentGames_->setEnabled(!folders.isEmpty());
}

void Tfrm_main::updateGameFolderControls()
{
    const bool known = holdsGame(gameDirectory());
    chooseGame_->setHidden(known);
    if (known) {
        fendradir_->setGeometry(kDirectoryX, kDirectoryY, kDirectoryWidth, 16);
        return;
    }
    // The button follows the directory that failed, or takes its place when
    // there is none.
    const int textWidth = std::min(fendradir_->fontMetrics().horizontalAdvance(fendradir_->text()),
                                   kDirectoryWidth - kButtonWidth - kGap);
    fendradir_->setGeometry(kDirectoryX, kDirectoryY, textWidth, 16);
    const int buttonX = kDirectoryX + (textWidth > 0 ? textWidth + kGap : 0);
    chooseGame_->setGeometry(buttonX, kDirectoryY - 5, kButtonWidth, 25);
}
