#pragma once
// The nation window: the nations listed by a search on the left (the "Search
// for a nation" layout: an edit, a list, a "Search" button and a status line),
// the chosen nation's pages on the right. Only the name is read from the
// game's files, so only ed_name can be edited, and Confirm renames the nation
// through the main window; every other control is shown disabled.

#include "db/lookup_names.h"

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class Tfrm_nation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPagesWidth = 465;
    static constexpr int kPagesHeight = 253;

    explicit Tfrm_nation(const rostradb::GameDatabase& db, QWidget* parent = nullptr);

    void databaseLoaded();  // the list for the search as it stands
    void databaseCleared(); // nothing listed, before a load empties the tables
    void valuesChanged();   // names may read otherwise now

    // The nation shown in ed_name; nullopt when none is chosen.
    std::optional<std::uint32_t> shownNation() const { return shown_; }

signals:
    void renameRequested(const rostradb::NameKey& key, const QString& text);

private:
    void search();      // "Search": the nations whose name holds the text
    void showChosen();  // a nation chosen in the list
    void confirmName(); // "Confirm"

    const rostradb::GameDatabase& db_;
    std::optional<std::uint32_t> shown_;
    QLineEdit* searchText_ = nullptr;
    QListWidget* found_ = nullptr;
    QLabel* status_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* confirm_ = nullptr;
};
