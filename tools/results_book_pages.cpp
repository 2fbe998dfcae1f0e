// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of a test results book: where every text of a detailed results page, a start
// list, a panel of judges, a summary and the cover goes, with the geometry of official books
// (A4, 8 pt rows, values right-aligned in their columns, a diver's block never split).

#include "tools/results_book_model.h"

#include <algorithm>
#include <map>

namespace corvane::book {
namespace {

using Align = BookText::Align;

constexpr double kPageCentre = 297.5;
constexpr double kNameLeft = 78.5;
constexpr double kNameWidth = 88;

void Put(BookPage& page, double x, double baseline, double size, std::string text,
         Align align = Align::Left, bool bold = false) {
    page.texts.push_back(BookText{x, baseline, size, bold, align, std::move(text)});
}

// The diver as printed: "SURNAME Given", both parts for a synchronised pair.
std::string PrintedName(const Diver& diver) {
    return diver.surname + " " + diver.given;
}

// Where the texts of a page's table start and how far they may go.
struct TableArea {
    double headerBaseline = 0;
    double firstRow = 0;
    double pitch = 9;
    double nameOffset = 0.1; // names sit a little off the dive rows, as in official books
    double shift = 0;        // the whole table a little left or right
};

// Books of different years set the names at different heights beside the dive rows and the
// table at different places across the page.
TableArea AreaFor(const ResultsBookOptions& options) {
    constexpr double kNameOffsets[] = {0.1, -0.4, -1.5};
    constexpr double kShifts[] = {0, 8, -6};
    TableArea area{161.9, 181.9, 10, 0, kShifts[options.seed / 3 % 3]};
    if (options.style == BookHeaderStyle::StartTimeLine) {
        area = {162.6, 182.1, 9, 0, area.shift};
    } else if (options.secondLanguage) {
        area = {172.6, 192.1, 9, 0, area.shift};
    }
    area.nameOffset = kNameOffsets[options.seed % 3];
    return area;
}

// --- Headers ---------------------------------------------------------------------------

struct PageTitle {
    const char* english;
    const char* french;
    const char* portuguese;
};
constexpr PageTitle kDetailed = {"Detailed Results", "Résultats détaillés",
                                 "Resultados detalhados"};
constexpr PageTitle kStartList = {"Start List", "Liste de départ", "Lista de partida"};
constexpr PageTitle kPanel = {"Panel of Judges", "Panel des juges", "Painel de juízes"};
constexpr PageTitle kSummary = {"Results Summary", "Résumé des résultats", "Resultado resumido"};

std::string DayText(const Competition& competition, const Round& round, bool weekday) {
    const std::string& day = competition.days[round.day];
    return weekday ? day : day.substr(4);
}

// `round` is null on an event's pages that belong to no round (the summary of `day`).
void EventLineHeader(BookPage& page, const Competition& competition, const Round* round,
                     const Round& day, const Event& event, const PageTitle& title,
                     const ResultsBookOptions& o) {
    Put(page, kPageCentre, 29, 14, competition.title, Align::Centre, true);
    Put(page, kPageCentre, 47, 14, competition.venue, Align::Centre, true);
    Put(page, kPageCentre, 66, 12, competition.dates, Align::Centre);
    Put(page, 83, 96, 12, "Event " + std::to_string(day.number), Align::Left, true);
    Put(page, kPageCentre, 99, 10, event.names[0], Align::Centre);
    std::string when = DayText(competition, day, false);
    if (round) {
        Put(page, 507, 99, 10, round->names[0], Align::Right);
        when += " - " + round->time;
    }
    Put(page, 83, 113, 10, when);
    if (o.secondLanguage) {
        Put(page, kPageCentre, 113, 10, event.names[2], Align::Centre);
        if (round) {
            Put(page, 507, 113, 10, round->names[2], Align::Right);
        }
    }
    Put(page, kPageCentre, 139, 12, title.english, Align::Centre, true);
    if (o.secondLanguage) {
        Put(page, kPageCentre, 155, 12, title.french, Align::Centre, true);
    }
}

void StartTimeHeader(BookPage& page, const Competition& competition, const Round* round,
                     const Round& day, const Event& event, const PageTitle& title) {
    Put(page, 96, 31, 10, competition.venue);
    Put(page, 498, 32, 10, "Diving", Align::Right);
    Put(page, 96, 40, 7, competition.venue);
    Put(page, 498, 42, 7, "Saltos ornamentais / Plongeon", Align::Right);
    Put(page, 96, 50, 7, competition.venue);
    Put(page, 498, 55, 10, event.names[0], Align::Right);
    Put(page, 498, 65, 7, event.names[1] + " / " + event.names[2], Align::Right);
    Put(page, 96, 69, 7, DayText(competition, day, true));
    if (round) {
        Put(page, 498, 78, 10, round->names[0], Align::Right);
        Put(page, 96, 79, 7, "Start Time " + round->time);
        Put(page, 498, 88, 7, round->names[1] + " / " + round->names[2], Align::Right);
    }
    Put(page, kPageCentre, 116, 12, title.english, Align::Centre, true);
    Put(page, kPageCentre, 132, 10, std::string(title.portuguese) + " / " + title.french,
        Align::Centre);
}

// Whether a header names the round (an event's summary names none).
enum class RoundLine { Shown, Omitted };

void Header(BookPage& page, const Competition& competition, const Round& round, RoundLine line,
            const PageTitle& title, const ResultsBookOptions& options) {
    const Event& event = competition.events[round.event];
    const Round* named = line == RoundLine::Shown ? &round : nullptr;
    if (options.style == BookHeaderStyle::EventLine) {
        EventLineHeader(page, competition, named, round, event, title, options);
    } else {
        StartTimeHeader(page, competition, named, round, event, title);
    }
}

// Whether a page carries the timekeeper's line.
enum class TimekeeperLine { Printed, Omitted };

// The report line on every page, the timekeeper's line where the options put it.
void Footer(BookPage& page, const std::string& report, int number, int count,
            TimekeeperLine timekeeper, const ResultsBookOptions& options) {
    const bool eventLine = options.style == BookHeaderStyle::EventLine;
    const double reportBaseline = eventLine ? 774 : 789;
    if (timekeeper == TimekeeperLine::Printed) {
        Put(page, kPageCentre, eventLine ? 761 : 806, 9, "Official Timekeeping by KAIROS",
            Align::Centre);
    }
    Put(page, 29, reportBaseline, 6, report + " 1.0");
    Put(page, kPageCentre, reportBaseline, 6, "Report Created MON 3 JUN 2019 9:22", Align::Centre);
    Put(page, 567, reportBaseline, 6,
        "Page " + std::to_string(number) + "/" + std::to_string(count), Align::Right);
}

// --- Ranks ------------------------------------------------------------------------------

std::string RankText(int value, const std::vector<int>& values, bool markTies) {
    const auto above =
        std::count_if(values.begin(), values.end(), [&](int v) { return v > value; });
    const auto same = std::count(values.begin(), values.end(), value);
    return (markTies && same > 1 ? "=" : "") + std::to_string(above + 1);
}

// The printed values of a round's rows, worked out from the dives.
struct RoundTable {
    std::vector<std::string> finalRank;             // per entry, empty when unranked
    std::vector<std::vector<std::string>> diveRank; // per entry and dive
    std::vector<std::vector<int>> running;          // running total after each dive
    std::vector<std::vector<std::string>> overallRank;
    std::vector<std::vector<std::string>> behind;
};

void DiveRanks(const Round& round, RoundTable& table) {
    const std::size_t count = round.entries.size();
    for (std::size_t d = 0; d < round.entries.front().dives.size(); ++d) {
        std::vector<int> points, totals;
        for (const Entry& entry : round.entries) {
            if (entry.dives[d].Performed()) {
                points.push_back(entry.dives[d].cents);
            }
        }
        for (std::size_t e = 0; e < count; ++e) {
            const Dive& dive = round.entries[e].dives[d];
            table.diveRank[e].push_back(dive.Performed() ? RankText(dive.cents, points, true) : "");
            totals.push_back((d ? table.running[e].back() : 0) + dive.cents);
        }
        const int leader = *std::max_element(totals.begin(), totals.end());
        for (std::size_t e = 0; e < count; ++e) {
            table.running[e].push_back(totals[e]);
            table.overallRank[e].push_back(RankText(totals[e], totals, true));
            table.behind[e].push_back(totals[e] == leader ? "" : CentsText(leader - totals[e]));
        }
    }
}

RoundTable TableOf(const Round& round) {
    const std::size_t count = round.entries.size();
    RoundTable table{std::vector<std::string>(count), std::vector<std::vector<std::string>>(count),
                     std::vector<std::vector<int>>(count),
                     std::vector<std::vector<std::string>>(count),
                     std::vector<std::vector<std::string>>(count)};
    DiveRanks(round, table);
    std::vector<int> finished;
    for (const Entry& entry : round.entries) {
        if (entry.withdrawal == Withdrawal::None) {
            finished.push_back(entry.Total());
        }
    }
    for (std::size_t e = 0; e < count; ++e) {
        const Entry& entry = round.entries[e];
        if (entry.withdrawal == Withdrawal::None) {
            table.finalRank[e] = RankText(entry.Total(), finished, false);
        } else if (entry.withdrawal == Withdrawal::Ranked) {
            table.finalRank[e] = std::to_string(e + 1);
        }
    }
    return table;
}

// --- Detailed results -------------------------------------------------------------------

// Right edges of the columns of an individual event's table.
struct Columns {
    double rank = 72.5, name = kNameLeft, nation = 171.5, code = 239.5, dd = 260.5;
    double firstJudge = 279.5, judgeStep = 18;
    double points = 415.5, diveRank = 442.5, total = 476.5, overall = 507.5, behind = 539.5;
};

Columns ColumnsAt(double shift) {
    Columns c;
    for (double* x : {&c.rank, &c.name, &c.nation, &c.code, &c.dd, &c.firstJudge, &c.points,
                      &c.diveRank, &c.total, &c.overall, &c.behind}) {
        *x += shift;
    }
    return c;
}

void IndividualColumnHeader(BookPage& page, const TableArea& area, int judges) {
    const Columns c = ColumnsAt(area.shift);
    const double y = area.headerBaseline;
    const double lastJudge = c.firstJudge + c.judgeStep * (judges - 1);
    Put(page, c.code, y, 8, "Dive", Align::Right);
    Put(page, (c.firstJudge - 11 + lastJudge) / 2, y, 8, "Judge's Score", Align::Centre);
    const std::pair<double, const char*> top[] = {{c.points, "Dive"},
                                                  {c.diveRank, "Dive"},
                                                  {c.total, "Total"},
                                                  {c.overall, "Overall"},
                                                  {c.behind, "Points"}};
    const std::pair<double, const char*> bottom[] = {{c.code, "No."},      {c.points, "Points"},
                                                     {c.diveRank, "Rank"}, {c.total, "Points"},
                                                     {c.overall, "Rank"},  {c.behind, "Behind"}};
    for (const auto& [x, text] : top) {
        Put(page, x, y, 8, text, Align::Right);
    }
    Put(page, c.rank, y + 5, 8, "Rank", Align::Right);
    Put(page, c.name, y + 5, 8, "Name");
    Put(page, c.nation, y + 5, 8, "NAT");
    Put(page, c.dd, y + 5, 8, "DD", Align::Right);
    for (const auto& [x, text] : bottom) {
        Put(page, x, y + 10, 8, text, Align::Right);
    }
    for (int j = 0; j < judges; ++j) {
        Put(page, c.firstJudge - 5.5 + c.judgeStep * j, y + 10, 8, "J" + std::to_string(j + 1),
            Align::Centre);
    }
}

// Splits a name into lines of the name column's width, at blanks.
std::vector<std::string> WrapName(const std::string& name, const FontMetrics& metrics) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < name.size()) {
        std::size_t end = name.find(' ', start);
        std::string line = name.substr(start, end == std::string::npos ? end : end - start);
        start = end == std::string::npos ? name.size() : end + 1;
        while (start < name.size()) {
            const std::size_t next = name.find(' ', start);
            const std::string word =
                name.substr(start, next == std::string::npos ? next : next - start);
            if (metrics.Width(line + " " + word, 8, false) > kNameWidth) {
                break;
            }
            line += " " + word;
            start = next == std::string::npos ? name.size() : next + 1;
        }
        lines.push_back(line);
    }
    return lines;
}

