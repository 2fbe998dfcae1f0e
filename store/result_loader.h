// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dive_record.h"
#include "record_store.h"

#include <span>
#include <string>
#include <string_view>

namespace corvane {

// What a load came to. The core shows nothing; the window reports it.
struct LoadOutcome {
    enum class Kind {
        Loaded,      // every file read
        MissingFile, // no file at `path`; later files were not read
        Failed,      // `message` says why; records read so far stay
    };
    Kind kind = Kind::Loaded;
    std::string path;
    std::string message;
    std::size_t filled = 0; // slots filled by the last file read (also when it failed)
};

// Joins a folder and a file name with the platform's separator.
std::string JoinPath(std::string_view folder, std::string_view name);

// Reads the whole file at `path` into `text`. A missing file, or one that is not a readable
// regular file (a FIFO fails at once rather than wait for a writer), is reported.
LoadOutcome ReadWholeFile(const std::string& path, std::string& text);

// Reads the text of one result file into `slots`, one record per non-blank line.
// `path` only goes into messages.
LoadOutcome LoadResultText(std::string_view text, std::span<TDiveRecord> slots,
                           const std::string& path);

// Reads one result file from disk (a path that is not a readable regular file is a failure).
LoadOutcome LoadResultFile(const std::string& path, std::span<TDiveRecord> slots);

// Reads the four result files of `dataDir` in event order, stopping at the first problem.
LoadOutcome LoadResultFiles(const std::string& dataDir, RecordStore& store);

} // namespace corvane
