// The staff form's marks: which boxes the user changed since the person was
// shown or the changes were confirmed, which boxes hold text that would be
// stored as another number, and the typed values themselves, so that they can
// be typed again after the form is refilled.

#include "form/staff_form.h"
#include "form/staff_form_parts.h"

#include "editor/typed_number.h"

#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QPalette>

using namespace rostradb;
using namespace staff_form_parts;

namespace {

// The mark of a box whose value the user changed and has not confirmed: a
// light amber background, which leaves every size as it is. A box whose text
// will be stored as another number than it says gets a second, different
// mark: bold dark red text and a tooltip with the value. The two are independent
// and combine. The properties let tests and style sheets see them.
constexpr char kMarkProperty[] = "unconfirmed";
constexpr char kWarningProperty[] = "notAsTyped";
const QColor kMarkColour(0xFF, 0xF0, 0xC0);
const QColor kWarningColour(0xC0, 0x00, 0x00);

void paintMarks(QWidget* box)
{
    const bool marked = box->property(kMarkProperty).toBool();
    const bool warned = box->property(kWarningProperty).toBool();
    QPalette palette; // the parent's, unless a mark changes it
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        if (marked)
            palette.setColor(group, QPalette::Base, kMarkColour);
        if (warned)
            palette.setColor(group, QPalette::Text, kWarningColour);
    }
    box->setPalette(palette);
    // Only a change of font is applied: a font set again still reaches the
    // box's list, which then lays out all of its (up to 65,537) items.
    QFont font = box->font();
    if (font.bold() != warned) {
        font.setBold(warned); // red alone is easy to miss on the amber
        box->setFont(font);
    }
}

void showMark(QWidget* box, bool marked)
{
    box->setProperty(kMarkProperty, marked);
    paintMarks(box);
}

} // namespace

void StaffForm::markConfirmed() { takeStartingPoint(); }

// The names of these boxes in the order of the form, not of the set.
QStringList StaffForm::namesInFormOrder(const QSet<QWidget*>& boxes) const
{
    QStringList names;
    for (const FormControl& c : formControls())
        if (QWidget* box = control(c.name); boxes.contains(box))
            names << box->objectName();
    return names;
}

QStringList StaffForm::unconfirmedBoxes() const { return namesInFormOrder(marked_); }

StaffForm::Typed StaffForm::typedValues() const
{
    Typed typed;
    for (QWidget* box : marked_)
        typed.insert(box->objectName(), shownBy(box));
    return typed;
}

void StaffForm::retype(const Typed& typed)
{
    for (auto it = typed.begin(); it != typed.end(); ++it) {
        QWidget* box = controls_.value(it.key());
        if (auto* combo = qobject_cast<QComboBox*>(box))
            combo->setCurrentIndex(it.value().index);
        else if (auto* edit = qobject_cast<QLineEdit*>(box))
            edit->setText(it.value().text);
    }
}

StaffForm::Shown StaffForm::shownBy(const QWidget* box)
{
    if (auto* combo = qobject_cast<const QComboBox*>(box))
        return {combo->currentText(), combo->currentIndex()};
    if (auto* edit = qobject_cast<const QLineEdit*>(box))
        return {edit->text(), -1};
    return {};
}

// Whenever an edit box's text changes, by the user or the program: a text
// the box would not show again after Confirm is marked, with what it stores.
void StaffForm::watchForWarnings(QLineEdit* box, const FormControl& c)
{
    connect(box, &QLineEdit::textChanged, this, [this, box, &c](const QString& text) {
        const StoredNumber stored = storedNumber(c, text.toStdString());
        const bool warned = !stored.asTyped;
        if (warned)
            box->setToolTip(QStringLiteral("Will be stored as %1").arg(stored.value));
        else
            box->setToolTip(toQString(c.hint));
        if (warned == warned_.contains(box))
            return;
        if (warned)
            warned_.insert(box);
        else
            warned_.remove(box);
        box->setProperty(kWarningProperty, warned);
        paintMarks(box);
    });
}

QStringList StaffForm::notAsTypedBoxes() const { return namesInFormOrder(warned_); }

// A box is marked while it shows something else than at the starting point,
// so typing a value and then its old text again takes the mark away.
void StaffForm::watchForEdits(QWidget* box)
{
    startingPoint_.insert(box, shownBy(box));
    if (auto* combo = qobject_cast<QComboBox*>(box)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, box] { updateMark(box); });
        connect(combo, &QComboBox::editTextChanged, this, [this, box] { updateMark(box); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        connect(edit, &QLineEdit::textChanged, this, [this, box] { updateMark(box); });
    }
}

void StaffForm::takeStartingPoint()
{
    const bool had = hasUnconfirmedEdits();
    for (auto it = startingPoint_.begin(); it != startingPoint_.end(); ++it)
        it.value() = shownBy(it.key());
    for (QWidget* box : std::as_const(marked_))
        showMark(box, false);
    marked_.clear();
    if (had)
        emit unconfirmedEditsChanged(false);
}

// A list filled or emptied by the program: what the box shows now is its
// new starting point.
void StaffForm::restartMark(QWidget* box)
{
    startingPoint_.insert(box, shownBy(box));
    if (!marked_.remove(box))
        return;
    showMark(box, false);
    if (!hasUnconfirmedEdits())
        emit unconfirmedEditsChanged(false);
}

void StaffForm::updateMark(QWidget* box)
{
    if (programIsChanging_)
        return; // the starting point is taken again when the change is done
    const Shown now = shownBy(box);
    const Shown start = startingPoint_.value(box);
    const bool changed = now.text != start.text || now.index != start.index;
    if (changed == marked_.contains(box))
        return;
    const bool had = hasUnconfirmedEdits();
    if (changed)
        marked_.insert(box);
    else
        marked_.remove(box);
    showMark(box, changed);
    if (had != hasUnconfirmedEdits())
        emit unconfirmedEditsChanged(hasUnconfirmedEdits());
}
