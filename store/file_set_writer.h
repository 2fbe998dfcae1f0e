// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// One file of a set to write: where it goes, what it holds and, when given, the permission
// bits it gets (else those of any new file under the umask).
struct FileToWrite {
    std::string path;
    std::string_view text;
    std::optional<unsigned> mode;
};

// How the temporary beside a file named NAME is named: `.NAME.TAG-` and a part no one else
// uses, or always `.NAME.TAG`, replaced when a run that was cut short left it.
enum class TempNames { Unique, Fixed };
struct Temporaries {
    std::string_view tag;
    TempNames names = TempNames::Unique;
};

// Why a set was not written: the file it concerns (a temporary's path when that could not be
// made), the reason as the system words it ("it is a folder" for a folder in a file's place),
// and how many files of the set had already been renamed into place.
struct WriteFailure {
    std::string path;
    std::string reason;
    std::size_t renamed = 0;
};

// A step run once every temporary is written, before the first rename (moving aside what the
// new files replace); a failure it returns stops the set there, as a failed write would.
using BeforeRenames = std::function<std::optional<WriteFailure>()>;

// Writes every file of `files` to a temporary beside it and syncs it; only when all are
// written (and `beforeRenames`, when given, succeeded) are they renamed into place, in order,
// so a failure before then leaves what was there and no temporary. A folder in a file's
// place is refused before anything is written. Returns why it failed, or nothing.
std::optional<WriteFailure> WriteFileSet(std::span<const FileToWrite> files,
                                         Temporaries temporaries,
                                         const BeforeRenames& beforeRenames = {});

} // namespace corvane
