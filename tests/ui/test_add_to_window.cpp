// SPDX-License-Identifier: GPL-3.0-or-later
// Adding results through the main window: drops and keys reach the add, an add reads the
// folder again as at start-up, and a failed one leaves the tables as they were. The folder's
// importer is faked; its "add" puts a small result set in place of the samples.
#include "analysis/table_text.h"
#include "app/results_folder_importer.h"
#include "fake_results_folder.h"
#include "ui/results_adder.h"
#include "ui/sources_window.h"
#include "ui/string_grid_view.h"
#include "window_test_support.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

using namespace corvane;
using namespace corvane::testing;

namespace {

const QString kSmallDir = QStringLiteral(CORVANE_TEST_DATA_DIR "/e2e-small/");

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray TableBytes(MainWindow& form, int eventIndex) {
    return QByteArray::fromStdString(TableText(form.EventTable(eventIndex), kEventTableCols));
}

// The program on a copy of the samples, its folder's importer faked.
struct AddingSession : WindowSession {
    TestFolder folder;
    FakeResultsFolder results;
    QStringList asked;

    bool Start() {
        if (!folder.Enter() || !folder.CopySamples()) {
            return false;
        }
        results.answer = BookAndRefusedSheet();
        // What a real add does: the folder's result files are replaced.
        results.onAdd = [this] {
            for (const QString& name : kEventFiles) {
                QFile::remove(folder.filePath(name));
                QFile::copy(kSmallDir + name, folder.filePath(name));
            }
        };
        AddAsks asks;
        asks.files = [this](QWidget*, const QString&) {
            asked << QStringLiteral("files");
            return QStringList{folder.filePath(QStringLiteral("cup.pdf"))};
        };
        form->ConnectResultsFolder(results, std::move(asks));
        return WindowSession::Start();
    }
    // A drag of `urls` entering the window and dropped on it; whether the window took it.
    bool Drop(const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        const QPoint at(500, 300);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        return drop.isAccepted();
    }
    bool DropBook() { return Drop({QUrl::fromLocalFile(folder.filePath("cup.pdf"))}); }
    AddResultsDialog* WaitForDialog() {
        const bool shown =
            QTest::qWaitFor([this] { return form->Adder()->Dialog() != nullptr; }, kTimeoutMs);
        return shown ? form->Adder()->Dialog() : nullptr;
    }
    void SortByHeader(int col) {
        StringGridView* grid = form->EventGrid(1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(col, 0).center());
    }
};

} // namespace

class TestAddToWindow : public QObject {
    Q_OBJECT

private slots:
    void addReadsTheFolderAgainKeepingThresholdsAndSort() {
        AddingSession session;
        QVERIFY(session.Start());
        session.SortByHeader(3);
        session.form->VarCount()->setValue(7);
        const RecordStore* samples = &session.form->Store();
        QVERIFY(session.DropBook());
        AddResultsDialog* dialog = session.WaitForDialog();
        QVERIFY(dialog);
        dialog->AddButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(&session.form->Store() != samples, kTimeoutMs);
        QVERIFY(session.WaitUntilIdle());
        // The table the small set gives when sorted by column 3, as at a fresh start.
        QCOMPARE(TableBytes(*session.form, 1), FileBytes(kSmallDir + "expected/M3M-sort3.txt"));
        QCOMPARE(session.form->SortColOf(1), 3);
        QCOMPARE(session.form->VarCount()->value(), 7);
        QVERIFY(session.form->Lists().countryItems.size() >= 2);
        QVERIFY(session.messages.shown.isEmpty());
    }

    void failedAddLeavesTheTables() {
        AddingSession session;
        QVERIFY(session.Start());
        session.results.addFailure = "Cannot write to the folder /dives: it is read-only";
        const QByteArray before = TableBytes(*session.form, 1);
        const RecordStore* store = &session.form->Store();
        QVERIFY(session.DropBook());
        AddResultsDialog* dialog = session.WaitForDialog();
        QVERIFY(dialog);
        dialog->AddButton()->click();
        QTRY_COMPARE(session.messages.errors,
                     QStringList{"Cannot write to the folder /dives: it is read-only"});
        QCOMPARE(&session.form->Store(), store);
        QCOMPARE(TableBytes(*session.form, 1), before);
    }

