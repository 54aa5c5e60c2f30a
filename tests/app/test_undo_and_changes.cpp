// Undo, Redo, the status line and the list of changes through the real main
// window, on sample games.

#include "app_test_support.h"
#include "changes/changes_model.h"
#include "changes/rostradb_changes.h"
#include "form/staff_form.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>

namespace {

QString statusText(Tfrm_main& window) { return child<QLabel>(&window, "lbl_status")->text(); }
QPushButton* button(QObject* window, const char* name) { return child<QPushButton>(window, name); }
QLineEdit* edit(Tfrm_main& window, const char* name) { return child<QLineEdit>(&window, name); }

// Shows the person and adds `by` to the number in the box, then confirms.
void confirmChanged(Tfrm_main& window, std::size_t person, const std::vector<const char*>& boxes, int by = 1)
{
    QVERIFY(searchAndSelect(window, displayName(window.database(), person), person));
    for (const char* box : boxes) {
        QLineEdit* line = edit(window, box);
        line->setText(QString::number((line->text().toInt() + by) % 256));
    }
    window.Button1Click();
}

} // namespace

class TestUndoAndChanges : public QObject {
    Q_OBJECT
private slots:
    void statusAndButtonsFollowTheHistory();
    void shortcutsUndoAndRedo();
    void undoRefreshesTheFormOnlyWhenItShowsTheRecord();
    void listFollowsChangesAndRevertsTheSelectedRows();
    void listKeepsSelectionAndScrollWhenRowsChange();
    void undoRedoAndRevertAskAboutTheTyping();
    void twoPeopleEditedOneUndoneSavesOnlyTheOther();
    void undoAfterSaveThenSaveGivesTheOriginalFile();
};

void TestUndoAndChanges::statusAndButtonsFollowTheHistory()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    QCOMPARE(statusText(window), QStringLiteral("No database loaded"));
    QVERIFY(!button(&window, "btn_undo")->isEnabled());
    QVERIFY(!button(&window, "btn_redo")->isEnabled());
    QCOMPARE(button(&window, "btn_changes")->text(), QStringLiteral("Changes..."));

    window.Open1Click();
    QCOMPARE(statusText(window), QStringLiteral("No unsaved changes"));
    const auto& db = window.database();
    const std::size_t player = personOfClass(db, 2, true);
    confirmChanged(window, player, {"ed_pace"});
    QCOMPARE(statusText(window), QStringLiteral("1 value changed since the last save"));
    QVERIFY(button(&window, "btn_undo")->isEnabled());
    QVERIFY(!button(&window, "btn_redo")->isEnabled());
    QCOMPARE(button(&window, "btn_undo")->toolTip(),
             QStringLiteral("Undo Confirm Changes of ") + displayName(db, player));

    edit(window, "ed_gk")->setText(edit(window, "ed_gk")->text() + QStringLiteral("1"));
    QCOMPARE(statusText(window), QStringLiteral("1 value changed since the last save - typed changes not confirmed"));
    confirmChanged(window, player, {"ed_gk", "ed_adap"});
    QCOMPARE(statusText(window), QStringLiteral("3 values changed since the last save"));

    button(&window, "btn_undo")->click();
    QCOMPARE(statusText(window), QStringLiteral("1 value changed since the last save"));
    QVERIFY(button(&window, "btn_redo")->isEnabled());
    QCOMPARE(button(&window, "btn_redo")->toolTip(),
             QStringLiteral("Redo Confirm Changes of ") + displayName(db, player));
    button(&window, "btn_undo")->click();
    QCOMPARE(statusText(window), QStringLiteral("No unsaved changes"));
    QVERIFY(!button(&window, "btn_undo")->isEnabled());
    QCOMPARE(button(&window, "btn_undo")->toolTip(), QString());
    // Every value as in the file again: closing asks nothing.
    {
        AnsweredQuestions asked;
        window.show();
        QVERIFY(window.close());
        QCOMPARE(asked.questions, QStringList());
    }

    button(&window, "btn_redo")->click();
    QCOMPARE(statusText(window), QStringLiteral("1 value changed since the last save"));

    // A save keeps the history; a load clears it.
    window.Save1Click();
    QCOMPARE(statusText(window), QStringLiteral("No unsaved changes"));
    QVERIFY(button(&window, "btn_undo")->isEnabled());
    window.Open1Click();
    QVERIFY(!button(&window, "btn_undo")->isEnabled());
    QVERIFY(!button(&window, "btn_redo")->isEnabled());
    QCOMPARE(errors.messages, QStringList());
}

