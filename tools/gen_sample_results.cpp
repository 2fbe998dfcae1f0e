// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the bundled sample result files M3M, W3M, M10M and W10M into the folder named by the
// only argument. The results are invented: divers of the built-in roster take part in a series
// of competitions, each with a repertoire of dives that suits their level, and three judges'
// awards per dive come from the diver's level, the difficulty and some luck.
//
// The output is the same on every run and every platform: one fixed seed, our own generator,
// no std distributions and no library maths beyond floor, and points computed in integers.

#include "rawdata/catalogue.h"
#include "rawdata/roster.h"
#include "store/events.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {
namespace {

constexpr std::uint64_t kSeed = 0x5eed'c0a1'd1fe'2024ULL;

// The roster carries no gender: a diver is a woman when the first word of the given name
// (up to a blank or hyphen) is one of these. Every other diver is a man.
constexpr std::string_view kFemaleGivenNames =
    "ABIGAIL ADELA ADI AGNIESZKA AIKO AINO ALEJANDRA ALEKSANDRA ALENA ALESSIA ALINA AMELIE ANA "
    "ANANYA ANASTASIA ANDREEA ANI ANNA ANNIKA ANOUK ARPI ASTRID AUDREY AUSRA AYANO AYSE AYU "
    "BARBORA BEATRIZ BIANCA BOGLARKA BROOKE BRUNA BUSRA CAITLIN CAMILA CANDY CAROLINA CELINE "
    "CHAEWON CHERRY CHIARA CHIAYING CHLOE CHRISTINA CONNIE DAEUN DANIELA DARIA DEFNE DESPINA "
    "DEWI DIVYA DORA EBBA ECE EGLE EKATERINA ELENA ELENI ELIF ELISA ELISKA ELNAZ ELODIE ELSA "
    "EMILIE EMILY EMMI ESMEE ESZTER EUNSEO EVA EVANGELIA FANGYI FARIDA FEDERICA FEMKE FERNANDA "
    "FLEUR FRANCESCA FREJA FRIEDERIKE GABRIELA GEORGIA GIEDRE GIOVANNA GIULIA GRACE HABIBA "
    "HANNA HANNAH HARUKA HAYOON HEDDA HELMI HINA HOLLY HSINYI HUI HUIMIN HYEJIN IDA ILARIA INGA "
    "INGRID INTAN IOANA IOANNA IRINA IRYNA ISABELLA ISADORA JANA JESSICA JIAXIN JINGWEN JIWOO "
    "JOANNA JOHANNA JOYCE JUDIT JULIANA JULIETTE KANA KANYARAT KAROLINA KAROLINE KATALIN "
    "KATARZYNA KATERINA KATERYNA KATHARINA KAVYA KAYLA KETEVAN KIIA KRISTYNA KSENIYA LAETITIA "
    "LANXIN LARISSA LAURA LAUREN LEA LEILA LENA LETICIA LIEKE LILIT LINGYUN LINNEA LISA "
    "LOREDANA LUCIA LUCIE MAAIKE MADALINA MADISON MAGDALENA MAHSA MAJA MALAK MANON MAREIKE "
    "MARGAUX MARIA MARIAM MARIANA MARIE MARTINA MAYA MAYU MEERA MEGAN MEI MEILIN MEIQI MENGYAO "
    "MERVE MINSEO MIRIAM MISAKI MOMOKA NADA NAIRA NANAMI NARUMON NATALIA NEGAR NIENKE NINO NOA "
    "NOEMI NOORA NOUR NUR NURUL OCEANE OKSANA OLENA OLGA OLIVIA ORSOLYA PAIGE PAOLA PARISA "
    "PAULINA PEIHSUAN PHOEBE PIMCHANOK POLINA POOJA PRIYA PUTRI QIANRU RACHEL RAFAELA RANA REKA "
    "RIN RIYA ROOS ROXANA RUOXI RUTA SAKURA SALMA SALOME SANNA SANNE SARA SELIN SEOYEON SHIHAN "
    "SHIRA SHIRIN SHIRLEY SHUFEN SHUYAN SIENNA SIGRID SILVIA SIQI SIRIPORN SITI SNEHA SOFIA "
    "SOFIIA SONA SOPHIE SOYEON SUDARAT SVETLANA TAINARA TAMAR TAYLA TEREZA TINA TUVA VALENTINA "
    "VALERIA VASILIKI VEERA VERONIKA VIKTORIIA VIKTORIYA VIVIAN WANTING WARAPORN WENJING "
    "WIKTORIA WINNIE XIAOMAN XIMENA XINYUE XUEYING YACHING YAEL YANRU YASMIN YERIN YINGXUE YUKA "
    "YULIA YULIIA YUQING ZEYNEP ZHIRUO ZSOFIA ZUZANNA";

// splitmix64: tiny, fast and the same everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // [0, 1) with 53 random bits.
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    bool Chance(double p) { return Uniform() < p; }
    // Mean 0, deviation 1 (sum of twelve uniforms): plain arithmetic, so portable.
    double Normal() {
        double sum = -6.0;
        for (int i = 0; i < 12; ++i)
            sum += Uniform();
        return sum;
    }
    template <typename T> void Shuffle(std::vector<T>& items) {
        for (int i = static_cast<int>(items.size()) - 1; i > 0; --i)
            std::swap(items[i], items[Below(i + 1)]);
    }

private:
    std::uint64_t state_;
};

