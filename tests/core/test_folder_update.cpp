// SPDX-License-Identifier: GPL-3.0-or-later
// Adding files to a data folder in two steps, as the window does: read without writing, then
// write what was read, keeping or moving aside the results no import wrote; and what happens
// when the folder changes, goes away or cannot be written in between.

#include "import/dive_import.h"
#include "import/folder_update.h"
#include "import/results_book.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <sys/resource.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const std::string kHeader = "Event,Round,Diver,Nation,Dive,DD,J1,J2,J3,J4,J5,Points\n";
const std::string kDay = "2026-12-08";
const std::atomic<bool> kGoOn{false};

using Files = std::map<std::string, std::string>;

// Every file of a folder by name, folders inside it left out.
Files FilesOf(const fs::path& folder) {
    Files files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = testing::ReadBytes(entry.path());
    }
    return files;
}

int Import(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    return RunDiveImport(args, out, err);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Two sheets and a hand-made folder "own" of results no import wrote, with its settings.
void WriteInputs(const TempDir& dir) {
    dir.Write("a.csv", kHeader + "M3M,Final,SMITH John,GBR,207C,3.5,7,7,7,7,7,73.50\n"
                                 "W10M,Final,LI Xue,CHN,107B,3.0,8,8,8,8,8,72.00\n");
    dir.Write("b.csv", kHeader + "M3M,Final,SMITH Jon,GBR,207C,3.6,7,7,7,7,7,75.60\n"
                                 "M3M,Prelim,GREEN Al,USA,207C,3.6,6,6,6,6,6,64.80\n");
    dir.Write("notes.txt", "nothing of a table\n");
    fs::create_directory(dir.Path() / "own");
    dir.Write("own/M3M", "7\t105B\t2.4\t50.40\t\r\n");
    for (const char* name : {"own/W3M", "own/M10M", "own/W10M"})
        dir.Write(name, "");
    dir.Write("own/Divers.tsv", "Id\tSurname\tGivenName\tNation\r\n7\tSMITH\tJOHN\tGBR\r\n");
    dir.Write("own/DD.ini", "[Settings]\n");
}

AddPlan Plan(const TempDir& dir, const std::string& folder, std::vector<std::string> names) {
    for (std::string& name : names)
        name = dir.File(name);
    return PlanAdd(dir.File(folder), names, {}, kGoOn);
}

TEST(FolderUpdate, AddsWhatCanBeUsedAsDiveImportAddWouldAndNamesWhatCannot) {
    const TempDir dir;
    WriteInputs(dir);
    for (const char* folder : {"f", "g"})
        ASSERT_EQ(Import({"--out", dir.File(folder), dir.File("a.csv")}), 0);
    const AddPlan plan = Plan(dir, "f", {"b.csv", "missing.csv", "notes.txt", "a.csv"});
    ASSERT_EQ(plan.inputs.size(), 4u);
    EXPECT_TRUE(plan.inputs[0].Usable());
    const std::pair<std::size_t, std::string> refused[] = {
        {1, "cannot read " + dir.File("missing.csv") + ": no such file"},
        {2, dir.File("notes.txt")},
        {3, dir.File("a.csv") + " is already in the folder as source a.csv"},
    };
    for (const auto& [at, says] : refused) {
        EXPECT_FALSE(plan.inputs[at].Usable());
        EXPECT_TRUE(Has(plan.inputs[at].reason, says)) << plan.inputs[at].reason;
    }
    ASSERT_EQ(plan.newDivers[0].size(), 2u); // SMITH Jon and GREEN: SMITH John is known
    EXPECT_EQ(plan.newDivers[0][1].surname, "GREEN");
    EXPECT_TRUE(plan.earlierFiles.empty());
    EXPECT_EQ(plan.keepBeside.refusal, "");
    EXPECT_TRUE(Has(plan.keepBeside.findings.at(0), "probably the same diver"));
    EXPECT_TRUE(Has(plan.keepBeside.findings.at(1), "207C on 3 m: 3.6 in 2 dives, 3.5 in 1"));

    const Files before = FilesOf(dir.Path() / "f");
    ASSERT_EQ(ApplyAdd(plan, EarlierFiles::KeepBeside, {kDay}), std::nullopt);
    ASSERT_EQ(Import({"--add", "--out", dir.File("g"), dir.File("b.csv")}), 0);
    EXPECT_EQ(FilesOf(dir.Path() / "f"), FilesOf(dir.Path() / "g"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "f"), {}), 8); // nothing else
    // Taking the source out again gives back the folder before the add, byte for byte.
    const SourceRemoval removal = RemoveSource(dir.File("f"), "b.csv");
    ASSERT_TRUE(removal.folder) << removal.message;
    EXPECT_EQ(removal.dives, 2u);
    ASSERT_EQ(WriteDataFolder(*removal.folder, dir.File("f")), std::nullopt);
    EXPECT_EQ(FilesOf(dir.Path() / "f"), before);
}

