// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/add_results_dialog.h"
#include "ui/results_folder.h"
#include "ui/sources_window.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QStringList>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class QMimeData;
class QTimer;
class QWidget;

namespace corvane {

class UserMessages;

// The questions adding results asks the user; unset, the real dialogs ask them.
struct AddAsks {
    // The files to add, starting in `startFolder` (empty: the home folder); empty when the
    // user cancels. Unset: AskResultFiles.
    std::function<QStringList(QWidget* parent, const QString& startFolder)> files;
    // Whether to take a source out; unset: a question box.
    std::function<bool(QWidget* parent, const QString& question)> confirm;
};

// What adding results needs of the main window.
struct ResultsAdderHost {
    ResultsFolder* folder = nullptr;
    UserMessages* messages = nullptr;
    std::function<std::string()> dataDir;
    // Reads the folder again as at start-up, after an add or a removal.
    std::function<void()> reload;
    AddAsks asks;
};

// Adds results to the window's folder: reads the offered files off the window's thread,
// shows the "Add Results" dialog, writes on "Add" and has the window reload. One add at a
// time; the window keeps painting and answering meanwhile.
class ResultsAdder : public QObject {
    Q_OBJECT

public:
    // How long reading may take before the progress dialog appears.
    static constexpr int kProgressDelayMs = 500;

    ResultsAdder(ResultsAdderHost host, QWidget* window);
    // Stops a reading under way and waits for it.
    ~ResultsAdder() override;

    // From the files being read until the dialog is closed and what it chose is written.
    bool IsRunning() const { return phase_ != Phase::Idle; }

    // Reads `paths` and shows what adding them would do; while another add runs, a notice
    // says so and nothing starts.
    void Offer(const QStringList& paths);
    // Ctrl+I: asks for the files, then offers them.
    void AskAndOffer();
    // Ctrl+Shift+I: the "Sources" window of the folder.
    void ShowSources();

    // The windows of the add under way, for tests; null when not shown.
    QProgressDialog* Progress() const { return progress_; }
    AddResultsDialog* Dialog() const { return dialog_; }
    SourcesWindow* Sources() const { return sources_; }

signals:
    // The add has ended, whatever its outcome: added, cancelled or refused.
    void finished();

private:
    enum class Phase { Idle, Reading, Choosing };

    bool RefuseWhileRunning();
    void ShowProgress();
    void PreviewDone(AddPreview preview);
    void DialogClosed();
    void End();

    ResultsAdderHost host_;
    QWidget* window_;
    Phase phase_ = Phase::Idle;
    std::thread reader_;
    std::atomic<bool> cancelled_{false};
    QTimer* progressTimer_ = nullptr;
    QPointer<QProgressDialog> progress_;
    QPointer<AddResultsDialog> dialog_;
    QPointer<SourcesWindow> sources_;
    AddPreview preview_;
    QString lastFolder_;
};

// The local files among what a drag carries: what a drop on the window offers. Web
// addresses and folders are left out.
QStringList DroppedFiles(const QMimeData& mime);

// The file dialog of Ctrl+I: several files, results books and spreadsheets first.
QStringList AskResultFiles(QWidget* parent, const QString& startFolder);

} // namespace corvane
