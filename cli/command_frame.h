// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The exit statuses of every command-line program: done, failed on its input or data, and
// arguments that cannot be run.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadUsage = 2;

// A command line that cannot be run; `message` is the reason shown to the user.
struct UsageError {
    std::string message;
};

// Prints "PROGRAM VERSION" for --version.
void PrintVersion(std::string_view program, std::ostream& out);

// Prints why the arguments were refused with a pointer to --help; returns kExitBadUsage.
int RefuseUsage(std::string_view program, std::string_view reason, std::ostream& err);

// The frame shared by the command-line programs: `parse` turns the arguments into options
// (throwing UsageError), --help and --version are answered here, and `run` does the rest; a
// UsageError from either is printed with a pointer to --help and ends with kExitBadUsage.
template <typename Parse, typename Run>
int RunCommandLine(std::string_view program, std::string_view usage,
                   const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   Parse parse, Run run) {
    try {
        const auto options = parse(args);
        if (options.help) {
            out << usage;
            return kExitDone;
        }
        if (options.version) {
            PrintVersion(program, out);
            return kExitDone;
        }
        return run(options);
    } catch (const UsageError& error) {
        return RefuseUsage(program, error.message, err);
    }
}

} // namespace corvane
