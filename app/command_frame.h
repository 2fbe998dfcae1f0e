// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/version.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A command line that cannot be run; `message` is the reason shown to the user.
struct UsageError {
    std::string message;
};

inline constexpr int kCommandDone = 0;
inline constexpr int kCommandBadUsage = 2;

// The frame shared by the command-line programs: `parse` turns the arguments into options
// (throwing UsageError), --help and --version are answered here, and `run` does the rest; a
// UsageError from either is printed with a pointer to --help and ends with status 2.
template <typename Parse, typename Run>
int RunCommandLine(std::string_view program, std::string_view usage,
                   const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   Parse parse, Run run) {
    try {
        const auto options = parse(args);
        if (options.help) {
            out << usage;
            return kCommandDone;
        }
        if (options.version) {
            out << program << ' ' << kVersion << '\n';
            return kCommandDone;
        }
        return run(options);
    } catch (const UsageError& error) {
        err << program << ": " << error.message << "\nTry '" << program << " --help'.\n";
        return kCommandBadUsage;
    }
}

} // namespace corvane
