// SPDX-License-Identifier: GPL-3.0-or-later
// The two filter lists driven with keys and the mouse: the incremental search, with the list
// closed and open, and which choices count as a change of the country.

#include "ui/filter_combo.h"
#include "window_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace corvane;
using namespace corvane::testing;

class TestFilterCombo : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FilterCombo> list_;
    // The list's clock: the tests move it on instead of waiting.
    qint64 now_ = 0;
    // Keys reach the open list where the window system sends them: the popup's focus widget.
    static QWidget* OpenList() {
        QWidget* popup = QApplication::activePopupWidget();
        return popup && popup->focusWidget() ? popup->focusWidget() : popup;
    }
    static void ClickEntry(FilterCombo* list, const QString& text) {
        QAbstractItemView* view = list->view();
        const QModelIndex index = view->model()->index(list->findText(text), 0);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void init() {
        list_ = std::make_unique<FilterCombo>();
        list_->SetClock([this] { return now_; });
        list_->ResetToAll();
        for (const char* nation : {"GER", "MEX", "CAN", "GBR", "CHN"})
            list_->AddSorted(QString::fromLatin1(nation));
        list_->show();
        QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
    }
    void cleanup() { list_.reset(); }

    void typedPrefixSelectsTheFirstEntryBeginningWithIt() {
        struct Typing {
            qint64 pauseFirst; // milliseconds
            const char* keys;
            const char* selected;
        };
        constexpr qint64 pause = FilterCombo::kSearchPauseMs;
        const Typing steps[] = {
            {0, "C", "CAN"},
            {pause, "c", "CAN"}, // the same letter after a pause: the first entry, not the next
            {0, "h", "CHN"},
            {pause, "mex", "MEX"}, // small letters find capitals
            {pause, "gx", "GBR"},  // "g" selects GBR; "gx" begins no entry, so GBR stays
            {pause, "q", "GBR"},
            {pause, "G", "GBR"},     // with GBR selected, a pause and "G" keep GBR
            {pause - 1, "e", "GER"}, // just short of a pause the search goes on: "Ge"
        };
        QSignalSpy changes(list_.get(), &FilterCombo::userChangedSelection);
        for (const Typing& step : steps) {
            now_ += step.pauseFirst;
            QTest::keyClicks(list_.get(), QString::fromLatin1(step.keys));
            QCOMPARE(list_->currentText(), QString::fromLatin1(step.selected));
        }
        // One report per change: CAN, CHN, MEX, GBR, GER.
        QCOMPARE(changes.count(), 5);
    }

    // A merge orders by the Latin-1 bytes (accented letters after Z, as the one-by-one
    // insertion compares them), equal texts after the entries already there and in their
    // order; the selection stays on its entry; entries edited afterwards read back whole.
    void mergedEntriesSortAndEditLikeSingleInsertions() {
        list_->setCurrentIndex(list_->findText(QStringLiteral("GBR")));
        PackedTexts added;
        for (const char* text : {"\xC9"
                                 "CU",
                                 "GBR", "ABC", "ZZZ", "GBR"})
            added.Append(text);
        list_->AddAllSorted(std::move(added));
        FilterCombo oneByOne;
        oneByOne.ResetToAll();
        for (const char* text : {"GER", "MEX", "CAN", "GBR", "CHN",
                                 "\xC9"
                                 "CU",
                                 "GBR", "ABC", "ZZZ", "GBR"})
            oneByOne.AddSorted(QString::fromLatin1(text));
        QStringList merged, inserted;
        for (int i = 0; i < list_->count(); ++i) {
            merged << list_->itemText(i);
            inserted << oneByOne.itemText(i);
        }
        QCOMPARE(merged, inserted);
        QCOMPARE(merged.last(), QString::fromLatin1("\xC9"
                                                    "CU"));
        QCOMPARE(list_->currentIndex(), merged.indexOf(QStringLiteral("GBR")));
        list_->removeItem(1);
        list_->setItemText(1, QStringLiteral("LONGER TEXT"));
        QCOMPARE(list_->itemText(1), QStringLiteral("LONGER TEXT"));
        QCOMPARE(list_->itemText(2), merged.at(3));
        QCOMPARE(list_->itemText(list_->count() - 1), merged.last());
        QTest::keyClicks(list_.get(), QString::fromLatin1("\xC9"));
        QCOMPARE(list_->currentText(), merged.last());
    }

    void openListSearchesTheSameWay() {
        QSignalSpy changes(list_.get(), &FilterCombo::userChangedSelection);
        list_->showPopup();
        QVERIFY(QTest::qWaitFor([] { return OpenList() != nullptr; }));
        QTest::keyClicks(OpenList(), QStringLiteral("ge"));
        QCOMPARE(list_->currentText(), QStringLiteral("GER"));
        QCOMPARE(list_->view()->currentIndex().row(), list_->findText(QStringLiteral("GER")));
        QVERIFY(list_->view()->isVisible());
        QCOMPARE(changes.count(), 2); // GBR, then GER
        // Taking the highlighted entry is no further change.
        QTest::keyClick(OpenList(), Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([this] { return !list_->view()->isVisible(); }));
        QCOMPARE(list_->currentText(), QStringLiteral("GER"));
        QCOMPARE(changes.count(), 2);
    }

    // In the window: the typed country refills the diver list, and picking that country
    // again keeps the diver the user chose.
    void sameCountryAgainKeepsTheChosenDiver() {
        TestFolder folder;
        QVERIFY(folder.Enter());
        QVERIFY(folder.CopySamples());
        WindowSession session;
        QVERIFY(session.Start());
        FilterCombo* countries = session.form->CountryList();
        FilterCombo* divers = session.form->DiverList();
        const QString nation = countries->itemText(countries->count() / 2);
        QTest::keyClicks(countries, nation.toLower());
        QCOMPARE(countries->currentText(), nation);
        QVERIFY(divers->count() > 2);
        QVERIFY(divers->itemText(1).endsWith(QStringLiteral(" [") + nation + u']'));

        QTest::keyClick(divers, Qt::Key_Down);
        QTest::keyClick(divers, Qt::Key_Down);
        QCOMPARE(divers->currentIndex(), 2);
        const QString diver = divers->currentText();
        countries->showPopup();
        QVERIFY(QTest::qWaitFor([countries] { return countries->view()->isVisible(); }));
        ClickEntry(countries, nation);
        QVERIFY(QTest::qWaitFor([countries] { return !countries->view()->isVisible(); }));
        QCOMPARE(countries->currentText(), nation);
        QCOMPARE(divers->currentText(), diver);
        session.form->close();
    }
};

QTEST_MAIN(TestFilterCombo)
#include "test_filter_combo.moc"
