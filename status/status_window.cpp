#include "status_window.h"

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

#include "pipe_protocol.h"

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
constexpr QRect kMessageLabel1(240, 240, 5235, 195);
constexpr QRect kMessageLabel2(240, 720, 5472, 372);
constexpr QRect kMessageLabel3(240, 720, 5175, 375);
constexpr QRect kMessageLabel4(240, 720, 5172, 372);
constexpr QRect kProgressBar(240, 1200, 5052, 372);
constexpr QRect kMessageLabel0(240, 1620, 4992, 192);
constexpr QRect kPauseButton(240, 1920, 1095, 495);
constexpr QRect kCancelButton(1560, 1920, 1095, 495);
constexpr QRect kOutputButton(2880, 1920, 1095, 495);
constexpr QRect kOutputBox(240, 2760, 8775, 3135);
constexpr QRect kPictureButton0(6120, 240, 1095, 615);
constexpr QRect kPictureButton1(6120, 1200, 1095, 615);

}  // namespace

StatusWindow::StatusWindow(const StatusStartup& startup, QWidget* parent) : QWidget(parent) {
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
    const std::array<QRect, 5> labelRects = {kMessageLabel0, kMessageLabel1, kMessageLabel2,
                                             kMessageLabel3, kMessageLabel4};
    for (std::size_t i = 0; i < messageLabels_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("messageLabel%1").arg(i));
        label->setFont(labelFont);
        label->setAlignment(align[i] | Qt::AlignTop);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        messageLabels_[i] = label;
        Place(label, labelRects[i]);
    }

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 100);
    progressBar_->setTextVisible(false);
    Place(progressBar_, kProgressBar);

    auto makeButton = [&](const QString& name, const QString& text, QRect rect) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFont(labelFont);
        b->setAutoDefault(false);
        Place(b, rect);
        return b;
    };
    pauseButton_ =
        makeButton(QStringLiteral("pauseButton"), QStringLiteral("&Pause"), kPauseButton);
    cancelButton_ =
        makeButton(QStringLiteral("cancelButton"), QStringLiteral("Cancel"), kCancelButton);
    outputButton_ =
        makeButton(QStringLiteral("outputButton"), QStringLiteral("&Output"), kOutputButton);
    connect(pauseButton_, &QPushButton::clicked, this, [this] { onPauseClicked(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { onCancelClicked(); });
    connect(outputButton_, &QPushButton::clicked, this, [this] { onOutputClicked(); });

    outputBox_ = new QPlainTextEdit(this);
    outputBox_->setObjectName(QStringLiteral("outputBox"));
    outputBox_->setFont(DetailsFont());
    outputBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outputBox_->installEventFilter(this);
    Place(outputBox_, kOutputBox);

    pictureButtons_[0] =
        makeButton(QStringLiteral("pictureButton0"), QStringLiteral("Larkon"), kPictureButton0);
    pictureButtons_[0]->setIcon(QIcon(QStringLiteral(":/status/icons/larkon.png")));
    pictureButtons_[1] =
        makeButton(QStringLiteral("pictureButton1"), QStringLiteral("Quor"), kPictureButton1);
    pictureButtons_[1]->setIcon(QIcon(QStringLiteral(":/status/icons/quor.png")));
    for (QPushButton* b : pictureButtons_)
        b->setVisible(false);  // never visible; they only hold icons

    setWindowSizeTwips(statuslogic::kSmallWindow);

    // ---- start-up ----
    pollInterval_ = 100;
    parentProcessId_ = statuslogic::ParentIdFromCommandLine(startup.commandLine);
    if (parentProcessId_ != 0) parentProcess_ = statusplat::ProcessHandle::Open(parentProcessId_);
    stdIn_ = startup.stdIn;
    stdOut_ = startup.stdOut;
    SetHistorySize(100);
    ClearStatus();
    pollTimer_.setInterval(pollInterval_);
    connect(&pollTimer_, &QTimer::timeout, this, [this] { onPollTimer(); });
    refreshTimer_.setInterval(1000);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] { onRefreshTimer(); });
    autoTimers_ = startup.startTimers;
    if (autoTimers_) {
        pollTimer_.start();
        refreshTimer_.start();
    }
    HideStatus();
}

StatusWindow::~StatusWindow() = default;

// ---------------------------------------------------------------------------------
// Polling, splitting, executing, replies
// ---------------------------------------------------------------------------------

void StatusWindow::PumpEvents() {
    QCoreApplication::processEvents();
}

