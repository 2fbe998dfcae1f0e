// SPDX-License-Identifier: GPL-3.0-or-later
// dive-import given PDF files: a results book's dives in the folder, a dive whose points do
// not add up left out (and refused under --strict), and PDF files it cannot use refused with
// a message naming them, nothing written and nothing of poppler's own on the terminal.
#include "import/dive_import.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace corvane {
namespace {

using testing::TempDir;

const std::string kPdfDir = CORVANE_TEST_DATA_DIR "/pdf/";

struct Outcome {
    int code = -1;
    std::string err;
    std::string terminal; // what reached the process's own standard error
};

// Runs the import with the process's standard error caught in a file.
Outcome RunImport(const TempDir& dir, const std::vector<std::string>& args) {
    const std::string caught = dir.File("stderr.txt");
    const int saved = ::dup(2);
    const int file = ::open(caught.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, 2);
    ::close(file);
    std::ostringstream out, err;
    Outcome outcome;
    outcome.code = RunDiveImport(args, out, err);
    ::dup2(saved, 2);
    ::close(saved);
    outcome.err = err.str();
    outcome.terminal = dir.Read("stderr.txt");
    return outcome;
}

TEST(BookImport, RefusesPdfFilesItCannotUseNamingThem) {
    struct Case {
        const char* file;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"not-a-pdf.pdf", "not-a-pdf.pdf: not a PDF file"},
        {"truncated.pdf", kPdfDir + "truncated.pdf: a PDF, damaged or truncated; not read"},
        {"encrypted.pdf", "encrypted.pdf: an encrypted PDF; not read"},
        {"no-text.pdf", "no-text.pdf: a PDF without text"},
        {"not-a-results-book.pdf", "no detailed results of the four individual events in " +
                                       kPdfDir + "not-a-results-book.pdf: is it a results book?"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file);
        const TempDir dir;
        const Outcome outcome = RunImport(
            dir, {"--out", dir.File("out"), kPdfDir + "one-fault-book.pdf", kPdfDir + test.file});
        EXPECT_EQ(outcome.code, 1);
        EXPECT_NE(outcome.err.find(test.message), std::string::npos) << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
        EXPECT_EQ(outcome.terminal, "");
    }
}

TEST(BookImport, LeavesOutADiveWhosePointsDoNotAddUpAndStrictRefusesTheImport) {
    const TempDir dir;
    const std::string book = kPdfDir + "one-fault-book.pdf";
    const Outcome lenient = RunImport(dir, {"--out", dir.File("out"), book});
    ASSERT_EQ(lenient.code, 0) << lenient.err;
    EXPECT_NE(lenient.err.find("left out: " + book +
                               ", page 1, Men's 3m Springboard Final: NORS Agnes (USA), dive 1 "
                               "(405B): points 67.60"),
              std::string::npos)
        << lenient.err;
    EXPECT_EQ(dir.Read("out/M3M"), "10\t207C\t3.6\t86.40\t\r\n10\t407C\t3.4\t81.60\t\r\n");
    EXPECT_NE(dir.Read("out/Divers.tsv").find("10\tLOS\tEMIL\tCHN"), std::string::npos);

    const Outcome strict = RunImport(dir, {"--strict", "--out", dir.File("strict"), book});
    EXPECT_EQ(strict.code, 1);
    EXPECT_NE(strict.err.find("1 dive fails the points check under --strict; nothing written"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("strict")));
}

} // namespace
} // namespace corvane
