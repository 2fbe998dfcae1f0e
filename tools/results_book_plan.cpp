// SPDX-License-Identifier: GPL-3.0-or-later
// The competition of a test results book: divers, events, rounds, every dive's awards and
// points, with the cases a reader must handle placed in each individual event's first round.

#include "rawdata/catalogue.h"
#include "tools/results_book_model.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string_view>

namespace corvane::book {

std::uint64_t Random::Next() {
    // splitmix64
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

int Entry::Total() const {
    int total = 0;
    for (const Dive& dive : dives) {
        total += dive.cents;
    }
    return total;
}

int DiveCents(int ddTenths, const std::vector<int>& halves, bool penalty) {
    std::vector<int> sorted = halves;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t dropped = (sorted.size() - 3) / 2; // two of seven, one of five
    int middle = 0;
    for (std::size_t i = dropped; i < dropped + 3; ++i) {
        middle += sorted[i];
    }
    if (penalty) {
        middle = std::max(0, middle - 12);
    }
    // tenths x halves = twentieths of a point: 5 cents each
    return ddTenths * middle * 5;
}

std::string AwardText(int halves) {
    if (halves == 20) {
        return "10";
    }
    return std::to_string(halves / 2) + (halves % 2 ? ".5" : ".0");
}

std::string TenthsText(int tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string CentsText(int cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", cents / 100, cents % 100);
    return text;
}

namespace {

struct NameParts {
    const char* surname;
    const char* given;
    const char* asciiSurname;
    const char* asciiGiven;
};

// Names a reader must take care with: particles, letters beyond ASCII, names that wrap onto
// a block's second and third rows.
constexpr NameParts kWomenSpecial[] = {
    {"van DUIJN", "Celine", "VAN DUIJN", "CELINE"},
    {"del ANGEL PENICHE", "Viviana", "DEL ANGEL PENICHE", "VIVIANA"},
    {"NÚÑEZ", "María José", "NUNEZ", "MARIA JOSE"},
    {"TALVAKRO-RELENMA BOGRILANME", "Caterina Matilde", "TALVAKRO-RELENMA BOGRILANME",
     "CATERINA MATILDE"},
    {"SILVA dos SANTOS", "Ana Luísa", "SILVA DOS SANTOS", "ANA LUISA"},
    {"ØSTERGÅRD", "Signe", "OSTERGARD", "SIGNE"},
    {"KŐVÁRI", "Zsófia", "KOVARI", "ZSOFIA"},
    {"O'DONNELL", "Aoife", "O'DONNELL", "AOIFE"},
    {"McKENZIE", "Isla", "MCKENZIE", "ISLA"},
};
constexpr NameParts kMenSpecial[] = {
    {"MÜLLER", "Jörg", "MULLER", "JORG"},
    {"de la CRUZ ROBLES", "Andrés", "DE LA CRUZ ROBLES", "ANDRES"},
    {"VINMATLE-DANTEKE NENEDANKER", "Jean-Baptiste Étienne", "VINMATLE-DANTEKE NENEDANKER",
     "JEAN-BAPTISTE ETIENNE"},
    {"ŠIMKUS", "Mindaugas", "SIMKUS", "MINDAUGAS"},
    {"van der BERG", "Joost", "VAN DER BERG", "JOOST"},
    {"KARGANA KARGANA", "Xavier Gael", "KARGANA KARGANA", "XAVIER GAEL"},
    {"ŁUKASZEWSKI", "Paweł", "LUKASZEWSKI", "PAWEL"},
    {"SHAROMA BAMATMI", "Henrik J.", "SHAROMA BAMATMI", "HENRIK J."},
    {"D'AMBROSIO", "Matteo", "D'AMBROSIO", "MATTEO"},
};

constexpr std::string_view kSyllables[] = {"BA", "DO",  "KE", "LI",  "MAR", "NO",  "RA", "SE",
                                           "TO", "VIN", "ZE", "GAR", "LO",  "PEN", "SA", "TIL",
                                           "VE", "KRO", "MI", "DAN", "RO",  "BER", "ZO", "LAN"};
constexpr std::string_view kWomen[] = {"Anna",   "Irma",  "Lucia", "Hana",  "Selma", "Petra",
                                       "Vesna",  "Mei",   "Olga",  "Sofia", "Emma",  "Laura",
                                       "Paloma", "Agnes", "Karin", "Ines",  "Nadia", "Zoe"};
constexpr std::string_view kMen[] = {"Emil", "Andrei", "Milo", "Rafael", "Samir", "Ivar",
                                     "Otto", "Dario",  "Luca", "Jasper", "Mateo", "Felix",
                                     "Karl", "Yuri",   "Enzo", "Tobias", "Oskar", "Ian"};
constexpr std::string_view kNations[] = {"CHN", "USA", "GBR", "MEX", "CAN", "AUS", "GER",
                                         "ITA", "RUS", "UKR", "JPN", "MAS", "BRA", "FRA",
                                         "COL", "KOR", "SWE", "NED", "ESP", "AUT"};

std::string Capitalised(std::string_view given) {
    std::string text(given);
    for (char& c : text) {
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return text;
}

Diver InventedDiver(bool woman, Random& random) {
    std::string surname;
    const int syllables = 2 + random.Below(3);
    for (int i = 0; i < syllables; ++i) {
        surname += kSyllables[random.Below(std::size(kSyllables))];
    }
    const std::string_view given =
        woman ? kWomen[random.Below(std::size(kWomen))] : kMen[random.Below(std::size(kMen))];
    Diver diver{surname, std::string(given), surname, Capitalised(given), "", ""};
    diver.nation = kNations[random.Below(std::size(kNations))];
    return diver;
}

void AddBirthDate(Diver& diver, Random& random) {
    static constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    diver.born = std::to_string(1 + random.Below(28)) + " " + kMonths[random.Below(12)] + " " +
                 std::to_string(1992 + random.Below(14));
}

// A field of divers: the special names first (shuffled into the field later by the scores),
// then invented ones, all different.
std::vector<int> Field(Competition& competition, bool woman, int count, Random& random) {
    std::vector<int> field;
    const auto& special = woman ? kWomenSpecial : kMenSpecial;
    for (const NameParts& name : special) {
        if (static_cast<int>(field.size()) == count) {
            break;
        }
        Diver diver{name.surname, name.given, name.asciiSurname, name.asciiGiven, "", ""};
        // the same person in every event of the book
        diver.nation = kNations[(field.size() * 7 + (woman ? 3 : 0)) % std::size(kNations)];
        field.push_back(static_cast<int>(competition.divers.size()));
        competition.divers.push_back(diver);
    }
    while (static_cast<int>(field.size()) < count) {
        field.push_back(static_cast<int>(competition.divers.size()));
        competition.divers.push_back(InventedDiver(woman, random));
    }
    for (int index : field) {
        AddBirthDate(competition.divers[index], random);
    }
    return field;
}

// Codes of the catalogue with their DD on the event's apparatus.
std::vector<std::pair<std::string, int>> Codes(int eventIndex) {
    std::vector<std::pair<std::string, int>> codes;
    const bool platform = eventIndex == 3 || eventIndex == 4;
    for (const CatalogueEntry& entry : DiveCatalogue) {
        const std::string_view dd = platform ? entry.DD10m : entry.DD3m;
        const int tenths = (dd[0] - '0') * 10 + (dd[2] - '0');
        if (tenths >= 18 && tenths <= 38) {
            codes.emplace_back(entry.Code, tenths);
        }
    }
    return codes;
}

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(high, value));
}

std::vector<int> Awards(int level, int judges, Random& random) {
    std::vector<int> halves;
    for (int j = 0; j < judges; ++j) {
        halves.push_back(Clamp(level - 2 + random.Below(5), 0, 20));
    }
    return halves;
}

std::vector<Dive> DiveList(int count, int level, int judges,
                           const std::vector<std::pair<std::string, int>>& codes, Random& random) {
    std::vector<Dive> dives;
    while (static_cast<int>(dives.size()) < count) {
        const auto& [code, tenths] = codes[random.Below(static_cast<int>(codes.size()))];
        const bool taken = std::any_of(dives.begin(), dives.end(),
                                       [&](const Dive& dive) { return dive.code == code; });
        if (!taken) {
            Dive dive{code, tenths, Awards(level, judges, random), false, 0};
            dive.cents = DiveCents(dive.ddTenths, dive.halves, false);
            dives.push_back(dive);
        }
    }
    return dives;
}

void Rescore(Dive& dive) {
    dive.cents = DiveCents(dive.ddTenths, dive.halves, dive.penalty);
}

// A synchronised dive: the middle two of six execution awards and the middle three of five
// synchronisation awards, times 0.6 and the DD.
int SynchroCents(int ddTenths, const std::vector<int>& halves) {
    std::vector<int> execution(halves.begin(), halves.begin() + 6);
    std::vector<int> synchro(halves.begin() + 6, halves.end());
    std::sort(execution.begin(), execution.end());
    std::sort(synchro.begin(), synchro.end());
    const int sum = execution[2] + execution[3] + synchro[1] + synchro[2] + synchro[3];
    return ddTenths * sum * 3;
}

struct EventName {
    int index;
    EventKind kind;
    std::array<const char*, 3> names;
    bool women;
    int dives;
};

constexpr EventName kIndividualEvents[] = {
    {1,
     EventKind::Individual,
     {"Men's 3m Springboard", "Trampolim 3m masculino", "Tremplin 3 m - hommes"},
     false,
     6},
    {2,
     EventKind::Individual,
     {"Women's 3m Springboard", "Trampolim 3m feminino", "Tremplin 3 m - femmes"},
     true,
     5},
    {3,
     EventKind::Individual,
     {"Men's 10m Platform", "Plataforma 10m masculino", "Haut-vol 10 m - hommes"},
     false,
     6},
    {4,
     EventKind::Individual,
     {"Women's 10m Platform", "Plataforma 10m feminino", "Haut-vol 10 m - femmes"},
     true,
     5},
};

// Events whose pages a reader of the four individual events skips.
constexpr EventName kOtherEvents[] = {
    {0,
     EventKind::Synchro,
     {"Women's Synchronised 3m Springboard", "Trampolim 3m sincronizado feminino",
      "Tremplin 3 m synchronisé - femmes"},
     true,
     5},
    {0,
     EventKind::Individual,
     {"Men's 1m Springboard", "Trampolim 1m masculino", "Tremplin 1 m - hommes"},
     false,
     6},
    {0,
     EventKind::Synchro,
     {"Men's Synchronised 10m Platform", "Plataforma 10m sincronizado masculino",
      "Haut-vol 10 m synchronisé - hommes"},
     false,
     6},
    {0,
     EventKind::Individual,
     {"Women's 1m Springboard", "Trampolim 1m feminino", "Tremplin 1 m - femmes"},
     true,
     5},
    {0,
     EventKind::Synchro,
     {"Mixed Synchronised 3m Springboard", "Trampolim 3m sincronizado misto",
      "Tremplin 3 m synchronisé - mixte"},
     false,
     5},
};

using RoundNames = std::array<std::string, 3>;
const RoundNames kPreliminary = {"Preliminary", "Fase classificatória", "Éliminatoires"};
const RoundNames kSemifinal = {"Semifinal", "Semifinal", "Demi-finale"};
const RoundNames kSemifinalA = {"Semifinal A", "Semifinal A", "Demi-finale A"};
const RoundNames kSemifinalB = {"Semifinal B", "Semifinal B", "Demi-finale B"};
const RoundNames kFinal = {"Final", "Final", "Finale"};
const RoundNames kDiveOff = {"Dive Off", "Desempate", "Barrage"};

// Everything one event's rounds are made from.
struct EventPlan {
    int event = 0; // index into Competition::events
    int eventIndex = 0;
    EventKind kind = EventKind::Individual;
    int dives = 6;
    int judges = 7;
    int firstDay = 0;
    std::vector<std::pair<std::string, int>> codes;
};

Entry NewEntry(std::vector<int> divers, int level, const EventPlan& plan, Random& random) {
    const int judges = plan.kind == EventKind::Synchro ? 11 : plan.judges;
    Entry entry{std::move(divers), {}, Withdrawal::None, level};
    entry.dives = DiveList(plan.dives, level, judges, plan.codes, random);
    if (plan.kind == EventKind::Synchro) {
        for (Dive& dive : entry.dives) {
            dive.cents = SynchroCents(dive.ddTenths, dive.halves);
        }
    }
    return entry;
}

// The cases a reader must handle, in the first round of an individual event.
void PlaceSpecialCases(std::vector<Entry>& entries, int eventIndex, std::uint64_t seed) {
    if (entries.size() < 6) {
        return;
    }
    entries[0].dives.back().halves[0] = 20; // printed "10"
    Rescore(entries[0].dives.back());
    entries[1].dives[0] = entries[0].dives[0]; // a tie on the first dive
    entries[2].dives[1].penalty = true;
    Rescore(entries[2].dives[1]);
    for (int& halves : entries[3].dives[2].halves) { // a failed dive
        halves = 0;
    }
    Rescore(entries[3].dives[2]);
    Entry& withdrawn = entries[4];
    withdrawn.withdrawal = (eventIndex + seed) % 2 == 0 ? Withdrawal::Ranked : Withdrawal::Unranked;
    for (std::size_t i = 2; i < withdrawn.dives.size(); ++i) {
        withdrawn.dives[i].halves.clear();
        withdrawn.dives[i].cents = 0;
    }
}

// Print order: by total, a ranked withdrawal after those who finished, an unranked one last.
void SortByRank(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.withdrawal != b.withdrawal) {
            return static_cast<int>(a.withdrawal) < static_cast<int>(b.withdrawal);
        }
        return a.Total() > b.Total();
    });
}

