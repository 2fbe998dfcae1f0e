// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The list of a data folder's sources that dive-import keeps beside its results: a header
// line naming the columns (Name, SHA256, Title, ...), then one source per line.
inline constexpr char kSourcesFileName[] = "Sources.tsv";

// What the status bar says the results of a folder with its own roster come from: the
// titles of `sourcesText` (Sources.tsv) in their order, each once, joined by "; ", a source
// without a title by its name; the name of the folder when there is no source to name.
std::string SourcesCaption(std::string_view sourcesText, std::string_view folderName);

// SourcesCaption of the Sources.tsv in `dataDir`; a missing or unreadable file names no
// source, so the folder's own name is shown.
std::string FolderSourcesCaption(const std::string& dataDir);

} // namespace corvane
