// The staff form's pages: five pages of labelled boxes, laid out for the
// window's 11-pixel font. Each box is made, named and registered here; what
// the boxes show and hand back is staff_form.cpp's business.

#include "staff_form.h"
#include "staff_form_parts.h"

#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <limits>
#include <span>
#include <string>

using namespace rostradb;
using namespace staff_form_parts;

namespace {

// Sizes in pixels, chosen for the window's 11-pixel font. Each box is wide
// enough for the longest value its field shows.
constexpr int kByteBox = 34;  // 8-bit values, up to 255
constexpr int kWordBox = 44;  // 16-bit values, up to 65535
constexpr int kDateBox = 38;  // day numbers and four-digit years
constexpr int kMoneyBox = 80; // wages and value, up to 4294967295
constexpr int kRowHeight = 22;
constexpr int kPageMargin = 6;
constexpr int kRowSpacing = 3;
constexpr int kBoxSpacing = 4;   // between a label and its box
constexpr int kColumnGap = 10;   // least room between two label/box columns
constexpr int kBlockGap = 8;     // between the blocks of the General page
constexpr int kLabelColumn = 96; // General's left labels, so its blocks line up
constexpr int kLookupBoxChars = 10;
constexpr int kSpareBoxChars = 8; // three to a row

struct LabelledBox {
    const char* control;
    const char* label;
};

// Down the columns in the order of the record, fourteen to a column.
constexpr LabelledBox kPlayerAttributeBoxes[] = {
    {"ed_accel", "Acceleration"},
    {"ed_aggre", "Aggression"},
    {"ed_agili", "Agility"},
    {"ed_antic", "Anticipation"},
    {"ed_balan", "Balance"},
    {"ed_brave", "Bravery"},
    {"ed_consi", "Consistency"},
    {"ed_corne", "Corners"},
    {"ed_cross", "Crossing"},
    {"ed_decis", "Decisions"},
    {"ed_dirti", "Dirtiness"},
    {"ed_dribb", "Dribbeling"},
    {"ed_finis", "Finishing"},
    {"ed_flair", "Flair"},
    {"ed_freek", "Free kicks"},
    {"ed_handl", "Handeling"},
    {"ed_headi", "Heading"},
    {"ed_impor", "Important matches"},
    {"ed_injur", "Injury proneness"},
    {"ed_jumpi", "Jumping"},
    {"ed_leade", "Leadership"},
    {"ed_leftf", "Left foot"},
    {"ed_longs", "Long shots"},
    {"ed_marki", "Marking"},
    {"ed_movem", "Movement"},
    {"ed_natur", "Natural Fitness"},
    {"ed_oneon", "One on One"},
    {"ed_pace", "Pace"},
    {"ed_passi", "Passing"},
    {"ed_penal", "Penalties"},
    {"ed_posit", "Positioning"},
    {"ed_refle", "Reflexes"},
    {"ed_right", "Right foot"},
    {"ed_stami", "Stamina"},
    {"ed_stren", "Strength"},
    {"ed_tackl", "Tackling"},
    {"ed_teamw", "Teamwork"},
    {"ed_techn", "Technique"},
    {"ed_throw", "Throwins"},
    {"ed_versa", "Versatatility"},
    {"ed_visio", "Vision"},
    {"ed_workr", "Workrate"},
};

// The last six repeat labels of the player page although their bytes hold
// other values; users know the boxes by these labels, so they stay.
constexpr LabelledBox kNonPlayerAttributeBoxes[] = {
    {"ed_atta", "Attacking"},
    {"ed_busi", "Business"},
    {"ed_coac", "Coaching"},
    {"ed_cgks", "Coaching Goalkeepers"},
    {"ed_ctec", "Coaching Technique"},
    {"ed_dire", "Directness"},
    {"ed_disc", "Discipline"},
    {"ed_free", "Free roles"},
    {"ed_inte", "Interference"},
    {"ed_judg", "Judgement"},
    {"ed_jpot", "judging potential"},
    {"ed_manh", "man handling"},
    {"ed_mark", "Marking"},
    {"ed_moti", "Motivating"},
    {"ed_offs", "Offside"},
    {"ed_pati", "Penalties"},
    {"ed_phys", "Positioning"},
    {"ed_prss", "Reflexes"},
    {"ed_reso", "Right foot"},
    {"ed_tact", "Stamina"},
    {"ed_youn", "Strength"},
};

constexpr LabelledBox kMentalBoxes[] = {
    {"ed_adap", "Adaptability"},
    {"ed_ambi", "Ambition"},
    {"ed_dete", "Determination"},
    {"ed_loyl", "Loyality"},
    {"ed_pres", "Pressure"},
    {"ed_prof", "Professionalism"},
    {"ed_sprt", "Sportmanship"},
    {"ed_temp", "Temprament"},
};

// Shown from the player or the non-player record, whichever the person has.
constexpr LabelledBox kAbilityBoxes[] = {
    {"ed_cabl", "Current ability"},
    {"ed_pabl", "Potential ability"},
    {"ed_hrep", "Home reputation"},
    {"ed_crep", "Current reputation"},
    {"ed_wrep", "World reputation"},
};

// Across the rows: positions from the back, then the three sides.
constexpr LabelledBox kRatingBoxes[] = {
    {"ed_gk", "Goalkeeper"}, {"ed_sw", "Sweeper"},       {"ed_d", "Defender"}, {"ed_dm", "DefensiveMid"},
    {"ed_m", "Midfielder"},  {"ed_am", "Attacking Mid"}, {"ed_s", "Attacker"}, {"ed_wb", "WingBack"},
    {"ed_fr", "Freerole"},   {"ed_l", "Left"},           {"ed_c", "Center"},   {"ed_r", "Right"},
};
constexpr int kRatingsPerRow = 4;

// A block of label/box columns: each column takes three grid columns (label,
// box, gap), and the gaps share the spare width, so the columns spread over
// the page while each label stays beside its box.
QGridLayout* addBlock(QVBoxLayout* blocks)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(kBoxSpacing);
    grid->setVerticalSpacing(kRowSpacing);
    blocks->addLayout(grid);
    return grid;
}

