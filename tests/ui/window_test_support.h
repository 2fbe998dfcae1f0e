// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fixtures shared by the window tests: a scratch folder made current, message and clipboard
// seams that record, and the main window wired the way main() wires it.

#include "app/settings.h"
#include "ui/breakdown_window.h"
#include "ui/clipboard.h"
#include "ui/main_window.h"
#include "ui/spin_edit.h"
#include "ui/user_messages.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifndef CORVANE_SAMPLE_DIR
#error "window tests need CORVANE_SAMPLE_DIR (set by corvane_qtest)"
#endif

namespace corvane::testing {

// Long enough for a statistics run on the full sample results under a sanitizer.
inline constexpr int kTimeoutMs = 60000;
inline const QStringList kEventFiles{"M3M", "W3M", "M10M", "W10M"};

// Every message the program would have shown, in order, and split by kind.
class RecordingMessages : public UserMessages {
public:
    void Notice(const QString& text) override {
        notices << text;
        shown << text;
    }
    void Error(const QString& message) override {
        errors << message;
        shown << message;
    }
    QStringList notices;
    QStringList errors;
    QStringList shown;
};

// A clipboard that keeps what it was given, or refuses to open when told to.
class FakeClipboard : public ClipboardSink {
public:
    bool SetText(const QString& text) override {
        if (refuse)
            return false;
        contents = text;
        return true;
    }
    bool refuse = false;
    // Something other than any copy, so a refused copy shows it left the contents alone.
    QString contents = QStringLiteral("held before");
};

// A temporary folder, current for as long as it lives: the program reads its result files
// and DD.ini from the current folder. The folder current before comes back on destruction.
class TestFolder {
public:
    TestFolder() : startDir_(QDir::currentPath()) {}
    ~TestFolder() { QDir::setCurrent(startDir_); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    [[nodiscard]] bool Enter() { return dir_.isValid() && QDir::setCurrent(dir_.path()); }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Copies of the sample result files `names`.
    [[nodiscard]] bool CopySamples(const QStringList& names = kEventFiles) const {
        for (const QString& name : names) {
            if (!QFile::copy(QStringLiteral(CORVANE_SAMPLE_DIR "/") + name, filePath(name))) {
                qWarning("cannot copy sample %s", qPrintable(name));
                return false;
            }
        }
        return true;
    }
    [[nodiscard]] bool WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

private:
    QString startDir_;
    QTemporaryDir dir_;
};

// Replaces what a spin edit shows by typing `text`, as a user would.
inline void TypeInto(SpinEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Posts a call that sets `handled`: once it is set, everything posted before it (queued
// calls, paint requests) has been handled too. Wait for it with QTRY_VERIFY(handled).
inline void PostMarker(bool& handled) {
    QMetaObject::invokeMethod(
        qApp, [&handled] { handled = true; }, Qt::QueuedConnection);
}

// One run of the program in the current folder, wired as main() wires it.
struct WindowSession {
    DdIniSettings settings;
    RecordingMessages messages;
    FakeClipboard clipboard;
    std::unique_ptr<MainWindow> form;
    BreakdownWindow* stats = nullptr;

    WindowSession()
        : form(MakeMainWindow(settings, &messages, &clipboard)), stats(form->Breakdown()) {}
    void Show() { form->show(); }
    // Until the start-up statistics run has ended, however it ended.
    bool WaitUntilIdle() {
        return QTest::qWaitFor([this] { return !form->IsBusy(); }, kTimeoutMs);
    }
    bool Start() {
        Show();
        return WaitUntilIdle();
    }
};

} // namespace corvane::testing
