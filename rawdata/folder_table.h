// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/file_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Fills `table` from the data folder's own file `fileName` in `dataDir` with `parse` when the
// file is there, else with `builtIn()`. Returns why the file cannot be used: the read failure,
// or the file's name before what `parse` refused; `table` is then empty. A bad file is never
// replaced by the built-in table: results read against the wrong names or DDs would mislead.
template <class Table, class BuiltIn, class Parse>
std::optional<std::string> FillFromFolderFile(Table& table, const std::string& dataDir,
                                              const char* fileName, BuiltIn builtIn, Parse parse) {
    table = Table();
    std::string text;
    const LoadOutcome read = ReadWholeFile(JoinPath(dataDir, fileName), text);
    if (read.kind == LoadOutcome::Kind::MissingFile) {
        table = builtIn();
        return std::nullopt;
    }
    if (read.kind == LoadOutcome::Kind::Failed)
        return read.message;
    if (const auto problem = parse(std::string_view(text), table))
        return std::string(fileName) + " " + *problem;
    return std::nullopt;
}

} // namespace corvane