void spreadColumns(QGridLayout* grid, int labelledColumns)
{
    for (int gap = 2; gap < 3 * labelledColumns - 1; gap += 3) {
        grid->setColumnMinimumWidth(gap, kColumnGap);
        grid->setColumnStretch(gap, 1);
    }
}

QLabel* addLabel(QGridLayout* grid, int row, int column, const char* text, QWidget* box)
{
    auto* label = new QLabel(QString::fromUtf8(text), box->parentWidget());
    label->setBuddy(box);
    label->setFixedHeight(kRowHeight);
    grid->addWidget(label, row, column);
    return label;
}

void addLabelled(QGridLayout* grid, int row, int column, const char* text, QWidget* box)
{
    addLabel(grid, row, column, text, box);
    grid->addWidget(box, row, column + 1);
}

// One label for several boxes on a line, such as a date's day and year.
void addLabelledLine(QGridLayout* grid, int row, int column, const char* text, std::initializer_list<QWidget*> boxes)
{
    addLabel(grid, row, column, text, *boxes.begin());
    auto* line = new QHBoxLayout;
    line->setSpacing(kBoxSpacing);
    for (QWidget* box : boxes)
        line->addWidget(box);
    line->addStretch(1);
    grid->addLayout(line, row, column + 1);
}

template <class MakeBox>
void addLabelledColumns(QGridLayout* grid, std::span<const LabelledBox> boxes, int rowsPerColumn, MakeBox makeBox)
{
    int i = 0;
    for (const LabelledBox& box : boxes) {
        addLabelled(grid, i % rowsPerColumn, 3 * (i / rowsPerColumn), box.label, makeBox(box.control));
        ++i;
    }
    spreadColumns(grid, (i + rowsPerColumn - 1) / rowsPerColumn);
}

QVBoxLayout* pageLayout(QWidget* page)
{
    auto* blocks = new QVBoxLayout(page);
    blocks->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    blocks->setSpacing(kBlockGap);
    return blocks;
}

} // namespace

QString staff_form_parts::helpText()
{
    const QString rule(53, u'-');
    return QStringList{
        QStringLiteral("ROSTRA db staff editing help and info"),
        rule,
        QString(),
        QStringLiteral("1: Make sure u have loaded the database files"),
        QStringLiteral("2: Enter the name of a player you want to search for"),
        QStringLiteral("3: Click on search, and see what is finds"),
        QStringLiteral("4: Click on the players name"),
        QStringLiteral("5: Depending on it been a player or a non player u will see a window popup"),
        QStringLiteral("6: In this window u can edit the selected member of staff."),
        QStringLiteral("7: To confirm changes click on the Confirm Changes button"),
        QString(),
        rule,
        QString(),
        QStringLiteral("Good luck!!!!"),
    }
        .join(u'\n');
}

QWidget* StaffForm::addPage(std::string_view name, const char* caption)
{
    auto* page = new QWidget;
    pages_->addTab(page, QString::fromUtf8(caption));
    registerControl(page, name);
    return page;
}

