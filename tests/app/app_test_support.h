#pragma once
// Shared pieces of the window tests: a sample game in a temporary folder, a
// current folder holding the about text, and the error boxes captured
// instead of shown.

#include "common/cp1252.h"
#include "common/message_boxes.h"
#include "main/rostradbmain.h"
#include "form/staff_hits_model.h"
#include "tools/sample_game.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

// Errors reported while an instance lives; the real boxes come back after.
class CapturedErrors {
public:
    CapturedErrors()
    {
        setErrorReporterForTesting([this](const QString& text) { messages.append(text); });
    }
    ~CapturedErrors() { setErrorReporterForTesting({}); }
    QStringList messages;
};

// The questions about unsaved edits asked while an instance lives, each
// answered with `answer`.
class AnsweredQuestions {
public:
    AnsweredQuestions()
    {
        setUnsavedQuestionForTesting([this](const QString& question) {
            questions.append(question);
            return answer;
        });
    }
    ~AnsweredQuestions() { setUnsavedQuestionForTesting({}); }
    QStringList questions;
    UnsavedChoice answer = UnsavedChoice::Cancel;
};

// The questions about edits not confirmed asked while an instance lives, each
// answered with `answer`.
class ConfirmAnswers {
public:
    ConfirmAnswers()
    {
        setConfirmQuestionForTesting([this](const QString& question) {
            questions.append(question);
            return answer;
        });
    }
    ~ConfirmAnswers() { setConfirmQuestionForTesting({}); }
    QStringList questions;
    ConfirmChoice answer = ConfirmChoice::Cancel;
};

// The questions about values not stored as typed, answered Store (true) or
// Cancel.
class StoreAnswers {
public:
    StoreAnswers()
    {
        setStoreQuestionForTesting([this](const QString& text) {
            questions.append(text);
            return store;
        });
    }
    ~StoreAnswers() { setStoreQuestionForTesting({}); }
    QStringList questions;
    bool store = false;
};

// A game installation made by the sample generator, and a current folder
// that holds rostradb.txt, for the length of a test.
class SampleInstallation {
public:
    explicit SampleInstallation(rostradb::SampleSize size = rostradb::SampleSize::Tiny, std::uint64_t seed = 7)
        : previousFolder_(QDir::currentPath())
    {
        rostradb::writeSampleGame(gameDirectory().toStdString(), size, seed);
        QFile about(workFolder_.filePath(QStringLiteral("rostradb.txt")));
        if (about.open(QIODevice::WriteOnly))
            about.write("rostradb test\nsecond line\n");
        QDir::setCurrent(workFolder_.path());
    }
    ~SampleInstallation() { QDir::setCurrent(previousFolder_); }

    QString gameDirectory() const { return gameFolder_.filePath(QStringLiteral("fendra")); }
    QString dataFile(const QString& name) const { return gameDirectory() + QStringLiteral("/data/") + name; }
    QString workFolder() const { return workFolder_.path(); }

    QByteArray staffFileBytes() const
    {
        QFile file(dataFile(QStringLiteral("staff.dat")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    StartupOptions options() const { return StartupOptions{gameDirectory()}; }

private:
    QString previousFolder_;
    QTemporaryDir gameFolder_;
    QTemporaryDir workFolder_;
};

template <class Widget>
Widget* child(QObject* window, const char* name)
{
    auto* widget = window->findChild<Widget*>(QLatin1String(name));
    if (!widget)
        qFatal("no child named %s", name);
    return widget;
}

// Searches for `text` and selects the result row that stands for the staff
// record at `position`; false when the search does not list it.
inline bool searchAndSelect(Tfrm_main& window, const QString& text, std::size_t position)
{
    child<QLineEdit>(&window, "ed_staffsearch")->setText(text);
    window.Button2Click();
    auto* list = child<QListView>(&window, "lbx_staff");
    const auto* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (index.data(StaffHitsModel::kPositionRole).toULongLong() == position) {
            list->setCurrentIndex(index);
            return true;
        }
    }
    return false;
}

// The six name and nation positions a commit stores from the form's boxes.
struct NamePosition {
    std::uint64_t offset; // in the staff record
    std::uint32_t rostradb::StaffRecord::*field;
};
inline const NamePosition kNamePositions[] = {
    {4, &rostradb::StaffRecord::firstName},   {8, &rostradb::StaffRecord::secondName},
    {12, &rostradb::StaffRecord::commonName}, {26, &rostradb::StaffRecord::nation},
    {30, &rostradb::StaffRecord::secondNation}, {36, &rostradb::StaffRecord::nationContracted},
};

inline std::size_t namePositionTableSize(const rostradb::GameDatabase& db, std::uint64_t offset)
{
    switch (offset) {
    case 4: return db.firstNames.size();
    case 8: return db.secondNames.size();
    case 12: return db.commonNames.size();
    default: return db.nations.size();
    }
}

// Whether every name and nation position of the person lies inside its
// table; one that does not is shown as "none".
inline bool everyNamePositionInside(const rostradb::GameDatabase& db, const rostradb::StaffRecord& s)
{
    for (const auto& p : kNamePositions)
        if (s.*p.field >= namePositionTableSize(db, p.offset))
            return false;
    return true;
}

// The first person of classification `c` that the search can reach and whose
// attribute records exist; with `namesInside`, also one whose name and
// nation positions all lie inside their tables.
inline std::size_t personOfClass(const rostradb::GameDatabase& db, std::uint8_t c, bool namesInside = false)
{
    const auto inside = [](std::int32_t position, std::size_t size) {
        return static_cast<std::uint32_t>(position) < size;
    };
    for (std::size_t i = 0; i < db.staff.size(); ++i) {
        const auto& s = db.staff[i];
        const bool needsPlayer = c == 2 || c == 3;
        const bool needsNonPlayer = c == 1 || c == 3;
        const bool usable = s.classification == c && !s.displayName.empty() &&
                            s.staffId == static_cast<std::int32_t>(i) &&
                            (!needsPlayer || inside(s.playerId, db.players.size())) &&
                            (!needsNonPlayer || inside(s.nonPlayerId, db.nonPlayers.size())) &&
                            (!namesInside || everyNamePositionInside(db, s));
        if (usable)
            return i;
    }
    qFatal("the sample game has no usable person of classification %d", c);
}

inline QString displayName(const rostradb::GameDatabase& db, std::size_t position)
{
    return fromGameText(db.staff[position].displayName);
}

// Loads the game, selects the first player the search lists and confirms
// `raise` more in Wages: `person` is the player's position and `wages` what
// now stands stored. False when the search does not list the player.
inline bool confirmWagesRaise(Tfrm_main& window, std::uint32_t raise, std::size_t& person, std::uint32_t& wages)
{
    window.Open1Click();
    person = personOfClass(window.database(), 2);
    if (!searchAndSelect(window, displayName(window.database(), person), person))
        return false;
    wages = window.database().staff[person].wages + raise;
    child<QLineEdit>(&window, "ed_wages")->setText(QString::number(wages));
    window.Button1Click();
    return true;
}
