// The calculator's main window (Form1): season and parameter entry, the gage table of
// flow files, parameter files, help, and the start of a calculation run.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calc_state.h"
#include "checkbox_images.h"
#include "gage_table.h"
#include "run_input.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vd {
class A193;
}
namespace vd::run {
struct ParamFile;
struct ParamFileEntry;
}  // namespace vd::run

namespace vd::ui {

class FileDropArea;
class GageGrid;
class GageTableModel;
class HelpService;
class Prompts;
class TForm2;
class TForm6;

// Reads the file in s.flowfile into the gage store; the flow reader unless a test
// supplies its own.
using FlowReader = std::function<void(vd::CalcState&)>;

// What the window uses from outside; all of it outlives the window.
struct MainWindowServices {
    Prompts& prompts;
    HelpService& help;
    QString helpFile;                 // full path of the help file, beside the program
    const vd::A193* lpiii = nullptr;  // the log-Pearson binding, for calculation runs
    FlowReader reader;                // empty: the calculator's flow reader
};

class TForm1 final : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(MainWindowServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    // The program's arguments: one parameter file is opened, flow files are added.
    void openArguments(const QStringList& paths);

    // The calculation run's input: the controls' texts and the gage table's rows.
    vd::run::RunInput runInput() const;
    // The lines of the comment box.
    std::vector<std::string> commentLines() const;

    bool IsChanged = false;

    // Controls, named as the calculation run and the parameter file know them.
    QLineEdit* Edit2;  // start date of season
    QLineEdit* Edit1;  // end date of season
    QLabel* Label3;
    QLabel* Label13;
    QCheckBox* CheckBox2;  // "Season is full climatic year"
    QPushButton* MButton1;
    QPushButton* Button1;
    QPushButton* Button5;
    GageGrid* StringGrid1;
    QGroupBox* MRG;
    QButtonGroup* MRGItems;
    QLineEdit* MEdit1;
    QLineEdit* MEdit2;
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QGroupBox* GroupBox1;  // biological parameters
    QCheckBox* CheckBox1;  // "Use defaults"
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    std::array<QLineEdit*, 5> EditBio{};  // EditBio1 .. EditBio5
    std::array<QLabel*, 4> BioLabels{};   // Label4 .. Label7
    QGroupBox* GroupBox3;                 // non-biological parameters
    QRadioButton* RadioButton4;
    QRadioButton* RadioButton5;
    QRadioButton* RadioButton6;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLabel* Label8;        // "cfs"
    QLabel* Label9;        // "%"
    QPushButton* Button2;  // "Calculate Design Flows"
    QPushButton* Button4;  // "Exit"
    QPushButton* Button3;  // "Help!"
    QAction* Clearflows1;
    QAction* Open1;
    QAction* Saveas1;
    QAction* Exit1;
    QAction* Run1;
    QAction* VANDOHelp1;
    QAction* AboutVANDO1;

    // Kept beside the controls.
    std::string SDayText = "Apr 1";
    std::string EdayText = "Mar 31";
    std::array<std::string, 5> Bio{};
    int toggle = 4;
    int SYAdjust = 1;
    int sday = 0;
    int eday = 0;
    QString vdpfilename;
    QString mHelpFile;

    const GageTable& gageTable() const { return table_; }
    GageTableModel& gageModel() const { return *model_; }
    TForm6& progressWindow() const { return *Form6; }
    TForm2& aboutBox() const { return *Form2; }
    int origwidth = 0;

    // Operations of the window, also reached through its menu and buttons.
    void Clear();
    std::vector<int> AddFiles(const QStringList& paths);
    void ClearAndRead();
    void ToggleCheckbox(int column, int row);
    void SaveFile(const QString& path);
    void openParameterFile(const QString& path);
    void addFlowFiles(const QStringList& paths);
    // The help context of a widget: its own, or that of its nearest enclosing element.
    static int helpContextOf(const QWidget* widget);

  public slots:
    void MButton1Click();
    void addGagesFromWeb();
    void Button1Click();
    void Button5Click();
    void Run1Click();
    void Saveas1Click();
    void Open1Click();
    void VANDOHelp1Click();
    void Button3Click();
    void AboutVANDO1Click();
    void HelpHook();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Construction, in the order the constructor calls them.
    void createActions();
    void createMenus();
    void createFlowDataGroup();
    void createBiologicalGroup();
    void createNonBiologicalGroup();
    void createCommandButtons();
    void layoutWindow();
    void setHelpContexts();
    void createTabOrder();
    void connectSeasonHandlers();
    void connectParameterHandlers();
    void connectGageTable();
    void checkHelpFile();
    void startingState();

    // Season and parameter entry.
    void Edit2Enter();
    void SeasonEditExit(QLineEdit* edit);
    void Edit2Change();
    void CheckBox2Click(bool checked);
    void CheckBox1Click(bool checked);
    void CriterionClick(int criterion);
    void NonBiologicalClick(int choice);
    void EditBio1Change();
    void MEdit1Change();
    void setSeasonTabOrder(bool fullYear);
    std::string dayBeforeStart() const;
    bool seasonValid() const;
    void writeCriterionDefaults();

    // Gage table helpers.
    bool checkSeasonForAdding();
    void sizeGrid();
    void updateUseButtons();
    void setGridEnabled(bool enabled);
    void showReadError(const QString& path, const char* kind, const char* what);
    bool refuseOverfullTable(const QString& path, int gages);
    void setCaptionForFile(const QString& path);
    QString recordHint(const QString& record) const;
    vd::run::ParamFile parameterFileContent() const;
    void applyParameterFile(const vd::run::ParamFile& p);
    void rebuildGageTable(const std::vector<vd::run::ParamFileEntry>& entries);

    Prompts& prompts_;
    HelpService& help_;
    const vd::A193* lpiii_;
    FlowReader reader_;
    std::unique_ptr<vd::CalcState> calc_;  // the gage store the reader fills (about 1 MB)
    CheckImages checkImages_;
    GageTable table_;
    GageTableModel* model_;
    FileDropArea* gridArea_;
    QGroupBox* flowGroup_;
    QGroupBox* commentsGroup_;
    QLabel* Label2;
    QLabel* Edit3Caption;
    QLabel* Edit4Caption;
    TForm2* Form2;
    TForm6* Form6;
    std::string save_;  // end text + start text when a date edit was entered
};

}  // namespace vd::ui
