// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A data folder the window tests set up by hand: what it answers drives the dialogs, and it
// records what the window asked of it. Preview runs on the reading thread.

#include "ui/results_folder.h"

#include <QThread>

#include <atomic>
#include <functional>
#include <mutex>

namespace corvane::testing {

class FakeResultsFolder : public ResultsFolder {
public:
    AddPreview Preview(const std::string& folder, const std::vector<std::string>& paths,
                       const std::atomic<bool>& cancelled) override {
        {
            const std::lock_guard lock(mutex_);
            previewed_ = paths;
        }
        ++previews;
        // A slow read lasts until the test releases it or the window cancels it.
        while (slow && !release && !cancelled) {
            QThread::msleep(5);
        }
        AddPreview preview = answer;
        preview.folder = folder;
        preview.cancelled = cancelled;
        sawCancel = cancelled.load();
        return preview;
    }
    std::optional<std::string> Add(const AddPreview& preview, EarlierResults choice) override {
        added.push_back(choice);
        addedFolder = preview.folder;
        if (!addFailure && onAdd) {
            onAdd();
        }
        return addFailure;
    }
    SourceList Sources(const std::string& /*folder*/) override { return sources; }
    std::optional<std::string> Remove(const std::string& /*folder*/,
                                      const std::string& name) override {
        removed.push_back(name);
        if (removeFailure) {
            return removeFailure;
        }
        std::erase_if(sources.sources, [&name](const SourceRow& row) { return row.name == name; });
        return std::nullopt;
    }
    std::vector<std::string> Previewed() {
        const std::lock_guard lock(mutex_);
        return previewed_;
    }

    // What Preview answers (its folder and cancelled set from the call).
    AddPreview answer;
    std::atomic<bool> slow{false};
    std::atomic<bool> release{false};
    std::atomic<int> previews{0};
    std::atomic<bool> sawCancel{false};
    std::optional<std::string> addFailure;
    std::function<void()> onAdd; // what a successful add does to the folder
    std::vector<EarlierResults> added;
    std::string addedFolder;
    SourceList sources;
    std::optional<std::string> removeFailure;
    std::vector<std::string> removed;

private:
    std::mutex mutex_;
    std::vector<std::string> previewed_;
};

// One book that can be added and one file that cannot.
inline AddPreview BookAndRefusedSheet() {
    AddPreview preview;
    OfferedFile book;
    book.path = "/results/cup-2026.pdf";
    book.what = "Summer Cup 2026, 3-7 June 2026";
    book.dives = {120, 98, 0, 44};
    book.rounds = {"M3M: Preliminary 72, Final 48"};
    book.newDivers = {"NAKAMURA, Aiko (JPN)"};
    book.warnings = {"page 12: dive 5 of LEE, Min (KOR) left out: its points do not add up"};
    OfferedFile sheet;
    sheet.path = "/results/notes.xls";
    sheet.reason = "an old Excel file, not a results book or spreadsheet";
    preview.files = {book, sheet};
    preview.keepBeside.findings = {"207C on 3 m: 3.5 in 120 dives, 3.6 in 84"};
    return preview;
}

} // namespace corvane::testing
