#pragma once
// The right half of the Staff tab: the help memo `mmo_staffhelp` and, in the
// same place, the page control `Pagecontrol3` that shows one person's values
// and takes the user's edits. The form holds no logic of its own: it applies
// the updates the editor computes and hands back what the user typed.

#include "editor/commit_edits.h"
#include "editor/form_controls.h"
#include "editor/staff_display.h"

#include <QHash>
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
    // person is one change on screen.
    void apply(const std::vector<rostradb::FormUpdate>& updates);

    // The positions, every edit box's text and the six name and nation
    // selections, as "Confirm Changes" commits them.
    rostradb::FormValues values() const;

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

private:
    QWidget* addPage(std::string_view name, const char* caption);
    void buildGeneralPage(QWidget* page);
    void buildPlayerAttributePage(QWidget* page);
    void buildNonPlayerAttributePage(QWidget* page);
    void buildOtherAttributePage(QWidget* page);
    void buildOtherStuffPage(QWidget* page);

    // Each maker names its control and registers it for apply().
    QLineEdit* makeEdit(QWidget* page, std::string_view name, int width);
    QLineEdit* makeMonthBox(QWidget* page, std::string_view name);
    QComboBox* makeLookupBox(QWidget* page, std::string_view name);
    QComboBox* makeCodeBox(QWidget* page, std::string_view name, std::span<const std::string_view> items);
    QSpinBox* makePositionBox(QWidget* page, std::string_view name);
    QComboBox* makeSpareBox(QWidget* page, std::string_view name);
    void registerControl(QWidget* control, std::string_view name);

    QWidget* control(const rostradb::FormUpdate& update) const;
    std::vector<QComboBox*> lookupBoxes(rostradb::LookupTable table) const;

    QPlainTextEdit* help_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QHash<QString, QWidget*> controls_; // every named control, for apply()
    std::vector<QLineEdit*> edits_;     // the edit boxes values() reads back
    std::vector<QComboBox*> boxes_;     // every combo box, for reset()
    QSpinBox* staffPosition_ = nullptr;
    QSpinBox* playerPosition_ = nullptr;
    QSpinBox* nonPlayerPosition_ = nullptr;
    // First, second and common name, the three nations, club: the order of
    // LookupBoxCounts, with each nation box in it.
    std::array<QComboBox*, 7> lookup_{};
    // The connections that keep a lookup box unselected when its model fills.
    QHash<QComboBox*, std::array<QMetaObject::Connection, 2>> modelWatch_;
};
