// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_frame.h"

#include "cli/version.h"

namespace corvane {

void PrintVersion(std::string_view program, std::ostream& out) {
    out << program << ' ' << kVersion << '\n';
}

int RefuseUsage(std::string_view program, std::string_view reason, std::ostream& err) {
    err << program << ": " << reason << "\nTry '" << program << " --help'.\n";
    return kExitBadUsage;
}

} // namespace corvane
