// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvane {

// Where "Copy Table to Clipboard" puts its text; tests substitute one that refuses.
class ClipboardSink {
public:
    virtual ~ClipboardSink() = default;
    // Replaces the clipboard's contents with plain text; false when it cannot be opened.
    virtual bool SetText(const QString& text) = 0;
};

// The system clipboard.
class SystemClipboard : public ClipboardSink {
public:
    bool SetText(const QString& text) override;
};

} // namespace corvane
