#include "nation/rostradb_nation.h"

#include "common/cp1252.h"

#include "editor/lookup_tables.h"
#include "editor/name_changes.h"

#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The pages are laid out on a fixed grid of cells, four to a row, each cell a
// caption with its control below, as on the game's own nation screens.
class PageGrid {
public:
    PageGrid(QWidget* page, int rowHeight) : page_(page), rowHeight_(rowHeight) {}

    template <class Control>
    Control* add(const char* name, const char* caption = nullptr)
    {
        const int x = kMargin + (cell_ % kColumns) * kCellWidth;
        int y = kMargin + (cell_ / kColumns) * rowHeight_;
        ++cell_;
        auto* control = new Control(page_);
        control->setObjectName(QLatin1String(name));
        if (caption) {
            auto* label = new QLabel(QLatin1String(caption), page_);
            label->setGeometry(x, y, kControlWidth, kCaptionHeight);
            label->setBuddy(control);
            y += kCaptionHeight;
        }
        control->setGeometry(x, y, kControlWidth, kControlHeight);
        return control;
    }

    QComboBox* addChoice(const char* name, const char* caption, const QStringList& items)
    {
        auto* box = add<QComboBox>(name, caption);
        box->addItem(QStringLiteral("-- NONE --"));
        box->addItems(items);
        return box;
    }

private:
    static constexpr int kColumns = 4;
    static constexpr int kCellWidth = 112;
    static constexpr int kControlWidth = 104;
    static constexpr int kControlHeight = 21;
    static constexpr int kCaptionHeight = 15;
    static constexpr int kMargin = 8;

    QWidget* page_;
    int rowHeight_;
    int cell_ = 0;
};

constexpr int kLabelledRow = 40;
constexpr int kPlainRow = 28;

void buildGeneralPage(QWidget* page)
{
    const QStringList languages = {QStringLiteral("Aldren"), QStringLiteral("Calvese"), QStringLiteral("Norrish"),
                                   QStringLiteral("Ostmarian"), QStringLiteral("Veltic")};
    PageGrid grid(page, kLabelledRow);
    grid.add<QLineEdit>("ed_name", "Name");
    grid.add<QLineEdit>("ed_shrt", "Short");
    grid.add<QLineEdit>("ed_afk", "Abriviation");
    grid.add<QLineEdit>("ed_natly", "Language");
    grid.add<QLineEdit>("ed_gameim", "Importents");
    grid.add<QLineEdit>("ed_repu", "Reputation");
    grid.add<QLineEdit>("ed_lgestd", "Standard");
    grid.add<QLineEdit>("ed_update", "unknown");
    grid.add<QComboBox>("cbx_capital", "Capital");
    grid.add<QComboBox>("cbx_stadium", "Stadium");
    grid.add<QComboBox>("cbx_continent", "Continent");
    grid.addChoice("cbx_langa", "First Language", languages);
    grid.addChoice("cbx_langb", "Second Language", languages);
    grid.addChoice("cbx_langc", "Third Language", languages);
    grid.addChoice("cbx_grpmeb", "Group", {QStringLiteral("Founding member"), QStringLiteral("Associate member")});
    grid.addChoice("cbx_region", "Region",
                   {QStringLiteral("North"), QStringLiteral("South"), QStringLiteral("East"), QStringLiteral("West")});
    grid.addChoice("cbx_actreg", "Actual",
                   {QStringLiteral("North"), QStringLiteral("South"), QStringLiteral("East"), QStringLiteral("West")});
    grid.addChoice("cbx_develp", "Status",
                   {QStringLiteral("Developing"), QStringLiteral("Established"), QStringLiteral("Leading")});
    grid.add<QPushButton>("btn_add")->setText(QStringLiteral("Add"));
}

void buildTeamPage(QWidget* page)
{
    PageGrid grid(page, kLabelledRow);
    grid.add<QComboBox>("cbx_hcol1", "Home colour1");
    grid.add<QComboBox>("cbx_hcol2", "Home colour2");
    grid.add<QComboBox>("cbx_hcol3", "Home colour3");
    grid.add<QLineEdit>("ed_staff", "Staff");
    grid.add<QComboBox>("cbx_acol1", "Away colour1");
    grid.add<QComboBox>("cbx_acol2", "Away colour2");
    grid.add<QComboBox>("cbx_acol3", "Away colour3");
    grid.add<QLineEdit>("ed_clubs", "Clubs");
    grid.add<QComboBox>("cbx_rival1", "first Rival");
    grid.add<QComboBox>("cbx_rival2", "second Rival");
    grid.add<QComboBox>("cbx_rival3", "third Rival");
}

void buildCoefficientPage(QWidget* page)
{
    PageGrid grid(page, kPlainRow);
    for (int i = 1; i <= 13; ++i)
        grid.add<QLineEdit>(QStringLiteral("ed_coef%1").arg(i).toLatin1().constData());
}

constexpr int kPickerWidth = 190;
constexpr int kGap = 8;
constexpr int kButtonRow = 36;
const char* const kNotRead = "Not read from the game's files";

