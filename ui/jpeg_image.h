// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace corvane {

// Decodes JPEG bytes with libjpeg into an RGB image; a null image when they do not decode.
QImage DecodeJpeg(const QByteArray& bytes);

// Reads a JPEG file (a resource path such as ":/corvane/logo.jpg" too) and decodes it.
QImage LoadJpeg(const QString& path);

} // namespace corvane
