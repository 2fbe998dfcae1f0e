// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/results_folder.h"

#include <QDialog>

#include <optional>
#include <string>

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace corvane {

// The "Add Results" dialog: what adding some files would do, read before anything is
// written, and the choice to add them or not. It only asks; the caller writes.
class AddResultsDialog : public QDialog {
    Q_OBJECT

public:
    explicit AddResultsDialog(const AddPreview& preview, QWidget* parent = nullptr);

    // What the user chose once the dialog has closed; empty after Cancel or Escape. A folder
    // without earlier results reports KeepBeside for "Add".
    std::optional<EarlierResults> Choice() const { return choice_; }

    QPlainTextEdit* Report() const { return report_; }
    QLabel* Folder() const { return folder_; }
    // The sentence about results no import wrote, and the reasons of the refused choices.
    QLabel* EarlierNote() const { return earlierNote_; }
    QLabel* Refusals() const { return refusals_; }
    // Null where the folder does not offer them: "Add" without earlier results, "Replace
    // them" and "Keep them beside" with them.
    QPushButton* AddButton() const { return add_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* KeepBesideButton() const { return keepBeside_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    // The buttons of the choices the folder offers, and the reasons of those it refuses.
    void AddChoices(const AddPreview& preview, QDialogButtonBox& buttons);
    QPushButton* ChoiceButton(const QString& text, EarlierResults choice, const AddCheck& check,
                              bool anythingUsable);
    void ChooseDefault();

    QPlainTextEdit* report_ = nullptr;
    QLabel* folder_ = nullptr;
    QLabel* earlierNote_ = nullptr;
    QLabel* refusals_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* keepBeside_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QStringList refusalLines_;
    std::optional<EarlierResults> choice_;
};

// A text of the folder's seam as the windows show it: paths, titles and names are UTF-8.
QString FromFolderText(const std::string& text);

// A folder as the windows name it: under the home folder as "~/...", as a shell would.
QString FolderForDisplay(const std::string& folder);

// The report the dialog shows: each file with what it is, its dives, its new divers and
// warnings, or why it cannot be used; then what the folder as a whole would hold.
QString AddPreviewReport(const AddPreview& preview);

} // namespace corvane
