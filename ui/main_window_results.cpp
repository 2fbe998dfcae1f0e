// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in adding results: drops, Ctrl+I and Ctrl+Shift+I, and the hold
// that keeps a reload of the folder from running under a handler.
#include "ui/main_window.h"

#include "ui/results_adder.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>

namespace corvane {

void MainWindow::ConnectResultsFolder(ResultsFolder& folder) {
    ConnectResultsFolder(folder, AddAsks{});
}

void MainWindow::ConnectResultsFolder(ResultsFolder& folder, AddAsks asks) {
    ResultsAdderHost host;
    host.folder = &folder;
    host.messages = messages_;
    host.dataDir = [this] { return dataDir_; };
    host.reload = [this] { ReloadFolder(); };
    host.asks = std::move(asks);
    adder_ = new ResultsAdder(std::move(host), this);
    setAcceptDrops(true);
    // Keys, not controls: the window's fixed layout stays as it is.
    auto* add = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    connect(add, &QShortcut::activated, adder_, &ResultsAdder::AskAndOffer);
    auto* sources = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), this);
    connect(sources, &QShortcut::activated, adder_, &ResultsAdder::ShowSources);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Only files of this computer; anything else is left to the toolkit to refuse.
    if (adder_ && event->mimeData() && !DroppedFiles(*event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList files =
        adder_ && event->mimeData() ? DroppedFiles(*event->mimeData()) : QStringList();
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The drag's source waits for the drop to return: the files are offered afterwards.
    QTimer::singleShot(0, adder_, [adder = adder_, files] { adder->Offer(files); });
}

MainWindow::ReloadHold::ReloadHold(MainWindow& window) : window_(window) {
    ++window_.reloadHolds_;
}

MainWindow::ReloadHold::~ReloadHold() {
    if (--window_.reloadHolds_ == 0 && window_.reloadPending_) {
        QTimer::singleShot(0, &window_, &MainWindow::ReloadFolder);
    }
}

} // namespace corvane
