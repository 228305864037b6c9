#include "main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "about_box.h"
#include "biological_panel.h"
#include "comments_panel.h"
#include "flow_file_cache.h"
#include "gage_table_model.h"
#include "gages_panel.h"
#include "help_viewer.h"
#include "non_biological_panel.h"
#include "period_panel.h"
#include "program_name.h"
#include "prompts.h"
#include "results/progress_window.h"
#include "results/results_window.h"
#include "season_panel.h"

namespace vd::ui {

namespace {

// The gage store keeps parsed files, so that re-reading the table after a season change
// and every calculation run reuse what adding the files has read.

constexpr const char* helpContextProperty = "helpContext";
constexpr int mainWindowContext = 1001;

}  // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      prompts_(services.prompts),
      help_(services.help),
      lpiii_(services.lpiii),
      analysis_(std::move(services.reader)),
      checkImages_(makeCheckImages()) {
    helpFile_ = services.helpFile;
    unsavedChanges.onChange([this](bool) { showCaption(); });
    createActions();
    createMenus();
    createPanels();
    createCommandButtons();
    layoutWindow();
    setHelpContexts();
    createTabOrder();
    connectPanels();
    connectGageTable();
    about_ = new AboutBox(this);
    progress_ = new ProgressWindow(this);
    checkHelpFile();
    startingState();
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions() {
    // Named, as the controls of the panels are, for the window tests.
    const auto action = [this](const QString& text, const char* name) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    clearFlowsAction = action(QStringLiteral("&Clear Flows"), "clearFlowsAction");
    openAction = action(QStringLiteral("&Open..."), "openAction");
    saveAction = action(QStringLiteral("&Save"), "saveAction");
    saveAction->setShortcut(QKeySequence::Save);
    saveAsAction = action(QStringLiteral("Save &as..."), "saveAsAction");
    exitAction = action(QStringLiteral("E&xit"), "exitAction");
    runAction = action(QStringLiteral("&Run"), "runAction");
    helpAction = action(QStringLiteral("&VANDO Help"), "helpAction");
    aboutAction = action(QStringLiteral("&About VANDO"), "aboutAction");
    connect(clearFlowsAction, &QAction::triggered, this, &MainWindow::clearAll);
    connect(openAction, &QAction::triggered, this, &MainWindow::chooseParameterFile);
    connect(saveAction, &QAction::triggered, this, &MainWindow::saveParameterFileInPlace);
    connect(saveAsAction, &QAction::triggered, this, &MainWindow::saveParameterFileAs);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    connect(runAction, &QAction::triggered, this, &MainWindow::calculate);
    connect(helpAction, &QAction::triggered, this, &MainWindow::showHelpContents);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &MainWindow::showHelpForFocus);
}

void MainWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(clearFlowsAction);
    file->addSeparator();
    file->addAction(openAction);
    file->addAction(QStringLiteral("Add Gages From the &Web..."), this,
                    &MainWindow::addGagesFromWeb);
    file->addSeparator();
    file->addAction(saveAction);
    file->addAction(saveAsAction);
    file->addSeparator();
    file->addAction(exitAction);
    menuBar()->addAction(runAction);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(helpAction);
    help->addSeparator();
    help->addAction(aboutAction);
}

void MainWindow::createPanels() {
    flowGroup_ = new QGroupBox(QStringLiteral("Flow Data Parameters"));
    season_ = new SeasonPanel(prompts_, flowGroup_);
    model_ = new GageTableModel(analysis_.table(), this);
    model_->setRecordHint([this](const QString& record) { return recordHint(record); });
    gages_ = new GagesPanel(*model_, checkImages_, flowGroup_);
    period_ = new PeriodPanel(flowGroup_);
    comments_ = new CommentsPanel(flowGroup_);
    bio_ = new BiologicalPanel;
    nonBio_ = new NonBiologicalPanel;
}

void MainWindow::createCommandButtons() {
    calculateButton = new QPushButton(QStringLiteral("Calculate Design Flows"));
    exitButton = new QPushButton(QStringLiteral("Exit"));
    helpButton = new QPushButton(QStringLiteral("Help!"));
    calculateButton->setMinimumWidth(137);
    exitButton->setMinimumWidth(75);
    helpButton->setMinimumWidth(75);
    calculateButton->setObjectName(QStringLiteral("calculate"));
    exitButton->setObjectName(QStringLiteral("exit"));
    helpButton->setObjectName(QStringLiteral("help"));
    connect(calculateButton, &QPushButton::clicked, this, &MainWindow::calculate);
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(helpButton, &QPushButton::clicked, this, &MainWindow::showMainWindowHelp);
}

