// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sources_window.h"

#include "store/events.h"
#include "ui/add_results_dialog.h"
#include "ui/results_folder.h"
#include "ui/user_messages.h"
#include "ui/window_style.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr QSize kWindowSize{640, 320};
constexpr int kFirstDivesColumn = 3;

QStringList Headers() {
    QStringList headers{QStringLiteral("Source"), QStringLiteral("Title"), QStringLiteral("Dates")};
    for (const EventInfo& event : kEvents) {
        headers << QString::fromLatin1(event.id.data(), qsizetype(event.id.size()));
    }
    return headers;
}

QTreeWidgetItem* SourceItem(const SourceRow& row) {
    QStringList texts{FromFolderText(row.name), FromFolderText(row.title),
                      FromFolderText(row.dates)};
    for (const std::size_t dives : row.dives) {
        texts << QString::number(dives);
    }
    auto* item = new QTreeWidgetItem(texts);
    for (int col = kFirstDivesColumn; col < texts.size(); ++col) {
        item->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
    }
    return item;
}

bool AskWithBox(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), question,
                    QMessageBox::NoButton, parent);
    QPushButton* remove = box.addButton(QStringLiteral("&Remove"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    // A slip of the Enter key must not take results out.
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == remove;
}

} // namespace

QString RemoveQuestion(const QString& name, const QString& title) {
    const QString what = title.isEmpty() || title == name
                             ? QStringLiteral("\"%1\"").arg(name)
                             : QStringLiteral("\"%1\" (%2)").arg(name, title);
    return QStringLiteral("Take %1 out of the folder?\nIts dives leave the tables.").arg(what);
}

SourcesWindow::SourcesWindow(SourcesHost host, std::string folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      host_(std::move(host)), folder_(std::move(folder)) {
    if (!host_.confirm) {
        host_.confirm = AskWithBox;
    }
    setWindowTitle(QStringLiteral("Sources"));
    setObjectName(QStringLiteral("Sources"));
    setFont(WindowFont(kWindowFontPixels));
    resize(kWindowSize);

    auto* folderLabel = new QLabel(QStringLiteral("The folder %1").arg(FolderForDisplay(folder_)));
    folderLabel->setWordWrap(true);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    list_ = new QTreeWidget;
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels(Headers());
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    note_ = new QLabel;
    note_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox;
    remove_ = buttons->addButton(QStringLiteral("&Remove"), QDialogButtonBox::ActionRole);
    close_ = buttons->addButton(QDialogButtonBox::Close);
    // Enter closes the window; only a press of "Remove" takes a source out.
    remove_->setAutoDefault(false);
    close_->setDefault(true);
    connect(remove_, &QPushButton::clicked, this, &SourcesWindow::RemoveClick);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &SourcesWindow::SelectionChanged);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folderLabel);
    layout->addWidget(list_, 1);
    layout->addWidget(note_);
    layout->addWidget(buttons);
    Refill();
}

void SourcesWindow::Refill() {
    list_->clear();
    const SourceList sources = host_.folder->Sources(folder_);
    for (const SourceRow& row : sources.sources) {
        list_->addTopLevelItem(SourceItem(row));
    }
    for (int col = 0; col < list_->columnCount(); ++col) {
        list_->resizeColumnToContents(col);
    }
    if (!sources.message.empty()) {
        note_->setText(FromFolderText(sources.message));
    } else if (sources.sources.empty()) {
        note_->setText(QStringLiteral(
            "No import wrote the results of this folder: it has no sources to list."));
    } else {
        note_->clear();
    }
    note_->setVisible(!note_->text().isEmpty());
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    SelectionChanged();
}

void SourcesWindow::SelectionChanged() {
    remove_->setEnabled(!list_->selectedItems().isEmpty());
}

void SourcesWindow::RemoveClick() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QString name = selected.front()->text(0);
    if (!host_.confirm(this, RemoveQuestion(name, selected.front()->text(1)))) {
        return;
    }
    if (const auto failure = host_.folder->Remove(folder_, name.toStdString())) {
        host_.messages->Error(FromFolderText(*failure));
        return;
    }
    Refill();
    if (host_.removed) {
        host_.removed();
    }
}

} // namespace corvane
