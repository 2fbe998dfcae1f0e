// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace corvane {

class ResultsFolder;
class UserMessages;

// What the "Sources" window needs of the program.
struct SourcesHost {
    ResultsFolder* folder = nullptr;
    UserMessages* messages = nullptr;
    // Asks the user to confirm a removal; unset: a question box with "Remove" and "Cancel".
    std::function<bool(QWidget* parent, const QString& question)> confirm;
    // Called after a source was taken out, so the tables follow.
    std::function<void()> removed;
};

// The "Sources" window: what a data folder holds, one row per source (title, dates and dives
// per event), and "Remove" to take one out after a confirmation.
class SourcesWindow : public QDialog {
    Q_OBJECT

public:
    SourcesWindow(SourcesHost host, std::string folder, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    QLabel* Note() const { return note_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* CloseButton() const { return close_; }

public slots:
    // Asks, then takes the selected source out of the folder.
    void RemoveClick();

private:
    // Reads the folder's sources again and lists them.
    void Refill();
    void SelectionChanged();

    SourcesHost host_;
    std::string folder_;
    QTreeWidget* list_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* close_ = nullptr;
};

// The question a removal asks, as "Take ... out of the folder?".
QString RemoveQuestion(const QString& name, const QString& title);

} // namespace corvane
