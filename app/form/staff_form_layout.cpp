// The staff form's pages: five pages of labelled boxes, laid out for the
// window's 11-pixel font. The pages, their boxes, names and labels come from
// the editor's list of controls; how each block of the list is set out on its
// page is decided here. What the boxes show and hand back is staff_form.cpp's
// business.

#include "form/staff_form.h"
#include "form/staff_form_parts.h"

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

#include <algorithm>
#include <limits>
#include <span>
#include <vector>

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
constexpr int kColumnGap = 8;    // least room between two label/box columns
constexpr int kBlockGap = 8;     // between the blocks of the General page
constexpr int kLabelColumn = 96; // General's left labels, so its blocks line up
constexpr int kLookupBoxChars = 10;
constexpr int kSpareBoxChars = 8; // three to a row

// An edit box wide enough for the widest value of its field.
int boxWidth(int digits)
{
    switch (digits) {
    case 3:
        return kByteBox;
    case 4:
        return kDateBox;
    case 5:
        return kWordBox;
    default:
        return kMoneyBox;
    }
}

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

// The grid puts its spacing on both sides of a gap column too, so the column
// itself needs only what is left of the least room.
constexpr int kGapColumn = kColumnGap - 2 * kBoxSpacing;

void spreadColumns(QGridLayout* grid, int labelledColumns)
{
    for (int gap = 2; gap < 3 * labelledColumns - 1; gap += 3) {
        grid->setColumnMinimumWidth(gap, kGapColumn);
        grid->setColumnStretch(gap, 1);
    }
}

QLabel* addLabel(QGridLayout* grid, int row, int column, const QString& text, QWidget* box)
{
    auto* label = new QLabel(text, box->parentWidget());
    label->setBuddy(box);
    label->setFixedHeight(kRowHeight);
    grid->addWidget(label, row, column);
    return label;
}

void addLabelled(QGridLayout* grid, int row, int column, const QString& text, QWidget* box)
{
    addLabel(grid, row, column, text, box);
    grid->addWidget(box, row, column + 1);
}

// One label for several boxes on a line, such as a date's day and year.
void addLabelledLine(QGridLayout* grid, int row, int column, const QString& text, const std::vector<QWidget*>& boxes)
{
    addLabel(grid, row, column, text, boxes.front());
    auto* line = new QHBoxLayout;
    line->setSpacing(kBoxSpacing);
    for (QWidget* box : boxes)
        line->addWidget(box);
    line->addStretch(1);
    grid->addLayout(line, row, column + 1);
}

// The boxes of one label: a date's day, month and year, caps and goals.
struct Line {
    const FormControl* first; // its label is the line's
    std::vector<QWidget*> boxes;
};

// Consecutive controls with the same label make one line.
std::vector<Line> linesOf(std::span<const FormControl> block, const std::vector<QWidget*>& boxes)
{
    std::vector<Line> lines;
    for (std::size_t i = 0; i < block.size(); ++i) {
        if (lines.empty() || lines.back().first->label != block[i].label)
            lines.push_back({&block[i], {}});
        lines.back().boxes.push_back(boxes[i]);
    }
    return lines;
}

// How a block sets out its lines: down columns of `lines` lines, or across
// rows of `lines` lines (a line with several boxes keeps them in one cell,
// unless `boxesInColumns` gives each box a grid column of its own).
struct Arrangement {
    int lines;
    bool acrossRows = false;
    bool boxesInColumns = false;
};

Arrangement arrangementOf(FormBlock block)
{
    switch (block) {
    case FormBlock::NamesAndNations:
        return {3};
    case FormBlock::ClubCodesDatesMoney:
        return {6};
    case FormBlock::Ratings:
        return {4, true};
    case FormBlock::Positions:
        return {3, true};
    case FormBlock::PlayerAttributes:
        return {14};
    case FormBlock::NonPlayerAttributes:
        return {7};
    case FormBlock::MentalAndAbility:
        return {8};
    case FormBlock::Preferences:
        return {1, true, true};
    }
    return {1};
}