void TestUndoAndChanges::shortcutsUndoAndRedo()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.Open1Click();
    confirmChanged(window, personOfClass(window.database(), 1, true), {"ed_coac"});
    button(&window, "Button1")->setFocus(); // not an edit box, which keeps Ctrl+Z for its typing

    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!window.hasUnsavedEdits());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(window.hasUnsavedEdits());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(window.hasUnsavedEdits());
}

void TestUndoAndChanges::undoRefreshesTheFormOnlyWhenItShowsTheRecord()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t both = personOfClass(db, 3);
    QVERIFY(searchAndSelect(window, displayName(db, both), both));
    const QString pace = edit(window, "ed_pace")->text();
    const QString tact = edit(window, "ed_tact")->text();
    confirmChanged(window, both, {"ed_pace", "ed_tact"}, 7);

    window.undoClick();
    QCOMPARE(edit(window, "ed_pace")->text(), pace);
    QCOMPARE(edit(window, "ed_tact")->text(), tact);
    window.redoClick();
    QCOMPARE(edit(window, "ed_pace")->text(), QString::number((pace.toInt() + 7) % 256));

    // Someone else on screen, with a value typed but not confirmed: undoing
    // the first person's step leaves the form alone.
    const std::size_t other = personOfClass(db, 2, true);
    QVERIFY(searchAndSelect(window, displayName(db, other), other));
    edit(window, "ed_pace")->setText(QStringLiteral("42"));
    window.undoClick();
    QCOMPARE(edit(window, "ed_pace")->text(), QStringLiteral("42"));
    QCOMPARE(errors.messages, QStringList());
}

void TestUndoAndChanges::listFollowsChangesAndRevertsTheSelectedRows()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t player = personOfClass(db, 2, true);
    confirmChanged(window, player, {"ed_pace", "ed_adap"});

    button(&window, "btn_changes")->click();
    Tfrm_changes* changes = window.changesWindow();
    QVERIFY(changes);
    QVERIFY(changes->isVisible());
    QVERIFY(!changes->isModal());
    QCOMPARE(changes->objectName(), QStringLiteral("frm_changes"));
    QCOMPARE(changes->windowTitle(), QStringLiteral("Changes since the last save"));
    auto* list = child<QTableView>(changes, "lst_changes");
    const QAbstractItemModel* model = list->model();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{"Record", "Person", "Field", "In the file", "Now"}));

    // Staff before player records.
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("staff %1").arg(player));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("player %1").arg(db.staff[player].playerId));
    QCOMPARE(model->index(1, 1).data().toString(), displayName(db, player));
    QCOMPARE(model->index(1, 4).data().toString(), QString::number(db.players[size_t(db.staff[player].playerId)].pace));

    // It follows a Confirm made while it is open.
    const std::size_t nonPlayer = personOfClass(db, 1, true);
    confirmChanged(window, nonPlayer, {"ed_coac"});
    QCOMPARE(model->rowCount(), 3);

    // Revert the staff row: the adaptability goes back, the pace stays.
    // Typing into the form meanwhile leaves the selection alone.
    const std::uint8_t pace = db.players[size_t(db.staff[player].playerId)].pace;
    list->selectRow(0);
    const QString coaching = edit(window, "ed_coac")->text();
    edit(window, "ed_coac")->setText(coaching + QStringLiteral("3"));
    edit(window, "ed_coac")->setText(coaching); // typed back: no mark left
    QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
    auto* revert = button(changes, "btn_revert");
    QVERIFY(revert->isEnabled());
    revert->click();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(db.staff[player].adaptability, db.snapshot.staff.record(player)[86]);
    QCOMPARE(db.players[size_t(db.staff[player].playerId)].pace, pace);
    QCOMPARE(statusText(window), QStringLiteral("2 values changed since the last save"));
    QCOMPARE(button(&window, "btn_undo")->toolTip(), QStringLiteral("Undo Revert 1 value"));

    window.undoClick(); // the revert is one step
    QCOMPARE(model->rowCount(), 3);

    // Double-clicking the non-player row shows its person, not the one shown.
    QCOMPARE(model->index(1, 0).data().toString(),
             QStringLiteral("non-player %1").arg(db.staff[nonPlayer].nonPlayerId));
    emit list->doubleClicked(model->index(1, 2));
    QCOMPARE(child<QSpinBox>(&window, "id")->value(), int(nonPlayer));
    QCOMPARE(edit(window, "ed_coac")->text(), model->index(1, 4).data().toString());
    QCOMPARE(errors.messages, QStringList());
}

