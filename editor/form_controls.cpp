#include "form_controls.h"

#include <vector>

#include <type_traits>

namespace rostradb {

// The tables are constant-initialised, so other units may use them from
// their own static initialisers.

// Code 0's item text carries a trailing tab character; it is part of the
// item and is kept.
constexpr std::array<std::string_view, 17> kJobCodeNames{
    "JOB_INVALID_JOB\t",
    "JOB_CHAIRMAN",
    "JOB_MANAGING_DIRECTOR",
    "JOB_GENERAL_MANAGER",
    "JOB_DIRECTOR_OF_FOOTBALL",
    "JOB_MANAGER",
    "JOB_ASSISTANT_MANAGER",
    "JOB_RESERVE_TEAM_MANAGER",
    "JOB_COACH",
    "JOB_SCOUT",
    "JOB_PHYSIO",
    "JOB_PLAYER",
    "JOB_PLAYER_MANAGER",
    "JOB_PLAYER_ASSISTANT_MANAGER",
    "PLAYER_RESERVE_TEAM_MANAGER",
    "JOB_PLAYER_COACH",
    "JOB_PLAYER_RETIRED",
};

// Only codes 0, 1, 2, 4 and 8 have names; the codes between them get empty
// items so that an item's index stays equal to its code.
constexpr std::array<std::string_view, 9> kSquadCodeNames{
    "INVALID_SQUAD", "CLUB_SENIOR_SQUAD", "CLUB_RESERVE_SQUAD", "", "NATION_MAIN_SQUAD", "", "", "", "NATION_B_SQUAD",
};

constexpr std::array<std::string_view, 7> kClassificationCodeNames{
    "INVALID_CLASSIFICATION", "NON_PLAYER",        "PLAYER",           "NON_PLAYER_AND_PLAYER",
    "YOUTH_PLAYER",           "NEW_HUMAN_MANAGER", "SPARE_NON_PLAYER",
};

namespace {

// Where a control stands: its page and its block on that page.
struct Place {
    FormPage page;
    FormBlock block;
};

constexpr Place kNames{FormPage::General, FormBlock::NamesAndNations};
constexpr Place kDetails{FormPage::General, FormBlock::ClubCodesDatesMoney};
constexpr Place kRatings{FormPage::General, FormBlock::Ratings};
constexpr Place kPositions{FormPage::General, FormBlock::Positions};
constexpr Place kPlayerPage{FormPage::PlayerAttributes, FormBlock::PlayerAttributes};
constexpr Place kNonPlayerPage{FormPage::NonPlayerAttributes, FormBlock::NonPlayerAttributes};
constexpr Place kMental{FormPage::OtherAttributes, FormBlock::MentalAndAbility};
constexpr Place kPreferences{FormPage::OtherStuff, FormBlock::Preferences};

constexpr FormControl placed(Place place, std::string_view name, std::string_view label, ControlKind kind)
{
    FormControl c{};
    c.name = name;
    c.label = label;
    c.page = place.page;
    c.block = place.block;
    c.kind = kind;
    return c;
}

// The widest unsigned value of a field of `bytes` bytes, in decimal digits.
constexpr std::uint8_t digitsOf(std::size_t bytes)
{
    return bytes == 1 ? 3 : bytes == 2 ? 5 : 10;
}

template <auto Member>
constexpr void bind(FormControl& c)
{
    using Record = typename MemberTraits<decltype(Member)>::Record;
    c.field<Record>() = fieldAccess<Member>();
}

template <auto Member>
constexpr FormControl edit(Place place, std::string_view name, std::string_view label,
                           NumberWidth reading = NumberWidth::Bits32)
{
    FormControl c = placed(place, name, label, ControlKind::Edit);
    bind<Member>(c);
    c.reading = reading;
    c.digits = digitsOf(sizeof(typename MemberTraits<decltype(Member)>::Type));
    return c;
}

// A day of the year or a year: four digits at most.
template <auto Member>
constexpr FormControl date(std::string_view name, std::string_view label)
{
    FormControl c = edit<Member>(kDetails, name, label);
    c.digits = 4;
    return c;
}

constexpr FormControl month(std::string_view name, std::string_view label)
{
    FormControl c = placed(kDetails, name, label, ControlKind::MonthBox);
    c.digits = 4;
    return c;
}

// Shown and committed from whichever record the person has; someone who is
// both sees, and commits, the non-player record's values.
template <auto PlayerMember, auto NonPlayerMember>
constexpr FormControl ability(std::string_view name, std::string_view label)
{
    FormControl c = edit<PlayerMember>(kMental, name, label);
    bind<NonPlayerMember>(c);
    return c;
}

template <auto Member>
constexpr FormControl lookup(Place place, std::string_view name, std::string_view label, LookupTable table)
{
    FormControl c = placed(place, name, label, ControlKind::LookupBox);
    bind<Member>(c);
    c.table = table;
    c.fromSelectedRecord = true;
    return c;
}

constexpr FormControl club()
{
    FormControl c = placed(kDetails, control::kClub, "Club playing for", ControlKind::LookupBox);
    bind<&StaffRecord::clubContracted>(c);
    c.table = LookupTable::Clubs;
    return c;
}

template <auto Member>
constexpr FormControl code(std::string_view name, std::string_view label, std::span<const std::string_view> codes)
{
    FormControl c = placed(kDetails, name, label, ControlKind::CodeBox);
    bind<Member>(c);
    c.codes = codes;
    return c;
}

constexpr FormControl position(std::string_view name, std::string_view label, std::string_view hint)
{
    FormControl c = placed(kPositions, name, label, ControlKind::PositionBox);
    c.hint = hint;
    return c;
}

constexpr FormControl spare(std::string_view name, std::string_view label)
{
    return placed(kPreferences, name, label, ControlKind::SpareBox);
}

// Every control of the form, page by page and block by block in the order
// the window lays them out. The order of the display's and the commit's
// writes within one record cannot be observed, so both walk this order too.
constexpr FormControl kControls[] = {
    // General: names beside nations.
    lookup<&StaffRecord::firstName>(kNames, "cbx_fname", "First name", LookupTable::FirstNames),
    lookup<&StaffRecord::secondName>(kNames, "cbx_sname", "Second name", LookupTable::SecondNames),
    lookup<&StaffRecord::commonName>(kNames, "cbx_cname", "Common name", LookupTable::CommonNames),
    lookup<&StaffRecord::nation>(kNames, "cbx_fnation", "First Nation", LookupTable::Nations),
    lookup<&StaffRecord::secondNation>(kNames, "cbx_snation", "Second Nation", LookupTable::Nations),
    lookup<&StaffRecord::nationContracted>(kNames, "cbx_anation", "Nation playing for", LookupTable::Nations),

    // General: club and codes, then dates and money. A stored date is a day
    // of the year and a year: the month box between them has nothing to show.
    club(),
    code<&StaffRecord::jobForNation>("cbx_jobn", "Job for the nation", kJobCodeNames),
    code<&StaffRecord::jobForClub>("cbx_jobc", "Job for the club", kJobCodeNames),
    code<&StaffRecord::squad>("cbx_squad", "Squad type", kSquadCodeNames),
    code<&StaffRecord::classification>("cbx_class", "Classification", kClassificationCodeNames),
    edit<&PlayerRecord::squadNumber>(kDetails, "ed_squad", "Squad number"),
    date<&StaffRecord::birthDay>("ed_dayb", "Birth"),
    month("ed_mntb", "Birth"),
    date<&StaffRecord::birthYear>("ed_yearb", "Birth"),
    date<&StaffRecord::joinedDay>("ed_dayjc", "Joined"),
    month("ed_mntj", "Joined"),
    date<&StaffRecord::joinedYear>("ed_yearjc", "Joined"),
    date<&StaffRecord::contractDay>("ed_daycc", "Contract"),
    month("ed_mntc", "Contract"),
    date<&StaffRecord::contractYear>("ed_yearcc", "Contract"),
    // Read in 64 bits so that every unsigned 32-bit amount, and its negative
    // spelling, can be typed back.
    edit<&StaffRecord::value>(kDetails, "ed_value", "Value", NumberWidth::Bits64),
    edit<&StaffRecord::wages>(kDetails, "ed_wages", "Wages", NumberWidth::Bits64),
    edit<&StaffRecord::internationalCaps>(kDetails, "ed_caps", "Caps/Goals"),
    edit<&StaffRecord::internationalGoals>(kDetails, "ed_goal", "Caps/Goals"),

    // General: how well the player plays each position and side. The record
    // keeps right before left; the form shows left, centre, right.
    edit<&PlayerRecord::goalkeeper>(kRatings, "ed_gk", "Goalkeeper"),
    edit<&PlayerRecord::sweeper>(kRatings, "ed_sw", "Sweeper"),
    edit<&PlayerRecord::defender>(kRatings, "ed_d", "Defender"),
    edit<&PlayerRecord::defensiveMidfielder>(kRatings, "ed_dm", "DefensiveMid"),
    edit<&PlayerRecord::midfielder>(kRatings, "ed_m", "Midfielder"),
    edit<&PlayerRecord::attackingMidfielder>(kRatings, "ed_am", "Attacking Mid"),
    edit<&PlayerRecord::attacker>(kRatings, "ed_s", "Attacker"),
    edit<&PlayerRecord::wingBack>(kRatings, "ed_wb", "WingBack"),
    edit<&PlayerRecord::freeRole>(kRatings, "ed_fr", "Freerole"),
    edit<&PlayerRecord::leftSide>(kRatings, "ed_l", "Left"),
    edit<&PlayerRecord::centre>(kRatings, "ed_c", "Center"),
    edit<&PlayerRecord::rightSide>(kRatings, "ed_r", "Right"),

    // General: where the shown records lie in their tables. "Confirm
    // Changes" writes back through these, so they are never typed into.
    position(control::kStaffPosition, "Staff", "Position of the shown person in the staff table"),
    position(control::kPlayerPosition, "Player", "Position of the person's record in the player table"),
    position(control::kNonPlayerPosition, "Non-player", "Position of the person's record in the non-player table"),

    // Player attributes: alphabetical by control name, which is also the
    // record's order.
    edit<&PlayerRecord::acceleration>(kPlayerPage, "ed_accel", "Acceleration"),
    edit<&PlayerRecord::aggression>(kPlayerPage, "ed_aggre", "Aggression"),
    edit<&PlayerRecord::agility>(kPlayerPage, "ed_agili", "Agility"),
    edit<&PlayerRecord::anticipation>(kPlayerPage, "ed_antic", "Anticipation"),
    edit<&PlayerRecord::balance>(kPlayerPage, "ed_balan", "Balance"),
    edit<&PlayerRecord::bravery>(kPlayerPage, "ed_brave", "Bravery"),
    edit<&PlayerRecord::consistency>(kPlayerPage, "ed_consi", "Consistency"),
    edit<&PlayerRecord::corners>(kPlayerPage, "ed_corne", "Corners"),
    edit<&PlayerRecord::crossing>(kPlayerPage, "ed_cross", "Crossing"),
    edit<&PlayerRecord::decisions>(kPlayerPage, "ed_decis", "Decisions"),
    edit<&PlayerRecord::dirtiness>(kPlayerPage, "ed_dirti", "Dirtiness"),
    edit<&PlayerRecord::dribbling>(kPlayerPage, "ed_dribb", "Dribbeling"),
    edit<&PlayerRecord::finishing>(kPlayerPage, "ed_finis", "Finishing"),
    edit<&PlayerRecord::flair>(kPlayerPage, "ed_flair", "Flair"),
    edit<&PlayerRecord::freeKicks>(kPlayerPage, "ed_freek", "Free kicks"),
    edit<&PlayerRecord::handling>(kPlayerPage, "ed_handl", "Handeling"),
    edit<&PlayerRecord::heading>(kPlayerPage, "ed_headi", "Heading"),
    edit<&PlayerRecord::importantMatches>(kPlayerPage, "ed_impor", "Important matches"),
    edit<&PlayerRecord::injuryProneness>(kPlayerPage, "ed_injur", "Injury proneness"),
    edit<&PlayerRecord::jumping>(kPlayerPage, "ed_jumpi", "Jumping"),
    edit<&PlayerRecord::leadership>(kPlayerPage, "ed_leade", "Leadership"),
    edit<&PlayerRecord::leftFoot>(kPlayerPage, "ed_leftf", "Left foot"),
    edit<&PlayerRecord::longShots>(kPlayerPage, "ed_longs", "Long shots"),
    edit<&PlayerRecord::marking>(kPlayerPage, "ed_marki", "Marking"),
    edit<&PlayerRecord::movement>(kPlayerPage, "ed_movem", "Movement"),
    edit<&PlayerRecord::naturalFitness>(kPlayerPage, "ed_natur", "Natural Fitness"),
    edit<&PlayerRecord::oneOnOnes>(kPlayerPage, "ed_oneon", "One on One"),
    edit<&PlayerRecord::pace>(kPlayerPage, "ed_pace", "Pace"),
    edit<&PlayerRecord::passing>(kPlayerPage, "ed_passi", "Passing"),
    edit<&PlayerRecord::penalties>(kPlayerPage, "ed_penal", "Penalties"),
    edit<&PlayerRecord::positioning>(kPlayerPage, "ed_posit", "Positioning"),
    edit<&PlayerRecord::reflexes>(kPlayerPage, "ed_refle", "Reflexes"),
    edit<&PlayerRecord::rightFoot>(kPlayerPage, "ed_right", "Right foot"),
    edit<&PlayerRecord::stamina>(kPlayerPage, "ed_stami", "Stamina"),
    edit<&PlayerRecord::strength>(kPlayerPage, "ed_stren", "Strength"),
    edit<&PlayerRecord::tackling>(kPlayerPage, "ed_tackl", "Tackling"),
    edit<&PlayerRecord::teamwork>(kPlayerPage, "ed_teamw", "Teamwork"),
    edit<&PlayerRecord::technique>(kPlayerPage, "ed_techn", "Technique"),
    edit<&PlayerRecord::throwIns>(kPlayerPage, "ed_throw", "Throwins"),
    edit<&PlayerRecord::versatility>(kPlayerPage, "ed_versa", "Versatatility"),
    edit<&PlayerRecord::vision>(kPlayerPage, "ed_visio", "Vision"),
    edit<&PlayerRecord::workRate>(kPlayerPage, "ed_workr", "Workrate"),

    // Non-player attributes. The last six repeat labels of the player page
    // although their bytes hold other values; what they measure is not
    // known, and users know the boxes by these labels, so they stay.
    edit<&NonPlayerRecord::attacking>(kNonPlayerPage, "ed_atta", "Attacking"),
    edit<&NonPlayerRecord::business>(kNonPlayerPage, "ed_busi", "Business"),
    edit<&NonPlayerRecord::coaching>(kNonPlayerPage, "ed_coac", "Coaching"),
    edit<&NonPlayerRecord::coachingGoalkeepers>(kNonPlayerPage, "ed_cgks", "Coaching Goalkeepers"),
    edit<&NonPlayerRecord::coachingTechnique>(kNonPlayerPage, "ed_ctec", "Coaching Technique"),
    edit<&NonPlayerRecord::directness>(kNonPlayerPage, "ed_dire", "Directness"),
    edit<&NonPlayerRecord::discipline>(kNonPlayerPage, "ed_disc", "Discipline"),
    edit<&NonPlayerRecord::freeRoles>(kNonPlayerPage, "ed_free", "Free roles"),
    edit<&NonPlayerRecord::interference>(kNonPlayerPage, "ed_inte", "Interference"),
    edit<&NonPlayerRecord::judgement>(kNonPlayerPage, "ed_judg", "Judgement"),
    edit<&NonPlayerRecord::judgingPotential>(kNonPlayerPage, "ed_jpot", "judging potential"),
    edit<&NonPlayerRecord::manHandling>(kNonPlayerPage, "ed_manh", "man handling"),
    edit<&NonPlayerRecord::marking>(kNonPlayerPage, "ed_mark", "Marking"),
    edit<&NonPlayerRecord::motivating>(kNonPlayerPage, "ed_moti", "Motivating"),
    edit<&NonPlayerRecord::offside>(kNonPlayerPage, "ed_offs", "Offside"),
    edit<&NonPlayerRecord::pati>(kNonPlayerPage, "ed_pati", "Penalties"),
    edit<&NonPlayerRecord::phys>(kNonPlayerPage, "ed_phys", "Positioning"),
    edit<&NonPlayerRecord::prss>(kNonPlayerPage, "ed_prss", "Reflexes"),
    edit<&NonPlayerRecord::reso>(kNonPlayerPage, "ed_reso", "Right foot"),
    edit<&NonPlayerRecord::tact>(kNonPlayerPage, "ed_tact", "Stamina"),
    edit<&NonPlayerRecord::youn>(kNonPlayerPage, "ed_youn", "Strength"),

    // Other Attributes: the mental values, then ability and reputation,
    // which are shown from the player or the non-player record, whichever
    // the person has.
    edit<&StaffRecord::adaptability>(kMental, "ed_adap", "Adaptability"),
    edit<&StaffRecord::ambition>(kMental, "ed_ambi", "Ambition"),
    edit<&StaffRecord::determination>(kMental, "ed_dete", "Determination"),
    edit<&StaffRecord::loyalty>(kMental, "ed_loyl", "Loyality"),
    edit<&StaffRecord::pressure>(kMental, "ed_pres", "Pressure"),
    edit<&StaffRecord::professionalism>(kMental, "ed_prof", "Professionalism"),
    edit<&StaffRecord::sportsmanship>(kMental, "ed_sprt", "Sportmanship"),
    edit<&StaffRecord::temperament>(kMental, "ed_temp", "Temprament"),
    ability<&PlayerRecord::currentAbility, &NonPlayerRecord::currentAbility>("ed_cabl", "Current ability"),
    ability<&PlayerRecord::potentialAbility, &NonPlayerRecord::potentialAbility>("ed_pabl", "Potential ability"),
    ability<&PlayerRecord::homeReputation, &NonPlayerRecord::homeReputation>("ed_hrep", "Home reputation"),
    ability<&PlayerRecord::currentReputation, &NonPlayerRecord::currentReputation>("ed_crep", "Current reputation"),
    ability<&PlayerRecord::worldReputation, &NonPlayerRecord::worldReputation>("ed_wrep", "World reputation"),

    // Other stuff: room for the favourite and disliked clubs and people. The
    // game's records for them are not read, so the boxes stay empty.
    spare("cbx_likclb1", "Favourite clubs"),
    spare("cbx_likclb2", "Favourite clubs"),
    spare("cbx_likclb3", "Favourite clubs"),
    spare("cbx_disclb1", "Disliked clubs"),
    spare("cbx_disclb2", "Disliked clubs"),
    spare("cbx_disclb3", "Disliked clubs"),
    spare("cbx_likplr1", "Favourite players"),
    spare("cbx_likplr2", "Favourite players"),
    spare("cbx_likplr3", "Favourite players"),
    spare("cbx_displr1", "Disliked players"),
    spare("cbx_displr2", "Disliked players"),
    spare("cbx_displr3", "Disliked players"),
};

constexpr FormPageInfo kPages[] = {
    {FormPage::General, "TabSheet8", "General"},
    {FormPage::PlayerAttributes, control::kPlayerTab, "Attrbutes"},
    {FormPage::NonPlayerAttributes, control::kNonPlayerTab, "Attributes"},
    {FormPage::OtherAttributes, "TabSheet11", "Other Attributes"},
    {FormPage::OtherStuff, "TabSheet12", "Other stuff"},
};

} // namespace

std::span<const FormPageInfo> formPages() { return kPages; }
std::span<const FormControl> formControls() { return kControls; }

const FormControl* findFormControl(std::string_view name)
{
    for (const FormControl& c : kControls)
        if (c.name == name)
            return &c;
    return nullptr;
}

namespace {

// The controls bound to each field of a layout. A field is found by what it
// holds rather than by comparing accessors: a record with only that field's
// bits set reads as non-zero through every binding to it and as zero
// through all others.
template <class Record, std::size_t N>
std::vector<std::vector<const FormControl*>> controlsByField(const std::array<Field<Record>, N>& layout)
{
    std::vector<std::vector<const FormControl*>> byField(N);
    for (std::size_t f = 0; f < N; ++f) {
        Record probe{};
        layout[f].access.set(probe, 0xFFFFFFFF);
        for (const FormControl& c : kControls) {
            const FieldAccess<Record>& binding = c.field<Record>();
            if (binding.get != nullptr && binding.get(probe) != 0)
                byField[f].push_back(&c);
        }
    }
    return byField;
}

} // namespace

const std::vector<const FormControl*>& formControlsShowing(StaffTable table, std::size_t fieldIndex)
{
    // Worked out once: the list of changes and every undo ask again and again.
    static const auto staff = controlsByField(kStaffLayout);
    static const auto nonPlayer = controlsByField(kNonPlayerLayout);
    static const auto player = controlsByField(kPlayerLayout);
    static const std::vector<const FormControl*> none;
    const auto& byField = table == StaffTable::Staff ? staff : table == StaffTable::NonPlayer ? nonPlayer : player;
    return fieldIndex < byField.size() ? byField[fieldIndex] : none;
}

std::optional<std::string_view> formLabelFor(StaffTable table, std::size_t fieldIndex)
{
    const auto& controls = formControlsShowing(table, fieldIndex);
    if (controls.empty())
        return std::nullopt;
    return controls.front()->label;
}

} // namespace rostradb