// Each event's most common dives, most common first, one blank between two: M3M, W3M, M10M
// and W10M.
constexpr std::array<std::string_view, 4> kFavourites{
    "107B 5337D 307C 207C 407C 109C 5154B 205B 305C 405B 5156B 107C 403B 5335D 105B 201B 301B "
    "401B 5132D 5233D 101B 203B",
    "105B 5335D 305B 205B 405B 107C 5154B 305C 205C 405C 403B 5152B 107B 203B 301B 201B 401B "
    "5132D 5231D 101B 103B 303B",
    "6245D 109C 5255B 407C 207B 307C 207C 626C 6243D 5355B 305C 107B 405B 5253B 205B 626B 614B "
    "201B 301B 401B 5231D 612B",
    "107B 207C 5253B 626C 405B 305C 6243D 407C 5255B 105B 205B 305B 6241B 614B 626B 612B 5152B "
    "401B 301B 201B 5231D 5132D",
};

// The words of a list with one blank between two, in order (kFemaleGivenNames, kFavourites).
std::vector<std::string_view> Words(std::string_view list) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = std::min(list.find(' ', at), list.size());
        words.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// What differs between the four events.
struct EventPlan {
    int eventIndex;
    bool women;
    double hardDD;           // typical DD of a diver's optional dives
    int extraHardDives;      // optional dives beyond one per group
    std::vector<int> groups; // dive groups of the optional dives
    int unknownIds;          // divers of the results who are missing from the roster
    std::vector<std::string_view> favourites;
};

std::vector<EventPlan> EventPlans() {
    return {
        {1, false, 3.2, 1, {1, 2, 3, 4, 5}, 4, Words(kFavourites[0])},
        {2, true, 2.8, 0, {1, 2, 3, 4, 5}, 5, Words(kFavourites[1])},
        {3, false, 3.3, 0, {1, 2, 3, 4, 5, 6}, 3, Words(kFavourites[2])},
        {4, true, 2.9, 0, {1, 2, 3, 4, 5, 6}, 6, Words(kFavourites[3])},
    };
}

// One dive that an event may see, with how much divers favour it.
struct CodeChoice {
    std::string code;
    int group = 0;
    int ddTenths = 0;
    double appeal = 1.0;
};

int Tenths(std::string_view ddText) {
    return (ddText[0] - '0') * 10 + (ddText[2] - '0');
}

int GroupOf(std::string_view code) {
    return code[0] - '0';
}

// Every catalogue dive with a DD on the event's apparatus; the 1.0 entries are no real dives.
std::vector<CodeChoice> CodeChoices(const EventPlan& plan, Random& random) {
    std::vector<CodeChoice> choices;
    for (const CatalogueEntry& entry : DiveCatalogue) {
        const int dd = Tenths(*CatalogueDD(entry.Code, plan.eventIndex));
        if (dd < 12)
            continue;
        // Many dives are never chosen at all, most others rarely; a favourite's appeal falls
        // with its rank.
        const double luck = random.Uniform();
        double appeal = luck < 0.55 ? 0.0 : 0.02 + 0.4 * luck * luck * luck;
        const auto fav = std::find(plan.favourites.begin(), plan.favourites.end(), entry.Code);
        if (fav != plan.favourites.end())
            appeal = 40.0 / (1.0 + 0.35 * static_cast<double>(fav - plan.favourites.begin()));
        choices.push_back({entry.Code, GroupOf(entry.Code), dd, appeal});
    }
    return choices;
}