// Where one block goes: its first row's baseline.
struct BlockPlace {
    std::size_t entry = 0;
    double baseline = 0;
};

void IndividualDiveRow(BookPage& page, const Columns& c, const Entry& entry,
                       const RoundTable& table, std::size_t e, std::size_t d, double y) {
    const Dive& dive = entry.dives[d];
    Put(page, c.code, y, 8, dive.code, Align::Right);
    Put(page, c.dd, y, 8, TenthsText(dive.ddTenths), Align::Right);
    if (dive.Performed()) {
        for (std::size_t j = 0; j < dive.halves.size(); ++j) {
            Put(page, c.firstJudge + c.judgeStep * j, y, 8, AwardText(dive.halves[j]),
                Align::Right);
        }
        Put(page, c.points, y, 8, (dive.penalty ? "*" : "") + CentsText(dive.cents), Align::Right);
        Put(page, c.diveRank, y, 8, table.diveRank[e][d], Align::Right);
    } else if (entry.withdrawal == Withdrawal::Unranked) {
        if (d == 0 || entry.dives[d - 1].Performed()) {
            Put(page, c.total, y, 8, "WD", Align::Right);
        }
        return;
    }
    Put(page, c.total, y, 8, CentsText(table.running[e][d]), Align::Right);
    Put(page, c.overall, y, 8, table.overallRank[e][d], Align::Right);
    Put(page, c.behind, y, 8, table.behind[e][d], Align::Right);
}