void StatusWindow::onPollTimer() {
    if (ended_ || polling_) return;
    pollTimer_.stop();
    polling_ = true;
    ++pollCount_;
    QString message;
    do {
        message = statuspipe::ReadPipeMessage(stdIn_, pendingInput_, 0, QStringLiteral("Unnamed"),
                                              statusplat::ProcessHandle());
        if (ended_) break;
        HandleMessage(message);
    } while (!message.isEmpty() && !ended_);
    polling_ = false;
    if (ended_) return;

    // Parent watch.
    if (parentProcess_.valid()) {
        std::uint32_t code = 0;
        parentProcess_.QueryExitCode(&code);
        if (code != statusplat::kStillActive) Disconnect();
    }
    if (pollInterval_ != 0 && autoTimers_) pollTimer_.start(pollInterval_);
}

void StatusWindow::HandleMessage(const QString& message) {
    QString word;
    QString argument;
    if (!statuslogic::SplitMessage(message, &word, &argument)) return;
    ExecuteCommand(word, argument);
}

void StatusWindow::ExecuteCommand(QString& word, QString& argument) {
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
            cancelButton_->setVisible(visible);
        } else if (which == QLatin1String("PAUSE")) {
            pauseButton_->setVisible(visible);
        } else if (which == QLatin1String("DETAILS") || which == QLatin1String("OUTPUT")) {
            outputButton_->setVisible(visible);
        }
    } else if (is({"TEXT"})) {
        if (isNormalState()) {
            const QString a = argument.toUpper();
            if (a == QLatin1String("ON")) {
                const TwipsSize s = statuslogic::TextOnSize(controlTwips(outputBox_).top());
                setWindowSizeTwips(s);
            } else if (a == QLatin1String("OFF")) {
                setWindowSizeTwips(statuslogic::TextOffSize(controlTwips(outputButton_).top()));
            } else {
                outputBox_->setPlainText(argument);
            }
        }
    } else {
        // Free text.
        if (const auto line = statuslogic::FreeTextLine(word, argument)) {
            messageLabels_[1]->setText(*line);
            messageLabels_[1]->repaint();
        }
    }

    // Echo.
    for (const QString& line : statuslogic::EchoLines(word, argument)) AddHistoryLine(line);
    // The output box's own visibility flag, which nothing clears.
    if (!outputBox_->isHidden()) ShowHistory();
    PumpEvents();
}