void TestUndoAndChanges::listKeepsSelectionAndScrollWhenRowsChange()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t player = personOfClass(db, 2, true);
    confirmChanged(window, player,
                   {"ed_accel", "ed_aggre", "ed_agili", "ed_antic", "ed_balan", "ed_brave", "ed_consi", "ed_corne",
                    "ed_cross", "ed_decis", "ed_dirti", "ed_dribb", "ed_finis", "ed_flair", "ed_freek", "ed_handl"});
    button(&window, "btn_changes")->click();
    Tfrm_changes* changes = window.changesWindow();
    changes->resize(500, 160);
    auto* list = changes->list();
    QScrollBar* scroll = list->verticalScrollBar();
    QVERIFY(scroll->maximum() > 2);
    list->selectRow(12);
    const rostradb::ValueKey selected = *changes->model()->keyAt(12);
    scroll->setValue(scroll->maximum() - 1);
    const int scrolled = scroll->value();

    // Rows come (another person's staff values, before the player rows),
    // change and go (an undo of that step).
    confirmChanged(window, personOfClass(db, 1, true), {"ed_adap", "ed_ambi"});
    confirmChanged(window, player, {"ed_accel"});
    window.undoClick();
    window.undoClick();
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QVERIFY(changes->model()->keyAt(rows.front().row()) == selected);
    QCOMPARE(scroll->value(), scrolled);
    QVERIFY(button(changes, "btn_revert")->isEnabled());
    QCOMPARE(errors.messages, QStringList());
}

// Typing stands in the form when the user undoes, redoes or reverts a step
// that changes the person on screen.
void TestUndoAndChanges::undoRedoAndRevertAskAboutTheTyping()
{
    SampleInstallation game(rostradb::SampleSize::Small);
    CapturedErrors errors;
    ConfirmAnswers confirm;
    Tfrm_main window(game.options());
    window.Open1Click();
    const auto& db = window.database();
    const std::size_t player = personOfClass(db, 2, true);
    const QString name = displayName(db, player);
    const auto record = [&]() -> const rostradb::PlayerRecord& { return db.players[size_t(db.staff[player].playerId)]; };
    const std::uint8_t pace = record().pace;
    const std::uint8_t keeper = record().goalkeeper;
    const auto question = [&](const char* what) {
        return QStringLiteral("Confirm the changes to %1 before %2?").arg(name, QLatin1String(what));
    };
    confirmChanged(window, player, {"ed_pace"});
    const QString typed = QString::number((keeper + 1) % 256);
    edit(window, "ed_gk")->setText(typed);

    window.undoClick(); // Cancel: nothing happens
    QCOMPARE(confirm.questions, QStringList{question("undoing")});
    QCOMPARE(record().pace, std::uint8_t(pace + 1));
    QCOMPARE(edit(window, "ed_gk")->text(), typed);

    // Yes: the step is undone and the typing confirmed over it.
    confirm.answer = ConfirmChoice::Confirm;
    window.undoClick();
    QCOMPARE(record().pace, pace);
    QCOMPARE(record().goalkeeper, std::uint8_t(keeper + 1));
    QCOMPARE(edit(window, "ed_pace")->text(), QString::number(pace));
    QCOMPARE(edit(window, "ed_gk")->text(), typed);
    QVERIFY(!window.findChild<StaffForm*>()->hasUnconfirmedEdits());

    // No: the typing goes, the undo (of the keeper) goes on.
    edit(window, "ed_sw")->setText(QStringLiteral("1") + edit(window, "ed_sw")->text());
    confirm.answer = ConfirmChoice::Skip;
    window.undoClick();
    QCOMPARE(confirm.questions, (QStringList{question("undoing"), question("undoing"), question("undoing")}));
    QCOMPARE(record().goalkeeper, keeper);
    QCOMPARE(edit(window, "ed_sw")->text(), QString::number(record().sweeper));

    edit(window, "ed_sw")->setText(QStringLiteral("1") + edit(window, "ed_sw")->text());
    confirm.answer = ConfirmChoice::Cancel;
    window.redoClick();
    QCOMPARE(confirm.questions.last(), question("redoing"));
    QCOMPARE(record().goalkeeper, keeper);

    confirm.answer = ConfirmChoice::Skip;
    window.redoClick();
    button(&window, "btn_changes")->click();
    window.changesWindow()->list()->selectRow(0);
    edit(window, "ed_sw")->setText(QStringLiteral("1") + edit(window, "ed_sw")->text());
    confirm.answer = ConfirmChoice::Cancel;
    button(window.changesWindow(), "btn_revert")->click();
    QCOMPARE(confirm.questions.last(), question("reverting"));
    QCOMPARE(record().goalkeeper, std::uint8_t(keeper + 1));
    QCOMPARE(errors.messages, QStringList());
}

