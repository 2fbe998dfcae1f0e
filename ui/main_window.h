// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/filter.h"
#include "analysis/grid_sort.h"
#include "analysis/session.h"
#include "analysis/statistics.h"
#include "analysis/string_grid.h"
#include "rawdata/roster.h"
#include "store/events.h"
#include "store/record_store.h"
#include "ui/breakdown_window.h"
#include "ui/cell_painters.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;

namespace corvane {

class ClipboardSink;
class FilterCombo;
class ResultsAdder;
class ResultsFolder;
struct AddAsks;
class SpinEdit;
class StringGridView;
class SettingsStore;
class UserMessages;

// The application title: caption of every message box.
inline constexpr char kApplicationTitle[] = "Corvane Dive Analyzer";
inline constexpr char kMainWindowTitle[] = "WAVO DD Analyser 2008-2012";

// The main window: the four event tables on their tabs, the commands, the thresholds and
// the filters. Its handlers gather what the user chose, call the core and show the result.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Where the window stands between its creation and the user's work; change notices of
    // the controls act only in Created and Ready.
    enum class Phase {
        Created,         // not shown yet: nothing is loaded, nothing depends on the controls
        Starting,        // from the first show until the first statistics run has ended
        LoadFailed,      // a result file could not be read: the controls keep still until
                         // "Re-Generate Stats" is pressed
        Ready,           // the tables are shown and follow the controls
        FillingControls, // the window fills its own controls; their notices are its own
    };

    static constexpr int kClientWidth = 1016;
    static constexpr int kClientHeight = 716;

    // `settings` keeps the thresholds and sort columns between runs and outlives the window.
    // Null `messages` or `clipboard` take the real message boxes and the system clipboard.
    explicit MainWindow(SettingsStore& settings, UserMessages* messages = nullptr,
                        ClipboardSink* clipboard = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the Dive Statistics window needs of this window; then hand that window back
    // (MakeMainWindow does both).
    BreakdownHost MakeBreakdownHost();
    void AttachBreakdown(BreakdownWindow* breakdown);
    BreakdownWindow* Breakdown() const { return breakdown_; }
    // The folder of the result files and DD.ini, in place of the current folder; before show().
    void SetDataFolder(std::string folder) { dataFolder_ = std::move(folder); }
    // Connects the data folder's importer, which outlives the window: files dropped on the
    // window or chosen with Ctrl+I are added, and Ctrl+Shift+I lists the folder's sources.
    // Without it the window takes no drops and the keys do nothing. `asks` replaces the
    // file dialog and the question box (tests); unset, the real ones are shown.
    void ConnectResultsFolder(ResultsFolder& folder, AddAsks asks);
    void ConnectResultsFolder(ResultsFolder& folder);
    ResultsAdder* Adder() const { return adder_; }

    // State the handlers share.
    Phase CurrentPhase() const { return phase_; }
    // The controls' change notices are held off (see Phase).
    bool IsBusy() const { return phase_ != Phase::Created && phase_ != Phase::Ready; }
    int SortColOf(int eventIndex) const { return sortCols_.at(eventIndex - 1); }
    int LastClickedRow() const { return clickedRow_; }
    const std::string& DataDirectory() const { return dataDir_; }
    const FilterLists& Lists() const { return session_.Lists(); }
    const RecordStore& Store() const { return session_.Store(); }
    const DiverRoster& Roster() const { return session_.Roster(); }
    const DDCatalogue& Catalogue() const { return session_.Catalogue(); }
    // The event of the active tab, 1..4.
    int ActiveEvent() const;
    Thresholds CurrentThresholds() const;
    FilterSelection CurrentFilter() const;

    // The controls, by their component names.
    StringGrid& EventTable(int eventIndex) { return session_.EventTable(eventIndex); }
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
    QLabel* Logo() const { return logo_; }
    // The status bar's panels, left to right.
    QLabel* StatusBarPanel(int index) const { return statusPanels_.at(index); }
    QTimer* StartUpTimer() const { return startUpTimer_; }

public slots:
    void RunStatistics();
    void CopyTableToClipboard();
    void FillDiverCounts();
    void ListDiversOfCountry();
    void RepaintForThresholds();
    void ResortForSortCount();
    void LoadOnStartUp();
    // Reads the folder again as at start-up: roster, DD table and result files, the filter
    // lists refilled and the statistics regenerated; the thresholds and sort columns stay.
    // When the folder cannot be read, the message says why and the tables stay as they were.
    void ReloadFolder();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Holds a reload of the folder off while a handler lets the user's input run (a sort, a
    // diver count): a reload asked for meanwhile follows once the last such handler ends.
    class ReloadHold {
    public:
        explicit ReloadHold(MainWindow& window);
        ~ReloadHold();
        ReloadHold(const ReloadHold&) = delete;
        ReloadHold& operator=(const ReloadHold&) = delete;

    private:
        MainWindow& window_;
    };

    void BuildWindow();
    void HideBreakdown();
    // Start-up and close (main_window_startup.cpp).
    void BuildStartUpTimer();
    void BeginStartUp();
    bool LoadResults();
    void EndWithoutSaving();
    void ShowOwnResultsInStatusBar();
    void CloseDown();
    // The values kept between runs (main_window_settings.cpp).
    void ApplySettings();
    void SaveSettings();

    void OnGridMouseDown(StringGridView* grid, QPoint pos);
    void OnGridMouseMove(StringGridView* grid, QPoint pos);
    void OnGridDoubleClick();

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

    // The records, the roster, the catalogue, the hidden lookup grids (DiverGrid,
    // CountryGrid) and the four tables the grids show.
    AnalysisSession session_;

    Phase phase_ = Phase::Created;
    std::array<int, kEventCount> sortCols_{};
    int clickedRow_ = -1;
    std::string dataDir_;
    std::string dataFolder_; // as the command line named it; empty for the current folder

    bool shownBefore_ = false;
    bool startupDone_ = false; // the start-up step has run (the store holds what it read)
    bool generating_ = false;  // a statistics run is under way
    bool closing_ = false;     // the window was closed: long operations stop
    bool skipSettingsWrite_ = false;
    int reloadHolds_ = 0;
    bool reloadPending_ = false;
    ResultsAdder* adder_ = nullptr;

    QPointer<BreakdownWindow> breakdown_;
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
    QLabel* logo_ = nullptr;
    std::array<QLabel*, 8> statusPanels_{};
    QTimer* startUpTimer_ = nullptr;
};

// The main window with its Dive Statistics window, wired as the program runs them: the
// breakdown window is a child of the main window, hidden until a breakdown shows it, so it
// ends with it. Null `messages` or `clipboard` as for MainWindow; `adjustHost` may change
// what the breakdown window is given (a test answers its file dialog).
std::unique_ptr<MainWindow>
MakeMainWindow(SettingsStore& settings, UserMessages* messages = nullptr,
               ClipboardSink* clipboard = nullptr,
               const std::function<void(BreakdownHost&)>& adjustHost = {});

} // namespace corvane
