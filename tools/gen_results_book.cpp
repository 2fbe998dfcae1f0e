// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a test results book as PDF, and optionally the dives a reader must find in it.
//
//   gen_results_book [--seed N] [--style event-line|start-time] [--one-language]
//                    [--footer every|last] [--judges 7|5] [--pages N] [--dives FILE] OUT.pdf
//
// --pages 160 gives the book of the import benchmark. --dives writes one line per performed
// dive of the four individual events: event, round, surname, given name, nation, dive
// number, code, DD, awards, penalty mark, points, separated by tabs.

#include "tools/results_book_writer.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace {

using corvane::ResultsBookOptions;

int Usage() {
    std::cerr << "usage: gen_results_book [--seed N] [--style event-line|start-time] "
                 "[--one-language] [--footer every|last] [--judges 7|5] [--pages N] "
                 "[--dives FILE] OUT.pdf\n";
    return 2;
}

bool WriteDives(const corvane::ResultsBook& book, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    for (const corvane::SourceDive& dive : book.expected.dives) {
        out << dive.event << '\t' << dive.round << '\t' << dive.surname << '\t' << dive.given
            << '\t' << dive.nation << '\t' << dive.diveNumber << '\t' << dive.code << '\t'
            << dive.dd;
        for (const std::string& award : dive.awards) {
            out << '\t' << award;
        }
        out << '\t' << (dive.penalty ? "*" : "") << '\t' << dive.points << '\n';
    }
    return static_cast<bool>(out);
}

// Reads one option with its value; false on an unknown option or value.
bool TakeOption(std::string_view name, std::string_view value, ResultsBookOptions& options,
                std::string& divesPath) {
    if (name == "--seed") {
        options.seed = std::strtoull(std::string(value).c_str(), nullptr, 10);
    } else if (name == "--style" && (value == "event-line" || value == "start-time")) {
        options.style = value == "event-line" ? corvane::BookHeaderStyle::EventLine
                                              : corvane::BookHeaderStyle::StartTimeLine;
    } else if (name == "--footer" && (value == "every" || value == "last")) {
        options.footer = value == "every" ? corvane::TimekeeperFooter::EveryPage
                                          : corvane::TimekeeperFooter::RoundLastPage;
    } else if (name == "--judges" && (value == "7" || value == "5")) {
        options.judges = value == "7" ? 7 : 5;
    } else if (name == "--pages") {
        options.pages = std::atoi(std::string(value).c_str());
    } else if (name == "--dives") {
        divesPath = value;
    } else {
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    ResultsBookOptions options;
    std::string divesPath;
    int i = 1;
    for (; i < argc && std::string_view(argv[i]).starts_with("--"); ++i) {
        if (std::string_view(argv[i]) == "--one-language") {
            options.secondLanguage = false;
        } else if (i + 1 >= argc || !TakeOption(argv[i], argv[i + 1], options, divesPath)) {
            return Usage();
        } else {
            ++i;
        }
    }
    if (i + 1 != argc) {
        return Usage();
    }
    const corvane::ResultsBook book = corvane::PlanResultsBook(options);
    if (const auto message = corvane::WriteResultsBookPdf(book, argv[i])) {
        std::cerr << "gen_results_book: " << *message << '\n';
        return 1;
    }
    if (!divesPath.empty() && !WriteDives(book, divesPath)) {
        std::cerr << "gen_results_book: cannot write " << divesPath << '\n';
        return 1;
    }
    std::cout << argv[i] << ": " << book.pages.size() << " pages, " << book.expected.dives.size()
              << " dives, " << book.unperformed.size() << " listed without awards\n";
    return 0;
}
