// The main window's widgets: a fixed 765 x 491 client area with the
// navigation tab on the left and the working tabs on the right.

#include "main/rostradbmain.h"

#include "form/staff_form.h"
#include "form/staff_hits_model.h"
#include "main/status_strip.h"

#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

namespace {

template <class Widget>
Widget* named(Widget* widget, const char* objectName)
{
    widget->setObjectName(QLatin1String(objectName));
    return widget;
}

} // namespace

void Tfrm_main::buildLayout()
{
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(QStringLiteral("frm_main"));
    setWindowIcon(QIcon(QStringLiteral(":/resources/rostradb.png")));
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    auto* navigation = named(new QTabWidget(client), "PageControl2");
    navigation->setGeometry(0, 0, 105, 409);
    auto* navigationPage = named(new QWidget, "TabSheet7");
    auto* nav = named(new QComboBox(navigationPage), "cbx_nav");
    nav->addItems({QString(), QStringLiteral("Main"), QStringLiteral("Staff")});
    nav->hide(); // kept for its place in the layout; nothing uses it
    navigation->addTab(navigationPage, QStringLiteral("Navigation"));

    auto* pages = named(new QTabWidget(client), "PageControl1");
    pages->setGeometry(112, 0, 641, 409);
    pages->tabBar()->setAttribute(Qt::WA_Hover); // tabs highlight under the mouse
    pages->addTab(buildMainFrameTab(), QStringLiteral("Main frame"));
    pages->addTab(buildStaffTab(), QStringLiteral("Staff"));
    // Four further pages the program has room for; never offered.
    for (int i = 3; i <= 6; ++i) {
        auto* unused = new QWidget;
        unused->setObjectName(QStringLiteral("TabSheet%1").arg(i));
        unused->setEnabled(false);
        const int at = pages->addTab(unused, QStringLiteral("TabSheet%1").arg(i));
        pages->setTabVisible(at, false);
    }
    pages->setCurrentIndex(0);

    // The client area's last 82 pixels, below the page controls.
    strip_ = new StatusStrip(client);
    strip_->setGeometry(0, 411, kClientWidth, kClientHeight - 411);

    buildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize); // not resizable
}

QWidget* Tfrm_main::buildMainFrameTab()
{
    auto* page = named(new QWidget, "TabSheet1");

    auto* caption = named(new QLabel(QStringLiteral("FENDRA Directory: "), page), "Label1");
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setGeometry(8, 12, 130, 16);
    fendradir_ = named(new QLabel(QStringLiteral("fendradir"), page), "fendradir");
    fendradir_->setGeometry(140, 12, 480, 16);
    fendradir_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Shown beside the directory while it does not hold the game (placed by
    // updateGameFolderControls).
    chooseGame_ = named(new QPushButton(QStringLiteral("Choose the game folder..."), page), "btn_choosegame");
    chooseGame_->hide();
    connect(chooseGame_, &QPushButton::clicked, this, &Tfrm_main::ChooseGame1Click);

    auto* banner = named(new QLabel(page), "Image1");
    banner->setGeometry(116, 40, 400, 50);
    banner->setPixmap(QPixmap(QStringLiteral(":/resources/banner.png")));

    about_ = named(new QTextEdit(page), "mmo_about");
    about_->setGeometry(36, 104, 561, 225);
    about_->setAcceptRichText(false);
    about_->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    QPalette palette = about_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    about_->setPalette(palette);
    about_->setPlainText(QStringLiteral("mmo_about"));
    return page;
}

QWidget* Tfrm_main::buildStaffTab()
{
    auto* page = named(new QWidget, "TabSheet2");
    constexpr int kColumnX = 6;
    constexpr int kColumnWidth = 112;

    named(new QLabel(QStringLiteral("Search for :"), page), "Label2")->setGeometry(kColumnX, 6, kColumnWidth, 16);
    search_ = named(new QLineEdit(QStringLiteral("search for"), page), "ed_staffsearch");
    search_->setGeometry(kColumnX, 22, kColumnWidth, 22);
    named(new QLabel(QStringLiteral("Staff found :"), page), "Label3")->setGeometry(kColumnX, 50, kColumnWidth, 16);

    staffList_ = named(new QListView(page), "lbx_staff");
    staffList_->setGeometry(kColumnX, 66, kColumnWidth, 250);
    staffList_->setUniformItemSizes(true);
    staffList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    hits_ = new StaffHitsModel(this);
    staffList_->setModel(hits_);

    auto* searchButton = named(new QPushButton(QStringLiteral("Start Search"), page), "Button2");
    searchButton->setGeometry(kColumnX, 322, kColumnWidth, 25);
    auto* confirmButton = named(new QPushButton(QStringLiteral("Confirm Changes"), page), "Button1");
    confirmButton->setGeometry(kColumnX, 352, kColumnWidth, 25);

    form_ = new StaffForm(page);
    form_->move(kColumnX + kColumnWidth + 6, 2);

    connect(searchButton, &QPushButton::clicked, this, &Tfrm_main::Button2Click);
    connect(search_, &QLineEdit::returnPressed, this, &Tfrm_main::Button2Click);
    connect(confirmButton, &QPushButton::clicked, this, &Tfrm_main::Button1Click);
    return page;
}

void Tfrm_main::buildMenu()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    QAction* open = file->addAction(QStringLiteral("&Open"));
    open->setObjectName(QStringLiteral("Open1"));
    QAction* save = file->addAction(QStringLiteral("&Save"));
    save->setObjectName(QStringLiteral("Save1"));
    connect(open, &QAction::triggered, this, &Tfrm_main::Open1Click);
    connect(save, &QAction::triggered, this, &Tfrm_main::Save1Click);

    file->addSeparator();
    QAction* choose = file->addAction(QStringLiteral("Choose Game &Folder..."));
    choose->setObjectName(QStringLiteral("ChooseGame1"));
    connect(choose, &QAction::triggered, this, &Tfrm_main::ChooseGame1Click);
    recentGames_ = file->addMenu(QStringLiteral("&Recent Game Folders"));
    recentGames_->setObjectName(QStringLiteral("RecentGames1"));
    fillRecentGameMenu();
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction* people = view->addAction(QStringLiteral("&People..."));
    people->setObjectName(QStringLiteral("People1"));
    people->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(people, &QAction::triggered, this, &Tfrm_main::People1Click);
    const struct {
        const char* text;
        const char* name;
        void (Tfrm_main::*open)();
    } nameWindows[] = {{"&Nations...", "Nations1", &Tfrm_main::Nations1Click},
                       {"&Clubs...", "Clubs1", &Tfrm_main::Clubs1Click},
                       {"Na&mes...", "Names1", &Tfrm_main::Names1Click}};
    for (const auto& window : nameWindows) {
        QAction* action = view->addAction(QLatin1String(window.text));
        action->setObjectName(QLatin1String(window.name));
        connect(action, &QAction::triggered, this, window.open);
    }
}