// A dive of `group` for a diver aiming at `targetDD`, none of `taken`.
std::string PickDive(std::span<const CodeChoice> choices, int group, double targetDD,
                     const std::vector<std::string>& taken, Random& random) {
    std::vector<double> cumulative;
    std::vector<const CodeChoice*> candidates;
    double total = 0.0;
    for (const CodeChoice& choice : choices) {
        if ((group != 0 && choice.group != group) ||
            std::find(taken.begin(), taken.end(), choice.code) != taken.end())
            continue;
        const double off = (choice.ddTenths / 10.0 - targetDD) / 0.3;
        const double near = 1.0 / ((1.0 + off * off) * (1.0 + off * off));
        total += choice.appeal * near;
        cumulative.push_back(total);
        candidates.push_back(&choice);
    }
    if (total <= 0.0) // nothing of this group appeals: any of them will do
        return candidates[random.Below(static_cast<int>(candidates.size()))]->code;
    const double pick = random.Uniform() * total;
    const auto at = std::upper_bound(cumulative.begin(), cumulative.end(), pick);
    return candidates[std::min<std::size_t>(at - cumulative.begin(), candidates.size() - 1)]->code;
}

// One diver of one event.
struct Diver {
    std::string id;
    double level = 0.0; // judges' typical award for this diver on an average dive
    double aimDD = 0.0;
    std::vector<std::string> optional;  // done in every competition
    std::vector<std::string> voluntary; // easier dives, done where the format asks for them
    std::string alternate;              // swapped in for one optional dive now and then
    double activity = 1.0;              // how often the diver enters a competition
    int singleCodeCompetitions = 0;     // > 0: only ever performs optional[0], this often
    bool forceFirst = false;            // sure to be in the first competition
};

Diver MakeDiver(std::string id, const EventPlan& plan, std::span<const CodeChoice> choices,
                Random& random) {
    Diver diver;
    diver.id = std::move(id);
    const double form = random.Normal();
    diver.level = std::clamp(6.9 + 0.7 * form, 4.8, 8.9);
    diver.aimDD = plan.hardDD + 0.3 * form;
    for (int group : plan.groups)
        diver.optional.push_back(PickDive(choices, group, diver.aimDD, diver.optional, random));
    for (int i = 0; i < plan.extraHardDives; ++i)
        diver.optional.push_back(PickDive(choices, 0, diver.aimDD, diver.optional, random));
    if (plan.groups.size() == 6 && plan.women) // women's platform: five optional dives
        diver.optional.erase(diver.optional.begin() + random.Below(6));
    std::vector<std::string> taken = diver.optional;
    for (int group = 1; group <= 5; ++group) {
        if (random.Chance(0.8)) {
            diver.voluntary.push_back(PickDive(choices, group, 1.9, taken, random));
            taken.push_back(diver.voluntary.back());
        }
    }
    if (random.Chance(0.35))
        diver.alternate = PickDive(choices, 0, diver.aimDD + 0.2, taken, random);
    diver.activity = 0.15 + 1.5 * random.Uniform() * random.Uniform();
    return diver;
}

// One line of a result file before it is written.
struct Dive {
    std::string id;
    std::string code;
    int ddTenths = 0;    // as the record states it
    int awardHalves = 0; // sum of the three counting awards, in half points
};

// Three awards in half points: harder dives score a little lower, a few dives fail.
int AwardHalves(const Diver& diver, int ddTenths, double hardDD, Random& random) {
    double quality = diver.level - 0.5 * (ddTenths / 10.0 - hardDD) + 0.9 * random.Normal();
    if (random.Chance(0.012))
        quality = 3.0 * random.Uniform();
    int sum = 0;
    for (int judge = 0; judge < 3; ++judge) {
        const double award = quality + 0.35 * random.Normal();
        sum += std::clamp(static_cast<int>(std::floor(2.0 * award + 0.5)), 0, 20);
    }
    return sum;
}

int CatalogueTenths(std::string_view code, int eventIndex) {
    return Tenths(*CatalogueDD(code, eventIndex));
}