void StaffForm::buildGeneralPage(QWidget* page)
{
    QVBoxLayout* blocks = pageLayout(page);

    // Names beside nations: the boxes that list a table.
    QGridLayout* names = addBlock(blocks);
    names->setColumnMinimumWidth(0, kLabelColumn);
    names->setColumnMinimumWidth(2, kColumnGap);
    names->setColumnStretch(1, 1); // here the boxes take the spare width
    names->setColumnStretch(4, 1);
    lookup_[0] = makeLookupBox(page, "cbx_fname");
    lookup_[1] = makeLookupBox(page, "cbx_sname");
    lookup_[2] = makeLookupBox(page, "cbx_cname");
    lookup_[3] = makeLookupBox(page, "cbx_fnation");
    lookup_[4] = makeLookupBox(page, "cbx_snation");
    lookup_[5] = makeLookupBox(page, "cbx_anation");
    const char* const nameLabels[] = {"First name", "Second name", "Common name"};
    const char* const nationLabels[] = {"First Nation", "Second Nation", "Nation playing for"};
    for (int row = 0; row < 3; ++row) {
        addLabelled(names, row, 0, nameLabels[row], lookup_[row]);
        addLabelled(names, row, 3, nationLabels[row], lookup_[3 + row]);
    }

    // Club and codes on the left, dates and money on the right.
    QGridLayout* general = addBlock(blocks);
    general->setColumnMinimumWidth(0, kLabelColumn);
    spreadColumns(general, 2);
    lookup_[6] = makeLookupBox(page, "cbx_club");
    addLabelled(general, 0, 0, "Club playing for", lookup_[6]);
    addLabelled(general, 1, 0, "Job for the nation", makeCodeBox(page, "cbx_jobn", kJobCodeNames));
    addLabelled(general, 2, 0, "Job for the club", makeCodeBox(page, "cbx_jobc", kJobCodeNames));
    addLabelled(general, 3, 0, "Squad type", makeCodeBox(page, "cbx_squad", kSquadCodeNames));
    addLabelled(general, 4, 0, "Classification", makeCodeBox(page, "cbx_class", kClassificationCodeNames));
    addLabelled(general, 5, 0, "Squad number", makeEdit(page, "ed_squad", kByteBox));
    // A stored date is a day of the year and a year: the month box between
    // them has nothing to show and stays invisible.
    addLabelledLine(general, 0, 3, "Birth",
                    {makeEdit(page, "ed_dayb", kDateBox), makeMonthBox(page, "ed_mntb"),
                     makeEdit(page, "ed_yearb", kDateBox)});
    addLabelledLine(general, 1, 3, "Joined",
                    {makeEdit(page, "ed_dayjc", kDateBox), makeMonthBox(page, "ed_mntj"),
                     makeEdit(page, "ed_yearjc", kDateBox)});
    addLabelledLine(general, 2, 3, "Contract",
                    {makeEdit(page, "ed_daycc", kDateBox), makeMonthBox(page, "ed_mntc"),
                     makeEdit(page, "ed_yearcc", kDateBox)});
    addLabelled(general, 3, 3, "Value", makeEdit(page, "ed_value", kMoneyBox));
    addLabelled(general, 4, 3, "Wages", makeEdit(page, "ed_wages", kMoneyBox));
    addLabelledLine(general, 5, 3, "Caps/Goals",
                    {makeEdit(page, "ed_caps", kByteBox), makeEdit(page, "ed_goal", kByteBox)});

    // How well the player plays each position and side.
    QGridLayout* ratings = addBlock(blocks);
    int i = 0;
    for (const LabelledBox& rating : kRatingBoxes) {
        addLabelled(ratings, i / kRatingsPerRow, 3 * (i % kRatingsPerRow), rating.label,
                    makeEdit(page, rating.control, kByteBox));
        ++i;
    }
    spreadColumns(ratings, kRatingsPerRow);

    // Where the shown records lie in their tables; "Confirm Changes" writes
    // back through these, so they are never typed into.
    QGridLayout* positions = addBlock(blocks);
    staffPosition_ = makePositionBox(page, control::kStaffPosition);
    playerPosition_ = makePositionBox(page, control::kPlayerPosition);
    nonPlayerPosition_ = makePositionBox(page, control::kNonPlayerPosition);
    staffPosition_->setToolTip(QStringLiteral("Position of the shown person in the staff table"));
    playerPosition_->setToolTip(QStringLiteral("Position of the person's record in the player table"));
    nonPlayerPosition_->setToolTip(QStringLiteral("Position of the person's record in the non-player table"));
    addLabelled(positions, 0, 0, "Staff", staffPosition_);
    addLabelled(positions, 0, 3, "Player", playerPosition_);
    addLabelled(positions, 0, 6, "Non-player", nonPlayerPosition_);
    spreadColumns(positions, 3);

    blocks->addStretch(1);
}

void StaffForm::buildPlayerAttributePage(QWidget* page)
{
    QVBoxLayout* blocks = pageLayout(page);
    addLabelledColumns(addBlock(blocks), kPlayerAttributeBoxes, 14,
                       [&](const char* name) { return makeEdit(page, name, kByteBox); });
    blocks->addStretch(1);
}