void IndividualBlock(BookPage& page, const Competition& competition, const Round& round,
                     const RoundTable& table, const BlockPlace& place, const TableArea& area,
                     const FontMetrics& metrics) {
    const Entry& entry = round.entries[place.entry];
    const Diver& diver = competition.divers[entry.divers.front()];
    const double nameY = place.baseline + area.nameOffset;
    const Columns c = ColumnsAt(area.shift);
    Put(page, c.rank, nameY, 8, table.finalRank[place.entry], Align::Right);
    const std::vector<std::string> lines = WrapName(PrintedName(diver), metrics);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Put(page, c.name, nameY + area.pitch * static_cast<double>(i), 8, lines[i]);
    }
    Put(page, c.nation, nameY, 8, diver.nation);
    for (std::size_t d = 0; d < entry.dives.size(); ++d) {
        IndividualDiveRow(page, c, entry, table, place.entry, d,
                          place.baseline + area.pitch * static_cast<double>(d));
    }
}

// Synchronised events: pairs of names, eleven judges (execution and synchronisation).
void SynchroColumnHeader(BookPage& page, double y) {
    Put(page, 250, y, 8, "Dive", Align::Right);
    Put(page, 367, y, 8, "Judge's Score", Align::Centre);
    for (const auto& [x, text] : {std::pair{488.0, "Dive"},
                                  {510.0, "Dive"},
                                  {540.0, "Total"},
                                  {558.0, "Ovrl"},
                                  {585.0, "Points"}}) {
        Put(page, x, y, 8, text, Align::Right);
    }
    Put(page, 40, y + 5, 8, "Rank", Align::Right);
    Put(page, 46, y + 5, 8, "NAT");
    Put(page, 70, y + 5, 8, "Name");
    Put(page, 268, y + 5, 8, "DD", Align::Right);
    Put(page, 250, y + 10, 8, "No.", Align::Right);
    for (int j = 0; j < 11; ++j) {
        const std::string label = j < 6 ? "E" + std::to_string(j + 1) : "S" + std::to_string(j - 5);
        Put(page, 280 + 17 * j, y + 10, 8, label, Align::Centre);
    }
    for (const auto& [x, text] : {std::pair{488.0, "Points"},
                                  {510.0, "Rank"},
                                  {540.0, "Points"},
                                  {558.0, "Rk"},
                                  {585.0, "Behind"}}) {
        Put(page, x, y + 10, 8, text, Align::Right);
    }
}