void Perform(const Diver& diver, std::string_view code, const EventPlan& plan, Random& random,
             std::vector<Dive>& out) {
    const int dd = CatalogueTenths(code, plan.eventIndex);
    out.push_back({diver.id, std::string(code), dd, AwardHalves(diver, dd, plan.hardDD, random)});
}

// The dives of one diver in one competition.
void Compete(const Diver& diver, bool withVoluntary, const EventPlan& plan, Random& random,
             std::vector<Dive>& out) {
    if (diver.singleCodeCompetitions > 0) {
        Perform(diver, diver.optional.front(), plan, random, out);
        return;
    }
    if (withVoluntary) {
        for (const std::string& code : diver.voluntary)
            Perform(diver, code, plan, random, out);
    }
    const int swapped = !diver.alternate.empty() && random.Chance(0.3)
                            ? random.Below(static_cast<int>(diver.optional.size()))
                            : -1;
    for (int i = 0; i < static_cast<int>(diver.optional.size()); ++i)
        Perform(diver, i == swapped ? diver.alternate : diver.optional[i], plan, random, out);
}

// Entrants of one competition, drawn by activity. The divers who must show up (the twice
// listed diver, the ids missing from the roster) enter the first competition; the single-dive
// divers enter the first one to three competitions and no other.
std::vector<const Diver*> Entrants(const std::vector<Diver>& divers, int competition,
                                   Random& random) {
    std::vector<const Diver*> field;
    std::vector<double> cumulative;
    double total = 0.0;
    for (const Diver& diver : divers) {
        if (diver.singleCodeCompetitions > competition || (competition == 0 && diver.forceFirst))
            field.push_back(&diver);
        total += diver.singleCodeCompetitions > 0 ? 0.0 : diver.activity;
        cumulative.push_back(total);
    }
    const std::size_t wanted = field.size() + 18 + random.Below(24);
    for (int tries = 0; field.size() < wanted && tries < 1000; ++tries) {
        const double pick = random.Uniform() * total;
        const auto at = std::upper_bound(cumulative.begin(), cumulative.end(), pick);
        const Diver* diver =
            &divers[std::min<std::size_t>(at - cumulative.begin(), divers.size() - 1)];
        if (std::find(field.begin(), field.end(), diver) == field.end())
            field.push_back(diver);
    }
    return field;
}

// Competitions until the event holds `count` dives; the last one may stop part way.
std::vector<Dive> RunCompetitions(const std::vector<Diver>& divers, std::size_t count,
                                  const EventPlan& plan, Random& random) {
    std::vector<Dive> dives;
    for (int competition = 0; dives.size() < count; ++competition) {
        const bool withVoluntary = random.Chance(0.4);
        std::vector<Dive> held;
        for (const Diver* diver : Entrants(divers, competition, random))
            Compete(*diver, withVoluntary, plan, random, held);
        for (Dive& dive : held) {
            if (dives.size() < count)
                dives.push_back(std::move(dive));
        }
    }
    return dives;
}

// A few dives that no diver has in the repertoire, tried once or twice each.
std::vector<Dive> RareDives(const std::vector<Diver>& divers, std::span<const CodeChoice> choices,
                            const EventPlan& plan, Random& random) {
    std::set<std::string> used;
    for (const Diver& diver : divers) {
        used.insert(diver.optional.begin(), diver.optional.end());
        used.insert(diver.voluntary.begin(), diver.voluntary.end());
        used.insert(diver.alternate);
    }
    std::vector<std::string> unused;
    for (const CodeChoice& choice : choices) {
        if (!used.contains(choice.code) && std::abs(choice.ddTenths / 10.0 - plan.hardDD) < 0.8)
            unused.push_back(choice.code);
    }
    random.Shuffle(unused);
    constexpr std::array kTimes{1, 1, 1, 2, 2, 3};
    std::vector<Dive> dives;
    for (std::size_t i = 0; i < kTimes.size() && i < unused.size(); ++i) {
        for (int n = 0; n < kTimes[i]; ++n) {
            const Diver* diver = nullptr;
            while (!diver || diver->singleCodeCompetitions > 0)
                diver = &divers[random.Below(static_cast<int>(divers.size()))];
            Perform(*diver, unused[i], plan, random, dives);
        }
    }
    return dives;
}