void MainWindow::layoutWindow() {
    // The calculation period sits under the gage table, beside the count of its gages.
    gages_->placeBesideCount(period_);
    auto* flow = new QVBoxLayout(flowGroup_);
    flow->addWidget(season_);
    flow->addWidget(gages_, 1);
    flow->addWidget(comments_);

    auto* commands = new QHBoxLayout;
    commands->addWidget(calculateButton);
    commands->addStretch();
    commands->addWidget(exitButton);
    commands->addWidget(helpButton);

    // A larger window goes to the gage table alone.
    flowGroup_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* rightPanel = new QWidget;
    rightPanel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* right = new QVBoxLayout(rightPanel);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(bio_);
    right->addWidget(nonBio_);
    right->addLayout(commands);
    right->addStretch();

    auto* central = new QWidget(this);
    auto* window = new QHBoxLayout(central);
    window->addWidget(flowGroup_, 1);
    window->addWidget(rightPanel);
    window->setSizeConstraint(QLayout::SetMinimumSize);
    setCentralWidget(central);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

void MainWindow::setHelpContexts() {
    const std::pair<QObject*, int> contexts[] = {
        {this, mainWindowContext}, {flowGroup_, 1002},      {period_, 1003}, {bio_, 1004},
        {nonBio_, 1005},           {calculateButton, 1006}, {comments_, 7}};
    for (const auto& [widget, context] : contexts)
        widget->setProperty(helpContextProperty, context);
}

void MainWindow::createTabOrder() {
    // The layout's order: the season row by row, the file buttons, the table, the period
    // choice with its years, the comments, then the right-hand groups and the commands.
    QList<QWidget*> order = season_->tabOrder();
    order << gages_->tabOrder();
    order << period_->tabOrder();
    order << comments_->tabOrder();
    order << bio_->tabOrder();
    order << nonBio_->tabOrder();
    order << QList<QWidget*>{calculateButton, exitButton, helpButton};
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::connectPanels() {
    // Every edit of a panel is a change of the analysis; another season is read again.
    connect(season_, &SeasonPanel::edited, this, &MainWindow::markChanged);
    connect(season_, &SeasonPanel::seasonChanged, this, &MainWindow::reReadTable);
    connect(period_, &PeriodPanel::edited, this, &MainWindow::markChanged);
    connect(comments_, &CommentsPanel::edited, this, &MainWindow::markChanged);
    connect(bio_, &BiologicalPanel::edited, this, &MainWindow::markChanged);
    connect(nonBio_, &NonBiologicalPanel::edited, this, &MainWindow::markChanged);
}

void MainWindow::markChanged() {
    unsavedChanges = true;
}

bool MainWindow::seasonValid() const {
    return season_->datesValid();
}

QString MainWindow::recordHint(const QString& record) const {
    return periodHint(record, QString::fromStdString(season_->startText()),
                      QString::fromStdString(season_->endText()), seasonYearShift);
}

void MainWindow::checkHelpFile() {
    if (!QFileInfo::exists(helpFile_))
        prompts_.message(nullptr, programName(),
                         QStringLiteral("Help file not found\n") + helpFile_,
                         MessageIcon::information);
}

void MainWindow::startingState() {
    clearTable();
    setCaption(programName());
    period_->choose(vd::run::PeriodKind::all);
    seasonYearShift = 1;
    saveAction->setEnabled(false);
    saveAsAction->setEnabled(false);
    unsavedChanges = false;
    gages_->focusAddFiles();
}

void MainWindow::openArguments(const QStringList& paths) {
    const auto isParameterFile = [](const QString& path) {
        return QFileInfo(path).suffix().compare(QLatin1String("vdp"), Qt::CaseInsensitive) == 0;
    };
    if (paths.size() == 1 && isParameterFile(paths.front())) {
        if (mayDiscardChanges()) openParameterFile(paths.front());
        return;
    }
    QStringList flowFiles;
    for (const QString& path : paths)
        if (!isParameterFile(path)) flowFiles << path;
    if (!flowFiles.isEmpty()) addFlowFiles(flowFiles);
}

int MainWindow::helpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QVariant context = w->property(helpContextProperty);
        if (context.isValid()) return context.toInt();
    }
    return mainWindowContext;
}

void MainWindow::showHelpForFocus() {
    QWidget* focused = focusWidget();
    help_.displayContext(helpContextOf(focused ? focused : this));
}

void MainWindow::showHelpContents() {
    help_.displayTopic();
}

void MainWindow::showMainWindowHelp() {
    help_.displayContext(mainWindowContext);
}

void MainWindow::showAbout() {
    about_->exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (unsavedChanges) {
        const UnsavedChoice choice = prompts_.askToSave(
            this, QStringLiteral("Exiting now will lose changes to the flow data table and "
                                 "parameters. Do you want to save them first?"));
        if (choice == UnsavedChoice::save) saveParameterFileInPlace();
        // Leaving after a save that failed or was cancelled would lose the changes.
        if (choice == UnsavedChoice::cancel || (choice == UnsavedChoice::save && unsavedChanges)) {
            event->ignore();
            return;
        }
    }
    help_.closeAll();
    event->accept();
}

}  // namespace vd::ui
