// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// The files of an import: name in the folder, then contents.
using OutputFiles = std::vector<std::pair<std::string, std::string>>;

// The names among `names` that exist in `folder`.
std::vector<std::string> ExistingFiles(const std::string& folder,
                                       const std::vector<std::string>& names);

// Writes every file into `folder` (created when missing): each first to a temporary file
// beside it, and only when all of them are written are they renamed into place, so a
// failure leaves what the folder held before. Returns why it failed, or nothing.
std::optional<std::string> WriteOutputFiles(const std::string& folder, const OutputFiles& files);

} // namespace corvane