void StaffForm::buildNonPlayerAttributePage(QWidget* page)
{
    QVBoxLayout* blocks = pageLayout(page);
    addLabelledColumns(addBlock(blocks), kNonPlayerAttributeBoxes, 7,
                       [&](const char* name) { return makeEdit(page, name, kByteBox); });
    blocks->addStretch(1);
}

void StaffForm::buildOtherAttributePage(QWidget* page)
{
    QVBoxLayout* blocks = pageLayout(page);
    QGridLayout* grid = addBlock(blocks);
    int row = 0;
    for (const LabelledBox& box : kMentalBoxes)
        addLabelled(grid, row++, 0, box.label, makeEdit(page, box.control, kByteBox));
    row = 0;
    for (const LabelledBox& box : kAbilityBoxes)
        addLabelled(grid, row++, 3, box.label, makeEdit(page, box.control, kWordBox));
    spreadColumns(grid, 2);
    grid->setColumnStretch(5, 2); // keeps the two columns close together
    blocks->addStretch(1);
}

void StaffForm::buildOtherStuffPage(QWidget* page)
{
    // Room for the favourite and disliked clubs and people; the game's
    // records for them are not read, so the boxes stay empty.
    QVBoxLayout* blocks = pageLayout(page);
    QGridLayout* grid = addBlock(blocks);
    const char* const labels[] = {"Favourite clubs", "Disliked clubs", "Favourite players", "Disliked players"};
    const char* const prefixes[] = {"cbx_likclb", "cbx_disclb", "cbx_likplr", "cbx_displr"};
    for (int row = 0; row < 4; ++row) {
        QComboBox* first = nullptr;
        for (int n = 1; n <= 3; ++n) {
            const std::string name = prefixes[row] + std::to_string(n);
            QComboBox* box = makeSpareBox(page, name);
            grid->addWidget(box, row, n);
            if (!first)
                first = box;
        }
        addLabel(grid, row, 0, labels[row], first);
    }
    for (int column = 1; column <= 3; ++column)
        grid->setColumnStretch(column, 1);
    blocks->addStretch(1);
}

QLineEdit* StaffForm::makeEdit(QWidget* page, std::string_view name, int width)
{
    auto* edit = new QLineEdit(page);
    edit->setFixedSize(width, kRowHeight);
    registerControl(edit, name);
    edits_.push_back(edit);
    return edit;
}

QLineEdit* StaffForm::makeMonthBox(QWidget* page, std::string_view name)
{
    auto* edit = new QLineEdit(page);
    edit->setFixedSize(kDateBox, kRowHeight);
    edit->setVisible(false);
    registerControl(edit, name);
    return edit;
}

QComboBox* StaffForm::makeLookupBox(QWidget* page, std::string_view name)
{
    auto* box = new QComboBox(page);
    box->setFixedHeight(kRowHeight);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // A table can hold 65,536 entries. The box is sized by a number of
    // characters and its list rows are of one height, so that neither the
    // layout nor the popup measures every item.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kLookupBoxChars);
    box->setMaxVisibleItems(20);
    if (auto* list = qobject_cast<QListView*>(box->view()))
        list->setUniformItemSizes(true);

    // Typing part of a name offers the entries that contain it.
    auto* completer = new QCompleter(box->model(), box);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setMaxVisibleItems(12);
    if (auto* list = qobject_cast<QListView*>(completer->popup()))
        list->setUniformItemSizes(true);
    box->setCompleter(completer);
    connect(box->lineEdit(), &QLineEdit::editingFinished, box, [box] { settleTypedText(box); });

    registerControl(box, name);
    boxes_.push_back(box);
    return box;
}

QComboBox* StaffForm::makeCodeBox(QWidget* page, std::string_view name, std::span<const std::string_view> items)
{
    auto* box = new QComboBox(page);
    box->setFixedHeight(kRowHeight);
    for (std::string_view item : items)
        box->addItem(toQString(item));
    box->setEnabled(false); // shows the stored code; codes are not edited
    registerControl(box, name);
    boxes_.push_back(box);
    return box;
}

QSpinBox* StaffForm::makePositionBox(QWidget* page, std::string_view name)
{
    auto* box = new QSpinBox(page);
    box->setFixedHeight(kRowHeight);
    box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    // Plain digits and a minus sign, whatever the user's locale: the box
    // shows a position, not an amount (and Qt would otherwise group the
    // digits of the lowest value even with grouping switched off).
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    box->setLocale(plain);
    box->setReadOnly(true);
    box->setEnabled(false);
    registerControl(box, name);
    return box;
}

QComboBox* StaffForm::makeSpareBox(QWidget* page, std::string_view name)
{
    auto* box = new QComboBox(page);
    box->setFixedHeight(kRowHeight);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kSpareBoxChars);
    registerControl(box, name);
    boxes_.push_back(box);
    return box;
}
