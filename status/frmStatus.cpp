#include "frmStatus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextCursor>

#include <algorithm>

#include "utilPipe.h"

// Q_INIT_RESOURCE must stand outside any namespace; the resources live in a static
// library, so they are registered explicitly.
static void InitStatusResources() {
    Q_INIT_RESOURCE(status);
}

namespace {

using statuslogic::TwipsSize;

QFont LabelFont() {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(8.25);
    f.setBold(true);
    return f;
}

QFont DetailsFont() {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSizeF(8.25);
    return f;
}

// Design positions (twips, relative to the client area).
constexpr QRect kLblMsg1(240, 240, 5235, 195);
constexpr QRect kLblMsg2(240, 720, 5472, 372);
constexpr QRect kLblMsg3(240, 720, 5175, 375);
constexpr QRect kLblMsg4(240, 720, 5172, 372);
constexpr QRect kProgressBar1(240, 1200, 5052, 372);
constexpr QRect kLblMsg0(240, 1620, 4992, 192);
constexpr QRect kCmdPause(240, 1920, 1095, 495);
constexpr QRect kCmdCancel(1560, 1920, 1095, 495);
constexpr QRect kCmdDetails(2880, 1920, 1095, 495);
constexpr QRect kTxtDetails(240, 2760, 8775, 3135);
constexpr QRect kCmdPictures0(6120, 240, 1095, 615);
constexpr QRect kCmdPictures1(6120, 1200, 1095, 615);

}  // namespace

