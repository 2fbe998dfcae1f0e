// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/results_folder.h"

#include <chrono>
#include <functional>

namespace corvane {

// The main window's data folder, read and written by dive-import's own steps. Preview reads
// the files as `dive-import --add` would and writes nothing; Add writes the folder in one
// step, refusing when the folder changed or went away since the preview (another add
// meanwhile), and under EarlierResults::Replace moves the results no import wrote into the
// subfolder earlier-results-YYYY-MM-DD (the day from the clock; "-2" and up when taken);
// Sources and Remove answer as `--list` and `--remove` do. It keeps no state of its own
// between calls, so Preview may run on any thread.
class ResultsFolderImporter : public ResultsFolder {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    explicit ResultsFolderImporter(Clock clock = std::chrono::system_clock::now);

    AddPreview Preview(const std::string& folder, const std::vector<std::string>& paths,
                       const std::atomic<bool>& cancelled) override;
    std::optional<std::string> Add(const AddPreview& preview, EarlierResults choice) override;
    SourceList Sources(const std::string& folder) override;
    std::optional<std::string> Remove(const std::string& folder, const std::string& name) override;

private:
    Clock clock_;
};

} // namespace corvane
