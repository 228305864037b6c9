#include "vd_main.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "flow_file_cache.h"
#include "flow_reader.h"
#include "gage_grid.h"
#include "gage_table_model.h"
#include "help_viewer.h"
#include "prompts.h"
#include "vd_about.h"
#include "vd_progress.h"

namespace vd::ui {

namespace {

// The gage store keeps parsed files, so that re-reading the table after a season change
// and every calculation run reuse what adding the files has read.
std::unique_ptr<vd::CalcState> makeCalcState() {
    auto s = std::make_unique<vd::CalcState>();
    s->fileCache = std::make_shared<vd::FlowFileCache>();
    return s;
}

constexpr const char* helpContextProperty = "helpContext";
constexpr int mainWindowContext = 1001;

QLineEdit* newEdit(const QString& text, int chars, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    const QFontMetrics fm(edit->font());
    edit->setFixedWidth(fm.horizontalAdvance(QString(chars, QLatin1Char('8'))) + 14);
    return edit;
}

QLabel* newLabel(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

}  // namespace

TForm1::TForm1(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      prompts_(services.prompts),
      help_(services.help),
      lpiii_(services.lpiii),
      reader_(services.reader ? std::move(services.reader) : FlowReader(vd::VDRead)),
      calc_(makeCalcState()),
      checkImages_(makeCheckImages()) {
    mHelpFile = services.helpFile;
    createActions();
    createMenus();
    createFlowDataGroup();
    createBiologicalGroup();
    createNonBiologicalGroup();
    createCommandButtons();
    layoutWindow();
    setHelpContexts();
    createTabOrder();
    connectSeasonHandlers();
    connectParameterHandlers();
    connectGageTable();
    Form2 = new TForm2(this);
    Form6 = new TForm6(this);
    checkHelpFile();
    vd::VDInit(*calc_);
    startingState();
}

TForm1::~TForm1() = default;

void TForm1::createActions() {
    Clearflows1 = new QAction(QStringLiteral("&Clear Flows"), this);
    Open1 = new QAction(QStringLiteral("&Open..."), this);
    Saveas1 = new QAction(QStringLiteral("Save &as..."), this);
    Exit1 = new QAction(QStringLiteral("E&xit"), this);
    Run1 = new QAction(QStringLiteral("&Run"), this);
    VANDOHelp1 = new QAction(QStringLiteral("&VANDO Help"), this);
    AboutVANDO1 = new QAction(QStringLiteral("&About VANDO"), this);
    connect(Clearflows1, &QAction::triggered, this, &TForm1::Button5Click);
    connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
    connect(Saveas1, &QAction::triggered, this, &TForm1::Saveas1Click);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(Run1, &QAction::triggered, this, &TForm1::Run1Click);
    connect(VANDOHelp1, &QAction::triggered, this, &TForm1::VANDOHelp1Click);
    connect(AboutVANDO1, &QAction::triggered, this, &TForm1::AboutVANDO1Click);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &TForm1::HelpHook);
}

void TForm1::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(Clearflows1);
    file->addSeparator();
    file->addAction(Open1);
    file->addAction(QStringLiteral("Add Gages From the &Web..."), this, &TForm1::addGagesFromWeb);
    file->addSeparator();
    file->addAction(Saveas1);
    file->addSeparator();
    file->addAction(Exit1);
    menuBar()->addAction(Run1);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(VANDOHelp1);
    help->addSeparator();
    help->addAction(AboutVANDO1);
}

void TForm1::createFlowDataGroup() {
    flowGroup_ = new QGroupBox(QStringLiteral("Flow Data Parameters"));
    flowGroup_->setMinimumWidth(385);

    Label2 = newLabel(QStringLiteral("Start date of season:"), flowGroup_);
    Edit2 = newEdit(QStringLiteral("Apr 1"), 6, flowGroup_);
    Label13 = newLabel(QStringLiteral("Dates are specified as mmm dd or mm/dd"), flowGroup_);
    Label3 = newLabel(QStringLiteral("End date of season:"), flowGroup_);
    Edit1 = newEdit(QStringLiteral("Mar 31"), 6, flowGroup_);
    CheckBox2 = new QCheckBox(QStringLiteral("Season is full climatic year"), flowGroup_);
    CheckBox2->setChecked(true);
    Edit1->setEnabled(false);
    Label3->setEnabled(false);

    MButton1 = new QPushButton(QStringLiteral("Add Gages From Files..."), flowGroup_);
    MButton1->setToolTip(QStringLiteral("File Selection Dialog"));
    Button1 = new QPushButton(QStringLiteral("Remove Unused Files"), flowGroup_);
    Button5 = new QPushButton(QStringLiteral("Clear All"), flowGroup_);

    gridArea_ = new FileDropArea(flowGroup_);
    StringGrid1 = new GageGrid(gridArea_);
    model_ = new GageTableModel(table_, this);
    model_->setRecordHint([this](const QString& record) { return recordHint(record); });
    StringGrid1->setModel(model_);
    StringGrid1->setItemDelegate(new UseMarkDelegate(checkImages_, StringGrid1));
    StringGrid1->setToolTip(QString::fromLatin1(flowDataHint));
    StringGrid1->applyMetrics();
    origwidth = StringGrid1->contentWidth();
    gridArea_->setFixedSize(origwidth + StringGrid1->scrollBarWidth(),
                            15 * StringGrid1->rowHeight());

    MRG = new QGroupBox(QStringLiteral("Calculation period"), flowGroup_);
    MRG->setMinimumSize(249, 89);
    MRGItems = new QButtonGroup(MRG);
    const QStringList items{QStringLiteral("All available dates"), QStringLiteral("Common dates"),
                            QStringLiteral("Longest period"), QStringLiteral("Specified in table"),
                            QString()};
    for (int i = 0; i < items.size(); ++i) MRGItems->addButton(new QRadioButton(items[i], MRG), i);
    MEdit1 = newEdit(QString(), 4, MRG);
    MEdit2 = newEdit(QString(), 4, MRG);
    MEdit1->setEnabled(false);
    MEdit2->setEnabled(false);

    Label1 = newLabel(QStringLiteral("No gages"), flowGroup_);
    Label1->setWordWrap(true);

    commentsGroup_ = new QGroupBox(QStringLiteral("Comments"), flowGroup_);
    commentsGroup_->setMinimumHeight(73);
    Memo1 = new QPlainTextEdit(commentsGroup_);
    const QFontMetrics fm(Memo1->font());
    Memo1->setFixedHeight(3 * fm.lineSpacing() + 12);
}

void TForm1::createBiologicalGroup() {
    GroupBox1 = new QGroupBox(QStringLiteral("Biological Design Flow Parameters"));
    GroupBox1->setMinimumSize(329, 249);
    CheckBox1 = new QCheckBox(QStringLiteral("Use defaults"), GroupBox1);
    CheckBox1->setChecked(true);
    RadioButton1 =
        new QRadioButton(QStringLiteral("Criterion maximum concentration (acute)"), GroupBox1);
    RadioButton2 =
        new QRadioButton(QStringLiteral("Criterion continuous concentration (chronic)"), GroupBox1);
    RadioButton3 = new QRadioButton(QStringLiteral("Ammonia"), GroupBox1);
    RadioButton1->setChecked(true);
    const QStringList captions{QStringLiteral("Flow averaging period (days):"),
                               QStringLiteral("Average number of years between excursions"),
                               QStringLiteral("Length of excursion clustering period (days)"),
                               QStringLiteral("Average number of excursions counted per cluster:")};
    const QStringList values{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("120"),
                             QStringLiteral("5"), QStringLiteral("1")};
    for (std::size_t i = 0; i < EditBio.size(); ++i) {
        EditBio[i] = newEdit(values[static_cast<int>(i)], 5, GroupBox1);
        EditBio[i]->setEnabled(false);
    }
    EditBio[4]->hide();  // a fifth value that the window keeps but never shows
    for (std::size_t i = 0; i < BioLabels.size(); ++i) {
        BioLabels[i] = newLabel(captions[static_cast<int>(i)], GroupBox1);
        BioLabels[i]->setWordWrap(true);
        BioLabels[i]->setEnabled(false);
        BioLabels[i]->setBuddy(EditBio[i]);
    }
}

void TForm1::createNonBiologicalGroup() {
    GroupBox3 = new QGroupBox(QStringLiteral("Non-Biological Design Flow Parameters"));
    GroupBox3->setMinimumSize(329, 201);
    RadioButton4 = new QRadioButton(QStringLiteral("Hydrological"), GroupBox3);
    RadioButton4->setChecked(true);
    Edit3Caption = newLabel(QStringLiteral("Flow averaging period (days):"), GroupBox3);
    Edit4Caption =
        newLabel(QStringLiteral("Return period on years with excursions (years):"), GroupBox3);
    Edit4Caption->setWordWrap(true);
    Edit3 = newEdit(QStringLiteral("7"), 5, GroupBox3);
    Edit4 = newEdit(QStringLiteral("10"), 5, GroupBox3);
    Edit3Caption->setBuddy(Edit3);
    Edit4Caption->setBuddy(Edit4);
    RadioButton5 = new QRadioButton(QStringLiteral("Explicit flow value:"), GroupBox3);
    Edit5 = newEdit(QStringLiteral("5"), 5, GroupBox3);
    Label8 = newLabel(QStringLiteral("cfs"), GroupBox3);
    RadioButton6 = new QRadioButton(QStringLiteral("Flow percentile:"), GroupBox3);
    Edit6 = newEdit(QStringLiteral("0.1"), 5, GroupBox3);
    Label9 = newLabel(QStringLiteral("%"), GroupBox3);
    for (QWidget* w : {static_cast<QWidget*>(Edit5), static_cast<QWidget*>(Label8),
                       static_cast<QWidget*>(Edit6), static_cast<QWidget*>(Label9)})
        w->setEnabled(false);
}

void TForm1::createCommandButtons() {
    Button2 = new QPushButton(QStringLiteral("Calculate Design Flows"));
    Button4 = new QPushButton(QStringLiteral("Exit"));
    Button3 = new QPushButton(QStringLiteral("Help!"));
    Button2->setMinimumWidth(137);
    Button4->setMinimumWidth(75);
    Button3->setMinimumWidth(75);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Run1Click);
    connect(Button4, &QPushButton::clicked, this, &QWidget::close);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
}

