// SPDX-License-Identifier: GPL-3.0-or-later
// Adding results through the dialogs, against a folder the test sets up: what the folder
// answers decides what the dialogs show and allow, and only a choice writes.
#include "fake_results_folder.h"
#include "ui/add_results_dialog.h"
#include "ui/results_adder.h"
#include "ui/sources_window.h"
#include "window_test_support.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace corvane;
using namespace corvane::testing;

Q_DECLARE_METATYPE(std::optional<EarlierResults>)

namespace {

// A window with an adder on a fake folder, counting the reloads.
struct AddSession {
    QWidget window;
    FakeResultsFolder folder;
    RecordingMessages messages;
    int reloads = 0;
    QStringList confirmed;
    bool confirm = true;
    ResultsAdder* adder = nullptr;

    AddSession() {
        ResultsAdderHost host;
        host.folder = &folder;
        host.messages = &messages;
        host.dataDir = [] { return std::string("/dives/season"); };
        host.reload = [this] { ++reloads; };
        host.asks.confirm = [this](QWidget*, const QString& question) {
            confirmed << question;
            return confirm;
        };
        adder = new ResultsAdder(std::move(host), &window);
        window.show();
    }
    // Offers the files and waits for the "Add Results" dialog.
    AddResultsDialog* Dialog() {
        adder->Offer({QStringLiteral("/results/cup-2026.pdf")});
        return QTest::qWaitFor([this] { return adder->Dialog() != nullptr; }, kTimeoutMs)
                   ? adder->Dialog()
                   : nullptr;
    }
};

} // namespace

class TestResultsAdder : public QObject {
    Q_OBJECT

private slots:
    void dialogNamesEveryFileAndWhyOneIsRefused() {
        AddSession session;
        session.folder.answer = BookAndRefusedSheet();
        AddResultsDialog* dialog = session.Dialog();
        QVERIFY(dialog);
        const QString report = dialog->Report()->toPlainText();
        for (const char* expected :
             {"cup-2026.pdf\n    Summer Cup 2026, 3-7 June 2026\n"
              "    Dives: M3M 120, W3M 98, M10M 0, W10M 44\n    M3M: Preliminary 72, Final 48\n"
              "    Divers new to the folder: 1\n        NAKAMURA, Aiko (JPN)\n",
              "        page 12: dive 5 of LEE, Min (KOR) left out",
              "notes.xls\n    Not added: an old Excel file",
              "In the folder as a whole:\n    207C on 3 m: 3.5 in 120 dives, 3.6 in 84"}) {
            QVERIFY2(report.contains(QString::fromUtf8(expected)), qPrintable(report));
        }
        QCOMPARE(dialog->Folder()->text(), QStringLiteral("Into the folder /dives/season"));
        QCOMPARE(session.folder.Previewed(), std::vector<std::string>{"/results/cup-2026.pdf"});
        // The usable file can still be added; a quick read shows no progress dialog.
        QVERIFY(dialog->AddButton()->isEnabled() && dialog->AddButton()->isDefault());
        QVERIFY(!dialog->ReplaceButton() && !dialog->KeepBesideButton());
        QVERIFY(!session.adder->Progress());
    }