void SynchroBlock(BookPage& page, const Competition& competition, const Round& round,
                  const RoundTable& table, const BlockPlace& place, const TableArea& area) {
    const Entry& entry = round.entries[place.entry];
    Put(page, 40, place.baseline, 8, table.finalRank[place.entry], Align::Right);
    Put(page, 46, place.baseline, 8, competition.divers[entry.divers.front()].nation);
    for (std::size_t i = 0; i < entry.divers.size(); ++i) {
        Put(page, 70, place.baseline + area.pitch * i, 8,
            PrintedName(competition.divers[entry.divers[i]]));
    }
    for (std::size_t d = 0; d < entry.dives.size(); ++d) {
        const Dive& dive = entry.dives[d];
        const double y = place.baseline + area.pitch * d;
        Put(page, 250, y, 8, dive.code, Align::Right);
        Put(page, 268, y, 8, TenthsText(dive.ddTenths), Align::Right);
        for (std::size_t j = 0; j < dive.halves.size(); ++j) {
            Put(page, 285.5 + 17 * j, y, 8, AwardText(dive.halves[j]), Align::Right);
        }
        Put(page, 488, y, 8, CentsText(dive.cents), Align::Right);
        Put(page, 510, y, 8, table.diveRank[place.entry][d], Align::Right);
        Put(page, 540, y, 8, CentsText(table.running[place.entry][d]), Align::Right);
        Put(page, 558, y, 8, table.overallRank[place.entry][d], Align::Right);
        Put(page, 585, y, 8, table.behind[place.entry][d], Align::Right);
    }
}