void TForm1::layoutWindow() {
    auto* season = new QGridLayout;
    season->addWidget(Label2, 0, 0);
    season->addWidget(Edit2, 0, 1);
    season->addWidget(Label13, 0, 2);
    season->addWidget(Label3, 1, 0);
    season->addWidget(Edit1, 1, 1);
    season->addWidget(CheckBox2, 1, 2);
    season->setColumnStretch(2, 1);

    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(MButton1);
    fileButtons->addWidget(Button1);
    fileButtons->addWidget(Button5);
    fileButtons->addStretch();

    auto* fifthItem = new QHBoxLayout;
    fifthItem->setSpacing(4);
    fifthItem->addWidget(MRGItems->button(4));
    fifthItem->addWidget(MEdit1);
    fifthItem->addWidget(new QLabel(QStringLiteral("to"), MRG));
    fifthItem->addWidget(MEdit2);
    fifthItem->addStretch();
    auto* period = new QGridLayout(MRG);
    for (int i = 0; i < 3; ++i) period->addWidget(MRGItems->button(i), i, 0);
    period->addWidget(MRGItems->button(3), 0, 1);
    period->addLayout(fifthItem, 1, 1);

    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(MRG);
    periodRow->addWidget(Label1, 1, Qt::AlignTop);

    (new QVBoxLayout(commentsGroup_))->addWidget(Memo1);

    auto* flow = new QVBoxLayout(flowGroup_);
    flow->addLayout(season);
    flow->addLayout(fileButtons);
    flow->addWidget(gridArea_);
    flow->addLayout(periodRow);
    flow->addWidget(commentsGroup_);

    auto* criteria = new QVBoxLayout;
    criteria->addWidget(CheckBox1);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) criteria->addWidget(r);
    auto* bioValues = new QGridLayout;
    for (std::size_t i = 0; i < BioLabels.size(); ++i) {
        bioValues->addWidget(BioLabels[i], static_cast<int>(i), 0);
        bioValues->addWidget(EditBio[i], static_cast<int>(i), 1, Qt::AlignTop);
    }
    bioValues->setColumnStretch(0, 1);
    auto* bio = new QVBoxLayout(GroupBox1);
    bio->addLayout(criteria);
    bio->addSpacing(6);
    bio->addLayout(bioValues);
    bio->addStretch();

    auto* nonBio = new QGridLayout(GroupBox3);
    nonBio->addWidget(RadioButton4, 0, 0, 1, 3);
    nonBio->addWidget(Edit3Caption, 1, 0);
    nonBio->addWidget(Edit3, 1, 1);
    nonBio->addWidget(Edit4Caption, 2, 0);
    nonBio->addWidget(Edit4, 2, 1, Qt::AlignTop);
    nonBio->addWidget(RadioButton5, 3, 0);
    nonBio->addWidget(Edit5, 3, 1);
    nonBio->addWidget(Label8, 3, 2);
    nonBio->addWidget(RadioButton6, 4, 0);
    nonBio->addWidget(Edit6, 4, 1);
    nonBio->addWidget(Label9, 4, 2);
    nonBio->setColumnStretch(0, 1);
    nonBio->setRowStretch(5, 1);
    Edit3Caption->setContentsMargins(20, 0, 0, 0);
    Edit4Caption->setContentsMargins(20, 0, 0, 0);

    auto* commands = new QHBoxLayout;
    commands->addWidget(Button2);
    commands->addStretch();
    commands->addWidget(Button4);
    commands->addWidget(Button3);

    auto* right = new QVBoxLayout;
    right->addWidget(GroupBox1);
    right->addWidget(GroupBox3);
    right->addLayout(commands);
    right->addStretch();

    auto* central = new QWidget(this);
    auto* window = new QHBoxLayout(central);
    window->addWidget(flowGroup_);
    window->addLayout(right);
    window->setSizeConstraint(QLayout::SetFixedSize);
    setCentralWidget(central);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

