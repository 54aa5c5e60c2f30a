#pragma once
// The right half of the Staff tab: the help memo `mmo_staffhelp` and, in the
// same place, the page control `Pagecontrol3` that shows one person's values
// and takes the user's edits. The form holds no logic of its own: it applies
// the updates the editor computes, hands back what the user typed, and marks
// the boxes whose value the user changed since the person was shown or the
// changes were confirmed.

#include "editor/commit_edits.h"
#include "editor/form_controls.h"
#include "editor/staff_display.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QWidget>

#include <array>
#include <span>
#include <string_view>
#include <vector>

class QAbstractItemModel;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;

class StaffForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 505;
    static constexpr int kHeight = 377;

    explicit StaffForm(QWidget* parent = nullptr);

    // Applies the updates in order, with repainting paused so that showing a
    // person is one change on screen. What it shows is the new starting
    // point of the change marks: afterwards no box is marked.
    void apply(const std::vector<rostradb::FormUpdate>& updates);

    // The positions, every edit box's text and the selections of the lookup
    // boxes, as "Confirm Changes" commits them. Text typed into a lookup box
    // is settled first (see settleTypedText), so the selections handed back
    // are the items the boxes show.
    rostradb::FormValues values();

    // Whether the user changed some box since the person was shown, the
    // form was reset or markConfirmed() was called.
    bool hasUnconfirmedEdits() const { return !marked_.isEmpty(); }
    // The boxes now hold what the records hold: the marks go.
    void markConfirmed();
    // The object names of the marked boxes, in the form's order.
    QStringList unconfirmedBoxes() const;
    // The object names of the edit boxes whose text will be stored as
    // another number than it says, in the form's order.
    QStringList notAsTypedBoxes() const;

    // What the user typed into each marked box, to be typed again after the
    // form is refilled (an undo that should not lose the typing).
    struct Shown {
        QString text;
        int index = -1; // combo boxes
    };
    using Typed = QHash<QString, Shown>; // by object name
    Typed typedValues() const;
    // Puts typed values back as the user's own edits: the boxes are marked.
    void retype(const Typed& typed);

    // The item list of the boxes that show `table` (the three nation boxes
    // share one model). The model must outlive the form or be replaced.
    void setLookupModel(rostradb::LookupTable table, QAbstractItemModel* model);
    rostradb::LookupBoxCounts lookupBoxCounts() const;

    // Back to the state at start-up: help memo shown, pages hidden, the
    // player tab offered and current, the non-player tab withdrawn, every
    // box empty with no item selected and the positions 0.
    void reset();

    QTabWidget* pages() const { return pages_; }
    QPlainTextEdit* helpMemo() const { return help_; }

signals:
    // The form went from no marked box to some, or back.
    void unconfirmedEditsChanged(bool unconfirmed);

private:
    // The pages and their boxes, built from the editor's list of controls
    // (staff_form_layout.cpp).
    void buildPages();
    QWidget* makeControl(QWidget* page, const rostradb::FormControl& control);

    // Each maker names its control and registers it for apply().
    QLineEdit* makeEdit(QWidget* page, std::string_view name, int width);
    QLineEdit* makeMonthBox(QWidget* page, std::string_view name);
    QComboBox* makeLookupBox(QWidget* page, std::string_view name);
    QComboBox* makeCodeBox(QWidget* page, std::string_view name, std::span<const std::string_view> items);
    QSpinBox* makePositionBox(QWidget* page, std::string_view name);
    QComboBox* makeSpareBox(QWidget* page, std::string_view name);
    void registerControl(QWidget* control, std::string_view name);

    QWidget* control(const rostradb::FormUpdate& update) const;
    QWidget* control(std::string_view name) const;
    std::vector<QComboBox*> lookupBoxes(rostradb::LookupTable table) const;
    QStringList namesInFormOrder(const QSet<QWidget*>& boxes) const;

    // The change marks: what each editable box showed at the last starting
    // point, compared with what it shows now whenever it changes.
    static Shown shownBy(const QWidget* box);
    void watchForEdits(QWidget* box);
    void watchForWarnings(QLineEdit* box, const rostradb::FormControl& c);
    void takeStartingPoint();
    void restartMark(QWidget* box);
    void updateMark(QWidget* box);

    QPlainTextEdit* help_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QHash<QString, QWidget*> controls_; // every named control, for apply()
    std::vector<QComboBox*> boxes_;     // every combo box, for reset()
    QSpinBox* staffPosition_ = nullptr;
    QSpinBox* playerPosition_ = nullptr;
    QSpinBox* nonPlayerPosition_ = nullptr;
    // The connections that keep a lookup box unselected when its model fills.
    QHash<QComboBox*, std::array<QMetaObject::Connection, 2>> modelWatch_;

    QHash<QWidget*, Shown> startingPoint_; // every editable box
    QSet<QWidget*> marked_;
    QSet<QWidget*> warned_; // text not stored as typed
    bool programIsChanging_ = false; // apply(), reset(): not the user's edits
};