FrmStatus::FrmStatus(const StatusStartup& startup, QWidget* parent) : QWidget(parent) {
    InitStatusResources();
    dpiX_ = logicalDpiX() > 0 ? logicalDpiX() : 96;
    dpiY_ = logicalDpiY() > 0 ? logicalDpiY() : 96;

    // ---- the design (layout) ----
    setWindowTitle(QStringLiteral("Status"));
    setWindowIcon(QIcon(QStringLiteral(":/status/icons/status.png")));
    iconName_ = QStringLiteral("Status");

    const QFont labelFont = LabelFont();
    const std::array<Qt::Alignment, 5> align = {Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignLeft,
                                                Qt::AlignHCenter, Qt::AlignRight};
    const std::array<QRect, 5> labelRects = {kLblMsg0, kLblMsg1, kLblMsg2, kLblMsg3, kLblMsg4};
    for (std::size_t i = 0; i < lblMsg_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblMsg%1").arg(i));
        label->setFont(labelFont);
        label->setAlignment(align[i] | Qt::AlignTop);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        lblMsg_[i] = label;
        Place(label, labelRects[i]);
    }

    progressBar1_ = new QProgressBar(this);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setRange(0, 100);
    progressBar1_->setTextVisible(false);
    Place(progressBar1_, kProgressBar1);

    auto makeButton = [&](const QString& name, const QString& text, QRect rect) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFont(labelFont);
        b->setAutoDefault(false);
        Place(b, rect);
        return b;
    };
    cmdPause_ = makeButton(QStringLiteral("cmdPause"), QStringLiteral("&Pause"), kCmdPause);
    cmdCancel_ = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), kCmdCancel);
    cmdDetails_ = makeButton(QStringLiteral("cmdDetails"), QStringLiteral("&Output"), kCmdDetails);
    connect(cmdPause_, &QPushButton::clicked, this, [this] { cmdPause_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdDetails_, &QPushButton::clicked, this, [this] { cmdDetails_Click(); });

    txtDetails_ = new QPlainTextEdit(this);
    txtDetails_->setObjectName(QStringLiteral("txtDetails"));
    txtDetails_->setFont(DetailsFont());
    txtDetails_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDetails_->installEventFilter(this);
    Place(txtDetails_, kTxtDetails);

    cmdPictures_[0] =
        makeButton(QStringLiteral("cmdPictures0"), QStringLiteral("Larkon"), kCmdPictures0);
    cmdPictures_[0]->setIcon(QIcon(QStringLiteral(":/status/icons/larkon.png")));
    cmdPictures_[1] =
        makeButton(QStringLiteral("cmdPictures1"), QStringLiteral("Quor"), kCmdPictures1);
    cmdPictures_[1]->setIcon(QIcon(QStringLiteral(":/status/icons/quor.png")));
    for (QPushButton* b : cmdPictures_)
        b->setVisible(false);  // never visible; they only hold icons

    setWindowSizeTwips(statuslogic::kSmallWindow);

    // ---- start-up (Form_Initialize) ----
    pollInterval_ = 100;
    parentProcessId_ = statuslogic::ParentIdFromCommandLine(startup.commandLine);
    if (parentProcessId_ != 0) hParentProcess_ = statusplat::ProcessHandle::Open(parentProcessId_);
    hStdIn_ = startup.stdIn;
    hStdOut_ = startup.stdOut;
    SetHistorySize(100);
    ClearStatus();
    timer1_.setInterval(pollInterval_);
    connect(&timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    timer2_.setInterval(1000);
    connect(&timer2_, &QTimer::timeout, this, [this] { Timer2_Timer(); });
    autoTimers_ = startup.startTimers;
    if (autoTimers_) {
        timer1_.start();
        timer2_.start();
    }
    HideStatus();
}

FrmStatus::~FrmStatus() = default;

// ---------------------------------------------------------------------------------
// Polling, splitting, executing, replies
// ---------------------------------------------------------------------------------

void FrmStatus::PumpEvents() {
    QCoreApplication::processEvents();
}

void FrmStatus::Timer1_Timer() {
    if (ended_ || inTimer1_) return;
    timer1_.stop();
    inTimer1_ = true;
    QString message;
    do {
        message = utilPipe::ReadPipeMessage(hStdIn_, pendingInput_, 0, QStringLiteral("Unnamed"),
                                            statusplat::ProcessHandle());
        if (ended_) break;
        HandleMessage(message);
    } while (!message.isEmpty() && !ended_);
    inTimer1_ = false;
    if (ended_) return;

    // Parent watch.
    if (hParentProcess_.valid()) {
        std::uint32_t code = 0;
        hParentProcess_.QueryExitCode(&code);
        if (code != statusplat::kStillActive) Disconnect();
    }
    if (pollInterval_ != 0 && autoTimers_) timer1_.start(pollInterval_);
}

void FrmStatus::HandleMessage(const QString& message) {
    QString word;
    QString argument;
    if (!statuslogic::SplitMessage(message, &word, &argument)) return;
    ExecuteCommand(word, argument);
}

void FrmStatus::ExecuteCommand(QString& word, QString& argument) {
    if (ended_) return;
    const QString u = word.toUpper();
    auto is = [&u](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (u == QLatin1String(n)) return true;
        return false;
    };

    if (is({"EXIT", "QUIT", "END"})) {
        SendReply(QStringLiteral("E"));
        EndProgram();
        return;
    } else if (is({"CLEAR"})) {
        ClearStatus();
    } else if (is({"REDIM"})) {
        if (const auto n = statuslogic::HistorySizeFromArgument(argument)) SetHistorySize(*n);
    } else if (is({"TERMINATE"})) {
        StopParent();
        return;
    } else if (is({"MSG99", "CLOSE", "HIDE"})) {
        HideStatus();
    } else if (is({"MSG0"})) {
        // only the echo
    } else if (is({"MSG1", "MSG2", "MSG3", "MSG4"})) {
        messageText_[static_cast<std::size_t>(u.at(3).digitValue())] = argument;
    } else if (is({"MSG5", "PROGRESS"})) {
        SetProgress(argument);
    } else if (is({"MSG6", "MSG7", "DBG"})) {
        AddHistoryLine(argument);
        word.clear();
        argument.clear();
    } else if (is({"SHOW"})) {
        ShowAndRaise();
    } else if (is({"MSG10", "OPEN", "INIT"})) {
        ClearStatus();
        if (!argument.isEmpty()) {
            setWindowTitle(argument);
            ChooseIcon();
        }
        ShowAndRaise();
    } else if (is({"CAPTION"})) {
        setWindowTitle(argument);
    } else if (is({"BUTTON", "BUTTOFF"})) {
        const bool visible = u == QLatin1String("BUTTON");
        const QString which = argument.toUpper();
        if (which == QLatin1String("CANCEL")) {
            cmdCancel_->setVisible(visible);
        } else if (which == QLatin1String("PAUSE")) {
            cmdPause_->setVisible(visible);
        } else if (which == QLatin1String("DETAILS") || which == QLatin1String("OUTPUT")) {
            cmdDetails_->setVisible(visible);
        }
    } else if (is({"TEXT"})) {
        if (isNormalState()) {
            const QString a = argument.toUpper();
            if (a == QLatin1String("ON")) {
                const TwipsSize s = statuslogic::TextOnSize(controlTwips(txtDetails_).top());
                setWindowSizeTwips(s);
            } else if (a == QLatin1String("OFF")) {
                setWindowSizeTwips(statuslogic::TextOffSize(controlTwips(cmdDetails_).top()));
            } else {
                txtDetails_->setPlainText(argument);
            }
        }
    } else {
        // Free text.
        if (const auto line = statuslogic::FreeTextLine(word, argument)) {
            lblMsg_[1]->setText(*line);
            lblMsg_[1]->repaint();
        }
    }

    // Echo.
    for (const QString& line : statuslogic::EchoLines(word, argument)) AddHistoryLine(line);
    // The output box's own visibility flag, which nothing clears.
    if (!txtDetails_->isHidden()) ShowHistory();
    PumpEvents();
}

void FrmStatus::SendReply(const QString& text) {
    if (text.isEmpty()) return;
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    statusplat::WritePipe(hStdOut_, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// ---------------------------------------------------------------------------------
// Window operations
// ---------------------------------------------------------------------------------

void FrmStatus::ClearStatus() {
    setWindowTitle(QString());
    for (QLabel* l : lblMsg_) l->setText(QString());
    progressBar1_->setValue(0);
    progressBar1_->setVisible(false);
}

void FrmStatus::ShowStatus() {
    show();
}

void FrmStatus::HideStatus() {
    hide();
}

bool FrmStatus::isTopmost() const {
    return (windowFlags() & Qt::WindowStaysOnTopHint) != 0;
}

bool FrmStatus::isNormalState() const {
    return (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) ==
           0;
}

void FrmStatus::ShowAndRaise() {
    if (!isTopmost()) {
        // Changing the flags re-creates the native window; keep its place.
        const QPoint where = pos();
        const bool wasCreated = testAttribute(Qt::WA_WState_Created);
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (wasCreated) move(where);
    }
    ShowStatus();
    // The offscreen platform of the tests cannot raise windows and says so on each call.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
}

void FrmStatus::ChooseIcon() {
    const QString caption = windowTitle();
    for (QPushButton* b : cmdPictures_) {
        if (caption.contains(b->text().toUpper(), Qt::CaseSensitive)) {
            setWindowIcon(b->icon());
            iconName_ = b->text();
            return;
        }
    }
}

void FrmStatus::SetProgress(const QString& argument) {
    const QTime now = QTime::currentTime();
    const statuslogic::ProgressUpdate u =
        estimator_.Apply(argument, now.msecsSinceStartOfDay() / 1000.0, now);
    switch (u.line0) {
        case statuslogic::ProgressUpdate::Line0::Clear:
            lblMsg_[0]->setText(QString());
            break;
        case statuslogic::ProgressUpdate::Line0::Set:
            lblMsg_[0]->setText(u.line0Text);
            break;
        case statuslogic::ProgressUpdate::Line0::Keep:
            break;
    }
    if (u.barHidden) {
        progressBar1_->setVisible(false);
    } else {
        progressBar1_->setValue(u.barValue);
        if (isVisible()) progressBar1_->setVisible(true);
    }
}

void FrmStatus::SetHistorySize(qint32 n) {
    history_.SetSize(n);
}

void FrmStatus::AddHistoryLine(const QString& s) {
    history_.Add(utilPipe::TimeOfDayText() + QStringLiteral(" - ") + s);
}

void FrmStatus::ShowHistory() {
    QString text = history_.Render();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtDetails_->setPlainText(text);
    txtDetails_->moveCursor(QTextCursor::End);
    txtDetails_->ensureCursorVisible();
}

void FrmStatus::Timer2_Timer() {
    if (ended_) return;
    for (std::size_t n = 1; n <= 4; ++n) {
        if (lblMsg_[n]->text() != messageText_[n]) {
            lblMsg_[n]->setText(messageText_[n]);
            lblMsg_[n]->repaint();
        }
    }
}

void FrmStatus::StopParent() {
    std::uint32_t x = 0;
    bool q = false;
    int polls = 0;
    for (int i = 1; i <= 1000; ++i) {
        lblMsg_[1]->setText(QStringLiteral("Terminate, Wait for AutoClose %1").arg(i));
        ShowStatus();
        PumpEvents();
        if (ended_) return;
        polls = i;
        q = hParentProcess_.QueryExitCode(&x);
        if (x != statusplat::kStillActive) break;
    }
    if (polls == 1000) {
        lblMsg_[1]->setText(QStringLiteral("Terminate, AutoClose Failed"));
        PumpEvents();
        if (ended_) return;
        const bool k = hParentProcess_.Terminate(0);
        const QString crlf = QStringLiteral("\r\n");
        QString text;
        if (k) {
            text = QStringLiteral("Larkon Terminated by Status Monitor") + crlf +
                   QString::number(q ? 1 : 0) + QLatin1Char(':') + QString::number(k ? 1 : 0) +
                   QLatin1Char(':') + QString::number(x);
        } else {
            text = QStringLiteral("Error Terminating Process") + crlf +
                   QStringLiteral("Use Task Manager to End Process") + crlf +
                   QString::number(q ? 1 : 0) + QStringLiteral(":0:") + QString::number(x);
        }
        QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                        QMessageBox::Ok, this);
        box.exec();
    }
    EndProgram();
}

void FrmStatus::Disconnect() {
    ShowStatus();
    setWindowTitle(QStringLiteral("Parent process exited."));
    pollInterval_ = 0;
    timer1_.stop();
    cmdPause_->setVisible(false);
    cmdCancel_->setVisible(true);
    cmdCancel_->setText(QStringLiteral("Close"));
    cmdDetails_->setVisible(true);
}

void FrmStatus::EndProgram() {
    if (ended_) return;
    ended_ = true;
    timer1_.stop();
    timer2_.stop();
    hide();
    if (onEndProgram) {
        onEndProgram();
    } else {
        QCoreApplication::exit(0);
    }
}

// ---- buttons ----

void FrmStatus::cmdPause_Click() {
    if (cmdPause_->text() == QLatin1String("&Pause")) {
        SendReply(QStringLiteral("P"));
        cmdPause_->setText(QStringLiteral("&Resume"));
    } else {
        SendReply(QStringLiteral("R"));
        cmdPause_->setText(QStringLiteral("&Pause"));
    }
}

void FrmStatus::cmdCancel_Click() {
    if (pollInterval_ != 0) {
        SendReply(QStringLiteral("C"));
        HideStatus();
    } else {
        close();
    }
}

void FrmStatus::cmdDetails_Click() {
    if (!isNormalState()) return;
    setWindowSizeTwips(statuslogic::OutputButtonSize(formHeight_));
}

// ---- window events ----

void FrmStatus::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    if (pollInterval_ != 0) {
        HideStatus();
        event->ignore();
        return;
    }
    event->accept();
    EndProgram();
}

bool FrmStatus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDetails_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F10) {
        QString word;
        QString argument;
        if (statuslogic::SplitTypedCommand(txtDetails_->toPlainText(), &word, &argument))
            ExecuteCommand(word, argument);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmStatus::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize expected(
        statuslogic::TwipsToPixels(formWidth_ - statuslogic::kFrameWidth, dpiX_),
        statuslogic::TwipsToPixels(formHeight_ - statuslogic::kFrameHeight, dpiY_));
    if (event->size() != expected) {
        // A size change that we did not make (the user, the window manager): take it in twips.
        formWidth_ =
            statuslogic::PixelsToTwips(event->size().width(), dpiX_) + statuslogic::kFrameWidth;
        formHeight_ =
            statuslogic::PixelsToTwips(event->size().height(), dpiY_) + statuslogic::kFrameHeight;
    }
    FormResize();
}