// The note and legend under a round's last rows.
void NoteAndLegend(BookPage& page, const Round& round, bool individual) {
    Put(page, 25, 693, 8, "Note:");
    Put(page, 25, 702, 8,
        "For more detail on the judges see \"Panel of Judges\" for this session.");
    Put(page, 26, 719, 8, "Legend:");
    std::vector<std::pair<std::string, std::string>> items;
    const auto has = [&](auto test) {
        return std::any_of(round.entries.begin(), round.entries.end(), test);
    };
    if (has([](const Entry& e) {
            return std::any_of(e.dives.begin(), e.dives.end(),
                               [](const Dive& d) { return d.penalty; });
        })) {
        items.emplace_back("*", "2.0 point penalty deduction");
    }
    items.emplace_back("=", "Indicates the same rank by points");
    items.emplace_back("DD", "Degree of difficulty");
    items.emplace_back(individual ? "Jn" : "En",
                       individual ? "Judge number n" : "Execution judge n");
    items.emplace_back("No.", "Number");
    if (has([](const Entry& e) { return e.withdrawal == Withdrawal::Unranked; })) {
        items.emplace_back("WD", "Withdrawn");
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const double x = 26 + 160 * static_cast<double>(i % 3);
        const double y = 730 + 10 * static_cast<double>(i / 3);
        Put(page, x, y, 8, items[i].first);
        Put(page, x + 40, y, 8, items[i].second);
    }
}

// Rows of each block: one a dive, more when the name needs more lines than the dives.
std::vector<std::size_t> BlockRows(const Competition& competition, const Round& round,
                                   const FontMetrics& metrics) {
    std::vector<std::size_t> rows;
    for (const Entry& entry : round.entries) {
        std::size_t nameLines = entry.divers.size();
        if (nameLines == 1) {
            nameLines = WrapName(PrintedName(competition.divers[entry.divers[0]]), metrics).size();
        }
        rows.push_back(std::max(entry.dives.size(), nameLines));
    }
    return rows;
}

