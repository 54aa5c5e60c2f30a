// From the user's side: open a sample game, find people, change a value on
// each tab, confirm, save, and compare the staff file byte by byte with what
// must come out: the old bytes with exactly the edited fields replaced by the
// values typed.

#include "app_test_support.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

struct Edit {
    const char* control;
    std::uint32_t value;     // what the user types
    std::uint64_t fileOffset; // where it must land in staff.dat
    int width;               // bytes
};

void patch(QByteArray& bytes, const Edit& edit)
{
    for (int i = 0; i < edit.width; ++i)
        bytes[qsizetype(edit.fileOffset) + i] = char((edit.value >> (8 * i)) & 0xFF);
}

std::uint32_t storedAt(const QByteArray& bytes, std::uint64_t offset, int width)
{
    std::uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= std::uint32_t(std::uint8_t(bytes[qsizetype(offset) + i])) << (8 * i);
    return v;
}

// A value different from what the file holds, that fits the field.
std::uint32_t changed(const QByteArray& bytes, std::uint64_t offset, int width)
{
    const std::uint32_t mask = width == 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1;
    return (storedAt(bytes, offset, width) + 17) & mask;
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void openAndSaveLeavesTheFileUnchanged();
    void editsReachExactlyTheirBytes();
};

void TestEndToEnd::openAndSaveLeavesTheFileUnchanged()
{
    for (std::uint64_t seed : {1, 2, 3}) {
        SampleInstallation game(rostradb::SampleSize::Small, seed);
        CapturedErrors errors;
        Tfrm_main window(game.options());
        const QByteArray before = game.staffFileBytes();
        window.Open1Click();
        window.Save1Click();
        QCOMPARE(errors.messages, QStringList());
        QCOMPARE(game.staffFileBytes(), before);
    }
}

void TestEndToEnd::editsReachExactlyTheirBytes()
{
    SampleInstallation game(rostradb::SampleSize::Small, 11);
    CapturedErrors errors;
    Tfrm_main window(game.options());
    window.show();
    window.Open1Click();
    const auto& db = window.database();
    const QByteArray original = game.staffFileBytes();
    QByteArray expected = original;

    const std::uint64_t nonPlayerTable = db.directory.at(rostradb::entry::kNonPlayers).offset();
    const std::uint64_t playerTable = db.directory.at(rostradb::entry::kPlayers).offset();
    const auto staffAt = [](std::size_t person, std::uint64_t field) { return person * 157 + field; };
    const auto playerAt = [&](std::size_t person, std::uint64_t field) {
        return playerTable + std::uint64_t(db.staff[person].playerId) * 70 + field;
    };
    const auto nonPlayerAt = [&](std::size_t person, std::uint64_t field) {
        return nonPlayerTable + std::uint64_t(db.staff[person].nonPlayerId) * 68 + field;
    };
    const auto edit = [&](const char* control, std::uint64_t offset, int width) {
        return Edit{control, changed(original, offset, width), offset, width};
    };

    const std::size_t player = personOfClass(db, 2);
    const std::size_t nonPlayer = personOfClass(db, 1);
    const std::size_t both = personOfClass(db, 3);
    const std::vector<std::pair<std::size_t, std::vector<Edit>>> people{
        {player,
         {edit("ed_wages", staffAt(player, 78), 4),         // General
          edit("ed_gk", playerAt(player, 15), 1),            // General, position rating
          edit("ed_pace", playerAt(player, 27 + 27), 1),     // Attrbutes
          edit("ed_adap", staffAt(player, 86), 1),           // Other Attributes
          edit("ed_cabl", playerAt(player, 5), 2)}},         // Other Attributes, from the player record
        {nonPlayer,
         {edit("ed_value", staffAt(nonPlayer, 82), 4),
          edit("ed_yearb", staffAt(nonPlayer, 18), 2),
          edit("ed_coac", nonPlayerAt(nonPlayer, 16), 1),    // Attributes
          edit("ed_pabl", nonPlayerAt(nonPlayer, 6), 2),
          edit("ed_dete", staffAt(nonPlayer, 88), 1)}},
        {both,
         {edit("ed_caps", staffAt(both, 34), 1),
          edit("ed_squad", playerAt(both, 4), 1),
          edit("ed_visio", playerAt(both, 27 + 40), 1),
          edit("ed_youn", nonPlayerAt(both, 34), 1),
          edit("ed_wrep", nonPlayerAt(both, 12), 2)}},      // shared box: the non-player record
    };

    for (const auto& [person, edits] : people) {
        QVERIFY(searchAndSelect(window, displayName(db, person), person));
        for (const Edit& e : edits) {
            child<QLineEdit>(&window, e.control)->setText(QString::number(e.value));
            patch(expected, e);
        }
        // A stored position outside its table, shown as "none" and left
        // alone, stays as it was: nothing to patch.
        window.Button1Click();
    }

    // A name box: choose the first second name for the player.
    QVERIFY(searchAndSelect(window, displayName(db, player), player));
    child<QComboBox>(&window, "cbx_sname")->setCurrentIndex(0);
    window.Button1Click();
    patch(expected, Edit{"cbx_sname", 0, staffAt(player, 8), 4});

    window.Save1Click();
    QCOMPARE(errors.messages, QStringList());
    const QByteArray saved = game.staffFileBytes();
    QCOMPARE(saved.size(), original.size());
    for (qsizetype i = 0; i < saved.size(); ++i)
        if (saved[i] != expected[i])
            QFAIL(qPrintable(QStringLiteral("byte %1 differs: %2, expected %3")
                                 .arg(i)
                                 .arg(std::uint8_t(saved[i]))
                                 .arg(std::uint8_t(expected[i]))));
    QVERIFY(saved != original);
}

QTEST_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
