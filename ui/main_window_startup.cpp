// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's start-up and close: the data folder and the settings on the first show,
// the reference tables and the result files a moment later, the first statistics run; the
// settings written on close unless start-up could not finish.
#include "ui/main_window.h"

#include "analysis/folder_sources.h"
#include "store/file_text.h"
#include "ui/filter_combo.h"
#include "ui/text_encoding.h"
#include "ui/user_messages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

#include <optional>
#include <string_view>

namespace corvane {

namespace {

constexpr int kStartupDelayMs = 100;

// The message for the error box when a reload of the folder could not read it.
std::optional<QString> ReloadProblem(const LoadOutcome& outcome) {
    switch (outcome.kind) {
    case LoadOutcome::Kind::Loaded:
        return std::nullopt;
    case LoadOutcome::Kind::MissingFile:
        return QStringLiteral("Could not find file\n") + FromCoreText(outcome.path);
    case LoadOutcome::Kind::Failed:
        return FromCoreText(outcome.message);
    }
    return std::nullopt;
}

} // namespace

void MainWindow::BuildStartUpTimer() {
    startUpTimer_ = new QTimer(this);
    startUpTimer_->setObjectName(QStringLiteral("Timer1"));
    startUpTimer_->setSingleShot(true);
    startUpTimer_->setInterval(kStartupDelayMs);
    // A coarse timer may fire up to 5 % early or late: the window gets its full 100 ms to
    // appear, and the loading starts as soon as they are over.
    startUpTimer_->setTimerType(Qt::PreciseTimer);
    connect(startUpTimer_, &QTimer::timeout, this, &MainWindow::LoadOnStartUp);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownBefore_) {
        shownBefore_ = true;
        BeginStartUp();
    }
}

void MainWindow::BeginStartUp() {
    // Set first, so that the change notifications of the values below do nothing.
    phase_ = Phase::Starting;
    dataDir_ =
        dataFolder_.empty() ? QFile::encodeName(QDir::currentPath()).toStdString() : dataFolder_;
    ApplySettings();
    theGrids_->setCurrentIndex(0);
    startUpTimer_->start();
}

void MainWindow::LoadOnStartUp() {
    startUpTimer_->stop();
    // Let the window paint before the long work starts.
    QCoreApplication::processEvents();
    if (closing_) {
        return;
    }
    if (const auto tablesError = session_.ReadReferenceTables(dataDir_)) {
        // Results read against the wrong names or DDs would mislead: no tables at all.
        messages_->Error(FromCoreText(*tablesError));
        EndWithoutSaving();
        return;
    }
    countryList_->ResetToAll();
    diverList_->ResetToAll();
    const bool loaded = LoadResults();
    startupDone_ = true;
    if (loaded && QFileInfo(FromCoreText(JoinPath(dataDir_, kRosterFileName))).isFile()) {
        ShowOwnResultsInStatusBar();
    }
    if (loaded) {
        RunStatistics();
    }
}

void MainWindow::ReloadFolder() {
    if (closing_ || !startupDone_) {
        return;
    }
    // Never under a handler that works on the records and lets input run: it follows.
    if (generating_ || reloadHolds_ > 0) {
        reloadPending_ = true;
        return;
    }
    reloadPending_ = false;
    // Read into fresh tables: on a failure the window goes on showing what it showed.
    if (const auto failure = ReloadProblem(session_.Reload(dataDir_))) {
        messages_->Error(*failure);
        return;
    }
    HideBreakdown();
    phase_ = Phase::Starting;
    countryList_->ResetToAll();
    diverList_->ResetToAll();
    if (QFileInfo(FromCoreText(JoinPath(dataDir_, kRosterFileName))).isFile()) {
        ShowOwnResultsInStatusBar();
    }
    RunStatistics();
}

void MainWindow::HideBreakdown() {
    // A breakdown and its chart describe the results that were there before.
    if (breakdown_) {
        if (breakdown_->ChartWindow()) {
            breakdown_->ChartWindow()->hide();
        }
        breakdown_->hide();
    }
}

bool MainWindow::LoadResults() {
    const LoadOutcome outcome = session_.ReadResults(dataDir_);
    switch (outcome.kind) {
    case LoadOutcome::Kind::Loaded:
        return true;
    case LoadOutcome::Kind::MissingFile:
        messages_->Notice(QStringLiteral("Could not find file\n") + FromCoreText(outcome.path) +
                          QStringLiteral("\nCannot continue"));
        // The program cannot work without all four events.
        EndWithoutSaving();
        return false;
    case LoadOutcome::Kind::Failed:
        // The controls keep still until "Re-Generate Stats" is pressed.
        phase_ = Phase::LoadFailed;
        messages_->Error(FromCoreText(outcome.message));
        return false;
    }
    return false;
}

void MainWindow::ShowOwnResultsInStatusBar() {
    // The fixed texts describe the built-in results; a folder with its own roster holds other
    // results, and a coach would take those texts as fact about them.
    constexpr int kSourcesPanel = 2;
    constexpr int kFirstEventPanel = 3;
    QLabel* sources = statusPanels_[kSourcesPanel];
    const QString caption = FromCoreText(FolderSourcesCaption(dataDir_));
    // The frame takes a pixel on each side, and the text wants a little room besides.
    const int room = sources->width() - 2 * sources->frameWidth() - 4;
    sources->setText(sources->fontMetrics().elidedText(caption, Qt::ElideRight, room));
    sources->setToolTip(caption);
    for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
        const std::string_view id = EventByIndex(eventIndex).id;
        statusPanels_[kFirstEventPanel + eventIndex - 1]->setText(
            QStringLiteral("%1 : %2 Dives")
                .arg(QString::fromLatin1(id.data(), qsizetype(id.size())))
                .arg(Store().Filled(eventIndex).size()));
    }
}

void MainWindow::EndWithoutSaving() {
    // Start-up could not finish: the program ends and keeps DD.ini as it was.
    skipSettingsWrite_ = true;
    close();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CloseDown();
    event->accept();
}

void MainWindow::CloseDown() {
    // A count or a sort that is letting messages run stops at its next row; the program ends
    // once the handler has returned to the event loop.
    closing_ = true;
    if (shownBefore_ && !skipSettingsWrite_) {
        SaveSettings();
    }
    if (breakdown_) {
        breakdown_->hide();
    }
}

} // namespace corvane