// Blocks of a round shared out over pages: a block never splits, and the last page keeps
// room for the note and legend.
std::vector<std::vector<BlockPlace>> Paginate(const std::vector<std::size_t>& rows,
                                              const TableArea& area, double lastRowLimit,
                                              double noteLimit) {
    std::vector<std::vector<BlockPlace>> pages(1);
    double y = area.firstRow;
    for (std::size_t e = 0; e < rows.size(); ++e) {
        const double height = area.pitch * static_cast<double>(rows[e] - 1);
        if (y + height > lastRowLimit && !pages.back().empty()) {
            pages.emplace_back();
            y = area.firstRow;
        }
        pages.back().push_back({e, y});
        y += height + area.pitch;
    }
    const BlockPlace& last = pages.back().back();
    if (last.baseline + area.pitch * static_cast<double>(rows[last.entry] - 1) > noteLimit &&
        pages.back().size() > 1) {
        // the last block moves to a page of its own, under the note's limit
        pages.emplace_back(1, BlockPlace{last.entry, area.firstRow});
        pages[pages.size() - 2].pop_back();
    }
    return pages;
}

std::string ReportCode(const Round& round, const char* kind) {
    std::string number = std::to_string(round.number);
    number.insert(0, 4 - std::min<std::size_t>(4, number.size()), '0');
    return "DVM" + number + "01_" + kind;
}

void DetailedResults(std::vector<BookPage>& pages, const Competition& competition,
                     const Round& round, const ResultsBookOptions& options,
                     const FontMetrics& metrics) {
    const Event& event = competition.events[round.event];
    const bool individual = event.kind == EventKind::Individual;
    const TableArea area = AreaFor(options);
    const bool everyFooter = options.footer == TimekeeperFooter::EveryPage;
    const double limit = options.style == BookHeaderStyle::EventLine && everyFooter ? 745 : 768;
    const RoundTable table = TableOf(round);
    const auto places = Paginate(BlockRows(competition, round, metrics), area, limit, 680);
    const BookPageKind kind = individual && event.index != 0 ? BookPageKind::DetailedResults
                                                             : BookPageKind::OtherEventResults;
    for (std::size_t p = 0; p < places.size(); ++p) {
        BookPage page{kind, {}};
        Header(page, competition, round, RoundLine::Shown, kDetailed, options);
        if (individual) {
            IndividualColumnHeader(page, area, round.judges);
        } else {
            SynchroColumnHeader(page, area.headerBaseline);
        }
        for (const BlockPlace& place : places[p]) {
            if (individual) {
                IndividualBlock(page, competition, round, table, place, area, metrics);
            } else {
                SynchroBlock(page, competition, round, table, place, area);
            }
        }
        const bool last = p + 1 == places.size();
        if (last) {
            NoteAndLegend(page, round, individual);
        }
        Footer(page, ReportCode(round, "73E"), static_cast<int>(p + 1),
               static_cast<int>(places.size()),
               everyFooter || last ? TimekeeperLine::Printed : TimekeeperLine::Omitted, options);
        pages.push_back(std::move(page));
    }
}

// --- Other pages ------------------------------------------------------------------------

void StartList(std::vector<BookPage>& pages, const Competition& competition, const Round& round,
               const ResultsBookOptions& options) {
    BookPage page{BookPageKind::StartList, {}};
    Header(page, competition, round, RoundLine::Shown, kStartList, options);
    const double top = AreaFor(options).headerBaseline;
    Put(page, 152, top, 8, "Start", Align::Right);
    Put(page, 165, top + 5, 8, "Name");
    Put(page, 330, top + 5, 8, "NAT");
    Put(page, 370, top + 5, 8, "Date of Birth");
    Put(page, 152, top + 10, 8, "Order", Align::Right);
    // the order of the dives, not of the results
    std::vector<std::size_t> order(round.entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = order.size() - 1 - i;
    }
    double y = top + 22;
    for (std::size_t i = 0; i < order.size() && y < 740; ++i, y += 11) {
        const Diver& diver = competition.divers[round.entries[order[i]].divers.front()];
        Put(page, 152, y, 8, std::to_string(i + 1), Align::Right);
        Put(page, 165, y, 8, PrintedName(diver));
        Put(page, 330, y, 8, diver.nation);
        Put(page, 370, y, 8, diver.born);
    }
    Footer(page, ReportCode(round, "51B"), 1, 1, TimekeeperLine::Printed, options);
    pages.push_back(std::move(page));
}

