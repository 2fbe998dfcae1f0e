// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/results_adder.h"

#include "ui/add_results_dialog.h"
#include "ui/sources_window.h"
#include "ui/user_messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QTimer>
#include <QUrl>

#include <exception>
#include <vector>

namespace corvane {

namespace {

std::vector<std::string> EncodedPaths(const QStringList& paths) {
    std::vector<std::string> encoded;
    for (const QString& path : paths) {
        encoded.push_back(QFile::encodeName(path).toStdString());
    }
    return encoded;
}

// What the dialog shows when reading failed in a way the reader did not foresee (memory ran
// out): every file named with the reason, nothing to add.
AddPreview FailedPreview(const std::string& folder, const std::vector<std::string>& paths,
                         const char* reason) {
    AddPreview preview;
    preview.folder = folder;
    for (const std::string& path : paths) {
        OfferedFile file;
        file.path = path;
        file.reason = std::string("it could not be read (") + reason + ")";
        preview.files.push_back(std::move(file));
    }
    return preview;
}

} // namespace

QStringList DroppedFiles(const QMimeData& mime) {
    QStringList files;
    for (const QUrl& url : mime.urls()) {
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir()) {
            files << url.toLocalFile();
        }
    }
    return files;
}

QStringList AskResultFiles(QWidget* parent, const QString& startFolder) {
    // Qt's own dialog looks the same everywhere, and takes a typed path as any other does.
    return QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Choose Results to Add"),
        startFolder.isEmpty() ? QDir::homePath() : startFolder,
        QStringLiteral("Results books and spreadsheets (*.pdf *.PDF *.csv *.CSV *.xlsx *.XLSX "
                       "*.ods *.ODS);;All files (*)"),
        nullptr, QFileDialog::DontUseNativeDialog);
}

ResultsAdder::ResultsAdder(ResultsAdderHost host, QWidget* window)
    : QObject(window), host_(std::move(host)), window_(window) {
    if (!host_.asks.files) {
        host_.asks.files = AskResultFiles;
    }
    progressTimer_ = new QTimer(this);
    progressTimer_->setSingleShot(true);
    progressTimer_->setInterval(kProgressDelayMs);
    connect(progressTimer_, &QTimer::timeout, this, &ResultsAdder::ShowProgress);
}

ResultsAdder::~ResultsAdder() {
    cancelled_ = true;
    if (reader_.joinable()) {
        reader_.join();
    }
}

bool ResultsAdder::RefuseWhileRunning() {
    if (!IsRunning()) {
        return false;
    }
    host_.messages->Notice(QStringLiteral("Results are being added already. Please try again "
                                          "once that has finished."));
    return true;
}

void ResultsAdder::Offer(const QStringList& paths) {
    if (RefuseWhileRunning() || paths.isEmpty()) {
        return;
    }
    phase_ = Phase::Reading;
    cancelled_ = false;
    const std::string folder = host_.dataDir();
    reader_ = std::thread([this, folder, files = EncodedPaths(paths)] {
        AddPreview preview;
        try {
            preview = host_.folder->Preview(folder, files, cancelled_);
        } catch (const std::exception& failure) {
            preview = FailedPreview(folder, files, failure.what());
        }
        // Handed to the window's thread; dropped unread if this object has gone meanwhile.
        QMetaObject::invokeMethod(
            this, [this, preview] { PreviewDone(preview); }, Qt::QueuedConnection);
    });
    progressTimer_->start();
}

void ResultsAdder::AskAndOffer() {
    if (RefuseWhileRunning()) {
        return;
    }
    const QStringList paths = host_.asks.files(window_, lastFolder_);
    if (!paths.isEmpty()) {
        lastFolder_ = QFileInfo(paths.front()).absolutePath();
        Offer(paths);
    }
}

void ResultsAdder::ShowSources() {
    if (RefuseWhileRunning()) {
        return;
    }
    SourcesHost host{host_.folder, host_.messages, host_.asks.confirm, host_.reload};
    sources_ = new SourcesWindow(std::move(host), host_.dataDir(), window_);
    sources_->setAttribute(Qt::WA_DeleteOnClose);
    sources_->open();
}

void ResultsAdder::ShowProgress() {
    if (phase_ != Phase::Reading || cancelled_) {
        return;
    }
    progress_ = new QProgressDialog(QStringLiteral("Reading the files..."),
                                    QStringLiteral("Cancel"), 0, 0, window_);
    progress_->setWindowTitle(QStringLiteral("Reading Results"));
    // The main window stays usable meanwhile: its tables can be read and sorted.
    progress_->setWindowModality(Qt::NonModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    connect(progress_, &QProgressDialog::canceled, this, [this] { cancelled_ = true; });
    progress_->show();
}

void ResultsAdder::PreviewDone(AddPreview preview) {
    reader_.join();
    progressTimer_->stop();
    if (progress_) {
        progress_->hide();
        progress_->deleteLater();
    }
    if (preview.cancelled || cancelled_) {
        End();
        return;
    }
    preview_ = std::move(preview);
    phase_ = Phase::Choosing;
    dialog_ = new AddResultsDialog(preview_, window_);
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog_, &QDialog::finished, this, &ResultsAdder::DialogClosed);
    dialog_->open();
}

void ResultsAdder::DialogClosed() {
    const std::optional<EarlierResults> choice = dialog_ ? dialog_->Choice() : std::nullopt;
    if (choice) {
        std::optional<std::string> failure;
        {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            failure = host_.folder->Add(preview_, *choice);
            QApplication::restoreOverrideCursor();
        }
        // On failure the folder is as it was, and so are the tables.
        if (failure) {
            host_.messages->Error(FromFolderText(*failure));
        } else {
            host_.reload();
        }
    }
    End();
}

void ResultsAdder::End() {
    preview_ = AddPreview{};
    phase_ = Phase::Idle;
    emit finished();
}

} // namespace corvane
