// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace corvane {

enum class PictureKind { Png, Svg };

// The kind of picture a file name asks for by its extension (any letter case), or none.
std::optional<PictureKind> PictureKindOf(const QString& path);

// Draws `widget` at its size into a PNG or SVG file, chosen by the extension of `path`.
// The picture goes to a temporary file beside `path` that replaces it only when complete,
// so a failure leaves no half-written file. Returns the reason of a failure.
std::optional<QString> SavePicture(QWidget& widget, const QString& path, const QString& title);

} // namespace corvane
