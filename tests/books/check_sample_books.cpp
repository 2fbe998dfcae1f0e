// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the sample results books beside the project (../shared/results-books) and compares
// every dive with the book's expected list, field by field. Exits 77 (skipped) when the
// folder is not there.
#include "import/results_book.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using corvane::PrintedDive;

constexpr int kSkipped = 77;
constexpr const char* kEventNames[] = {"Men's 3m Springboard", "Women's 3m Springboard",
                                       "Men's 10m Platform", "Women's 10m Platform"};

// One dive as the expected lists write it.
std::string Row(const std::string& book, std::size_t page, const PrintedDive& printed) {
    const corvane::SourceDive& dive = printed.dive;
    std::string row = book + "," + std::to_string(page) + "," + kEventNames[dive.event - 1] + "," +
                      dive.round + "," + printed.rank + "," + printed.name + "," + dive.nation +
                      "," + std::to_string(dive.diveNumber) + "," + dive.code + "," + dive.dd;
    for (std::size_t i = 0; i < corvane::kMaxAwards; ++i)
        row += "," + (i < dive.awards.size() ? dive.awards[i] : std::string());
    row += "," + std::to_string(dive.awards.size()) + "," + (dive.penalty ? "1" : "") + "," +
           dive.points + "," + printed.diveRank + "," + printed.total + "," + printed.overallRank +
           "," + printed.behind + "," + (printed.withdrawn ? "WD" : "");
    return row;
}

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line.back() == '\r')
            line.pop_back(), lines.push_back(line);
        else if (!line.empty())
            lines.push_back(line);
    return lines;
}

// Compares one book; prints what differs and returns the number of rows that match.
bool CheckBook(const fs::path& pdf) {
    const std::string book = pdf.stem().string();
    std::ifstream in(pdf, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const corvane::BookOutcome outcome = corvane::ReadResultsBook(bytes.str(), pdf.string());
    if (outcome.error) {
        std::cout << *outcome.error << "\n";
        return false;
    }
    std::vector<std::string> got;
    for (std::size_t i = 0; i < outcome.book.pages.size(); ++i)
        for (const PrintedDive& dive : outcome.book.pages[i].dives)
            got.push_back(Row(book, i + 1, dive));
    std::vector<std::string> expected = Lines(pdf.parent_path() / (book + ".expected.csv"));
    if (!expected.empty())
        expected.erase(expected.begin()); // the header line
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(),
                        std::back_inserter(missing));
    std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(),
                        std::back_inserter(extra));
    std::cout << book << ": " << expected.size() - missing.size() << " of " << expected.size()
              << " expected dives read exactly, " << extra.size() << " read otherwise\n";
    for (std::size_t i = 0; i < std::min<std::size_t>(missing.size(), 10); ++i)
        std::cout << "  expected " << missing[i] << "\n";
    for (std::size_t i = 0; i < std::min<std::size_t>(extra.size(), 10); ++i)
        std::cout << "  read     " << extra[i] << "\n";
    for (const std::string& fault : outcome.book.reading.faults)
        std::cout << "  fault: " << fault << "\n";
    std::cout << "  title '" << outcome.book.reading.title << "', dates '"
              << outcome.book.reading.dates << "'\n";
    for (const std::string& line : outcome.book.reading.report)
        std::cout << "  " << line << "\n";
    return missing.empty() && extra.empty() && outcome.book.reading.faults.empty();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: check_sample_books FOLDER\n";
        return 2;
    }
    const fs::path folder = argv[1];
    if (!fs::is_directory(folder)) {
        std::cout << folder.string() << " is not there; skipped\n";
        return kSkipped;
    }
    std::vector<fs::path> books;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".pdf" &&
            fs::exists(folder / (entry.path().stem().string() + ".expected.csv")))
            books.push_back(entry.path());
    std::sort(books.begin(), books.end());
    bool all = !books.empty();
    for (const fs::path& book : books)
        all = CheckBook(book) && all;
    return all ? 0 : 1;
}