void StatusWindow::SendReply(const QString& text) {
    if (text.isEmpty()) return;
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    statusplat::WritePipe(stdOut_, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// ---------------------------------------------------------------------------------
// Window operations
// ---------------------------------------------------------------------------------

void StatusWindow::ClearStatus() {
    setWindowTitle(QString());
    for (QLabel* l : messageLabels_) l->setText(QString());
    progressBar_->setValue(0);
    progressBar_->setVisible(false);
}

void StatusWindow::ShowStatus() {
    show();
}

void StatusWindow::HideStatus() {
    hide();
}

bool StatusWindow::isTopmost() const {
    return (windowFlags() & Qt::WindowStaysOnTopHint) != 0;
}

bool StatusWindow::isNormalState() const {
    return (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) ==
           0;
}

void StatusWindow::ShowAndRaise() {
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

void StatusWindow::ChooseIcon() {
    const QString caption = windowTitle();
    for (QPushButton* b : pictureButtons_) {
        if (caption.contains(b->text().toUpper(), Qt::CaseSensitive)) {
            setWindowIcon(b->icon());
            iconName_ = b->text();
            return;
        }
    }
}

void StatusWindow::SetProgress(const QString& argument) {
    const QTime now = QTime::currentTime();
    const statuslogic::ProgressUpdate u =
        estimator_.Apply(argument, now.msecsSinceStartOfDay() / 1000.0, now);
    switch (u.line0) {
        case statuslogic::ProgressUpdate::Line0::Clear:
            messageLabels_[0]->setText(QString());
            break;
        case statuslogic::ProgressUpdate::Line0::Set:
            messageLabels_[0]->setText(u.line0Text);
            break;
        case statuslogic::ProgressUpdate::Line0::Keep:
            break;
    }
    if (u.barHidden) {
        progressBar_->setVisible(false);
    } else {
        progressBar_->setValue(u.barValue);
        if (isVisible()) progressBar_->setVisible(true);
    }
}

void StatusWindow::SetHistorySize(qint32 n) {
    history_.SetSize(n);
}

void StatusWindow::AddHistoryLine(const QString& s) {
    history_.Add(statuspipe::TimeOfDayText() + QStringLiteral(" - ") + s);
}

void StatusWindow::ShowHistory() {
    QString text = history_.Render();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    outputBox_->setPlainText(text);
    outputBox_->moveCursor(QTextCursor::End);
    outputBox_->ensureCursorVisible();
}

void StatusWindow::onRefreshTimer() {
    if (ended_) return;
    ++refreshCount_;
    for (std::size_t n = 1; n <= 4; ++n) {
        if (messageLabels_[n]->text() != messageText_[n]) {
            messageLabels_[n]->setText(messageText_[n]);
            messageLabels_[n]->repaint();
        }
    }
}

void StatusWindow::StopParent() {
    std::uint32_t x = 0;
    bool q = false;
    int polls = 0;
    for (int i = 1; i <= 1000; ++i) {
        messageLabels_[1]->setText(QStringLiteral("Terminate, Wait for AutoClose %1").arg(i));
        ShowStatus();
        PumpEvents();
        if (ended_) return;
        polls = i;
        q = parentProcess_.QueryExitCode(&x);
        if (x != statusplat::kStillActive) break;
    }
    if (polls == 1000) {
        messageLabels_[1]->setText(QStringLiteral("Terminate, AutoClose Failed"));
        PumpEvents();
        if (ended_) return;
        const bool k = parentProcess_.Terminate(0);
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

void StatusWindow::Disconnect() {
    ShowStatus();
    setWindowTitle(QStringLiteral("Parent process exited."));
    pollInterval_ = 0;
    pollTimer_.stop();
    pauseButton_->setVisible(false);
    cancelButton_->setVisible(true);
    cancelButton_->setText(QStringLiteral("Close"));
    outputButton_->setVisible(true);
}

void StatusWindow::EndProgram() {
    if (ended_) return;
    ended_ = true;
    pollTimer_.stop();
    refreshTimer_.stop();
    hide();
    if (onEndProgram) {
        onEndProgram();
    } else {
        QCoreApplication::exit(0);
    }
}

// ---- buttons ----

void StatusWindow::onPauseClicked() {
    if (pauseButton_->text() == QLatin1String("&Pause")) {
        SendReply(QStringLiteral("P"));
        pauseButton_->setText(QStringLiteral("&Resume"));
    } else {
        SendReply(QStringLiteral("R"));
        pauseButton_->setText(QStringLiteral("&Pause"));
    }
}

void StatusWindow::onCancelClicked() {
    if (pollInterval_ != 0) {
        SendReply(QStringLiteral("C"));
        HideStatus();
    } else {
        close();
    }
}

void StatusWindow::onOutputClicked() {
    if (!isNormalState()) return;
    setWindowSizeTwips(statuslogic::OutputButtonSize(formHeight_));
}

// ---- window events ----

void StatusWindow::closeEvent(QCloseEvent* event) {
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

bool StatusWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == outputBox_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F10) {
        QString word;
        QString argument;
        if (statuslogic::SplitTypedCommand(outputBox_->toPlainText(), &word, &argument))
            ExecuteCommand(word, argument);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void StatusWindow::resizeEvent(QResizeEvent* event) {
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
    LayOutControls();
}

void StatusWindow::LayOutControls() {
    const statuslogic::ResizeResult r = statuslogic::ResizeRule(formWidth_, formHeight_);
    if (r.controlsWidth) {
        SetControlWidth(progressBar_, *r.controlsWidth);
        SetControlWidth(outputBox_, *r.controlsWidth);
        for (QLabel* l : messageLabels_) SetControlWidth(l, *r.controlsWidth);
    }
    if (r.detailsHeight) SetControlHeight(outputBox_, *r.detailsHeight);
}

void StatusWindow::setWindowSizeTwips(TwipsSize size) {
    formWidth_ = size.width;
    formHeight_ = size.height;
    const int w =
        std::max(1, statuslogic::TwipsToPixels(size.width - statuslogic::kFrameWidth, dpiX_));
    const int h =
        std::max(1, statuslogic::TwipsToPixels(size.height - statuslogic::kFrameHeight, dpiY_));
    resize(w, h);
    LayOutControls();  // also while hidden, when Qt delivers the resize event only at the next show
}

// ---- placing controls in twips ----

QRect StatusWindow::ToPixels(QRect t) const {
    const int x = statuslogic::TwipsToPixels(t.left(), dpiX_);
    const int y = statuslogic::TwipsToPixels(t.top(), dpiY_);
    const int w = statuslogic::TwipsToPixels(t.width(), dpiX_);
    const int h = statuslogic::TwipsToPixels(t.height(), dpiY_);
    return {x, y, std::max(1, w), std::max(1, h)};
}

void StatusWindow::Place(QWidget* control, QRect twips) {
    placed_.push_back({control, twips});
    control->setGeometry(ToPixels(twips));
}

QRect StatusWindow::controlTwips(const QWidget* control) const {
    for (const Placed& p : placed_)
        if (p.control == control) return p.twips;
    return {};
}

void StatusWindow::SetControlWidth(QWidget* control, int widthTwips) {
    for (Placed& p : placed_) {
        if (p.control == control) {
            p.twips.setWidth(widthTwips);
            control->setGeometry(ToPixels(p.twips));
        }
    }
}

void StatusWindow::SetControlHeight(QWidget* control, int heightTwips) {
    for (Placed& p : placed_) {
        if (p.control == control) {
            p.twips.setHeight(heightTwips);
            control->setGeometry(ToPixels(p.twips));
        }
    }
}
