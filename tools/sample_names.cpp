#include "sample_names.h"

#include <array>
#include <set>
#include <string_view>

namespace rostradb::sample {
namespace {

constexpr std::array<std::string_view, 25> kOnsets = {
    "b", "br", "c", "d", "dr", "f", "g", "gr", "h", "j", "k", "kr", "l",
    "m", "n", "p", "r", "s", "sk", "st", "t", "tr", "v", "w", "z",
};
constexpr std::array<std::string_view, 12> kVowels = {
    "a", "a", "e", "e", "i", "i", "o", "o", "u", "ai", "ei", "ou",
};
constexpr std::array<std::string_view, 11> kCodas = {
    "n", "l", "r", "s", "k", "m", "n", "nd", "rt", "v", "sh",
};
constexpr std::array<std::string_view, 14> kSurnameEndings = {
    "ovic", "sen", "ani", "ez", "berg", "ski", "ard", "etti", "ton", "is", "os", "ak", "elli", "ssen",
};
constexpr std::array<std::string_view, 8> kNationEndings = {
    "mark", "ia", "land", "avia", "onia", "stad", "ora", "heim",
};
constexpr std::array<std::string_view, 5> kNationPrefixes = {
    "Upper ", "Lower ", "North ", "South ", "New ",
};
constexpr std::array<std::string_view, 10> kTownEndings = {
    "ton", "by", "burg", "ford", "ville", "wick", "dal", "holm", "port", "mouth",
};
// Most first names have two syllables.
constexpr std::array<std::uint32_t, 5> kFirstNameSyllables = {1, 2, 2, 2, 3};
// A club name is a pattern with the town in place of '*'.
constexpr std::array<std::string_view, 14> kClubPatterns = {
    "FC *", "* Rovers", "* United", "Athletic *", "* City", "Sporting *", "* Wanderers",
    "Real *", "* Town", "Dynamo *", "* Albion", "Olympic *", "* Athletic", "FC * Rovers",
};

// Windows-1252 accented forms of the letters they may replace.
struct Accents {
    char plain;
    std::string_view accented;
};
constexpr std::array<Accents, 13> kAccents = {{
    {'a', "\xE1\xE4\xE5"}, {'e', "\xE9\xEB"}, {'i', "\xED"}, {'o', "\xF3\xF6\xF8"}, {'u', "\xFA\xFC"},
    {'n', "\xF1"}, {'c', "\xE7"},
    {'A', "\xC1\xC5"}, {'E', "\xC9"}, {'I', "\xCD"}, {'O', "\xD3\xD8"}, {'U', "\xDA\xDC"}, {'S', "\x8A"},
}};

// Syllables are open (consonant, vowel) except, often, the last one, which
// keeps the words pronounceable: "Skavo", "Widram", "Kumil".
std::string word(SampleRandom& r, std::uint32_t syllables)
{
    std::string w;
    if (r.oneIn(6))
        w += r.pick(kVowels); // now and then a word starts with its vowel
    for (std::uint32_t i = 0; i < syllables; ++i) {
        w += r.pick(kOnsets);
        w += r.pick(kVowels);
    }
    if (r.percent(60))
        w += r.pick(kCodas);
    w[0] = static_cast<char>(w[0] - 'a' + 'A');
    return w;
}

// Replaces one letter that has an accented form; about one name in ten.
void maybeAccent(std::string& name, SampleRandom& r)
{
    if (!r.oneIn(10))
        return;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::size_t at = r.below(static_cast<std::uint32_t>(name.size()));
        for (const Accents& a : kAccents) {
            if (a.plain == name[at]) {
                name[at] = r.pick(a.accented);
                return;
            }
        }
    }
}

bool isVowel(char c) { return std::string_view("aeiou").find(c) != std::string_view::npos; }

// Appends an ending without piling up vowels: "Pigai" + "ia" is "Pigaia".
void addEnding(std::string& word, std::string_view ending)
{
    if (isVowel(word.back()) && isVowel(ending.front()))
        ending.remove_prefix(1);
    word += ending;
}

std::string town(SampleRandom& r)
{
    std::string t = word(r, r.between(1, 2));
    if (r.percent(60))
        addEnding(t, r.pick(kTownEndings));
    return t;
}

// The invented part of a name gets the accents; the club and nation words
// around it ("Athletic", "North") stay as they are.
std::string inventOne(NameKind kind, SampleRandom& r)
{
    std::string name;
    switch (kind) {
    case NameKind::First:
        name = word(r, r.pick(kFirstNameSyllables));
        maybeAccent(name, r);
        break;
    case NameKind::Second:
        name = word(r, r.between(1, 3));
        if (r.percent(45))
            addEnding(name, r.pick(kSurnameEndings));
        maybeAccent(name, r);
        break;
    case NameKind::Common:
        // Short nicknames of open syllables, like the one-word names players go by.
        name = word(r, 2);
        if (!isVowel(name.back()))
            name += r.pick(kVowels);
        maybeAccent(name, r);
        break;
    case NameKind::Nation:
        name = word(r, r.between(1, 2));
        addEnding(name, r.pick(kNationEndings));
        maybeAccent(name, r);
        if (r.oneIn(12))
            name.insert(0, r.pick(kNationPrefixes));
        break;
    case NameKind::Club: {
        std::string place = town(r);
        maybeAccent(place, r);
        const std::string_view pattern = r.pick(kClubPatterns);
        const std::size_t star = pattern.find('*');
        name = std::string(pattern.substr(0, star)) + place + std::string(pattern.substr(star + 1));
        break;
    }
    }
    return name;
}

// Exactly 51 bytes of text, no ending zero: several names of the kind joined
// and cut, never ending on the separator.
std::string fullWidthName(NameKind kind, SampleRandom& r)
{
    const char separator = kind == NameKind::Second ? '-' : ' ';
    std::string name = inventOne(kind, r);
    while (name.size() < kNameFieldBytes)
        name += separator + inventOne(kind, r);
    name.resize(kNameFieldBytes);
    if (name.back() == separator)
        name.back() = 'a';
    return name;
}

} // namespace

std::vector<std::string> inventNames(NameKind kind, std::uint32_t count, SampleRandom& random)
{
    std::vector<std::string> names;
    names.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string name = inventOne(kind, random);
        if (name.size() > kNameFieldBytes)
            name.resize(kNameFieldBytes);
        names.push_back(std::move(name));
    }
    if (count < 4)
        return names;

    // The edge names go to distinct positions, so none overwrites another.
    const std::uint32_t empties = count / 500 > 1 ? count / 500 : 1;
    const std::uint32_t fullWidth = count >= 1000 ? 2 : 1;
    std::set<std::uint32_t> taken;
    auto freePosition = [&] {
        std::uint32_t at = random.below(count);
        while (!taken.insert(at).second)
            at = random.below(count);
        return at;
    };
    for (std::uint32_t i = 0; i < empties; ++i)
        names[freePosition()].clear();
    for (std::uint32_t i = 0; i < fullWidth; ++i)
        names[freePosition()] = fullWidthName(kind, random);
    return names;
}

} // namespace rostradb::sample
