// Takes the game in the folder given through File > Choose Game Folder...,
// finds the first player by name, changes his wages on the form, confirms and
// saves: the same edit whichever build runs it, so that two builds' staff.dat
// can be compared byte for byte. The zip's test runs the Windows build from
// the unzipped folder, with only the zip's DLLs, under Wine.
//
//   edit_and_save GAME_FOLDER
// Ends with 0 once saved; else says what went wrong and ends with 1.

#include "app_test_support.h"
#include "private_settings.h"

#include <QApplication>

#include <cstdio>

namespace {

int fail(const QString& what)
{
    std::fprintf(stderr, "edit_and_save: %s\n", qPrintable(what));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    usePrivateSettings(); // the folder taken is remembered
    QApplication app(argc, argv);
    if (app.arguments().size() != 2)
        return fail(QStringLiteral("usage: edit_and_save GAME_FOLDER"));
    const QString folder = app.arguments().at(1);

    CapturedErrors errors;
    Tfrm_main window;
    window.show();
    setFolderChooserForTesting([&](const QString&) { return folder; });
    child<QAction>(&window, "ChooseGame1")->trigger();
    setFolderChooserForTesting({});
    if (window.gameDirectory() != folder || window.database().staff.empty())
        return fail(QStringLiteral("the game in %1 was not loaded: %2").arg(folder, errors.messages.join('\n')));

    const auto& db = window.database();
    const std::size_t player = personOfClass(db, 2);
    if (!searchAndSelect(window, displayName(db, player), player))
        return fail(QStringLiteral("the search did not list %1").arg(displayName(db, player)));
    auto* wages = child<QLineEdit>(&window, "ed_wages");
    wages->setText(QString::number(wages->text().toLongLong() + 1234));
    window.Button1Click(); // Confirm Changes
    window.Save1Click();
    if (!errors.messages.isEmpty() || window.hasUnsavedEdits())
        return fail(QStringLiteral("not saved: %1").arg(errors.messages.join('\n')));
    return 0;
}
