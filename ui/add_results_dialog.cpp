// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/add_results_dialog.h"

#include "store/events.h"
#include "ui/window_style.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr QSize kDialogSize{560, 440};

QString Indented(const QString& line, int depth = 1) {
    return QString(4 * depth, u' ') + line;
}

QString DivesLine(const std::array<std::size_t, 4>& dives) {
    QStringList parts;
    for (int eventIndex = 1; eventIndex <= kEventCount; ++eventIndex) {
        const std::string_view id = EventByIndex(eventIndex).id;
        parts << QStringLiteral("%1 %2")
                     .arg(QString::fromLatin1(id.data(), qsizetype(id.size())))
                     .arg(dives[std::size_t(eventIndex - 1)]);
    }
    return QStringLiteral("Dives: ") + parts.join(QStringLiteral(", "));
}

void AppendLines(QStringList& out, const std::vector<std::string>& lines, int depth) {
    for (const std::string& line : lines) {
        out << Indented(FromFolderText(line), depth);
    }
}

void AppendFile(QStringList& out, const OfferedFile& file) {
    const QString name = QFileInfo(FromFolderText(file.path)).fileName();
    out << name;
    if (!file.Usable()) {
        out << Indented(QStringLiteral("Not added: ") + FromFolderText(file.reason));
        return;
    }
    // A sheet's name is often its file's.
    if (!file.what.empty() && FromFolderText(file.what) != name) {
        out << Indented(FromFolderText(file.what));
    }
    out << Indented(DivesLine(file.dives));
    AppendLines(out, file.rounds, 1);
    if (!file.newDivers.empty()) {
        out << Indented(QStringLiteral("Divers new to the folder: %1").arg(file.newDivers.size()));
        AppendLines(out, file.newDivers, 2);
    }
    if (!file.warnings.empty()) {
        out << Indented(QStringLiteral("Left out or worth a look:"));
        AppendLines(out, file.warnings, 2);
    }
}

void AppendFindings(QStringList& out, const QString& heading,
                    const std::vector<std::string>& findings) {
    if (findings.empty()) {
        return;
    }
    out << QString() << heading;
    AppendLines(out, findings, 1);
}

QString FileNames(const std::vector<std::string>& paths) {
    QStringList names;
    for (const std::string& path : paths) {
        names << QFileInfo(FromFolderText(path)).fileName();
    }
    return names.join(QStringLiteral(", "));
}

bool AnythingUsable(const AddPreview& preview) {
    for (const OfferedFile& file : preview.files) {
        if (file.Usable()) {
            return true;
        }
    }
    return false;
}

} // namespace

QString FromFolderText(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString FolderForDisplay(const std::string& folder) {
    const QString path = FromFolderText(folder);
    const QString home = QDir::homePath() + u'/';
    return path.startsWith(home) && home != QStringLiteral("//")
               ? QStringLiteral("~/") + path.mid(home.size())
               : path;
}

QString AddPreviewReport(const AddPreview& preview) {
    QStringList out;
    for (const OfferedFile& file : preview.files) {
        if (!out.isEmpty()) {
            out << QString();
        }
        AppendFile(out, file);
    }
    if (preview.earlierFiles.empty() || preview.keepBeside.findings == preview.replace.findings) {
        AppendFindings(out, QStringLiteral("In the folder as a whole:"),
                       preview.keepBeside.findings);
    } else {
        AppendFindings(out, QStringLiteral("In the folder, with the earlier results replaced:"),
                       preview.replace.findings);
        AppendFindings(out, QStringLiteral("In the folder, with the earlier results kept beside:"),
                       preview.keepBeside.findings);
    }
    return out.join(u'\n');
}

AddResultsDialog::AddResultsDialog(const AddPreview& preview, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Add Results"));
    setObjectName(QStringLiteral("AddResults"));
    setFont(WindowFont(kWindowFontPixels));
    resize(kDialogSize);

    folder_ =
        new QLabel(QStringLiteral("Into the folder %1").arg(FolderForDisplay(preview.folder)));
    folder_->setWordWrap(true);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    report_ = new QPlainTextEdit(AddPreviewReport(preview));
    report_->setReadOnly(true);
    // Read with the keyboard too; Tab moves on to the buttons instead of staying inside.
    report_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    report_->setTabChangesFocus(true);
    earlierNote_ = new QLabel;
    earlierNote_->setWordWrap(true);
    refusals_ = new QLabel;
    refusals_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    AddChoices(preview, *buttons);
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folder_);
    layout->addWidget(report_, 1);
    layout->addWidget(earlierNote_);
    layout->addWidget(refusals_);
    layout->addWidget(buttons);
    ChooseDefault();
}

void AddResultsDialog::AddChoices(const AddPreview& preview, QDialogButtonBox& buttons) {
    const bool usable = AnythingUsable(preview);
    if (preview.earlierFiles.empty()) {
        add_ = ChoiceButton(QStringLiteral("&Add"), EarlierResults::KeepBeside, preview.keepBeside,
                            usable);
        buttons.addButton(add_, QDialogButtonBox::AcceptRole);
        earlierNote_->hide();
    } else {
        earlierNote_->setText(
            QStringLiteral("The folder holds results that no import wrote (%1). \"Replace them\" "
                           "moves them into a dated subfolder of the folder; \"Keep them beside\" "
                           "keeps them as a source of their own.")
                .arg(FileNames(preview.earlierFiles)));
        replace_ = ChoiceButton(QStringLiteral("&Replace them"), EarlierResults::Replace,
                                preview.replace, usable);
        keepBeside_ = ChoiceButton(QStringLiteral("&Keep them beside"), EarlierResults::KeepBeside,
                                   preview.keepBeside, usable);
        buttons.addButton(replace_, QDialogButtonBox::AcceptRole);
        buttons.addButton(keepBeside_, QDialogButtonBox::AcceptRole);
    }
    if (!usable) {
        refusalLines_.prepend(QStringLiteral("None of the files can be added."));
    }
    refusals_->setText(refusalLines_.join(u'\n'));
    refusals_->setVisible(!refusalLines_.isEmpty());
}

QPushButton* AddResultsDialog::ChoiceButton(const QString& text, EarlierResults choice,
                                            const AddCheck& check, bool anythingUsable) {
    auto* button = new QPushButton(text);
    button->setEnabled(anythingUsable && check.refusal.empty());
    if (anythingUsable && !check.refusal.empty()) {
        refusalLines_ << QStringLiteral("%1: %2").arg(QString(text).remove(u'&'),
                                                      FromFolderText(check.refusal));
        button->setToolTip(FromFolderText(check.refusal));
    }
    connect(button, &QPushButton::clicked, this, [this, choice] {
        choice_ = choice;
        accept();
    });
    return button;
}

void AddResultsDialog::ChooseDefault() {
    // Enter takes the first choice the folder allows: replacing results no import wrote comes
    // first, because a coach's own results mixed with the samples would mislead, and the old
    // files are kept all the same. With nothing to add, Enter only closes.
    for (QPushButton* button : {add_, replace_, keepBeside_, cancel_}) {
        if (button && button->isEnabled()) {
            button->setDefault(true);
            button->setFocus();
            return;
        }
    }
}

} // namespace corvane
