// The calculator's main window: season and parameter entry, the gage table of
// flow files, parameter files, help, and the start of a calculation run. The window is made
// of panels (season, gage table, calculation period, comments, biological and
// non-biological parameters), each owning its controls, filling in its part of the settings
// and showing that of a parameter file; the window joins them and keeps the gage table.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis.h"
#include "checkbox_images.h"
#include "gage_table.h"
#include "run_input.h"
#include "unsaved_flag.h"

class QAction;
class QGroupBox;
class QPushButton;

namespace vd {
class LogPearsonLibrary;
}
namespace vd::run {
struct ParamFile;
struct ParamFileEntry;
}  // namespace vd::run

namespace vd::ui {

using vd::run::GageTable;

class AboutBox;
class BiologicalPanel;
class CommentsPanel;
class GageTableModel;
class GagesPanel;
class HelpService;
class NonBiologicalPanel;
class PeriodPanel;
class ProgressWindow;
class Prompts;
class SeasonPanel;

// Reads a file's gages for the table; the analysis's own reader unless a test supplies one.
using FlowReader = vd::TableReader;

// What the window uses from outside; all of it outlives the window.
struct MainWindowServices {
    Prompts& prompts;
    HelpService& help;
    QString helpFile;                              // full path of the help file, beside the program
    const vd::LogPearsonLibrary* lpiii = nullptr;  // the log-Pearson binding, for calculation runs
    FlowReader reader;                             // empty: the calculator's flow reader
};

class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The program's arguments: one parameter file is opened, flow files are added.
    void openArguments(const QStringList& paths);

    // The panels' texts as settings; with the gage table's rows, the calculation run's input.
    vd::run::SettingsTexts settingsTexts() const;
    vd::run::RunInput runInput() const;
    // The lines of the comment box.
    std::vector<std::string> commentLines() const;

    // Set by every edit of the analysis, cleared when it is saved or opened: leaving or
    // opening another file asks first while it is set, and the caption is marked.
    UnsavedFlag unsavedChanges;

    const GageTable& gageTable() const { return analysis_.table(); }
    GageTableModel& gageModel() const { return *model_; }
    ProgressWindow& progressWindow() const { return *progress_; }
    AboutBox& aboutBox() const { return *about_; }

    // Operations of the window, also reached through its menu and buttons.
    void clearTable();
    std::vector<int> addFiles(const QStringList& paths);
    void reReadTable();
    void toggleUseMark(int column, int row);
    // "Use all" / "Use none" of the Use column's menu.
    void setAllUseMarks(bool use);
    void saveParameterFile(const QString& path);
    void openParameterFile(const QString& path);
    void addFlowFiles(const QStringList& paths);
    void addGagesFromWeb();
    // The help context of a widget: its own, or that of its nearest enclosing element.
    static int helpContextOf(const QWidget* widget);

  public slots:
    void chooseFlowFiles();
    void removeUnusedFiles();
    void clearAll();
    void calculate();
    void saveParameterFileAs();
    // Saves to the open parameter file, or asks for one as Save As does.
    void saveParameterFileInPlace();
    void chooseParameterFile();
    void showHelpContents();
    void showMainWindowHelp();
    void showAbout();
    void showHelpForFocus();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Construction, in the order the constructor calls them.
    void createActions();
    void createMenus();
    void createPanels();
    void createCommandButtons();
    void layoutWindow();
    void setHelpContexts();
    void createTabOrder();
    void connectPanels();
    void connectGageTable();
    void checkHelpFile();
    void startingState();

    void markChanged();
    bool seasonValid() const;

    // Asks before the analysis is replaced while it has unsaved changes; true to go on.
    bool mayDiscardChanges();
    // The paths to add: a file already in the table only when the user says so.
    QStringList confirmRepeatedFiles(const QStringList& paths);

    // Gage table helpers.
    bool checkSeasonForAdding();
    void sizeGrid();
    void updateUseButtons();
    void setGridEnabled(bool enabled);
    void showReadError(const QString& path, const std::exception& e);
    bool refuseFileOfManyGages(const QString& path);
    void showMissingFiles(const QStringList& missing);
    bool refuseOverfullTable(const QString& path, int gages);
    void setCaptionForFile(const QString& path);
    // The caption without the unsaved mark; the mark follows `unsavedChanges`.
    void setCaption(const QString& caption);
    void showCaption();
    QString recordHint(const QString& record) const;
    vd::run::ParamFile parameterFileContent() const;
    void applyParameterFile(const vd::run::ParamFile& p);
    void rebuildGageTable(const std::vector<vd::run::ParamFileEntry>& entries);

    Prompts& prompts_;
    QString caption_;
    HelpService& help_;
    QString helpFile_;
    const vd::LogPearsonLibrary* lpiii_;
    // The gage table, the files it has read (parsed once, for the run too) and their reader.
    vd::Analysis analysis_;
    CheckImages checkImages_;
    GageTableModel* model_;
    // 1 when the season runs over the end of the year, so a record's first season starts in
    // the year before its first listed year.
    int seasonYearShift = 1;
    QString parameterFilePath;  // the file last saved or opened

    // The panels; the first four are in the "Flow Data Parameters" group.
    QGroupBox* flowGroup_;
    SeasonPanel* season_;
    GagesPanel* gages_;
    PeriodPanel* period_;
    CommentsPanel* comments_;
    BiologicalPanel* bio_;
    NonBiologicalPanel* nonBio_;
    // Commands.
    QPushButton* calculateButton;
    QPushButton* exitButton;
    QPushButton* helpButton;
    QAction* clearFlowsAction;
    QAction* openAction;
    QAction* saveAction;  // "Save": the open parameter file, or Save As without one
    QAction* saveAsAction;
    QAction* exitAction;
    QAction* runAction;
    QAction* helpAction;
    QAction* aboutAction;

    AboutBox* about_;
    ProgressWindow* progress_;
};

}  // namespace vd::ui