std::vector<Entry> NextRound(const std::vector<Entry>& previous, std::size_t count,
                             const EventPlan& plan, Random& random) {
    std::vector<Entry> entries;
    for (const Entry& entry : previous) {
        if (entry.withdrawal == Withdrawal::None && entries.size() < count) {
            entries.push_back(NewEntry(entry.divers, entry.level, plan, random));
        }
    }
    return entries;
}

Round MakeRound(const EventPlan& plan, const RoundNames& names, int number, int day,
                const char* time, std::vector<Entry> entries) {
    Round round{plan.event, names, number, day, time, plan.judges, false, std::move(entries)};
    SortByRank(round.entries);
    return round;
}

std::vector<std::vector<int>> Competitors(Competition& competition, const EventName& event,
                                          int count, Random& random) {
    std::vector<std::vector<int>> competitors;
    const int per = event.kind == EventKind::Synchro ? 2 : 1;
    const std::vector<int> field = Field(competition, event.women, count * per, random);
    for (int i = 0; i < count; ++i) {
        competitors.emplace_back(field.begin() + i * per, field.begin() + (i + 1) * per);
    }
    return competitors;
}

std::vector<Entry> FirstRound(Competition& competition, const EventName& event,
                              const EventPlan& plan, int count, Random& random) {
    std::vector<Entry> entries;
    for (std::vector<int>& divers : Competitors(competition, event, count, random)) {
        const int level = entries.empty() ? 17 : 10 + random.Below(8);
        entries.push_back(NewEntry(std::move(divers), level, plan, random));
    }
    return entries;
}