void TForm1::setHelpContexts() {
    const std::pair<QObject*, int> contexts[] = {
        {this, mainWindowContext}, {flowGroup_, 1002}, {MRG, 1003},        {GroupBox1, 1004},
        {GroupBox3, 1005},         {Button2, 1006},    {commentsGroup_, 7}};
    for (const auto& [widget, context] : contexts)
        widget->setProperty(helpContextProperty, context);
}

void TForm1::createTabOrder() {
    const QList<QWidget*> order{CheckBox2,    Edit2,      Edit1,        MButton1,
                                Button1,      Button5,    StringGrid1,  MRGItems->button(0),
                                Memo1,        CheckBox1,  RadioButton1, EditBio[0],
                                EditBio[1],   EditBio[2], EditBio[3],   RadioButton4,
                                Edit3,        Edit4,      RadioButton5, Edit5,
                                RadioButton6, Edit6,      Button2,      Button4,
                                Button3};
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm1::checkHelpFile() {
    if (!QFileInfo::exists(mHelpFile))
        prompts_.message(nullptr, QStringLiteral("VANDO 3.1b"),
                         QStringLiteral("Help file not found\n") + mHelpFile,
                         MessageIcon::information);
}

void TForm1::startingState() {
    Clear();
    setWindowTitle(QStringLiteral("VANDO 3.1b"));
    MRGItems->button(0)->setChecked(true);
    SDayText = Edit2->text().toStdString();
    EdayText = Edit1->text().toStdString();
    SYAdjust = 1;
    Saveas1->setEnabled(false);
    IsChanged = false;
    MButton1->setFocus();
}

void TForm1::openArguments(const QStringList& paths) {
    if (paths.isEmpty()) return;
    const bool oneParameterFile =
        paths.size() == 1 &&
        QFileInfo(paths.front()).suffix().compare(QLatin1String("vdp"), Qt::CaseInsensitive) == 0;
    if (oneParameterFile)
        openParameterFile(paths.front());
    else
        addFlowFiles(paths);
}

int TForm1::helpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QVariant context = w->property(helpContextProperty);
        if (context.isValid()) return context.toInt();
    }
    return mainWindowContext;
}

void TForm1::HelpHook() {
    QWidget* focused = focusWidget();
    help_.displayContext(helpContextOf(focused ? focused : this));
}

void TForm1::VANDOHelp1Click() {
    help_.displayTopic();
}

void TForm1::Button3Click() {
    help_.displayContext(mainWindowContext);
}

void TForm1::AboutVANDO1Click() {
    Form2->exec();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (IsChanged &&
        !prompts_.confirm(this, QStringLiteral("Exiting now will lose changes to the flow data "
                                               "table and parameters. Are you sure you want to "
                                               "exit?"))) {
        event->ignore();
        return;
    }
    help_.closeAll();
    event->accept();
}

}  // namespace vd::ui
