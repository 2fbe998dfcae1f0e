// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

namespace corvane {

// Texts of the core are bytes: a cell of a result file or the roster in Latin-1, a path and
// a message that names one in the file system's encoding (UTF-8).

// Cell bytes as the clipboard and the screen show them (Latin-1).
QString FromCellBytes(const std::string& bytes);
// What a control shows, as cell bytes.
std::string ToCellBytes(const QString& text);
// A path or a message of the core: UTF-8 where the bytes are, else cell bytes.
QString FromCoreText(const std::string& bytes);

} // namespace corvane