// The semifinal (or semifinals A and B, the qualifiers shared out in turn) after `first`.
std::vector<Round> Semifinals(const Round& first, const EventPlan& plan, int count, bool split,
                              int number, Random& random) {
    std::vector<Entry> qualified = NextRound(first.entries, count, plan, random);
    if (!split) {
        return {MakeRound(plan, kSemifinal, 200 + number, plan.firstDay, "15:30", qualified)};
    }
    std::vector<Entry> a, b;
    for (std::size_t i = 0; i < qualified.size(); ++i) {
        (i % 2 == 0 ? a : b).push_back(qualified[i]);
    }
    return {MakeRound(plan, kSemifinalA, 200 + number, plan.firstDay, "15:30", a),
            MakeRound(plan, kSemifinalB, 300 + number, plan.firstDay, "16:45", b)};
}

// One dive each for the two divers either side of the last place in the final.
Round DiveOff(const std::vector<Entry>& ranked, int finalists, const EventPlan& plan, int number,
              Random& random) {
    EventPlan oneDive = plan;
    oneDive.dives = 1;
    std::vector<Entry> entries;
    for (std::size_t i = std::max(1, finalists) - 1; i < ranked.size() && entries.size() < 2; ++i) {
        entries.push_back(NewEntry(ranked[i].divers, ranked[i].level, oneDive, random));
    }
    return MakeRound(plan, kDiveOff, 400 + number, plan.firstDay, "17:45", entries);
}