void PanelOfJudges(std::vector<BookPage>& pages, const Competition& competition, const Round& round,
                   const ResultsBookOptions& options) {
    static constexpr const char* kJudges[] = {
        "DORMARIC Casimir", "GRIFEGAR Martina", "VINREN Kirsten", "GRIVA Felix",
        "TORV Ottilie",     "HELNAM Gabriel",   "GAKALE Cruz",    "RENETEK Marisol"};
    BookPage page{BookPageKind::JudgesPanel, {}};
    Header(page, competition, round, RoundLine::Shown, kPanel, options);
    const double top = AreaFor(options).headerBaseline;
    Put(page, 165, top, 8, "Function");
    Put(page, 250, top, 8, "Name");
    Put(page, 165, top + 25, 8, "Referee");
    Put(page, 250, top + 25, 8, kJudges[0]);
    Put(page, 400, top + 25, 8, "TDC");
    for (int j = 1; j <= round.judges; ++j) {
        Put(page, 165, top + 50 + 11 * j, 8, "Judge " + std::to_string(j));
        Put(page, 250, top + 50 + 11 * j, 8, kJudges[j % 8]);
    }
    Put(page, 26, 719, 8, "Legend:");
    Put(page, 26, 730, 8, "TDC");
    Put(page, 66, 730, 8, "Technical Diving Committee");
    Footer(page, ReportCode(round, "57"), 1, 1, TimekeeperLine::Printed, options);
    pages.push_back(std::move(page));
}

// The event's rounds, and each diver's total and rank in each, best of the last round first.
struct SummaryTable {
    std::vector<const Round*> rounds;
    std::map<int, std::vector<std::string>> cells; // diver -> points and rank per round
    std::vector<int> order;
};

SummaryTable SummaryOf(const Competition& competition, const Round& last) {
    SummaryTable summary;
    for (const Round& round : competition.rounds) {
        if (round.event == last.event) {
            summary.rounds.push_back(&round);
        }
    }
    for (std::size_t r = 0; r < summary.rounds.size(); ++r) {
        const RoundTable table = TableOf(*summary.rounds[r]);
        for (std::size_t e = 0; e < summary.rounds[r]->entries.size(); ++e) {
            const Entry& entry = summary.rounds[r]->entries[e];
            auto& row = summary.cells[entry.divers.front()];
            row.resize(2 * r);
            row.push_back(CentsText(entry.Total()));
            row.push_back(table.finalRank[e]);
        }
    }
    for (auto it = summary.rounds.rbegin(); it != summary.rounds.rend(); ++it) {
        for (const Entry& entry : (*it)->entries) {
            auto& order = summary.order;
            if (std::find(order.begin(), order.end(), entry.divers.front()) == order.end()) {
                order.push_back(entry.divers.front());
            }
        }
    }
    return summary;
}