    void choicesFollowWhatTheFolderAllows_data() {
        QTest::addColumn<bool>("earlier");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<QString>("keepRefusal");
        QTest::addColumn<QString>("replaceRefusal");
        QTest::addColumn<QString>("enabled"); // the enabled choices, the default first
        QTest::addColumn<QString>("reasons");
        QTest::newRow("add") << false << true << ""
                             << ""
                             << "Add"
                             << "";
        QTest::newRow("add refused") << false << true << "events over capacity: M3M"
                                     << ""
                                     << ""
                                     << "Add: events over capacity: M3M";
        QTest::newRow("nothing usable") << false << false << ""
                                        << ""
                                        << ""
                                        << "None of the files can be added.";
        QTest::newRow("earlier: both") << true << true << ""
                                       << ""
                                       << "Replace them,Keep them beside"
                                       << "";
        QTest::newRow("earlier: replace refused")
            << true << true << ""
            << "the folder cannot hold a subfolder"
            << "Keep them beside"
            << "Replace them: the folder cannot hold a subfolder";
        QTest::newRow("earlier: nothing usable") << true << false << ""
                                                 << ""
                                                 << ""
                                                 << "None of the files can be added.";
    }
    void choicesFollowWhatTheFolderAllows() {
        QFETCH(bool, earlier);
        QFETCH(bool, usable);
        QFETCH(QString, keepRefusal);
        QFETCH(QString, replaceRefusal);
        QFETCH(QString, enabled);
        QFETCH(QString, reasons);
        AddPreview preview = BookAndRefusedSheet();
        if (!usable) {
            preview.files.erase(preview.files.begin());
        }
        if (earlier) {
            preview.earlierFiles = {"/dives/season/M3M", "/dives/season/W3M"};
        }
        preview.keepBeside.refusal = keepRefusal.toStdString();
        preview.replace.refusal = replaceRefusal.toStdString();
        AddResultsDialog dialog(preview);
        QStringList on;
        QString defaultButton = QStringLiteral("Cancel");
        for (QPushButton* button :
             {dialog.AddButton(), dialog.ReplaceButton(), dialog.KeepBesideButton()}) {
            if (button && button->isEnabled()) {
                on << button->text().remove(u'&');
            }
            if (button && button->isDefault()) {
                defaultButton = button->text().remove(u'&');
            }
        }
        QCOMPARE(on.join(u','), enabled);
        QCOMPARE(defaultButton, on.isEmpty() ? QStringLiteral("Cancel") : on.front());
        QCOMPARE(dialog.Refusals()->text(), reasons);
        QCOMPARE(dialog.EarlierNote()->text().contains(QStringLiteral("(M3M, W3M)")), earlier);
    }