std::vector<Round> EventRounds(Competition& competition, const EventName& event,
                               const EventPlan& plan, const CompetitionSize& size, bool split,
                               std::uint64_t seed, Random& random) {
    const int number = plan.event + 1;
    std::vector<Entry> entries = FirstRound(competition, event, plan, size.preliminary, random);
    if (plan.eventIndex != 0) {
        PlaceSpecialCases(entries, plan.eventIndex, seed);
    }
    std::vector<Round> rounds = {MakeRound(plan, kPreliminary, number, plan.firstDay,
                                           plan.eventIndex ? "10:00" : "12:30", entries)};
    std::vector<Entry> before = rounds[0].entries;
    if (plan.eventIndex != 0) {
        std::vector<Round> semis =
            Semifinals(rounds[0], plan, size.semifinal, split, number, random);
        before.clear();
        for (const Round& semi : semis) {
            before.insert(before.end(), semi.entries.begin(), semi.entries.end());
        }
        SortByRank(before);
        rounds.insert(rounds.end(), semis.begin(), semis.end());
    }
    if (split) {
        rounds.push_back(DiveOff(before, size.final, plan, number, random));
    }
    const int finalDay = plan.firstDay + (plan.eventIndex ? 1 : 0);
    std::vector<Entry> finalists = NextRound(before, size.final, plan, random);
    if (plan.eventIndex != 0 && finalists.size() > 2) {
        // two finalists level on points share a rank
        finalists.back().dives = finalists[finalists.size() - 2].dives;
    }
    rounds.push_back(MakeRound(plan, kFinal, 100 + number, finalDay,
                               plan.eventIndex ? "19:00" : "18:00", finalists));
    rounds.back().summaryAfter = true;
    return rounds;
}