void Summary(std::vector<BookPage>& pages, const Competition& competition, const Round& last,
             const ResultsBookOptions& options) {
    const SummaryTable summary = SummaryOf(competition, last);
    const auto& rounds = summary.rounds;
    const auto& order = summary.order;
    BookPage page{BookPageKind::Summary, {}};
    Header(page, competition, last, RoundLine::Omitted, kSummary, options);
    const double top = AreaFor(options).headerBaseline;
    for (std::size_t r = 0; r < rounds.size(); ++r) {
        Put(page, 300 + 75 * r, top, 8, rounds[r]->names[0]);
        Put(page, 300 + 75 * r, top + 10, 8, "Points");
        Put(page, 340 + 75 * r, top + 10, 8, "Rank");
    }
    Put(page, 110, top + 5, 8, "Rank", Align::Right);
    Put(page, 120, top + 5, 8, "Name");
    Put(page, 260, top + 5, 8, "NAT");
    double y = top + 22;
    for (std::size_t i = 0; i < order.size() && y < 740; ++i, y += 10) {
        const Diver& diver = competition.divers[order[i]];
        Put(page, 110, y, 8, std::to_string(i + 1), Align::Right);
        Put(page, 120, y, 8, PrintedName(diver));
        Put(page, 260, y, 8, diver.nation);
        const auto& row = summary.cells.at(order[i]);
        for (std::size_t c = 0; c < row.size(); ++c) {
            Put(page, 330 + 75 * (c / 2) + 28 * (c % 2), y, 8, row[c], Align::Right);
        }
    }
    Footer(page, ReportCode(last, "75"), 1, 1, TimekeeperLine::Printed, options);
    pages.push_back(std::move(page));
}

// Covers differ: some print the title largest, others the words "Results Book".
void Cover(std::vector<BookPage>& pages, const Competition& competition, bool largeTitle) {
    BookPage page{BookPageKind::Cover, {}};
    Put(page, kPageCentre, 200, largeTitle ? 26 : 20, competition.title, Align::Centre, true);
    Put(page, kPageCentre, 230, 16, competition.venue, Align::Centre, true);
    Put(page, kPageCentre, 255, 14, competition.dates, Align::Centre);
    Put(page, kPageCentre, 400, 24, "Results Book", Align::Centre, true);
    Put(page, kPageCentre, 430, 16, "Livre des résultats", Align::Centre);
    pages.push_back(std::move(page));
}

void MedalStandings(std::vector<BookPage>& pages, const ResultsBookOptions& options, int number) {
    static constexpr const char* kNations[] = {"CHN", "USA", "GBR", "MEX", "CAN",
                                               "AUS", "GER", "ITA", "UKR", "JPN"};
    BookPage page{BookPageKind::MedalStandings, {}};
    Put(page, kPageCentre, 120, 12, "Medal Standings", Align::Centre, true);
    Put(page, 100, 160, 8, "Rank");
    Put(page, 150, 160, 8, "NAT");
    for (const auto& [x, text] :
         {std::pair{300.0, "Gold"}, {350.0, "Silver"}, {400.0, "Bronze"}, {450.0, "Total"}}) {
        Put(page, x, 160, 8, text, Align::Right);
    }
    for (int i = 0; i < 10; ++i) {
        const double y = 175 + 11 * i;
        Put(page, 100, y, 8, std::to_string(i + 1));
        Put(page, 150, y, 8, kNations[(i + number) % 10]);
        for (int c = 0; c < 4; ++c) {
            Put(page, 300 + 50 * c, y, 8, std::to_string(c == 3 ? 12 - i : 4 - i / 3),
                Align::Right);
        }
    }
    Put(page, 567, 774, 6, "Page " + std::to_string(number), Align::Right);
    (void)options;
    pages.push_back(std::move(page));
}

} // namespace

std::vector<BookPage> LayOutBook(const Competition& competition, const ResultsBookOptions& options,
                                 const FontMetrics& metrics) {
    std::vector<BookPage> pages;
    Cover(pages, competition, options.seed % 2 == 1);
    for (const Round& round : competition.rounds) {
        if (competition.events[round.event].kind == EventKind::Individual) {
            StartList(pages, competition, round, options);
            PanelOfJudges(pages, competition, round, options);
        }
        DetailedResults(pages, competition, round, options, metrics);
        if (round.summaryAfter) {
            Summary(pages, competition, round, options);
        }
    }
    for (int i = 0; i < competition.fillerPages; ++i) {
        MedalStandings(pages, options, i + 1);
    }
    return pages;
}

} // namespace corvane::book
