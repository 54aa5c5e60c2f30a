#include "people/rostradb_bulk.h"

#include "common/cp1252.h"
#include "common/message_boxes.h"

#include "db/errors.h"
#include "editor/people_columns.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfrm_bulk::Tfrm_bulk(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_bulk"));
    setWindowTitle(QStringLiteral("Change"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    heading_ = new QLabel(this);
    column_ = new QComboBox(this);
    column_->setObjectName(QStringLiteral("cbx_bulk_column"));
    column_->setMaxVisibleItems(20);
    for (const rostradb::PeopleColumn& c : rostradb::peopleColumns())
        if (c.writable && c.isNumber())
            column_->addItem(QString::fromStdString(c.name), static_cast<int>(rostradb::columnIndex(c)));
    how_ = new QComboBox(this);
    how_->setObjectName(QStringLiteral("cbx_bulk_how"));
    how_->addItems({QStringLiteral("Set to"), QStringLiteral("Add")});
    value_ = new QLineEdit(this);
    value_->setObjectName(QStringLiteral("ed_bulk_value"));
    value_->setToolTip(QStringLiteral("A whole number; with Add, a negative number subtracts"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btn_bulk_ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btn_bulk_cancel"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Column:"), column_);
    fields->addRow(QStringLiteral("How:"), how_);
    fields->addRow(QStringLiteral("Value:"), value_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    // The range of the chosen column, where the user looks while typing.
    const auto showRange = [this] {
        const int at = column_->currentData().toInt();
        column_->setToolTip(QString::fromStdString(rostradb::rangeText(rostradb::peopleColumns().at(at))));
    };
    connect(column_, &QComboBox::currentIndexChanged, this, showRange);
    showRange();
    connect(ok, &QPushButton::clicked, this, &Tfrm_bulk::okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::int64_t typedWholeNumber(const QString& typed)
{
    const QString text = typed.trimmed();
    // Only ASCII digits make a number, so text the game's code page cannot
    // hold is no number either; the message quotes what was typed.
    const auto number = rostradb::parseDecimal(toGameText(text).value_or(std::string("?")));
    if (!number)
        throw rostradb::DbError(QStringLiteral("\"%1\" is not a whole number").arg(text).toStdString());
    if (rostradb::isBeyondEveryField(*number))
        throw rostradb::DbError(QStringLiteral("\"%1\" is too large for any field").arg(text).toStdString());
    return *number;
}

void Tfrm_bulk::setPeopleCount(std::size_t people)
{
    heading_->setText(people == 1 ? QStringLiteral("Change 1 selected person")
                                  : QStringLiteral("Change %1 selected people").arg(people));
}

void Tfrm_bulk::offerColumn(std::size_t catalogueIndex)
{
    if (const int item = column_->findData(static_cast<int>(catalogueIndex)); item >= 0)
        column_->setCurrentIndex(item);
}

void Tfrm_bulk::okClick()
{
    try {
        change_.value = typedWholeNumber(value_->text());
    } catch (const std::exception& error) {
        reportError(this, error);
        value_->setFocus();
        value_->selectAll();
        return;
    }
    change_.column = &rostradb::peopleColumns().at(column_->currentData().toInt());
    change_.how = how_->currentIndex() == 1 ? rostradb::BulkHow::Add : rostradb::BulkHow::SetTo;
    accept();
}