void AddEvent(Competition& competition, const EventName& event, int firstDay,
              const ResultsBookOptions& options, const CompetitionSize& size, Random& random) {
    EventPlan plan{static_cast<int>(competition.events.size()),
                   event.index,
                   event.kind,
                   event.dives,
                   event.kind == EventKind::Synchro ? 11 : options.judges,
                   firstDay,
                   Codes(event.index == 0 ? 1 : event.index)};
    competition.events.push_back(Event{
        event.index, event.kind, {event.names[0], event.names[1], event.names[2]}, event.dives});
    const bool split = options.style == BookHeaderStyle::EventLine &&
                       event.index == static_cast<int>(1 + options.seed % 4);
    std::vector<Round> rounds =
        EventRounds(competition, event, plan, size, split, options.seed, random);
    competition.rounds.insert(competition.rounds.end(), rounds.begin(), rounds.end());
}

void NameCompetition(Competition& competition, std::uint64_t seed) {
    static constexpr const char* kCities[] = {"Rostock", "Kazan",      "Windsor",
                                              "Bolzano", "Guanajuato", "Kraków"};
    static constexpr const char* kWeekdays[] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};
    const int year = 2015 + static_cast<int>(seed % 7);
    const std::string city = kCities[seed % std::size(kCities)];
    competition.title = "International Diving Cup " + std::to_string(year);
    competition.venue = city + " Aquatic Centre";
    competition.dates = "3 - 9 JUN " + std::to_string(year);
    for (int day = 0; day < 7; ++day) {
        competition.days.push_back(std::string(kWeekdays[(day + seed) % 7]) + " " +
                                   std::to_string(3 + day) + " JUN " + std::to_string(year));
    }
}

} // namespace

Competition PlanCompetition(const ResultsBookOptions& options, const CompetitionSize& size) {
    Random random(options.seed * 0x100000001b3ULL + 0x5eedULL);
    Competition competition;
    NameCompetition(competition, options.seed);
    std::vector<int> order = {0, 1, 2, 3};
    for (int i = 3; i > 0; --i) {
        std::swap(order[i], order[random.Below(i + 1)]);
    }
    for (int day = 0; day < 4; ++day) {
        AddEvent(competition, kIndividualEvents[order[day]], day + 1, options, size, random);
    }
    for (int i = 0; i < 2 + size.extraEvents; ++i) {
        AddEvent(competition, kOtherEvents[i % std::size(kOtherEvents)], i % 6, options, size,
                 random);
    }
    // The book follows the schedule, not the events.
    std::stable_sort(competition.rounds.begin(), competition.rounds.end(),
                     [](const Round& a, const Round& b) {
                         return a.day != b.day ? a.day < b.day : a.time < b.time;
                     });
    return competition;
}

} // namespace corvane::book
