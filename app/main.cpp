// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/results_folder_importer.h"
#include "app/settings.h"
#include "app/user_folder.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QMessageBox>

#include <filesystem>
#include <iostream>
#include <optional>

namespace {

// --user-folder found no folder it could use.
constexpr int kUserFolderUnusable = 1;

// The data folder the request names (empty for the current folder). For --user-folder it is
// made ready first; when it cannot be, the user is told why and nothing is returned.
std::optional<std::string> DataFolderFor(const corvane::StartRequest& request) {
    if (!request.userFolder) {
        return request.dataFolder.empty() ? std::string()
                                          : corvane::DataFolderPath(request.dataFolder);
    }
    std::filesystem::path folder;
    if (const auto problem = corvane::ChooseUserFolder(folder)) {
        // Also on standard error: started from a menu, the box is all the user sees, but a
        // terminal keeps the text.
        std::cerr << "corvane-dive-analyzer: " << *problem << '\n';
        QMessageBox::critical(nullptr, QString::fromLatin1(corvane::kApplicationTitle),
                              QString::fromLocal8Bit(*problem));
        return std::nullopt;
    }
    return corvane::DataFolderPath(folder.string());
}

} // namespace

int main(int argc, char* argv[]) {
    // Answered before the application exists: --help needs no display, and Qt must not take
    // a folder name for one of its own options.
    const corvane::StartRequest request =
        corvane::RefuseMissingFolder(corvane::ParseStartArguments({argv + 1, argv + argc}));
    if (const auto status = corvane::AnswerWithoutWindow(request, std::cout, std::cerr)) {
        return *status;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The name only: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromLatin1(corvane::kApplicationTitle));
    // Lets a desktop tell the window belongs to the menu entry (and show its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral(CORVANE_APP_ID));

    const std::optional<std::string> dataFolder = DataFolderFor(request);
    if (!dataFolder) {
        return kUserFolderUnusable;
    }
    corvane::DdIniSettings settings;
    // Declared before the window, which uses it until its end.
    corvane::ResultsFolderImporter resultsFolder;
    const std::unique_ptr<corvane::MainWindow> form = corvane::MakeMainWindow(settings);
    if (!dataFolder->empty()) {
        form->SetDataFolder(*dataFolder);
    }
    form->ConnectResultsFolder(resultsFolder);
    form->show();
    return QApplication::exec();
}
