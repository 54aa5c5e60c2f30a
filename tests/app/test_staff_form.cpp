#include "form/staff_form.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStringListModel>
#include <QStyleOption>
#include <QTabWidget>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>

using namespace rostradb;

namespace {

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <class Widget>
Widget* find(const StaffForm& form, std::string_view name)
{
    return form.findChild<Widget*>(qs(name));
}

FormUpdate text(std::string_view control, std::string value)
{
    return {.kind = FormUpdate::Kind::Text, .control = control, .text = std::move(value)};
}
FormUpdate selectItem(std::string_view control, std::int64_t index)
{
    return {.kind = FormUpdate::Kind::ComboIndex, .control = control, .text = {}, .index = index};
}
FormUpdate visible(std::string_view control, bool shown)
{
    return {.kind = FormUpdate::Kind::Visible, .control = control, .text = {}, .flag = shown};
}
FormUpdate offered(std::string_view control, bool offer)
{
    return {.kind = FormUpdate::Kind::TabOffered, .control = control, .text = {}, .flag = offer};
}

// The names of the controls of one kind in the editor's list.
std::set<std::string> controlsOf(ControlKind kind)
{
    std::set<std::string> names;
    for (const FormControl& c : formControls())
        if (c.kind == kind)
            names.emplace(c.name);
    return names;
}

// Every edit box the editor's list binds to a field, each once.
std::set<std::string> boundEdits() { return controlsOf(ControlKind::Edit); }

template <class Map>
std::set<std::string> keys(const Map& map)
{
    std::set<std::string> names;
    for (const auto& entry : map)
        names.insert(entry.first);
    return names;
}

bool tabOffered(const StaffForm& form, std::string_view page)
{
    return form.pages()->isTabVisible(form.pages()->indexOf(find<QWidget>(form, page)));
}

// The width a line edit has for its text: inside the frame, less the edit's
// inner margin on each side and the cursor.
int textRoom(const QLineEdit* edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    return contents.width() - edit->textMargins().left() - edit->textMargins().right() - 2 * 2 - 1;
}

// The longest text an edit box must show in full.
QString widestValue(const QString& name)
{
    if (name == "ed_wages" || name == "ed_value")
        return QStringLiteral("4294967295");
    if (name.startsWith("ed_day") || name.startsWith("ed_year"))
        return QStringLiteral("9999"); // a day of the year, a four-digit year
    const FormControl* c = findFormControl(name.toStdString());
    const bool wide = c && c->showsPlayer() && c->playerField.width == 2;
    return wide ? QStringLiteral("65535") : QStringLiteral("255");
}

} // namespace

class TestStaffForm : public QObject {
    Q_OBJECT

private slots:
    // Catches drift between the editor's control names and the form.
    void holdsEveryControlTheEditorNames()
    {
        StaffForm form;
        for (const std::string& name : boundEdits())
            QVERIFY2(find<QLineEdit>(form, name), name.c_str());
        for (const std::string& name : controlsOf(ControlKind::CodeBox))
            QVERIFY2(find<QComboBox>(form, name), name.c_str());
        QVERIFY(find<QComboBox>(form, control::kClub));
        for (std::string_view name : {control::kStaffPosition, control::kPlayerPosition, control::kNonPlayerPosition})
            QVERIFY2(find<QSpinBox>(form, name), name.data());
        QCOMPARE(find<QPlainTextEdit>(form, control::kStaffHelp), form.helpMemo());
        QCOMPARE(find<QTabWidget>(form, control::kStaffPages), form.pages());

        // values() reads exactly the bound edits (not the invisible month
        // boxes) and the seven lookup boxes.
        const FormValues values = form.values();
        QCOMPARE(keys(values.texts), boundEdits());
        const std::set<std::string> selections = controlsOf(ControlKind::LookupBox);
        QCOMPARE(selections.size(), std::size_t{7});
        for (const std::string& name : selections)
            QVERIFY2(find<QComboBox>(form, name), name.c_str());
        QCOMPARE(keys(values.selections), selections);
        QCOMPARE(keys(values.shownSelections), selections);
        for (const char* month : {"ed_mntb", "ed_mntj", "ed_mntc"})
            QVERIFY2(find<QLineEdit>(form, month) && find<QLineEdit>(form, month)->isHidden(), month);

        QStringList pages;
        for (int i = 0; i < form.pages()->count(); ++i)
            pages << form.pages()->widget(i)->objectName() + ":" + form.pages()->tabText(i);
        QCOMPARE(pages, QStringList({"TabSheet8:General", "tab_staffpl:Attrbutes", "tab_staffnp:Attributes",
                                     "TabSheet11:Other Attributes", "TabSheet12:Other stuff"}));
    }