void arrangeBlock(QGridLayout* grid, FormBlock block, const std::vector<Line>& lines)
{
    const Arrangement arrangement = arrangementOf(block);
    int i = 0;
    for (const Line& line : lines) {
        const int major = i / arrangement.lines;
        const int minor = i % arrangement.lines;
        const int row = arrangement.acrossRows ? major : minor;
        const int column = 3 * (arrangement.acrossRows ? minor : major);
        const QString label = toQString(line.first->label);
        if (arrangement.boxesInColumns) {
            int boxColumn = column + 1;
            for (QWidget* box : line.boxes)
                grid->addWidget(box, row, boxColumn++);
            addLabel(grid, row, column, label, line.boxes.front());
        } else if (line.boxes.size() == 1) {
            addLabelled(grid, row, column, label, line.boxes.front());
        } else {
            addLabelledLine(grid, row, column, label, line.boxes);
        }
        ++i;
    }

    // Spacing, block by block: the columns spread over the page while each
    // label stays beside its box.
    const int labelled = arrangement.acrossRows ? std::min<int>(static_cast<int>(lines.size()), arrangement.lines)
                                                : (i + arrangement.lines - 1) / arrangement.lines;
    switch (block) {
    case FormBlock::NamesAndNations:
        // Here the boxes take the spare width; the left labels line up with
        // those of the next block.
        grid->setColumnMinimumWidth(0, kLabelColumn);
        grid->setColumnMinimumWidth(2, kGapColumn);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(4, 1);
        break;
    case FormBlock::ClubCodesDatesMoney:
        grid->setColumnMinimumWidth(0, kLabelColumn);
        spreadColumns(grid, labelled);
        break;
    case FormBlock::MentalAndAbility:
        spreadColumns(grid, labelled);
        grid->setColumnStretch(5, 2); // keeps the two columns close together
        break;
    case FormBlock::Preferences:
        for (int column = 1; column <= 3; ++column)
            grid->setColumnStretch(column, 1);
        break;
    default:
        spreadColumns(grid, labelled);
        break;
    }
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

void StaffForm::buildPages()
{
    const std::span<const FormControl> controls = formControls();
    for (const FormPageInfo& info : formPages()) {
        auto* page = new QWidget;
        pages_->addTab(page, toQString(info.caption));
        registerControl(page, info.name);
        QVBoxLayout* blocks = pageLayout(page);
        // The controls of a page stand together in the list, block by block.
        std::size_t i = 0;
        while (i < controls.size()) {
            if (controls[i].page != info.page) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < controls.size() && controls[end].page == info.page && controls[end].block == controls[i].block)
                ++end;
            const std::span<const FormControl> block = controls.subspan(i, end - i);
            std::vector<QWidget*> boxes;
            for (const FormControl& c : block)
                boxes.push_back(makeControl(page, c));
            arrangeBlock(addBlock(blocks), controls[i].block, linesOf(block, boxes));
            i = end;
        }
        blocks->addStretch(1);
    }
    staffPosition_ = qobject_cast<QSpinBox*>(control(control::kStaffPosition));
    playerPosition_ = qobject_cast<QSpinBox*>(control(control::kPlayerPosition));
    nonPlayerPosition_ = qobject_cast<QSpinBox*>(control(control::kNonPlayerPosition));
    Q_ASSERT(staffPosition_ && playerPosition_ && nonPlayerPosition_);
}

QWidget* StaffForm::makeControl(QWidget* page, const FormControl& c)
{
    QWidget* box = nullptr;
    switch (c.kind) {
    case ControlKind::Edit:
        box = makeEdit(page, c.name, boxWidth(c.digits));
        break;
    case ControlKind::MonthBox:
        box = makeMonthBox(page, c.name);
        break;
    case ControlKind::LookupBox:
        box = makeLookupBox(page, c.name);
        break;
    case ControlKind::CodeBox:
        box = makeCodeBox(page, c.name, c.codes);
        break;
    case ControlKind::PositionBox:
        box = makePositionBox(page, c.name);
        break;
    case ControlKind::SpareBox:
        box = makeSpareBox(page, c.name);
        break;
    }
    if (!c.hint.empty())
        box->setToolTip(toQString(c.hint));
    if (c.isEditable())
        watchForEdits(box);
    if (c.kind == ControlKind::Edit)
        watchForWarnings(qobject_cast<QLineEdit*>(box), c);
    return box;
}

QLineEdit* StaffForm::makeEdit(QWidget* page, std::string_view name, int width)
{
    auto* edit = new QLineEdit(page);
    edit->setFixedSize(width, kRowHeight);
    registerControl(edit, name);
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
    // The typed text is matched by settleTypedText alone, which keeps the
    // selected one of two namesakes typed in other capitals where the box's
    // own matching would jump to the first: it hears "editing finished"
    // before the box does (connected before the box takes the line edit),
    // and with "duplicates" allowed the box does not match on Return either.
    // Nothing is ever inserted.
    auto* typing = new QLineEdit;
    connect(typing, &QLineEdit::editingFinished, box, [box] { settleTypedText(box); });
    box->setEditable(true);
    box->setLineEdit(typing);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setDuplicatesEnabled(true);
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
