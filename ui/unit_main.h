// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/filter.h"
#include "analysis/grid_sort.h"
#include "analysis/statistics.h"
#include "analysis/string_grid.h"
#include "rawdata/roster.h"
#include "store/events.h"
#include "store/record_store.h"
#include "ui/cell_painters.h"
#include "ui/unit_stats.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;

namespace corvane {

class ClipboardSink;
class FilterCombo;
class SpinEdit;
class StringGridView;
class SettingsStore;
class UserMessages;

// The application title: caption of every message box.
inline constexpr char kApplicationTitle[] = "Corvane Dive Analyzer";
inline constexpr char kMainWindowTitle[] = "WAVO DD Analyser 2008-2012";

// The main window: the four event tables on their tabs, the commands, the thresholds and
// the filters. Its handlers gather what the user chose, call the core and show the result.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 1016;
    static constexpr int kClientHeight = 716;

    // `settings` keeps the thresholds and sort columns between runs and outlives the window.
    // Null `messages` or `clipboard` take the real message boxes and the system clipboard.
    explicit TForm1(SettingsStore& settings, UserMessages* messages = nullptr,
                    ClipboardSink* clipboard = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // What the Dive Statistics window needs of this window; then hand that window back.
    DiveStatsHost MakeDiveStatsHost();
    void AttachDiveStats(TDiveStats* diveStats);
    // The folder of the result files and DD.ini, in place of the current folder; before show().
    void SetDataFolder(std::string folder) { dataFolder_ = std::move(folder); }

    // State the handlers share.
    bool IsBusy() const { return Busy; }
    int SortColOf(int eventIndex) const { return SortCol.at(eventIndex - 1); }
    int LastClickedRow() const { return ClickedRow; }
    const std::string& DataDirectory() const { return DataDir; }
    const FilterLists& Lists() const { return lists_; }
    const RecordStore& Store() const { return *store_; }
    const DiverRoster& Roster() const { return roster_; }
    const DDCatalogue& Catalogue() const { return catalogue_; }
    // The event of the active tab, 1..4.
    int ActiveEvent() const;
    Thresholds CurrentThresholds() const;
    FilterSelection CurrentFilter() const;

    // The controls, by their component names.
    StringGrid& EventTable(int eventIndex) { return tables_.at(eventIndex - 1); }
    StringGridView* EventGrid(int eventIndex) const { return views_.at(eventIndex - 1); }
    QTabWidget* TheGrids() const { return theGrids_; }
    SpinEdit* VarCount() const { return varCount_; }
    SpinEdit* VarDD() const { return varDD_; }
    SpinEdit* VarPercent() const { return varPercent_; }
    SpinEdit* Var2Col() const { return var2Col_; }
    SpinEdit* Var9() const { return var9_; }
    SpinEdit* VarSortCount() const { return varSortCount_; }
    FilterCombo* CountryList() const { return countryList_; }
    FilterCombo* DiverList() const { return diverList_; }
    QPushButton* ButtonCopy() const { return buttonCopy_; }
    QPushButton* ButtonPopulate() const { return buttonPopulate_; }
    QPushButton* GenerateStats() const { return generateStats_; }
    QPushButton* CloseButton() const { return closeButton_; }
    QPushButton* Button1() const { return button1_; }
    QLabel* Logo() const { return logo_; }
    // The status bar's panels, left to right.
    QLabel* StatusBarPanel(int index) const { return statusPanels_.at(index); }
    QTimer* Timer1() const { return timer1_; }

public slots:
    void GenerateStatsClick();
    void ButtonCopyClick();
    void PopulateDiverCount1Click();
    void CountryListChange();
    void DiverListChange();
    void VarCountChange();
    void VarSortCountChange();
    void CloseButtonClick();
    void Button1Click();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void TheGridM3MMouseDown(StringGridView* grid, QPoint pos);
    void TheGridM3MMouseMove(StringGridView* grid, QPoint pos);
    void TheGridM3MDblClick();

    // Layout, one region at a time.
    void BuildTopStrip();
    void BuildStatusBar();
    void BuildLeftPanel();
    void BuildVariablesGroup(QWidget* panel);
    void BuildRefineGroup(QWidget* panel);
    void BuildPageControl();
    StringGridView* BuildEventGrid(int eventIndex);
    void SetFocusOrder();
    void ConnectHandlers();

    // Steps of the handlers.
    void ApplySettings();
    void SaveSettings();
    bool LoadResults();
    void EndWithoutSaving();
    void ShowOwnResultsInStatusBar();
    void FillFilterCombos();
    void GenerateOneEvent(int eventIndex, bool initialRun);
    int SortCount() const;
    // Repaints `grid` and lets pending messages run; a statistics run holds user input off.
    PumpMessages Pump(StringGridView* grid, bool holdUserInput = false) const;

    SettingsStore& settings_;
    UserMessages* messages_;
    ClipboardSink* clipboard_;
    std::unique_ptr<UserMessages> ownMessages_;
    std::unique_ptr<ClipboardSink> ownClipboard_;

    // The records, the roster, the catalogue and the hidden lookup grids (DiverGrid,
    // CountryGrid).
    std::unique_ptr<RecordStore> store_;
    DiverRoster roster_;
    DDCatalogue catalogue_;
    FilterLists lists_;
    std::array<StringGrid, kEventCount> tables_{
        {StringGrid{kEventTableCols, 2}, StringGrid{kEventTableCols, 2},
         StringGrid{kEventTableCols, 2}, StringGrid{kEventTableCols, 2}}};

    bool Busy = false;
    std::array<int, kEventCount> SortCol{};
    int ClickedRow = -1;
    std::string DataDir;
    std::string dataFolder_; // as the command line named it; empty for the current folder

    bool shownBefore_ = false;
    bool startupDone_ = false; // the start-up step has run (the store holds what it read)
    bool generating_ = false;  // a statistics run is under way
    bool closing_ = false;     // the window was closed: long operations stop
    bool skipSettingsWrite_ = false;

    QPointer<TDiveStats> diveStats_;
    QTabWidget* theGrids_ = nullptr;
    std::array<StringGridView*, kEventCount> views_{};
    SpinEdit* varCount_ = nullptr;
    SpinEdit* varDD_ = nullptr;
    SpinEdit* varPercent_ = nullptr;
    SpinEdit* var2Col_ = nullptr;
    SpinEdit* var9_ = nullptr;
    SpinEdit* varSortCount_ = nullptr;
    FilterCombo* countryList_ = nullptr;
    FilterCombo* diverList_ = nullptr;
    QPushButton* buttonCopy_ = nullptr;
    QPushButton* buttonPopulate_ = nullptr;
    QPushButton* generateStats_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* button1_ = nullptr;
    QLabel* logo_ = nullptr;
    std::array<QLabel*, 8> statusPanels_{};
    QTimer* timer1_ = nullptr;
};

} // namespace corvane