// Ids that look like roster ids but are not in it.
std::vector<std::string> UnknownIds(const DiverRoster& roster, int count, Random& random) {
    std::vector<std::string> ids;
    while (static_cast<int>(ids.size()) < count) {
        std::string id = std::to_string(100000 + random.Below(900000));
        if (!roster.FindDiver(id) && std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(std::move(id));
    }
    return ids;
}

bool IsWoman(const DiverEntry& diver) {
    const std::string_view given = diver.GivenName.view();
    const std::string_view first = given.substr(0, given.find_first_of(" -"));
    static const std::vector<std::string_view> names = Words(kFemaleGivenNames);
    return std::find(names.begin(), names.end(), first) != names.end();
}

enum class Apparatuses { Springboard, Platform, Both };

// Who competes where, decided once for the whole roster so that a diver of both apparatus
// is the same person in both events.
struct Entry {
    const DiverEntry* diver;
    bool woman;
    Apparatuses apparatuses;
};

std::vector<Entry> AssignApparatus(const DiverRoster& roster, Random& random) {
    std::vector<Entry> entries;
    for (const DiverEntry& diver : roster.Rows()) {
        const double pick = random.Uniform();
        const Apparatuses where = pick < 0.45   ? Apparatuses::Springboard
                                  : pick < 0.78 ? Apparatuses::Platform
                                                : Apparatuses::Both;
        entries.push_back({&diver, IsWoman(diver), where});
    }
    return entries;
}

// The two ids of the diver who is in the roster twice under the same name and nation.
std::pair<const DiverEntry*, const DiverEntry*> TwiceListed(const DiverRoster& roster) {
    std::map<std::string, const DiverEntry*> seen;
    for (const DiverEntry& diver : roster.Rows()) {
        const auto [at, added] = seen.emplace(DiverLabel(diver), &diver);
        if (!added)
            return {at->second, &diver};
    }
    return {nullptr, nullptr};
}

bool CompetesIn(const Entry& entry, const EventPlan& plan) {
    const bool springboard = EventByIndex(plan.eventIndex).apparatus == Apparatus::Springboard3m;
    return entry.woman == plan.women &&
           (entry.apparatuses == Apparatuses::Both ||
            (entry.apparatuses == Apparatuses::Springboard) == springboard);
}

// Two divers of this event whose results hold a single dive code, in one to three
// competitions (withdrawn after the first dive, say). They compete on this apparatus only.
void PickSingleDiveDivers(std::vector<Diver>& divers, const std::vector<Entry>& entries,
                          Random& random) {
    for (int picked = 0; picked < 2;) {
        Diver& diver = divers[random.Below(static_cast<int>(divers.size()))];
        if (diver.forceFirst || diver.singleCodeCompetitions > 0)
            continue;
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.diver->Id.view() == diver.id;
        });
        if (entry->apparatuses == Apparatuses::Both)
            continue;
        diver.singleCodeCompetitions = 1 + random.Below(3);
        ++picked;
    }
}

std::vector<Diver> EventDivers(const EventPlan& plan, const std::vector<Entry>& entries,
                               const DiverRoster& roster, std::span<const CodeChoice> choices,
                               Random& random) {
    const auto [original, duplicate] = TwiceListed(roster);
    std::vector<Diver> divers;
    for (const Entry& entry : entries) {
        if (!CompetesIn(entry, plan) || entry.diver == duplicate)
            continue;
        divers.push_back(MakeDiver(entry.diver->Id.str(), plan, choices, random));
        if (entry.diver == original) {
            // The same person under the second id: same dives, seen less often.
            Diver twin = divers.back();
            twin.id = duplicate->Id.str();
            twin.activity = 0.2;
            divers.back().forceFirst = twin.forceFirst = true;
            divers.push_back(twin);
        }
    }
    for (std::string& id : UnknownIds(roster, plan.unknownIds, random)) {
        divers.push_back(MakeDiver(std::move(id), plan, choices, random));
        divers.back().forceFirst = true;
    }
    PickSingleDiveDivers(divers, entries, random);
    return divers;
}

// All records of one code stand together, codes in ascending order; inside a group the
// divers and competitions are mixed.
std::vector<Dive> GroupByCode(std::vector<Dive> dives, Random& random) {
    std::map<std::string, std::vector<Dive>> groups;
    for (Dive& dive : dives)
        groups[dive.code].push_back(std::move(dive));
    std::vector<Dive> grouped;
    for (auto& [code, group] : groups) {
        random.Shuffle(group);
        grouped.insert(grouped.end(), group.begin(), group.end());
    }
    return grouped;
}

