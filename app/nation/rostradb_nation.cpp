#include "nation/rostradb_nation.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

} // namespace

// Nothing shows this window and its controls are not wired to anything: it
// is the layout a nation editor will fill in.
Tfrm_nation::Tfrm_nation(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frm_nation"));
    setWindowTitle(QStringLiteral("frm_nation"));
    setFixedSize(465, 253);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

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

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);
}
