#pragma once
// The modal dialog `frm_bulk`: one change for many people. The column
// (`cbx_bulk_column`, the writable number columns), how ("Set to" or "Add"
// in `cbx_bulk_how`) and a whole number (`ed_bulk_value`; a negative Add
// subtracts). OK refuses a value that is not a whole number and stays open.

#include "editor/bulk_change.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;

// The whole number typed into a cell or the dialog, spaces around it
// ignored; DbError "\"TEXT\" is not a whole number" otherwise.
std::int64_t typedWholeNumber(const QString& text);

class Tfrm_bulk : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_bulk(QWidget* parent = nullptr);

    // Says how many people the change is for.
    void setPeopleCount(std::size_t people);
    // Starts on the column of the table's current cell when it is one the
    // dialog offers; otherwise the choice stays as it was.
    void offerColumn(std::size_t catalogueIndex);
    // The change chosen; valid after the dialog was accepted.
    const rostradb::BulkChange& change() const { return change_; }

private:
    void okClick();

    QLabel* heading_ = nullptr;
    QComboBox* column_ = nullptr;
    QComboBox* how_ = nullptr;
    QLineEdit* value_ = nullptr;
    rostradb::BulkChange change_;
};