TEST(FolderUpdate, ResultsNoImportWroteAreKeptBesideOrMovedIntoADatedSubfolder) {
    const TempDir dir;
    WriteInputs(dir);
    fs::copy(dir.Path() / "own", dir.Path() / "kept");
    const AddPlan keep = Plan(dir, "kept", {"a.csv"});
    EXPECT_EQ(keep.earlierFiles,
              (std::vector<std::string>{"M3M", "W3M", "M10M", "W10M", "Divers.tsv"}));
    ASSERT_EQ(ApplyAdd(keep, EarlierFiles::KeepBeside, {kDay}), std::nullopt);
    fs::copy(dir.Path() / "own", dir.Path() / "added");
    ASSERT_EQ(Import({"--add", "--out", dir.File("added"), dir.File("a.csv")}), 0);
    EXPECT_EQ(FilesOf(dir.Path() / "kept"), FilesOf(dir.Path() / "added"));

    // Replaced: the old files lie in the first free dated name, the folder holds what an
    // import of the file alone into an empty folder writes, and the settings stay.
    const Files own = FilesOf(dir.Path() / "own");
    fs::create_directory(dir.Path() / "own" / ("earlier-results-" + kDay));
    const AddPlan replace = Plan(dir, "own", {"a.csv"});
    EXPECT_EQ(replace.replace.refusal, "");
    ASSERT_EQ(ApplyAdd(replace, EarlierFiles::MoveAside, {kDay}), std::nullopt);
    Files aside = own;
    aside.erase("DD.ini");
    EXPECT_EQ(FilesOf(dir.Path() / "own" / ("earlier-results-" + kDay + "-2")), aside);
    ASSERT_EQ(Import({"--out", dir.File("fresh"), dir.File("a.csv")}), 0);
    Files expected = FilesOf(dir.Path() / "fresh");
    expected["DD.ini"] = own.at("DD.ini");
    EXPECT_EQ(FilesOf(dir.Path() / "own"), expected);

    // A roster without result files is moved aside too, never written over.
    fs::create_directory(dir.Path() / "roster");
    dir.Write("roster/Divers.tsv", own.at("Divers.tsv"));
    const AddPlan roster = Plan(dir, "roster", {"a.csv"});
    EXPECT_EQ(roster.earlierFiles, std::vector<std::string>{"Divers.tsv"});
    EXPECT_TRUE(Has(roster.keepBeside.refusal, "no result files to keep beside"));
    ASSERT_EQ(ApplyAdd(roster, EarlierFiles::MoveAside, {kDay}), std::nullopt);
    EXPECT_EQ(dir.Read("roster/earlier-results-" + kDay + "/Divers.tsv"), own.at("Divers.tsv"));
}

TEST(FolderUpdate, FullSampleResultsCannotBeKeptBesideButCanBeReplaced) {
    const TempDir dir;
    WriteInputs(dir);
    fs::copy(CORVANE_SAMPLE_DIR, dir.Path() / "samples");
    const AddPlan plan = Plan(dir, "samples", {"a.csv"});
    EXPECT_FALSE(plan.earlierFiles.empty());
    EXPECT_TRUE(Has(plan.keepBeside.refusal, "dives, at most")) << plan.keepBeside.refusal;
    EXPECT_EQ(plan.replace.refusal, "");
    // In the words of the command line.
    std::ostringstream out, err;
    RunDiveImport({"--add", "--out", dir.File("samples"), dir.File("a.csv")}, out, err);
    EXPECT_TRUE(Has(err.str(), "dive-import: " + plan.keepBeside.refusal + "\n")) << err.str();
    const Files before = FilesOf(dir.Path() / "samples");
    EXPECT_EQ(ApplyAdd(plan, EarlierFiles::KeepBeside, {kDay}), plan.keepBeside.refusal);
    EXPECT_EQ(FilesOf(dir.Path() / "samples"), before);
}

// What the folder holds when an add went wrong: the same files, and no subfolder.
void ExpectAsItWas(const fs::path& folder, const Files& before) {
    EXPECT_EQ(FilesOf(folder), before);
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_FALSE(entry.is_directory()) << entry.path();
}

TEST(FolderUpdate, AFailureAtAnyStepOfWritingLeavesTheFolderAsItWas) {
    const TempDir dir;
    WriteInputs(dir);
    ASSERT_EQ(Import({"--out", dir.File("f"), dir.File("a.csv")}), 0);
    // An imported folder written over, and earlier results moved into a dated subfolder.
    for (const auto& [name, choice] :
         {std::pair("f", EarlierFiles::KeepBeside), std::pair("own", EarlierFiles::MoveAside)}) {
        const fs::path folder = dir.Path() / name;
        const Files before = FilesOf(folder);
        const AddPlan plan = Plan(dir, name, {"b.csv"});
        // The third file fails to move aside: the first two go back.
        int moves = 0;
        const MoveFile thirdFails = [&](const std::string& from, const std::string& to) {
            return ++moves == 3 ? std::optional<std::string>("injected") : RenameFile(from, to);
        };
        const auto failed = ApplyAdd(plan, choice, {kDay, thirdFails});
        EXPECT_TRUE(Has(failed.value_or(""), "cannot write into " + folder.string() + ": injected"))
            << failed.value_or("written");
        ExpectAsItWas(folder, before);
        // Every old file moved aside, a folder takes the place of Sources.tsv, and renaming
        // the new one in fails: the new files renamed so far go, the old ones come back.
        const fs::path blocked = folder / "Sources.tsv";
        const MoveFile blockSources = [&](const std::string& from, const std::string& to) {
            const bool back = fs::path(to).parent_path() == folder;
            if (back && fs::is_directory(blocked))
                fs::remove(blocked);
            const auto moved = RenameFile(from, to);
            if (!back && !fs::exists(blocked))
                fs::create_directory(blocked);
            return moved;
        };
        EXPECT_TRUE(ApplyAdd(plan, choice, {kDay, blockSources}));
        if (fs::is_directory(blocked))
            fs::remove(blocked);
        ExpectAsItWas(folder, before);
    }
}