void FrmStatus::FormResize() {
    const statuslogic::ResizeResult r = statuslogic::ResizeRule(formWidth_, formHeight_);
    if (r.controlsWidth) {
        SetControlWidth(progressBar1_, *r.controlsWidth);
        SetControlWidth(txtDetails_, *r.controlsWidth);
        for (QLabel* l : lblMsg_) SetControlWidth(l, *r.controlsWidth);
    }
    if (r.detailsHeight) SetControlHeight(txtDetails_, *r.detailsHeight);
}

void FrmStatus::setWindowSizeTwips(TwipsSize size) {
    formWidth_ = size.width;
    formHeight_ = size.height;
    const int w =
        std::max(1, statuslogic::TwipsToPixels(size.width - statuslogic::kFrameWidth, dpiX_));
    const int h =
        std::max(1, statuslogic::TwipsToPixels(size.height - statuslogic::kFrameHeight, dpiY_));
    resize(w, h);
    FormResize();  // also while hidden, when Qt delivers the resize event only at the next show
}

// ---- placing controls in twips ----

QRect FrmStatus::ToPixels(QRect t) const {
    const int x = statuslogic::TwipsToPixels(t.left(), dpiX_);
    const int y = statuslogic::TwipsToPixels(t.top(), dpiY_);
    const int w = statuslogic::TwipsToPixels(t.width(), dpiX_);
    const int h = statuslogic::TwipsToPixels(t.height(), dpiY_);
    return {x, y, std::max(1, w), std::max(1, h)};
}

void FrmStatus::Place(QWidget* control, QRect twips) {
    placed_.push_back({control, twips});
    control->setGeometry(ToPixels(twips));
}

QRect FrmStatus::controlTwips(const QWidget* control) const {
    for (const Placed& p : placed_)
        if (p.control == control) return p.twips;
    return {};
}

void FrmStatus::SetControlWidth(QWidget* control, int widthTwips) {
    for (Placed& p : placed_) {
        if (p.control == control) {
            p.twips.setWidth(widthTwips);
            control->setGeometry(ToPixels(p.twips));
        }
    }
}

void FrmStatus::SetControlHeight(QWidget* control, int heightTwips) {
    for (Placed& p : placed_) {
        if (p.control == control) {
            p.twips.setHeight(heightTwips);
            control->setGeometry(ToPixels(p.twips));
        }
    }
}