// Some records of three common dives keep the DD of an older table, 0.1 off today's. A
// group's first record is left alone. Returns how many records changed.
int UseOlderTables(std::vector<Dive>& dives, Random& random) {
    std::vector<std::pair<std::size_t, std::size_t>> common; // first record, size
    for (std::size_t start = 0; start < dives.size();) {
        std::size_t end = start;
        while (end < dives.size() && dives[end].code == dives[start].code)
            ++end;
        if (end - start >= 40)
            common.emplace_back(start, end - start);
        start = end;
    }
    random.Shuffle(common);
    int changed = 0;
    for (std::size_t i = 0; i < 3 && i < common.size(); ++i) {
        const int delta = random.Chance(0.5) ? 1 : -1;
        const int count = 5 + random.Below(8);
        for (int k = 1; k <= count; ++k) {
            dives[common[i].first + k].ddTenths += delta;
            ++changed;
        }
    }
    return changed;
}

bool WriteEvent(const std::filesystem::path& file, const std::vector<Dive>& dives) {
    std::ofstream out(file, std::ios::binary);
    std::array<char, 64> line{};
    for (const Dive& dive : dives) {
        // DD in tenths times the award sum in halves: the points in twentieths, exactly.
        const int hundredths = dive.ddTenths * dive.awardHalves * 5;
        std::snprintf(line.data(), line.size(), "%s\t%s\t%d.%d\t%d.%02d\t\r\n", dive.id.c_str(),
                      dive.code.c_str(), dive.ddTenths / 10, dive.ddTenths % 10, hundredths / 100,
                      hundredths % 100);
        out << line.data();
    }
    return static_cast<bool>(out.flush());
}

void PrintSummary(std::string_view eventId, const std::vector<Dive>& dives, int olderDD,
                  int unknownIds) {
    std::map<std::string, int> counts;
    for (const Dive& dive : dives)
        ++counts[dive.code];
    const auto top =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    const auto once = std::count_if(counts.begin(), counts.end(),
                                    [](const auto& entry) { return entry.second == 1; });
    std::cout << eventId << ": " << dives.size() << " dives, " << counts.size() << " codes ("
              << once << " performed once), most performed " << top->first << " (" << top->second
              << "), " << unknownIds << " ids not in the roster, " << olderDD
              << " records with an older DD\n";
}

bool GenerateEvent(const EventPlan& plan, const std::vector<Entry>& entries,
                   const DiverRoster& roster, const std::filesystem::path& folder) {
    Random random(kSeed + static_cast<std::uint64_t>(plan.eventIndex) * 0x1000193ULL);
    const EventInfo& event = EventByIndex(plan.eventIndex);
    const std::vector<CodeChoice> choices = CodeChoices(plan, random);
    const std::vector<Diver> divers = EventDivers(plan, entries, roster, choices, random);
    std::vector<Dive> rare = RareDives(divers, choices, plan, random);
    std::vector<Dive> dives = RunCompetitions(
        divers, static_cast<std::size_t>(event.capacity) - rare.size(), plan, random);
    dives.insert(dives.end(), rare.begin(), rare.end());
    dives = GroupByCode(std::move(dives), random);
    const int olderDD = UseOlderTables(dives, random);
    PrintSummary(event.id, dives, olderDD, plan.unknownIds);
    return WriteEvent(folder / std::string(event.id), dives);
}

int Run(const std::filesystem::path& folder) {
    const DiverRoster roster = BuiltInRoster();
    if (roster.Size() == 0) {
        std::cerr << "gen_sample_results: the built-in roster is empty\n";
        return 1;
    }
    std::filesystem::create_directories(folder);
    Random random(kSeed);
    const std::vector<Entry> entries = AssignApparatus(roster, random);
    for (const EventPlan& plan : EventPlans()) {
        if (!GenerateEvent(plan, entries, roster, folder)) {
            std::cerr << "gen_sample_results: cannot write to " << folder.string() << "\n";
            return 1;
        }
    }
    return 0;
}

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_sample_results FOLDER\n";
        return 2;
    }
    return corvane::Run(argv[1]);
}