    void dropsOfLocalFilesOnly() {
        AddingSession session;
        QVERIFY(session.Start());
        QVERIFY(!session.Drop({QUrl(QStringLiteral("https://example.org/cup.pdf"))}));
        QVERIFY(!session.Drop({QUrl::fromLocalFile(session.folder.path())}));
        QCOMPARE(session.results.previews.load(), 0);
        // Without a connected folder the window takes no drops at all.
        WindowSession plain;
        QVERIFY(plain.Start());
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(session.folder.filePath("cup.pdf"))});
        QDragEnterEvent enter(QPoint(500, 300), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(plain.form.get(), &enter);
        QVERIFY(!enter.isAccepted());
    }

    void secondDropWhileOneRunsIsRefused() {
        AddingSession session;
        QVERIFY(session.Start());
        session.results.slow = true;
        QVERIFY(session.DropBook());
        QTRY_COMPARE(session.results.previews.load(), 1);
        QVERIFY(session.DropBook());
        QTRY_COMPARE(session.messages.notices.size(), 1);
        QTest::keyClick(session.form.get(), Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(session.form.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(session.messages.notices.size(), 3);
        QVERIFY(session.messages.notices.front().startsWith("Results are being added already"));
        QVERIFY(session.asked.isEmpty());
        QVERIFY(!session.form->Adder()->Sources());
        session.results.release = true;
        QVERIFY(session.WaitForDialog());
        QCOMPARE(session.results.previews.load(), 1);
    }

    void keysAskForFilesAndListSources() {
        AddingSession session;
        QVERIFY(session.Start());
        QTest::keyClick(session.form.get(), Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(session.asked, QStringList{"files"});
        AddResultsDialog* dialog = session.WaitForDialog();
        QVERIFY(dialog);
        QCOMPARE(session.results.Previewed(),
                 std::vector<std::string>{session.folder.filePath("cup.pdf").toStdString()});
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(!session.form->Adder()->IsRunning());
        QVERIFY(session.results.added.empty());
        // The keys act in the active window, which the closed dialog no longer is.
        session.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(session.form.get()));
        QTest::keyClick(session.form.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(session.form->Adder()->Sources());
        QVERIFY(session.form->Adder()->Sources()->isVisible());
    }

    // The real importer: the folder goes away between the preview and "Replace them".
    void addToAFolderRemovedMeanwhileIsReported() {
        TestFolder folder;
        QVERIFY(folder.Enter() && folder.CopySamples());
        WindowSession session;
        ResultsFolderImporter importer;
        session.form->ConnectResultsFolder(importer);
        QVERIFY(session.Start());
        const QByteArray before = TableBytes(*session.form, 1);
        session.form->Adder()->Offer({QStringLiteral(CORVANE_TEST_DATA_DIR "/import/results.csv")});
        QTRY_VERIFY_WITH_TIMEOUT(session.form->Adder()->Dialog(), kTimeoutMs);
        AddResultsDialog* dialog = session.form->Adder()->Dialog();
        QVERIFY(dialog->ReplaceButton() && dialog->ReplaceButton()->isEnabled());
        const QString moved = folder.path() + QStringLiteral("-moved");
        QVERIFY(QDir().rename(folder.path(), moved));
        dialog->ReplaceButton()->click();
        QTRY_VERIFY(!session.form->Adder()->IsRunning());
        QDir().rename(moved, folder.path()); // for the temporary folder's own removal
        QCOMPARE(session.messages.errors.size(), 1);
        QVERIFY2(session.messages.errors.front().contains(folder.path()),
                 qPrintable(session.messages.errors.front()));
        QCOMPARE(TableBytes(*session.form, 1), before);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Sources.tsv"))));
    }

    void reloadWaitsForADiverCount() {
        AddingSession session;
        QVERIFY(session.Start());
        session.results.onAdd();
        const RecordStore* before = &session.form->Store();
        const RecordStore* duringCount = nullptr;
        // Asked for from inside the count, as an "Add" pressed while it runs would.
        QTimer::singleShot(0, session.form.get(), [&] {
            session.form->ReloadFolder();
            duringCount = &session.form->Store();
        });
        session.form->ButtonPopulate()->click();
        QCOMPARE(duringCount, before);
        QTRY_VERIFY_WITH_TIMEOUT(&session.form->Store() != before, kTimeoutMs);
        QVERIFY(session.WaitUntilIdle());
        QCOMPARE(TableBytes(*session.form, 1), FileBytes(kSmallDir + "expected/M3M.txt"));
    }
};

QTEST_MAIN(TestAddToWindow)
#include "test_add_to_window.moc"