void TestUndoAndChanges::twoPeopleEditedOneUndoneSavesOnlyTheOther()
{
    SampleInstallation game(rostradb::SampleSize::Small, 5);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.show();
    window.Open1Click();
    const auto& db = window.database();
    QByteArray expected = game.staffFileBytes();

    const std::size_t kept = personOfClass(db, 3);
    const std::size_t undone = personOfClass(db, 2);
    confirmChanged(window, kept, {"ed_visio", "ed_youn", "ed_caps"}, 9);
    const std::size_t keptValues = window.history().changedValues();
    confirmChanged(window, undone, {"ed_pace", "ed_adap", "ed_gk"}, 5);
    QVERIFY(window.history().changedValues() >= keptValues + 3);
    // Undo the second person's step; the first person's edits stay.
    window.undoClick();

    const std::uint64_t players = db.directory.at(rostradb::entry::kPlayers).offset();
    const std::uint64_t nonPlayers = db.directory.at(rostradb::entry::kNonPlayers).offset();
    const auto bump = [&](std::uint64_t at) {
        expected[qsizetype(at)] = char((std::uint8_t(expected[qsizetype(at)]) + 9) % 256);
    };
    bump(players + std::uint64_t(db.staff[kept].playerId) * 70 + 67);       // vision
    bump(nonPlayers + std::uint64_t(db.staff[kept].nonPlayerId) * 68 + 34); // youn
    bump(kept * 157 + 34);                                                  // caps
    QCOMPARE(window.history().changedValues(), keptValues);

    window.Save1Click();
    QCOMPARE(errors.messages, QStringList());
    const QByteArray saved = game.staffFileBytes();
    QCOMPARE(saved.size(), expected.size());
    for (qsizetype i = 0; i < saved.size(); ++i)
        if (saved[i] != expected[i])
            QFAIL(qPrintable(QStringLiteral("byte %1 differs").arg(i)));
}

void TestUndoAndChanges::undoAfterSaveThenSaveGivesTheOriginalFile()
{
    SampleInstallation game(rostradb::SampleSize::Small, 6);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.Open1Click();
    const QByteArray original = game.staffFileBytes();
    confirmChanged(window, personOfClass(window.database(), 3), {"ed_wrep", "ed_accel", "ed_temp"}, 3);
    const std::size_t changed = window.history().changedValues();
    QVERIFY(changed >= 3);
    window.Save1Click();
    QVERIFY(game.staffFileBytes() != original);
    QCOMPARE(statusText(window), QStringLiteral("No unsaved changes"));

    window.undoClick();
    QCOMPARE(statusText(window), QStringLiteral("%1 values changed since the last save").arg(changed));
    window.Save1Click();
    QCOMPARE(game.staffFileBytes(), original);
    QCOMPARE(errors.messages, QStringList());
}

QTEST_MAIN(TestUndoAndChanges)
#include "test_undo_and_changes.moc"
