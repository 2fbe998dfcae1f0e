// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own start-up, timed from the outside: each run starts a fresh process that
// builds the main window exactly as the program's entry does, in a folder holding copies of
// the sample results, on the offscreen platform. The time runs from just before the process
// is created until the program's own first paint of the M3M grid after the first statistics
// run has ended has returned to the event loop; the peak resident memory of the process
// comes from the kernel's account of the finished child.
//
// The same harness starts, in turns with the program, a minimal Qt program (a window with one
// push button; a program of its own, corvane_minimal_window, that loads Qt Widgets only),
// timed the same way up to the return from its first paint of the button, so
// the part of the start-up after the start-up timer can be read as a multiple of what any Qt
// window costs on the same machine at the same time. Neither is painted by the harness: an
// extra paint would be charged to the program that did not need it.
//
// Usage: corvane_startup [RUNS [ROSTER_ROWS]]   (default 15 runs; prints each run and the
// medians). ROSTER_ROWS > 0 puts a Divers.tsv of that many rows into the folder: the shipped
// roster first, then made-up divers.

#include "app/settings.h"
#include "bench/first_paint_watch.h"
#include "ui/main_window.h"
#include "ui/string_grid_view.h"

#include <QApplication>
#include <QTimer>

#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr const char* kChildFlag = "--child";
constexpr double kStartupTimerMs = 100; // the start-up timer of the main window
constexpr double kTargetRatio = 1.5;
constexpr int kDefaultRuns = 15;
constexpr double kTargetMs = 300;
constexpr double kTargetMB = 100;

// ---- The children ------------------------------------------------------------------------

// The program's start-up, up to its first paint of the filled M3M grid after the run.
int RunChild(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program's entry does it.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    DdIniSettings settings;
    const std::unique_ptr<MainWindow> form = MakeMainWindow(settings);
    QWidget* grid = form->EventGrid(1)->viewport();
    FirstFinalPaint watch(
        grid, [&] { return !form->IsBusy() && form->EventTable(1).RowCount() > 2; },
        [&] {
            PrintMoments(watch.started, *grid, form->EventTable(1).RowCount());
            form->close();
            QCoreApplication::quit();
        });
    form->show();
    GiveUpLater();
    return QApplication::exec();
}

// ---- The parent: runs, timing, memory ----------------------------------------------------

struct RunResult {
    bool ok = false;
    double filledMs = 0;
    double paintedMs = 0;
    double peakMB = 0;
    std::string detail;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            return text;
    }
}

// Starts `program` with `args` in `folder` and waits for it; the clock starts before the fork.
RunResult RunOnce(const std::string& program, const std::filesystem::path& folder,
                  std::vector<std::string> args) {
    int channel[2];
    if (pipe(channel) != 0)
        return {false, 0, 0, 0, std::strerror(errno)};
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const long long start = MonotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        dup2(channel[1], STDOUT_FILENO);
        if (chdir(folder.c_str()) == 0)
            execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(channel[1]);
    const std::string report = ReadAll(channel[0]);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);

    RunResult result;
    long long filled = 0;
    long long painted = 0;
    char viewport[32] = {};
    int rows = 0;
    const bool parsed =
        std::sscanf(report.c_str(), "filled_ns %lld painted_ns %lld rows %d viewport %31s", &filled,
                    &painted, &rows, viewport) == 4;
    result.ok = parsed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.filledMs = static_cast<double>(filled - start) / 1e6;
    result.paintedMs = static_cast<double>(painted - start) / 1e6;
    result.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0; // reported in KiB
    result.detail = "M3M rows " + std::to_string(rows) + ", grid viewport " + viewport;
    return result;
}

// A Divers.tsv of `rows` rows: the shipped roster, then made-up divers of 61 nations.
void WriteRoster(const std::filesystem::path& file, int rows) {
    std::ofstream out(file, std::ios::binary);
    out << "Id\tSurname\tGivenName\tNation\n";
    int written = 0;
    for (const DiverEntry& diver : BuiltInRoster().Rows()) {
        if (written++ == rows)
            return;
        out << diver.Id.view() << '\t' << diver.Surname.view() << '\t' << diver.GivenName.view()
            << '\t' << diver.Nation.view() << '\n';
    }
    for (; written < rows; ++written) {
        const char nation[] = {char('A' + written % 61 % 26), char('A' + written % 61 / 26), 'X',
                               0};
        out << 9000000 + written << "\tSURNAME" << written << "\tGIVEN" << written % 977 << '\t'
            << nation << '\n';
    }
}

