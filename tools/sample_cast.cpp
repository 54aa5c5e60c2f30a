#include "sample_cast.h"

#include <numeric>
#include <stdexcept>
#include <utility>

namespace rostradb::sample {
namespace {

struct Plan {
    std::uint8_t classification;
    bool linksPlayer;
    bool linksNonPlayer;
    bool brokenPlayerLink;
    bool brokenNonPlayerLink;
};

std::uint32_t atLeastOne(std::uint32_t n) { return n > 0 ? n : 1; }

template <typename T>
void shuffle(std::vector<T>& items, SampleRandom& r)
{
    for (std::size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[r.below(static_cast<std::uint32_t>(i))]);
}

// A position that lies outside a table of `size` records.
std::int32_t brokenLink(std::uint32_t size, std::uint32_t which, SampleRandom& r)
{
    switch (which % 4) {
    case 0: return static_cast<std::int32_t>(size);
    case 1: return static_cast<std::int32_t>(size + r.between(1, 1000));
    case 2: return 0x7FFFFFFF;
    default: return -2;
    }
}

std::vector<Plan> plan(const SampleCounts& c, SampleRandom& r)
{
    const bool oddities = c.staff >= kOdditiesFromStaff;
    const std::uint32_t invalid = atLeastOne(c.staff / 200);
    const std::uint32_t invalidWithLinks = invalid / 4; // most invalid people link nowhere
    const std::uint32_t invalidWithPlayer = (invalidWithLinks + 1) / 2;
    const std::uint32_t invalidWithNonPlayer = invalidWithLinks - invalidWithPlayer;
    const std::uint32_t unknown = oddities ? c.staff / 1000 : 0; // classification 7 and up
    const std::uint32_t brokenPlayers = oddities ? 3 : 0;
    const std::uint32_t brokenNonPlayers = oddities ? 1 : 0;
    const std::uint32_t youth = atLeastOne(c.staff / 20);
    const std::uint32_t newHumanManagers = atLeastOne(c.staff / 500);
    const std::uint32_t spareNonPlayers = atLeastOne(c.staff / 100);

    // With p players only, n non-players only and b both, every record linked
    // once means players = p + b and nonPlayers = n + b (counting the linked
    // invalid people, not the broken links); everyone else links nowhere.
    // Together with the staff count that fixes b.
    const std::int64_t linkingNowhere = std::int64_t{invalid} - invalidWithLinks + unknown;
    const std::int64_t both = std::int64_t{c.players} + c.nonPlayers + brokenPlayers + brokenNonPlayers
                              + linkingNowhere - c.staff;
    const std::int64_t playersOnly = std::int64_t{c.players} - youth - both - invalidWithPlayer + brokenPlayers;
    const std::int64_t nonPlayersOnly = std::int64_t{c.nonPlayers} - newHumanManagers - spareNonPlayers - both
                                        - invalidWithNonPlayer + brokenNonPlayers;
    if (both < 1 || playersOnly <= brokenPlayers || nonPlayersOnly <= brokenNonPlayers)
        throw std::logic_error("sample counts cannot give every attribute record exactly one person");

    std::vector<Plan> plans;
    plans.reserve(c.staff);
    auto add = [&](std::int64_t n, Plan p) {
        for (std::int64_t i = 0; i < n; ++i)
            plans.push_back(p);
    };
    add(brokenPlayers, {kPlayer, false, false, true, false});
    add(playersOnly - brokenPlayers, {kPlayer, true, false, false, false});
    add(brokenNonPlayers, {kNonPlayer, false, false, false, true});
    add(nonPlayersOnly - brokenNonPlayers, {kNonPlayer, false, true, false, false});
    add(both, {kNonPlayerAndPlayer, true, true, false, false});
    add(youth, {kYouthPlayer, true, false, false, false});
    add(newHumanManagers, {kNewHumanManager, false, true, false, false});
    add(spareNonPlayers, {kSpareNonPlayer, false, true, false, false});
    add(invalidWithPlayer, {kInvalidClassification, true, false, false, false});
    add(invalidWithNonPlayer, {kInvalidClassification, false, true, false, false});
    add(invalid - invalidWithLinks, {kInvalidClassification, false, false, false, false});
    for (std::uint32_t i = 0; i < unknown; ++i)
        plans.push_back({static_cast<std::uint8_t>(r.between(7, 255)), false, false, false, false});
    if (plans.size() != c.staff)
        throw std::logic_error("sample cast does not match the staff count");
    shuffle(plans, r);
    return plans;
}

std::vector<std::int32_t> shuffledPositions(std::uint32_t count, SampleRandom& r)
{
    std::vector<std::int32_t> positions(count);
    std::iota(positions.begin(), positions.end(), 0);
    shuffle(positions, r);
    return positions;
}

} // namespace

std::vector<Role> castRoles(const SampleCounts& counts, SampleRandom& random)
{
    const std::vector<Plan> plans = plan(counts, random);
    // Attribute records are handed out in shuffled order, so nothing may
    // assume that a person's record lies anywhere near the person.
    const std::vector<std::int32_t> players = shuffledPositions(counts.players, random);
    const std::vector<std::int32_t> nonPlayers = shuffledPositions(counts.nonPlayers, random);
    std::size_t nextPlayer = 0;
    std::size_t nextNonPlayer = 0;
    std::uint32_t broken = 0;

    std::vector<Role> roles;
    roles.reserve(plans.size());
    for (const Plan& p : plans) {
        Role role;
        role.classification = p.classification;
        if (p.linksPlayer)
            role.playerId = players.at(nextPlayer++);
        if (p.linksNonPlayer)
            role.nonPlayerId = nonPlayers.at(nextNonPlayer++);
        if (p.brokenPlayerLink)
            role.playerId = brokenLink(counts.players, broken++, random);
        if (p.brokenNonPlayerLink)
            role.nonPlayerId = brokenLink(counts.nonPlayers, broken++, random);
        role.plays = p.linksPlayer || p.brokenPlayerLink;
        role.manages = p.linksNonPlayer || p.brokenNonPlayerLink;
        roles.push_back(role);
    }
    if (nextPlayer != players.size() || nextNonPlayer != nonPlayers.size())
        throw std::logic_error("sample cast leaves attribute records without a person");
    return roles;
}

} // namespace rostradb::sample