    void onlyAChoiceWrites_data() {
        QTest::addColumn<bool>("earlier");
        QTest::addColumn<QString>("press"); // a button's text, or a key
        QTest::addColumn<std::optional<EarlierResults>>("written");
        QTest::newRow("Add") << false << "Add" << std::optional(EarlierResults::KeepBeside);
        QTest::newRow("Enter adds")
            << false << "Enter" << std::optional(EarlierResults::KeepBeside);
        QTest::newRow("Cancel") << false << "Cancel" << std::optional<EarlierResults>();
        QTest::newRow("Escape") << false << "Escape" << std::optional<EarlierResults>();
        QTest::newRow("Replace them")
            << true << "Replace them" << std::optional(EarlierResults::Replace);
        QTest::newRow("Enter replaces")
            << true << "Enter" << std::optional(EarlierResults::Replace);
        QTest::newRow("Keep them beside")
            << true << "Keep them beside" << std::optional(EarlierResults::KeepBeside);
        QTest::newRow("Escape, earlier") << true << "Escape" << std::optional<EarlierResults>();
    }
    void onlyAChoiceWrites() {
        QFETCH(bool, earlier);
        QFETCH(QString, press);
        QFETCH(std::optional<EarlierResults>, written);
        AddSession session;
        session.folder.answer = BookAndRefusedSheet();
        if (earlier) {
            session.folder.answer.earlierFiles = {"/dives/season/M3M"};
        }
        AddResultsDialog* dialog = session.Dialog();
        QVERIFY(dialog);
        if (press == u"Enter" || press == u"Escape") {
            // Whatever has the keyboard: here the report, which passes the keys on.
            dialog->Report()->setFocus();
            QTest::keyClick(dialog->Report(), press == u"Enter" ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text().remove(u'&') == press) {
                    button->click();
                }
            }
        }
        QTRY_VERIFY(!session.adder->IsRunning());
        QCOMPARE(session.folder.added.size(), written ? 1u : 0u);
        if (written) {
            QCOMPARE(session.folder.added.front(), *written);
            QCOMPARE(session.folder.addedFolder, std::string("/dives/season"));
        }
        QCOMPARE(session.reloads, written ? 1 : 0);
        QVERIFY(session.messages.shown.isEmpty());
    }

    void slowReadShowsProgressAndCancelStopsIt() {
        AddSession session;
        session.folder.slow = true;
        session.adder->Offer({QStringLiteral("/results/big-book.pdf")});
        // The window's thread stays free: the progress dialog appears on its timer.
        QTRY_VERIFY_WITH_TIMEOUT(
            session.adder->Progress() && session.adder->Progress()->isVisible(), kTimeoutMs);
        QTest::keyClick(session.adder->Progress(), Qt::Key_Escape);
        QTRY_VERIFY(!session.adder->IsRunning());
        QVERIFY(session.folder.sawCancel);
        QVERIFY(!session.adder->Dialog());
        QVERIFY(session.folder.added.empty());
        QCOMPARE(session.reloads, 0);
    }

    void closingTheWindowStopsTheReading() {
        auto session = std::make_unique<AddSession>();
        session->folder.slow = true;
        session->adder->Offer({QStringLiteral("/results/big-book.pdf")});
        QTRY_COMPARE(session->folder.previews.load(), 1);
        delete session->adder; // as the window's end takes its children down
        QVERIFY(session->folder.sawCancel);
    }

    void foldersUnderHomeAreShortened_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("shown");
        QTest::newRow("under home") << "/home/coach/dives/cup"
                                    << "~/dives/cup";
        QTest::newRow("a longer name") << "/home/coachx/dives"
                                       << "/home/coachx/dives";
        QTest::newRow("home itself") << "/home/coach"
                                     << "/home/coach";
        QTest::newRow("elsewhere") << "/srv/dives"
                                   << "/srv/dives";
    }
    void foldersUnderHomeAreShortened() {
        QFETCH(QString, folder);
        QFETCH(QString, shown);
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", "/home/coach");
        const QString got = FolderForDisplay(folder.toStdString());
        qputenv("HOME", home);
        QCOMPARE(got, shown);
    }

    void sourcesRemoveAfterConfirmation() {
        AddSession session;
        session.folder.sources.sources = {
            SourceRow{"cup-2026.pdf", "Summer Cup 2026", "3-7 June 2026", {120, 98, 0, 44}},
            SourceRow{"worlds.xlsx", "worlds.xlsx", "", {10, 0, 0, 0}}};
        session.adder->ShowSources();
        SourcesWindow* sources = session.adder->Sources();
        QVERIFY(sources && sources->isVisible());
        QCOMPARE(sources->List()->topLevelItemCount(), 2);
        QCOMPARE(sources->List()->topLevelItem(0)->text(1), QStringLiteral("Summer Cup 2026"));
        QCOMPARE(sources->List()->topLevelItem(0)->text(4), QStringLiteral("98"));
        sources->List()->setCurrentItem(sources->List()->topLevelItem(1));

        session.confirm = false;
        sources->RemoveButton()->click();
        QCOMPARE(
            session.confirmed,
            QStringList{"Take \"worlds.xlsx\" out of the folder?\nIts dives leave the tables."});
        QVERIFY(session.folder.removed.empty());

        session.folder.removeFailure = "Cannot write to the folder /dives/season: read-only";
        session.confirm = true;
        sources->RemoveButton()->click();
        QCOMPARE(session.messages.errors,
                 QStringList{QString::fromStdString(*session.folder.removeFailure)});
        QCOMPARE(session.reloads, 0);
        QCOMPARE(sources->List()->topLevelItemCount(), 2);

        session.folder.removeFailure.reset();
        sources->RemoveButton()->click();
        QCOMPARE(session.folder.removed.back(), std::string("worlds.xlsx"));
        QCOMPARE(session.reloads, 1);
        QCOMPARE(sources->List()->topLevelItemCount(), 1);
        // Escape closes the window.
        QTest::keyClick(sources->List(), Qt::Key_Escape);
        QTRY_VERIFY(!session.adder->Sources());
    }

    void sourcesOfAFolderNoImportWrote() {
        AddSession session;
        session.adder->ShowSources();
        SourcesWindow* sources = session.adder->Sources();
        QVERIFY(sources);
        QCOMPARE(sources->List()->topLevelItemCount(), 0);
        QVERIFY(!sources->RemoveButton()->isEnabled());
        QVERIFY(sources->Note()->text().startsWith(QStringLiteral("No import wrote")));
    }

    void tabReachesEveryControlOfTheDialog() {
        AddPreview preview = BookAndRefusedSheet();
        preview.earlierFiles = {"/dives/season/M3M"};
        AddResultsDialog dialog(preview);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSet<QWidget*> reached;
        for (int press = 0; press < 6; ++press) {
            reached << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* control :
             std::initializer_list<QWidget*>{dialog.Report(), dialog.ReplaceButton(),
                                             dialog.KeepBesideButton(), dialog.CancelButton()}) {
            QVERIFY2(reached.contains(control), qPrintable(control->objectName()));
        }
    }
};

QTEST_MAIN(TestResultsAdder)
#include "test_results_adder.moc"
