// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's values kept between runs: the six thresholds and the sort columns, read
// on the first show and written on close.
#include "ui/main_window.h"

#include "ui/settings_store.h"
#include "ui/spin_edit.h"
#include "ui/text_encoding.h"
#include "ui/user_messages.h"

namespace corvane {

void MainWindow::ApplySettings() {
    const Settings settings = settings_.Read(dataDir_);
    varCount_->setValue(settings.count);
    varDD_->setValue(settings.dd);
    varPercent_->setValue(settings.percent);
    var2Col_->setValue(settings.twoCol);
    var9_->setValue(settings.nine);
    varSortCount_->setValue(settings.sortCount);
    sortCols_ = settings.sortCol;
}

void MainWindow::SaveSettings() {
    const ThresholdTexts texts{
        ToCellBytes(varCount_->text()),   ToCellBytes(varDD_->text()),
        ToCellBytes(varPercent_->text()), ToCellBytes(var2Col_->text()),
        ToCellBytes(var9_->text()),       ToCellBytes(varSortCount_->text())};
    // A folder that cannot be written must not keep the user from leaving: report it and
    // close all the same.
    if (const auto failure = settings_.Write(dataDir_, texts, sortCols_)) {
        messages_->Error(FromCoreText(*failure));
    }
}

} // namespace corvane
