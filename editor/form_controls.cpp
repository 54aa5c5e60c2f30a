#include "form_controls.h"

namespace rostradb {

namespace {

template <auto Member>
constexpr auto edit(std::string_view control, NumberWidth reading = NumberWidth::Bits32)
{
    using Record = typename MemberTraits<decltype(Member)>::Record;
    return EditBinding<Record>{control, fieldAccess<Member>(), reading};
}

} // namespace

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

// Wages and value are read in 64 bits so that every unsigned 32-bit amount,
// and its negative spelling, can be typed back.
constexpr std::array<EditBinding<StaffRecord>, 18> kGeneralEdits{{
    edit<&StaffRecord::wages>("ed_wages", NumberWidth::Bits64),
    edit<&StaffRecord::value>("ed_value", NumberWidth::Bits64),
    edit<&StaffRecord::adaptability>("ed_adap"),
    edit<&StaffRecord::ambition>("ed_ambi"),
    edit<&StaffRecord::determination>("ed_dete"),
    edit<&StaffRecord::loyalty>("ed_loyl"),
    edit<&StaffRecord::pressure>("ed_pres"),
    edit<&StaffRecord::professionalism>("ed_prof"),
    edit<&StaffRecord::sportsmanship>("ed_sprt"),
    edit<&StaffRecord::temperament>("ed_temp"),
    // A date is a day number and a year; no month is stored, so the month
    // boxes of the form are bound to nothing.
    edit<&StaffRecord::birthDay>("ed_dayb"),
    edit<&StaffRecord::birthYear>("ed_yearb"),
    edit<&StaffRecord::contractDay>("ed_daycc"),
    edit<&StaffRecord::contractYear>("ed_yearcc"),
    edit<&StaffRecord::joinedDay>("ed_dayjc"),
    edit<&StaffRecord::joinedYear>("ed_yearjc"),
    edit<&StaffRecord::internationalCaps>("ed_caps"),
    edit<&StaffRecord::internationalGoals>("ed_goal"),
}};

constexpr std::array<CodeBinding, 4> kCodeBoxes{{
    {"cbx_jobn", fieldAccess<&StaffRecord::jobForNation>(), kJobCodeNames},
    {"cbx_jobc", fieldAccess<&StaffRecord::jobForClub>(), kJobCodeNames},
    {"cbx_squad", fieldAccess<&StaffRecord::squad>(), kSquadCodeNames},
    {"cbx_class", fieldAccess<&StaffRecord::classification>(), kClassificationCodeNames},
}};

constexpr std::array<SelectionBinding, 6> kNameAndNationBoxes{{
    {"cbx_fname", fieldAccess<&StaffRecord::firstName>(), LookupTable::FirstNames},
    {"cbx_sname", fieldAccess<&StaffRecord::secondName>(), LookupTable::SecondNames},
    {"cbx_cname", fieldAccess<&StaffRecord::commonName>(), LookupTable::CommonNames},
    {"cbx_fnation", fieldAccess<&StaffRecord::nation>(), LookupTable::Nations},
    {"cbx_snation", fieldAccess<&StaffRecord::secondNation>(), LookupTable::Nations},
    {"cbx_anation", fieldAccess<&StaffRecord::nationContracted>(), LookupTable::Nations},
}};

// The form lists the ratings by position on the pitch and then left, centre,
// right; the record keeps right before left, so the two orders differ.
constexpr std::array<EditBinding<PlayerRecord>, 13> kPlayerRatings{{
    edit<&PlayerRecord::goalkeeper>("ed_gk"),
    edit<&PlayerRecord::sweeper>("ed_sw"),
    edit<&PlayerRecord::defender>("ed_d"),
    edit<&PlayerRecord::defensiveMidfielder>("ed_dm"),
    edit<&PlayerRecord::midfielder>("ed_m"),
    edit<&PlayerRecord::attackingMidfielder>("ed_am"),
    edit<&PlayerRecord::attacker>("ed_s"),
    edit<&PlayerRecord::wingBack>("ed_wb"),
    edit<&PlayerRecord::freeRole>("ed_fr"),
    edit<&PlayerRecord::leftSide>("ed_l"),
    edit<&PlayerRecord::centre>("ed_c"),
    edit<&PlayerRecord::rightSide>("ed_r"),
    edit<&PlayerRecord::squadNumber>("ed_squad"),
}};

constexpr std::array<EditBinding<PlayerRecord>, 5> kPlayerAbility{{
    edit<&PlayerRecord::currentAbility>("ed_cabl"),
    edit<&PlayerRecord::potentialAbility>("ed_pabl"),
    edit<&PlayerRecord::homeReputation>("ed_hrep"),
    edit<&PlayerRecord::currentReputation>("ed_crep"),
    edit<&PlayerRecord::worldReputation>("ed_wrep"),
}};

constexpr std::array<EditBinding<NonPlayerRecord>, 5> kNonPlayerAbility{{
    edit<&NonPlayerRecord::currentAbility>("ed_cabl"),
    edit<&NonPlayerRecord::potentialAbility>("ed_pabl"),
    edit<&NonPlayerRecord::homeReputation>("ed_hrep"),
    edit<&NonPlayerRecord::currentReputation>("ed_crep"),
    edit<&NonPlayerRecord::worldReputation>("ed_wrep"),
}};

// Alphabetical by control name, which is also the record's order.
constexpr std::array<EditBinding<PlayerRecord>, 42> kPlayerAttributes{{
    edit<&PlayerRecord::acceleration>("ed_accel"),
    edit<&PlayerRecord::aggression>("ed_aggre"),
    edit<&PlayerRecord::agility>("ed_agili"),
    edit<&PlayerRecord::anticipation>("ed_antic"),
    edit<&PlayerRecord::balance>("ed_balan"),
    edit<&PlayerRecord::bravery>("ed_brave"),
    edit<&PlayerRecord::consistency>("ed_consi"),
    edit<&PlayerRecord::corners>("ed_corne"),
    edit<&PlayerRecord::crossing>("ed_cross"),
    edit<&PlayerRecord::decisions>("ed_decis"),
    edit<&PlayerRecord::dirtiness>("ed_dirti"),
    edit<&PlayerRecord::dribbling>("ed_dribb"),
    edit<&PlayerRecord::finishing>("ed_finis"),
    edit<&PlayerRecord::flair>("ed_flair"),
    edit<&PlayerRecord::freeKicks>("ed_freek"),
    edit<&PlayerRecord::handling>("ed_handl"),
    edit<&PlayerRecord::heading>("ed_headi"),
    edit<&PlayerRecord::importantMatches>("ed_impor"),
    edit<&PlayerRecord::injuryProneness>("ed_injur"),
    edit<&PlayerRecord::jumping>("ed_jumpi"),
    edit<&PlayerRecord::leadership>("ed_leade"),
    edit<&PlayerRecord::leftFoot>("ed_leftf"),
    edit<&PlayerRecord::longShots>("ed_longs"),
    edit<&PlayerRecord::marking>("ed_marki"),
    edit<&PlayerRecord::movement>("ed_movem"),
    edit<&PlayerRecord::naturalFitness>("ed_natur"),
    edit<&PlayerRecord::oneOnOnes>("ed_oneon"),
    edit<&PlayerRecord::pace>("ed_pace"),
    edit<&PlayerRecord::passing>("ed_passi"),
    edit<&PlayerRecord::penalties>("ed_penal"),
    edit<&PlayerRecord::positioning>("ed_posit"),
    edit<&PlayerRecord::reflexes>("ed_refle"),
    edit<&PlayerRecord::rightFoot>("ed_right"),
    edit<&PlayerRecord::stamina>("ed_stami"),
    edit<&PlayerRecord::strength>("ed_stren"),
    edit<&PlayerRecord::tackling>("ed_tackl"),
    edit<&PlayerRecord::teamwork>("ed_teamw"),
    edit<&PlayerRecord::technique>("ed_techn"),
    edit<&PlayerRecord::throwIns>("ed_throw"),
    edit<&PlayerRecord::versatility>("ed_versa"),
    edit<&PlayerRecord::vision>("ed_visio"),
    edit<&PlayerRecord::workRate>("ed_workr"),
}};

// The last six are stored and edited as plain numbers; what they measure is
// not known, and the form's labels for them are borrowed from player fields.
constexpr std::array<EditBinding<NonPlayerRecord>, 21> kNonPlayerAttributes{{
    edit<&NonPlayerRecord::attacking>("ed_atta"),
    edit<&NonPlayerRecord::business>("ed_busi"),
    edit<&NonPlayerRecord::coaching>("ed_coac"),
    edit<&NonPlayerRecord::coachingGoalkeepers>("ed_cgks"),
    edit<&NonPlayerRecord::coachingTechnique>("ed_ctec"),
    edit<&NonPlayerRecord::directness>("ed_dire"),
    edit<&NonPlayerRecord::discipline>("ed_disc"),
    edit<&NonPlayerRecord::freeRoles>("ed_free"),
    edit<&NonPlayerRecord::interference>("ed_inte"),
    edit<&NonPlayerRecord::judgement>("ed_judg"),
    edit<&NonPlayerRecord::judgingPotential>("ed_jpot"),
    edit<&NonPlayerRecord::manHandling>("ed_manh"),
    edit<&NonPlayerRecord::marking>("ed_mark"),
    edit<&NonPlayerRecord::motivating>("ed_moti"),
    edit<&NonPlayerRecord::offside>("ed_offs"),
    edit<&NonPlayerRecord::pati>("ed_pati"),
    edit<&NonPlayerRecord::phys>("ed_phys"),
    edit<&NonPlayerRecord::prss>("ed_prss"),
    edit<&NonPlayerRecord::reso>("ed_reso"),
    edit<&NonPlayerRecord::tact>("ed_tact"),
    edit<&NonPlayerRecord::youn>("ed_youn"),
}};

} // namespace rostradb
