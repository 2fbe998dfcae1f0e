// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "cli/version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

using namespace corvane;
using Action = StartRequest::Action;

namespace {

struct Answer {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Answer Answered(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> status = AnswerWithoutWindow(ParseStartArguments(args), out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(StartArguments, AFolderOrNoneOpensTheWindow) {
    EXPECT_EQ(ParseStartArguments({}).action, Action::OpenWindow);
    EXPECT_EQ(ParseStartArguments({}).dataFolder, "");
    EXPECT_EQ(ParseStartArguments({"results"}).dataFolder, "results");
    // "--" lets a folder start with a dash; a lone "-" is a name, not an option.
    EXPECT_EQ(ParseStartArguments({"--", "-odd"}).dataFolder, "-odd");
    EXPECT_EQ(ParseStartArguments({"-"}).dataFolder, "-");
    EXPECT_FALSE(Answered({"results"}).status.has_value());
    const StartRequest user = ParseStartArguments({"--user-folder"});
    EXPECT_EQ(user.action, Action::OpenWindow);
    EXPECT_TRUE(user.userFolder);
    EXPECT_EQ(user.dataFolder, "");
    EXPECT_FALSE(ParseStartArguments({"--", "--user-folder"}).userFolder);
}

TEST(StartArguments, HelpAndVersionPrintAndExitZero) {
    for (const std::string option : {"--help", "-h"}) {
        const Answer help = Answered({option});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Usage: corvane-dive-analyzer [OPTION]... [FOLDER]"),
                  std::string::npos);
        EXPECT_NE(help.out.find("  --user-folder "), std::string::npos);
        EXPECT_EQ(help.err, "");
    }
    const Answer version = Answered({"results", "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("corvane-dive-analyzer ") + kVersion + "\n");
}

TEST(StartArguments, UnknownOptionsAndASecondFolderAreRefusedWithExitTwo) {
    const struct {
        std::vector<std::string> args;
        std::string reason;
    } cases[] = {
        {{"--data", "x"}, "unknown option '--data'"},
        {{"-v"}, "unknown option '-v'"},
        {{"--help", "--bogus"}, "unknown option '--bogus'"},
        {{"a", "b"}, "only one folder can be opened, not both 'a' and 'b'"},
        {{"--", "a", "--help"}, "only one folder can be opened, not both 'a' and '--help'"},
        {{""}, "the folder name is empty"},
        {{"--user-folder", "a"}, "open either the folder 'a' or --user-folder"},
        {{"a", "--user-folder"}, "open either the folder 'a' or --user-folder"},
    };
    for (const auto& c : cases) {
        const Answer answer = Answered(c.args);
        EXPECT_EQ(answer.status, 2) << c.reason;
        EXPECT_EQ(answer.out, "");
        EXPECT_EQ(answer.err,
                  "corvane-dive-analyzer: " + c.reason + "\nTry 'corvane-dive-analyzer --help'.\n");
    }
}

TEST(StartArguments, TheDataFolderIsNamedInFull) {
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(DataFolderPath("results"), here + "/results");
    EXPECT_EQ(DataFolderPath("./results/"), here + "/results");
    EXPECT_EQ(DataFolderPath("/srv/dives/../meet//"), "/srv/meet");
    EXPECT_EQ(DataFolderPath("/"), "/");
}

// A folder that is not there, or a file in its place, is refused before any window opens;
// a real folder, or none at all, opens the window.
TEST(StartArguments, AMissingFolderOrAFileIsRefusedWithExitTwo) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("corvane-start-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "results");
    std::ofstream(root / "M3M") << "1\t101B\t1.5\t40.50\t\n";
    const std::string base = root.string();
    const struct {
        std::vector<std::string> args;
        std::string reason; // empty: the window opens
    } cases[] = {
        {{base + "/results"}, ""},
        {{}, ""},
        {{"--help", base + "/gone"}, ""}, // help needs no folder
        {{base + "/gone"}, "the folder '" + base + "/gone' does not exist"},
        {{base + "/M3M/sub"}, "the folder '" + base + "/M3M/sub' does not exist"},
        {{base + "/M3M"}, "'" + base + "/M3M' is not a folder"},
    };
    for (const auto& c : cases) {
        const StartRequest request = RefuseMissingFolder(ParseStartArguments(c.args));
        std::ostringstream out;
        std::ostringstream err;
        const std::optional<int> status = AnswerWithoutWindow(request, out, err);
        if (c.reason.empty()) {
            EXPECT_NE(status, 2) << err.str();
            continue;
        }
        EXPECT_EQ(status, 2) << c.reason;
        EXPECT_EQ(err.str(),
                  "corvane-dive-analyzer: " + c.reason + "\nTry 'corvane-dive-analyzer --help'.\n");
    }
    std::filesystem::remove_all(root);
}