TEST(FolderUpdate, AFolderChangedOrGoneSinceReadingIsNotWritten) {
    const TempDir dir;
    WriteInputs(dir);
    ASSERT_EQ(Import({"--out", dir.File("f"), dir.File("a.csv")}), 0);
    const AddPlan plan = Plan(dir, "f", {"b.csv"});
    fs::copy(dir.Path() / "f", dir.Path() / "copy");
    // Another add meanwhile: its dives stay, this add is refused.
    dir.Write("c.csv", kHeader + "W3M,Final,KIM Ana,KOR,105B,2.4,5,5,5,5,5,36.00\n");
    ASSERT_EQ(Import({"--add", "--out", dir.File("f"), dir.File("c.csv")}), 0);
    const Files other = FilesOf(dir.Path() / "f");
    const auto changed = ApplyAdd(plan, EarlierFiles::KeepBeside, {kDay});
    ASSERT_TRUE(changed);
    EXPECT_TRUE(Has(*changed, dir.File("f") + " changed since the files were read")) << *changed;
    EXPECT_EQ(FilesOf(dir.Path() / "f"), other);
    // The folder removed: not made again.
    fs::remove_all(dir.Path() / "f");
    const auto gone = ApplyAdd(plan, EarlierFiles::KeepBeside, {kDay});
    ASSERT_TRUE(gone);
    EXPECT_TRUE(Has(*gone, dir.File("f") + " is no longer there")) << *gone;
    EXPECT_FALSE(fs::exists(dir.Path() / "f"));
    EXPECT_TRUE(Has(Plan(dir, "f", {"b.csv"}).keepBeside.refusal, "is no longer there"));
}

TEST(FolderUpdate, AReadOnlyFolderOrAFullDiskIsNamedAndNothingIsWritten) {
    const TempDir dir;
    WriteInputs(dir);
    ASSERT_EQ(Import({"--out", dir.File("f"), dir.File("a.csv")}), 0);
    const fs::path folders[] = {dir.Path() / "f", dir.Path() / "own"};
    for (const fs::path& folder : folders) {
        const Files before = FilesOf(folder);
        const AddPlan plan = Plan(dir, folder.filename().string(), {"b.csv"});
        for (const EarlierFiles choice : {EarlierFiles::KeepBeside, EarlierFiles::MoveAside}) {
            const auto readOnly = testing::AsOrdinaryUser({folder}, [&] {
                fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
                return ApplyAdd(plan, choice, {kDay}).value_or("written");
            });
            fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
            EXPECT_TRUE(readOnly && Has(*readOnly, "cannot write into " + folder.string() +
                                                       ": Permission denied"))
                << readOnly.value_or("child failed");
            // A disk that is full after a few bytes: the first file cannot be written.
            const auto full = testing::InChild([&] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{16, 16};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                return ApplyAdd(plan, choice, {kDay}).value_or("written");
            });
            EXPECT_TRUE(full && Has(*full, "cannot write into " + folder.string() + ": File too"))
                << full.value_or("child failed");
            ExpectAsItWas(folder, before);
        }
    }
}

TEST(FolderUpdate, CancelledReadingAddsNothing) {
    const TempDir dir;
    WriteInputs(dir);
    const std::atomic<bool> cancelled{true};
    const AddPlan plan = PlanAdd(dir.File("own"), {dir.File("a.csv")}, {}, cancelled);
    EXPECT_TRUE(plan.cancelled);
    EXPECT_TRUE(plan.inputs.empty());
    EXPECT_TRUE(Has(ApplyAdd(plan, EarlierFiles::MoveAside, {kDay}).value_or(""), "cancelled"));
    EXPECT_TRUE(fs::exists(dir.Path() / "own" / "M3M"));
    // A results book stops between its pages.
    const std::string book = testing::ReadBytes(CORVANE_TEST_DATA_DIR "/pdf/one-fault-book.pdf");
    EXPECT_EQ(ReadResultsBook(book, "book.pdf", &cancelled).error, "book.pdf: reading cancelled");
    EXPECT_FALSE(ReadResultsBook(book, "book.pdf", &kGoOn).book.reading.dives.empty());
}

} // namespace
} // namespace corvane