    void controlsSitOnTheirPageBesideTheirLabel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("label");
        QTest::newRow("loyalty") << "ed_loyl" << "TabSheet11" << "Loyality";
        QTest::newRow("dribbling") << "ed_dribb" << "tab_staffpl" << "Dribbeling";
        QTest::newRow("versatility") << "ed_versa" << "tab_staffpl" << "Versatatility";
        QTest::newRow("judging potential") << "ed_jpot" << "tab_staffnp" << "judging potential";
        QTest::newRow("pati") << "ed_pati" << "tab_staffnp" << "Penalties";
        QTest::newRow("defensive mid") << "ed_dm" << "TabSheet8" << "DefensiveMid";
        QTest::newRow("caps") << "ed_caps" << "TabSheet8" << "Caps/Goals";
        QTest::newRow("nation") << "cbx_anation" << "TabSheet8" << "Nation playing for";
        QTest::newRow("spare") << "cbx_displr3" << "TabSheet12" << QString();
    }

    void controlsSitOnTheirPageBesideTheirLabel()
    {
        QFETCH(QString, name);
        QFETCH(QString, page);
        QFETCH(QString, label);
        StaffForm form;
        auto* box = form.findChild<QWidget*>(name);
        QVERIFY(box);
        QCOMPARE(box->parentWidget()->objectName(), page);
        if (label.isEmpty())
            return;
        const QList<QLabel*> labels = box->parentWidget()->findChildren<QLabel*>();
        const auto it = std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->buddy() == box; });
        QVERIFY2(it != labels.end(), "no label beside the box");
        QCOMPARE((*it)->text(), label);
    }

    void codeBoxesListTheCodes()
    {
        StaffForm form;
        const struct {
            const char* box;
            int count;
            std::map<int, QString> items;
        } expected[] = {
            {"cbx_jobn", 17, {{0, "JOB_INVALID_JOB\t"}, {14, "PLAYER_RESERVE_TEAM_MANAGER"}}},
            {"cbx_jobc", 17, {{13, "JOB_PLAYER_ASSISTANT_MANAGER"}, {16, "JOB_PLAYER_RETIRED"}}},
            {"cbx_squad", 9, {{3, ""}, {4, "NATION_MAIN_SQUAD"}, {5, ""}, {7, ""}, {8, "NATION_B_SQUAD"}}},
            {"cbx_class", 7, {{3, "NON_PLAYER_AND_PLAYER"}, {6, "SPARE_NON_PLAYER"}}},
        };
        for (const auto& code : expected) {
            auto* box = find<QComboBox>(form, code.box);
            QVERIFY2(!box->isEnabled(), code.box);
            QCOMPARE(box->count(), code.count);
            for (const auto& [index, item] : code.items)
                QCOMPARE(box->itemText(index), item);
        }
    }

    void startsWithTheHelpMemoAndResetsToIt()
    {
        StaffForm form;
        QCOMPARE(form.size(), QSize(505, 377));
        QCOMPARE(form.helpMemo()->geometry(), form.rect());
        QCOMPARE(form.pages()->geometry(), form.rect());
        QVERIFY(form.helpMemo()->isReadOnly());
        const QStringList lines = form.helpMemo()->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 14);
        QCOMPARE(lines[0], QStringLiteral("ROSTRA db staff editing help and info"));
        QCOMPARE(lines[1], QString(53, u'-'));
        QCOMPARE(lines[11], QString(53, u'-'));
        QCOMPARE(lines[13], QStringLiteral("Good luck!!!!"));
        verifyStartState(form);
        if (QTest::currentTestFailed())
            return;

        form.setLookupModel(LookupTable::FirstNames, new QStringListModel({"Ann", "Bea", "none"}, &form));
        form.apply({visible(control::kStaffHelp, false), visible(control::kStaffPages, true),
                    offered(control::kNonPlayerTab, true), offered(control::kPlayerTab, false), text("ed_wages", "12"),
                    text("ed_visio", "3"), text("idnp", "-1"), selectItem("cbx_fname", 1), selectItem("cbx_class", 2)});
        find<QLineEdit>(form, "ed_mntb")->setText("7");
        form.pages()->setCurrentIndex(0);
        form.reset();
        verifyStartState(form);
        QCOMPARE(form.lookupBoxCounts().firstNames, 3); // the items stay
    }

    void applyChangesControlsInOrder()
    {
        StaffForm form;
        form.apply({text("ed_accel", "1"), text("ed_accel", "2"), selectItem("cbx_squad", 3),
                    selectItem("cbx_class", 4), selectItem("cbx_jobn", 17), visible(control::kStaffHelp, false),
                    visible(control::kStaffPages, true), offered(control::kNonPlayerTab, true),
                    offered(control::kPlayerTab, false)});
        QCOMPARE(find<QLineEdit>(form, "ed_accel")->text(), QStringLiteral("2"));
        QCOMPARE(find<QComboBox>(form, "cbx_squad")->currentIndex(), 3); // an empty item
        QCOMPARE(find<QComboBox>(form, "cbx_class")->currentText(), QStringLiteral("YOUTH_PLAYER"));
        QCOMPARE(find<QComboBox>(form, "cbx_jobn")->currentIndex(), -1); // a code beyond the list
        QCOMPARE(find<QComboBox>(form, "cbx_jobn")->currentText(), QString());
        QVERIFY(form.helpMemo()->isHidden());
        QVERIFY(!form.pages()->isHidden());
        QVERIFY(tabOffered(form, control::kNonPlayerTab));
        QVERIFY(!tabOffered(form, control::kPlayerTab));

        form.apply({offered(control::kPlayerTab, true), selectItem("cbx_jobn", 5), selectItem("cbx_jobn", -1)});
        QVERIFY(tabOffered(form, control::kPlayerTab));
        QCOMPARE(find<QComboBox>(form, "cbx_jobn")->currentIndex(), -1);
    }

    void applyPausesRepaintingUntilDone()
    {
        StaffForm form;
        bool pausedDuringChange = false;
        connect(find<QLineEdit>(form, "ed_wages"), &QLineEdit::textChanged, &form,
                [&] { pausedDuringChange = !form.updatesEnabled(); });
        // Showing a person: many boxes at once, painted as one change.
        std::vector<FormUpdate> many(20, text("ed_value", "1"));
        many.push_back(text("ed_wages", "5"));
        form.apply(many);
        QVERIFY(pausedDuringChange);
        QVERIFY(form.updatesEnabled());

        // A few boxes (an undo) repaint on their own.
        form.apply({text("ed_wages", "4")});
        QVERIFY(!pausedDuringChange);

        form.setUpdatesEnabled(false); // held back by its owner: stays so
        many.back() = text("ed_wages", "6");
        form.apply(many);
        QVERIFY(!form.updatesEnabled());
    }

    void valuesReturnWhatApplyShowed()
    {
        StaffForm form;
        auto* names = new QStringListModel({"Ann", "Bea", "Cid", "none"}, &form);
        form.setLookupModel(LookupTable::FirstNames, names);
        form.setLookupModel(LookupTable::SecondNames, names);
        form.setLookupModel(LookupTable::CommonNames, names);
        form.setLookupModel(LookupTable::Nations, new QStringListModel({"Aland", "Borduria", "none"}, &form));

        std::vector<FormUpdate> updates{text("id", "-2147483648"), text("idpl", "-1"), text("idnp", "2147483647")};
        const std::set<std::string> edits = boundEdits();
        for (const std::string& name : edits)
            updates.push_back(text(name, name + " text")); // each box its own text
        const std::pair<std::string_view, int> selections[] = {
            {"cbx_fname", 0},   {"cbx_sname", 3},   {"cbx_cname", -1},
            {"cbx_fnation", 2}, {"cbx_snation", 1}, {"cbx_anation", 0},
        };
        for (const auto& [box, index] : selections)
            updates.push_back(selectItem(box, index));
        form.apply(updates);

        const FormValues values = form.values();
        QCOMPARE(values.staffPosition, std::numeric_limits<std::int32_t>::min());
        QCOMPARE(values.playerPosition, -1);
        QCOMPARE(values.nonPlayerPosition, std::numeric_limits<std::int32_t>::max());
        QCOMPARE(find<QSpinBox>(form, "id")->text(), QStringLiteral("-2147483648")); // no digit grouping
        for (const std::string& name : edits)
            QCOMPARE(values.texts.at(name), name + " text");
        for (const auto& [box, index] : selections)
            QCOMPARE(values.selections.at(std::string(box)), index);
    }

    void leavingANameBoxKeepsShownAndStoredTheSame()
    {
        StaffForm form;
        auto* names = new QStringListModel({"Ann", "Bea", "Bea", "Cid", "none"}, &form);
        form.setLookupModel(LookupTable::FirstNames, names);
        auto* box = find<QComboBox>(form, "cbx_fname");
        form.apply({selectItem("cbx_fname", 2)});
        const struct {
            const char* typed;
            int index;
            const char* shown;
        } steps[] = {
            {"Bea", 2, "Bea"},    // unchanged: the second of two equal names stays
            {"bea", 2, "Bea"},    // in other capitals too
            {"Cid", 3, "Cid"},    // names an item: selects it
            {"Nobody", 3, "Cid"}, // names none: the selected item's name comes back
            {"ci", 3, "Cid"},     // part of a name is no name
            {"none", 4, "none"},
        };
        for (const auto& step : steps) {
            box->lineEdit()->setText(QString::fromUtf8(step.typed));
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
            QCOMPARE(box->currentText(), QString::fromUtf8(step.shown));
            QCOMPARE(form.values().selections.at("cbx_fname"), step.index);
        }
    }

    // Confirming without leaving the box: values() settles the typed text
    // first, so the selection handed back is the item the box shows.
    void typedTextSettlesBeforeTheValuesAreHandedBack()
    {
        StaffForm form;
        form.setLookupModel(LookupTable::FirstNames, new QStringListModel({"Ann", "Bea", "Cid", "Bea", "none"}, &form));
        form.setLookupModel(LookupTable::Clubs, new QStringListModel({"Athletic", "Rovers", "none"}, &form));
        form.apply({selectItem("cbx_fname", 0), selectItem("cbx_club", 0)});
        auto* names = find<QComboBox>(form, "cbx_fname");
        auto* clubs = find<QComboBox>(form, "cbx_club");
        const struct {
            QComboBox* box;
            const char* typed;
            int index;
            const char* shown;
        } steps[] = {
            {names, "Bea", 1, "Bea"},    // the first of two equal names, in table order
            {names, "cid", 2, "Cid"},    // in any case, as Return would take it
            {names, "Nobody", 2, "Cid"}, // names none: back to the selected item
            {names, "", 2, "Cid"},
            {clubs, "Rovers", 1, "Rovers"},
            {clubs, "Rov", 1, "Rovers"},
        };
        for (const auto& step : steps) {
            step.box->lineEdit()->setText(QString::fromUtf8(step.typed)); // typed, not left
            const FormValues values = form.values();
            QCOMPARE(values.selections.at(step.box->objectName().toStdString()), step.index);
            QCOMPARE(step.box->currentText(), QString::fromUtf8(step.shown));
        }
    }

    void typingWithTheOfferedNamesOpenSettlesToo()
    {
        StaffForm form;
        auto* nations = new QStringListModel({"Aland", "Borduria", "Bordland", "none"}, &form);
        form.setLookupModel(LookupTable::Nations, nations);
        form.apply({visible(control::kStaffHelp, false), visible(control::kStaffPages, true),
                    selectItem("cbx_snation", 0)});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* box = find<QComboBox>(form, "cbx_snation");
        box->lineEdit()->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), "Bord");
        QTRY_VERIFY(box->completer()->popup()->isVisible());
        QCOMPARE(form.values().selections.at("cbx_snation"), 0); // "Bord" names no nation
        QVERIFY(!box->completer()->popup()->isVisible());
        QCOMPARE(box->currentText(), QStringLiteral("Aland"));
    }

    // A box is marked while it shows something else than when the person
    // was shown or the edits were confirmed; what apply() and reset() do is
    // not the user's.
    void marksFollowTheUsersChanges()
    {
        StaffForm form;
        form.setLookupModel(LookupTable::FirstNames, new QStringListModel({"Ann", "Bea", "none"}, &form));
        QSignalSpy changes(&form, &StaffForm::unconfirmedEditsChanged);
        const auto showPerson = [&](const char* wages) {
            form.apply({text("ed_wages", wages), text("ed_cabl", "7"), selectItem("cbx_fname", 1)});
        };
        showPerson("12");
        QVERIFY(!form.hasUnconfirmedEdits());
        QCOMPARE(changes.count(), 0);

        auto* wages = find<QLineEdit>(form, "ed_wages");
        auto* names = find<QComboBox>(form, "cbx_fname");
        const QColor plain = find<QLineEdit>(form, "ed_value")->palette().color(QPalette::Base);
        QTest::keyClick(wages, Qt::Key_End);
        QTest::keyClick(wages, Qt::Key_3);
        QVERIFY(form.hasUnconfirmedEdits());
        QCOMPARE(form.unconfirmedBoxes(), QStringList{"ed_wages"});
        QCOMPARE(wages->property("unconfirmed").toBool(), true);
        QVERIFY(wages->palette().color(QPalette::Base) != plain);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.last().at(0).toBool(), true);

        names->setCurrentIndex(2);
        QCOMPARE(form.unconfirmedBoxes(), (QStringList{"cbx_fname", "ed_wages"}));
        QCOMPARE(changes.count(), 1); // already unconfirmed
        QTest::keyClick(wages, Qt::Key_Backspace); // back to what was shown
        names->setCurrentIndex(1);
        QVERIFY(!form.hasUnconfirmedEdits());
        QCOMPARE(wages->property("unconfirmed").toBool(), false);
        QCOMPARE(wages->palette().color(QPalette::Base), plain);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(changes.last().at(0).toBool(), false);

        // Showing, confirming and resetting each start afresh.
        const std::function<void()> fresh[] = {[&] { showPerson("99"); }, [&] { form.markConfirmed(); },
                                               [&] { form.reset(); }};
        int typed = 20;
        for (const auto& startAfresh : fresh) {
            find<QLineEdit>(form, "ed_cabl")->setText(QString::number(++typed));
            QVERIFY(form.hasUnconfirmedEdits());
            startAfresh();
            QVERIFY(!form.hasUnconfirmedEdits());
            QVERIFY(form.unconfirmedBoxes().isEmpty());
            QCOMPARE(find<QLineEdit>(form, "ed_cabl")->property("unconfirmed").toBool(), false);
            QCOMPARE(changes.last().at(0).toBool(), false);
        }
        QCOMPARE(changes.count(), 8);

        // Text typed and settled back to the selected name leaves no mark.
        showPerson("5");
        names->lineEdit()->setText("Nobody");
        QVERIFY(form.hasUnconfirmedEdits());
        form.values();
        QVERIFY(!form.hasUnconfirmedEdits());
    }

    // A text that will be stored as another number gets its own mark, red
    // text that combines with the amber of a changed box, and a tooltip.
    void warningMarksShowWhatWillBeStored()
    {
        StaffForm form;
        form.apply({text("ed_wages", "12"), text("ed_pace", "9"), text("ed_cabl", "7")});
        const QColor plainText = find<QLineEdit>(form, "ed_wages")->palette().color(QPalette::Text);
        struct Case {
            const char* box;
            const char* typed;
            const char* tooltip; // empty: stored as typed
        };
        for (const Case& c : {Case{"ed_wages", "15,000", "Will be stored as 15"},
                              Case{"ed_wages", "1.5e4", "Will be stored as 1"},
                              Case{"ed_wages", "-5", "Will be stored as 4294967291"},
                              Case{"ed_pace", "256", "Will be stored as 0"},
                              Case{"ed_cabl", "-5 ", "Will be stored as 5"},
                              Case{"ed_wages", " 15000 ", ""}, Case{"ed_pace", "$1F", ""},
                              Case{"ed_cabl", "", ""}}) {
            auto* box = find<QLineEdit>(form, c.box);
            box->setText(c.typed);
            const bool warned = *c.tooltip != '\0';
            QCOMPARE(box->property("notAsTyped").toBool(), warned);
            QCOMPARE(box->toolTip(), QString::fromLatin1(c.tooltip));
            QCOMPARE(box->palette().color(QPalette::Text) != plainText, warned);
            QCOMPARE(box->property("unconfirmed").toBool(), true); // the change mark stays as it was
            QCOMPARE(form.notAsTypedBoxes(), warned ? QStringList{qs(c.box)} : QStringList());
            box->setText(QStringLiteral("0"));
        }
        // Showing a person clears every warning.
        find<QLineEdit>(form, "ed_pace")->setText("300");
        form.apply({text("ed_pace", "9")});
        QVERIFY(form.notAsTypedBoxes().isEmpty());
        QCOMPARE(find<QLineEdit>(form, "ed_pace")->palette().color(QPalette::Text), plainText);
    }

    // The club is stored only when picked: values() tells the commit which
    // item the display selected, and after a confirm, which one was stored.
    void valuesTellWhichItemWasShown()
    {
        StaffForm form;
        form.setLookupModel(LookupTable::Clubs, new QStringListModel({"Athletic", "Rovers", "United", "none"}, &form));
        form.apply({selectItem("cbx_club", 3)});
        find<QComboBox>(form, "cbx_club")->setCurrentIndex(1);
        FormValues values = form.values();
        QCOMPARE(values.selections.at("cbx_club"), 1);
        QCOMPARE(values.shownSelections.at("cbx_club"), 3);
        form.markConfirmed();
        values = form.values();
        QCOMPARE(values.shownSelections.at("cbx_club"), 1);
        QCOMPARE(values.shownSelections.at("cbx_fname"), -1);
    }

    void lookupModelsAreSharedAndFillWithoutSelecting()
    {
        StaffForm form;
        auto* nations = new QStringListModel(&form);
        auto* names = new QStringListModel(&form);
        form.setLookupModel(LookupTable::Nations, nations);
        form.setLookupModel(LookupTable::CommonNames, names);
        form.setLookupModel(LookupTable::Clubs, new QStringListModel({"Athletic", "none"}, &form));
        nations->setStringList({"Aland", "Borduria", "Carpania", "none"}); // a reset
        QVERIFY(names->insertRows(0, 2));                                  // rows into an empty list
        for (const char* name : {"cbx_fnation", "cbx_snation", "cbx_anation", "cbx_cname"}) {
            auto* box = find<QComboBox>(form, name);
            QCOMPARE(box->model(), name == std::string("cbx_cname") ? names : nations);
            QCOMPARE(box->completer()->model(), box->model());
            // Nothing is selected before a person is shown.
            QVERIFY2(box->currentIndex() == -1 && box->currentText().isEmpty(), name);
        }
        const LookupBoxCounts counts = form.lookupBoxCounts();
        QVERIFY(counts.nations == 4 && counts.commonNames == 2 && counts.clubs == 2 && counts.firstNames == 0);

        form.apply({selectItem("cbx_fnation", 1), selectItem("cbx_cname", 1)});
        QCOMPARE(find<QComboBox>(form, "cbx_fnation")->currentText(), QStringLiteral("Borduria"));
        QCOMPARE(find<QComboBox>(form, "cbx_snation")->currentIndex(), -1);
        QVERIFY(names->insertRows(2, 1)); // once shown, more rows leave the selection alone
        QCOMPARE(find<QComboBox>(form, "cbx_cname")->currentIndex(), 1);
        form.setLookupModel(LookupTable::CommonNames, new QStringListModel({"Cid", "none"}, &form));
        form.apply({selectItem("cbx_cname", 0)});
        names->setStringList({"Dan"}); // a replaced list no longer steers the box
        QCOMPARE(find<QComboBox>(form, "cbx_cname")->currentText(), QStringLiteral("Cid"));

        // Typing part of a name, in any case, offers the entries holding it.
        QCompleter* completer = find<QComboBox>(form, "cbx_anation")->completer();
        completer->setCompletionPrefix("OR");
        QCOMPARE(completer->completionCount(), 1);
        QCOMPARE(completer->currentCompletion(), QStringLiteral("Borduria"));
    }

    void everyPageFitsAtElevenPixelVerdana()
    {
        StaffForm form;
        QFont font("Verdana");
        font.setPixelSize(11);
        form.setFont(font);
        form.apply({visible(control::kStaffHelp, false), visible(control::kStaffPages, true),
                    offered(control::kNonPlayerTab, true)});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        for (int i = 0; i < form.pages()->count(); ++i) {
            form.pages()->setCurrentIndex(i);
            QCoreApplication::processEvents();
            QWidget* page = form.pages()->widget(i);
            page->layout()->activate();
            QVERIFY(page->width() > 400 && page->height() > 300);
            QList<QWidget*> shown;
            for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!child->isHidden())
                    shown << child;
            for (int a = 0; a < shown.size(); ++a) {
                const QString where = page->objectName() + "/" + shown[a]->objectName();
                QVERIFY2(page->rect().contains(shown[a]->geometry()), qPrintable(where + " sticks out"));
                for (int b = a + 1; b < shown.size(); ++b)
                    QVERIFY2(!shown[a]->geometry().intersects(shown[b]->geometry()),
                             qPrintable(where + " overlaps " + shown[b]->objectName()));
                verifyRoomForContents(shown[a], where);
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

private:
    static void verifyStartState(const StaffForm& form)
    {
        QVERIFY(!form.helpMemo()->isHidden());
        QVERIFY(form.pages()->isHidden());
        QCOMPARE(form.pages()->currentWidget()->objectName(), QStringLiteral("tab_staffpl"));
        for (int i = 0; i < form.pages()->count(); ++i)
            QCOMPARE(form.pages()->isTabVisible(i), form.pages()->widget(i)->objectName() != "tab_staffnp");
        for (const QLineEdit* edit : form.findChildren<QLineEdit*>(QRegularExpression("^ed_")))
            QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
        for (const QComboBox* box : form.findChildren<QComboBox*>(QRegularExpression("^cbx_")))
            QVERIFY2(box->currentIndex() == -1 && box->currentText().isEmpty(), qPrintable(box->objectName()));
        for (const QSpinBox* box : form.findChildren<QSpinBox*>())
            QCOMPARE(box->value(), 0);
    }

    // Nothing clipped: labels show their whole text beside their box, edits
    // have room for their widest value, boxes for their items.
    static void verifyRoomForContents(const QWidget* widget, const QString& where)
    {
        if (auto* label = qobject_cast<const QLabel*>(widget)) {
            const QWidget* box = label->buddy();
            QVERIFY2(box, qPrintable(label->text() + " labels nothing"));
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(where + " " + label->text()));
            QVERIFY2(label->geometry().right() < box->geometry().left(), qPrintable(label->text()));
            const int drift = label->geometry().center().y() - box->geometry().center().y();
            QVERIFY2(qAbs(drift) <= 1, qPrintable(label->text()));
        } else if (auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            const QString value = widestValue(edit->objectName());
            QVERIFY2(edit->fontMetrics().horizontalAdvance(value) <= textRoom(edit), qPrintable(where + " " + value));
        } else if (auto* box = qobject_cast<const QComboBox*>(widget)) {
            const QSize needed = box->isEditable() || box->count() == 0 ? box->minimumSizeHint() : box->sizeHint();
            QVERIFY2(box->width() >= needed.width(), qPrintable(where));
        } else if (auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) {
            QVERIFY2(spin->width() >= spin->sizeHint().width(), qPrintable(where));
        }
    }
};

QTEST_MAIN(TestStaffForm)
#include "test_staff_form.moc"
