// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dive_record.h"
#include "file_text.h"
#include "record_store.h"

#include <span>
#include <string>
#include <string_view>

namespace corvane {

// Reads the text of one result file into `slots`, one record per non-blank line.
// `path` only goes into messages.
LoadOutcome LoadResultText(std::string_view text, std::span<DiveRecord> slots,
                           const std::string& path);

// Reads one result file from disk (a path that is not a readable regular file is a failure).
LoadOutcome LoadResultFile(const std::string& path, std::span<DiveRecord> slots);

// Reads the four result files of `dataDir` in event order, stopping at the first problem.
LoadOutcome LoadResultFiles(const std::string& dataDir, RecordStore& store);

} // namespace corvane
