// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own start-up, timed from the outside: each run starts a fresh process that
// builds the main window exactly as the program's entry does, in a folder holding copies of
// the sample results, on the offscreen platform. The time runs from just before the process
// is created until the first statistics run has ended and the M3M grid has been painted; the
// peak resident memory of the process comes from the kernel's account of the finished child.
//
// Usage: corvane_startup [RUNS]     (default 15 runs; prints each run and the medians)

#include "app/settings.h"
#include "ui/string_grid_view.h"
#include "ui/unit_main.h"
#include "ui/unit_stats.h"

#include <QApplication>
#include <QTimer>

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
#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr const char* kChildFlag = "--child";
constexpr int kDefaultRuns = 15;
constexpr int kPollMs = 1;
constexpr int kGiveUpMs = 30000;
constexpr double kTargetMs = 300;
constexpr double kTargetMB = 100;

// Nanoseconds on the system-wide monotonic clock, comparable between processes.
long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// ---- The child: the program's start-up ---------------------------------------------------

// Waits for the first statistics run to end, paints the M3M grid once more to be sure the
// screen is complete, reports both moments on stdout and closes the window.
int RunChild(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program's entry does it.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    DdIniSettings settings;
    TForm1 form(settings);
    auto* diveStats = new TDiveStats(form.MakeDiveStatsHost(), &form);
    form.AttachDiveStats(diveStats);
    form.show();

    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (form.busy() || form.eventTable(1).RowCount() <= 2)
            return;
        poll.stop();
        const long long filled = MonotonicNs();
        form.EventGrid(1)->grab();
        const long long painted = MonotonicNs();
        std::printf("filled_ns %lld painted_ns %lld rows %d viewport %dx%d\n", filled, painted,
                    form.eventTable(1).RowCount(), form.EventGrid(1)->viewport()->width(),
                    form.EventGrid(1)->viewport()->height());
        std::fflush(stdout);
        form.close();
        QCoreApplication::quit();
    });
    poll.start();
    // A message box (a file that does not load) would wait for a click that never comes.
    QTimer::singleShot(kGiveUpMs, [] {
        std::fprintf(stderr, "start-up did not finish within %d ms\n", kGiveUpMs);
        std::_Exit(3);
    });
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

// Starts `self` as the child in `folder` and waits for it; the clock starts before the fork.
RunResult RunOnce(const std::string& self, const std::filesystem::path& folder) {
    int channel[2];
    if (pipe(channel) != 0)
        return {false, 0, 0, 0, std::strerror(errno)};
    const long long start = MonotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        dup2(channel[1], STDOUT_FILENO);
        if (chdir(folder.c_str()) == 0)
            execl(self.c_str(), self.c_str(), kChildFlag, static_cast<char*>(nullptr));
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

// A private folder with copies of the four sample result files.
std::filesystem::path PrepareFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-startup-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    const std::filesystem::path folder(pattern);
    for (const char* event : {"M3M", "W3M", "M10M", "W10M"})
        std::filesystem::copy_file(std::filesystem::path(CORVANE_SAMPLE_DIR) / event,
                                   folder / event);
    return folder;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

int RunParent(int runs) {
    const std::string self = std::filesystem::canonical("/proc/self/exe");
    const std::filesystem::path folder = PrepareFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "corvane_startup: no temporary folder: %s\n", std::strerror(errno));
        return 1;
    }
    std::vector<double> painted;
    std::vector<double> peak;
    for (int run = 1; run <= runs; ++run) {
        // Every run starts as the first: no settings file from the run before.
        std::filesystem::remove(folder / "DD.ini");
        const RunResult result = RunOnce(self, folder);
        if (!result.ok) {
            std::fprintf(stderr, "corvane_startup: run %d failed %s\n", run, result.detail.c_str());
            std::filesystem::remove_all(folder);
            return 1;
        }
        std::printf("run %2d: tables filled %6.1f ms, painted %6.1f ms, peak RSS %5.1f MB (%s)\n",
                    run, result.filledMs, result.paintedMs, result.peakMB, result.detail.c_str());
        painted.push_back(result.paintedMs);
        peak.push_back(result.peakMB);
    }
    std::filesystem::remove_all(folder);
    const double medianMs = Median(painted);
    const double medianMB = Median(peak);
    std::printf("median start-up to painted tables: %.1f ms (target < %.0f ms) %s\n", medianMs,
                kTargetMs, medianMs < kTargetMs ? "met" : "MISSED");
    std::printf("median peak RSS (offscreen): %.1f MB (target < %.0f MB) %s\n", medianMB, kTargetMB,
                medianMB < kTargetMB ? "met" : "MISSED");
    return 0;
}

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], corvane::kChildFlag) == 0)
        return corvane::RunChild(argc, argv);
    const int runs = argc >= 2 ? std::atoi(argv[1]) : corvane::kDefaultRuns;
    if (runs < 1) {
        std::fprintf(stderr, "usage: corvane_startup [RUNS]\n");
        return 2;
    }
    return corvane::RunParent(runs);
}