// frm_srcnation, docked at the window's left.
QWidget* buildPicker(QWidget* parent, QLineEdit*& text, QListWidget*& list, QLabel*& status, QPushButton*& search)
{
    auto* picker = new QWidget(parent);
    picker->setObjectName(QStringLiteral("frm_srcnation"));
    text = new QLineEdit(picker);
    text->setObjectName(QStringLiteral("ed_srcnation"));
    search = new QPushButton(QStringLiteral("Search"), picker);
    search->setObjectName(QStringLiteral("btn_srcnation"));
    list = new QListWidget(picker);
    list->setObjectName(QStringLiteral("lbx_srcnation"));
    status = new QLabel(picker);
    status->setObjectName(QStringLiteral("txt_srcnation"));
    auto* row = new QHBoxLayout;
    row->addWidget(text);
    row->addWidget(search);
    auto* layout = new QVBoxLayout(picker);
    layout->setContentsMargins(kGap, kGap, 0, kGap);
    layout->addLayout(row);
    layout->addWidget(list);
    layout->addWidget(status);
    return picker;
}

} // namespace

Tfrm_nation::Tfrm_nation(const rostradb::GameDatabase& db, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      db_(db)
{
    setObjectName(QStringLiteral("frm_nation"));
    setWindowTitle(QStringLiteral("frm_nation"));
    setFixedSize(kPickerWidth + kGap + kPagesWidth, kPagesHeight + kButtonRow);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    QPushButton* searchButton = nullptr;
    QWidget* picker = buildPicker(this, searchText_, found_, status_, searchButton);
    picker->setGeometry(0, 0, kPickerWidth, height());

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("Pagecontrol1"));
    const auto addPage = [tabs](const char* caption, void (*build)(QWidget*)) {
        auto* page = new QWidget;
        build(page);
        tabs->addTab(page, QLatin1String(caption));
    };
    addPage("General", buildGeneralPage);
    addPage("Team", buildTeamPage);
    addPage("Coefficient", buildCoefficientPage);
    tabs->setGeometry(kPickerWidth + kGap, 0, kPagesWidth, kPagesHeight);

    // Their bytes are kept but not interpreted: showing a value there would
    // be inventing one.
    for (QWidget* control : tabs->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
            qobject_cast<QPushButton*>(control)) {
            if (control->objectName() == QLatin1String("ed_name") || !control->parentWidget() ||
                control->parentWidget()->inherits("QComboBox"))
                continue;
            control->setEnabled(false);
            control->setToolTip(QLatin1String(kNotRead));
        }
    }
    name_ = tabs->findChild<QLineEdit*>(QStringLiteral("ed_name"));
    name_->setMaxLength(static_cast<int>(rostradb::kNameFieldBytes));
    confirm_ = new QPushButton(QStringLiteral("Confirm"), this);
    confirm_->setObjectName(QStringLiteral("btn_confirm"));
    confirm_->setGeometry(width() - 100, kPagesHeight + 6, 92, 24);

    connect(searchButton, &QPushButton::clicked, this, &Tfrm_nation::search);
    connect(searchText_, &QLineEdit::returnPressed, this, &Tfrm_nation::search);
    connect(found_, &QListWidget::currentRowChanged, this, &Tfrm_nation::showChosen);
    connect(confirm_, &QPushButton::clicked, this, &Tfrm_nation::confirmName);
    connect(name_, &QLineEdit::returnPressed, this, &Tfrm_nation::confirmName);
    databaseCleared();
}

void Tfrm_nation::databaseLoaded() { search(); }

void Tfrm_nation::databaseCleared()
{
    found_->clear();
    shown_.reset();
    status_->setText(QStringLiteral("No database loaded"));
    showChosen();
}

void Tfrm_nation::search()
{
    const std::optional<std::string> part = toGameText(searchText_->text());
    const std::optional<std::uint32_t> keep = shown_;
    QSignalBlocker quiet(found_);
    found_->clear();
    std::vector<std::uint32_t> nations;
    if (part)
        nations = rostradb::findNames(db_, rostradb::LookupTable::Nations, *part);
    for (const std::uint32_t position : nations) {
        auto* item =
            new QListWidgetItem(fromGameText(rostradb::lookupText(db_, rostradb::LookupTable::Nations, position)));
        item->setData(Qt::UserRole, position);
        found_->addItem(item);
        if (keep == position)
            found_->setCurrentItem(item);
    }
    status_->setText(nations.size() == 1 ? QStringLiteral("1 nation found")
                                         : QStringLiteral("%1 nations found").arg(nations.size()));
    if (!found_->currentItem())
        shown_.reset();
    showChosen();
}

void Tfrm_nation::showChosen()
{
    if (const QListWidgetItem* item = found_->currentItem())
        shown_ = item->data(Qt::UserRole).toUInt();
    const bool chosen = shown_ && *shown_ < db_.nations.size();
    name_->setEnabled(chosen);
    confirm_->setEnabled(chosen);
    name_->setText(chosen ? fromGameText(rostradb::lookupText(db_, rostradb::LookupTable::Nations, *shown_))
                          : QString());
}

void Tfrm_nation::valuesChanged()
{
    for (int row = 0; row < found_->count(); ++row) {
        QListWidgetItem* item = found_->item(row);
        item->setText(
            fromGameText(rostradb::lookupText(db_, rostradb::LookupTable::Nations, item->data(Qt::UserRole).toUInt())));
    }
    showChosen();
}

void Tfrm_nation::confirmName()
{
    if (shown_)
        emit renameRequested({rostradb::LookupTable::Nations, *shown_}, name_->text());
}