// A private folder with copies of the four sample result files (and a roster file).
std::filesystem::path PrepareFolder(int rosterRows) {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-startup-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    const std::filesystem::path folder(pattern);
    for (const char* event : {"M3M", "W3M", "M10M", "W10M"})
        std::filesystem::copy_file(std::filesystem::path(CORVANE_SAMPLE_DIR) / event,
                                   folder / event);
    if (rosterRows > 0)
        WriteRoster(folder / kRosterFileName, rosterRows);
    return folder;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void PrintMedians(const std::vector<double>& painted, const std::vector<double>& peak,
                  const std::vector<double>& minimal) {
    const double medianMs = Median(painted);
    const double medianMB = Median(peak);
    const double minimalMs = Median(minimal);
    const double ratio = (medianMs - kStartupTimerMs) / minimalMs;
    std::printf("median start-up to painted tables: %.1f ms (target < %.0f ms) %s\n", medianMs,
                kTargetMs, medianMs < kTargetMs ? "met" : "MISSED");
    std::printf("median peak RSS (offscreen): %.1f MB (target < %.0f MB) %s\n", medianMB, kTargetMB,
                medianMB < kTargetMB ? "met" : "MISSED");
    std::printf("median minimal window with a push button, painted: %.1f ms\n", minimalMs);
    std::printf("after the start-up timer: %.1f ms, %.2f times the minimal window (target < %.1f) "
                "%s\n",
                medianMs - kStartupTimerMs, ratio, kTargetRatio,
                ratio < kTargetRatio ? "met" : "MISSED");
}

int RunParent(int runs, int rosterRows) {
    const std::string self = std::filesystem::canonical("/proc/self/exe");
    const std::filesystem::path folder = PrepareFolder(rosterRows);
    if (folder.empty()) {
        std::fprintf(stderr, "corvane_startup: no temporary folder: %s\n", std::strerror(errno));
        return 1;
    }
    std::vector<double> painted;
    std::vector<double> peak;
    std::vector<double> minimal;
    for (int run = 1; run <= runs; ++run) {
        // Every run starts as the first: no settings file from the run before.
        std::filesystem::remove(folder / "DD.ini");
        const RunResult result = RunOnce(self, folder, {kChildFlag});
        const RunResult bare = RunOnce(
            CORVANE_MINIMAL_WINDOW, folder,
            {std::to_string(MainWindow::kClientWidth), std::to_string(MainWindow::kClientHeight)});
        if (!result.ok || !bare.ok) {
            std::fprintf(stderr, "corvane_startup: run %d failed %s\n", run, result.detail.c_str());
            std::filesystem::remove_all(folder);
            return 1;
        }
        std::printf("run %2d: tables filled %6.1f ms, painted %6.1f ms, peak RSS %5.1f MB (%s); "
                    "minimal window %5.1f ms\n",
                    run, result.filledMs, result.paintedMs, result.peakMB, result.detail.c_str(),
                    bare.paintedMs);
        painted.push_back(result.paintedMs);
        peak.push_back(result.peakMB);
        minimal.push_back(bare.paintedMs);
    }
    std::filesystem::remove_all(folder);
    PrintMedians(painted, peak, minimal);
    return 0;
}

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], corvane::kChildFlag) == 0)
        return corvane::RunChild(argc, argv);
    const int runs = argc >= 2 ? std::atoi(argv[1]) : corvane::kDefaultRuns;
    const int rosterRows = argc >= 3 ? std::atoi(argv[2]) : 0;
    if (runs < 1 || rosterRows < 0) {
        std::fprintf(stderr, "usage: corvane_startup [RUNS [ROSTER_ROWS]]\n");
        return 2;
    }
    return corvane::RunParent(runs, rosterRows);
}
