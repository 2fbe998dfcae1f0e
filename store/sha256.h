// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The SHA-256 digest of `bytes` (FIPS 180-4) as 64 lowercase hex digits: how a data folder
// tells whether a source file was imported already.
std::string Sha256Hex(std::string_view bytes);

} // namespace corvane
