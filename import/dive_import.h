// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace corvane {

// The importer program: turns results spreadsheets (CSV) into a data folder the window
// opens, the four result files and Divers.tsv. `args` are the command-line arguments without
// the program name; the report goes to `err`, the help to `out`. Returns the exit status:
// 0 written, 1 an input could not be read or used (strict failure, capacity), 2 bad
// arguments or an output folder that already holds results without --force.
int RunDiveImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace corvane
