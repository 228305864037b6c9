// The status window in-process (Qt Test, offscreen): StatusWindow on real pipes for its
// standard input and output, its timers driven by hand.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform.h"
#include "status_logic.h"
#include "status_window.h"

namespace {

QString S(const char* s) {
    return QString::fromLatin1(s);
}

// The form with a pipe on its standard input and one on its standard output.
struct Rig {
    explicit Rig(const QString& commandLine = QString()) {
        int in[2];
        int out[2];
        QVERIFY(::pipe(in) == 0);
        QVERIFY(::pipe(out) == 0);
        inRead = in[0];
        inWrite = in[1];
        outRead = out[0];
        outWrite = out[1];
        fcntl(outRead, F_SETFL, O_NONBLOCK);
        StatusStartup s;
        s.commandLine = commandLine;
        s.stdIn = inRead;
        s.stdOut = outWrite;
        s.startTimers = false;
        form = std::make_unique<StatusWindow>(s);
        form->onEndProgram = [this] { ++ends; };
    }
    ~Rig() {
        form.reset();
        for (int fd : {inRead, inWrite, outRead, outWrite}) ::close(fd);
    }
    void Write(const std::string& s) const {
        QCOMPARE(::write(inWrite, s.data(), s.size()), static_cast<ssize_t>(s.size()));
    }
    QByteArray Replies() const {
        QByteArray all;
        char buf[256];
        for (;;) {
            const ssize_t n = ::read(outRead, buf, sizeof buf);
            if (n <= 0) break;
            all.append(buf, n);
        }
        return all;
    }
    void Command(const char* message) const { form->HandleMessage(S(message)); }
    QString LastHistoryLine() const {
        const QStringList lines = form->history().Render().split(S("\r\n"), Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.back();
    }

    int inRead = -1, inWrite = -1, outRead = -1, outWrite = -1;
    int ends = 0;
    std::unique_ptr<StatusWindow> form;
};

QByteArray Reply(char c) {
    return QByteArray(1, c) + QByteArray(1, '\0');
}

// A child process standing in for the parent: it waits until killed.
pid_t StartWaitingChild() {
    const pid_t pid = fork();
    if (pid == 0) {
        for (;;) pause();
    }
    return pid;
}

// Waits (generously) until the child has exited, without reaping it.
bool WaitChildExited(pid_t pid) {
    for (int i = 0; i < 4000; ++i) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == pid)
            return true;
        statusplat::SleepMs(5);
    }
    return false;
}

}  // namespace

class TestStatusWindow : public QObject {
    Q_OBJECT

  private slots:
    void startUpState();
    void messageSplitOverTwoPolls();
    void outputButtonGeometry();
    void textCommand();
    void textWhileMinimisedDoesNothing();
    void initChoosesIcon_data();
    void initChoosesIcon();
    void buttonCommands();
    void clearAndRefresh();
    void freeText();
    void typedCommandF10();
    void pauseResumeCancel();
    void closeWhileConnectedHides();
    void exitReplies();
    void progressBarAndEstimate();
    void redimAndDbg();
    void stdinNotAPipe();
    void parentWatchDisconnects();
    void terminateWithoutParent();
    void terminateParentAlreadyGone();
    void terminateLiveParent();
};

void TestStatusWindow::startUpState() {
    Rig r;
    StatusWindow& f = *r.form;
    QVERIFY(!f.isVisible());
    QCOMPARE(f.windowTitle(), QString());
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{5652, 2900}));
    QCOMPARE(f.pollInterval(), 100);
    QCOMPARE(f.history().historyMax(), 100);
    QVERIFY(!f.hasParentHandle());
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(f.pauseButton()->text(), S("&Pause"));
    QCOMPARE(f.cancelButton()->text(), S("Cancel"));
    QCOMPARE(f.outputButton()->text(), S("&Output"));
    QVERIFY(!f.pauseButton()->isHidden() && !f.cancelButton()->isHidden() &&
            !f.outputButton()->isHidden());
    QVERIFY(f.pictureButton(0)->isHidden() && f.pictureButton(1)->isHidden());
    QCOMPARE(f.pictureButton(0)->text(), S("Larkon"));
    QCOMPARE(f.pictureButton(1)->text(), S("Quor"));
    QVERIFY(!f.pictureButton(0)->icon().isNull() && !f.pictureButton(1)->icon().isNull());
    QVERIFY(!f.windowIcon().isNull());
    // Resizing at 5652 wide: the controls are 4992 wide; the output box keeps 3135.
    for (int i = 0; i <= 4; ++i) QCOMPARE(f.controlTwips(f.messageLabel(i)).width(), 4992);
    QCOMPARE(f.controlTwips(f.progressBar()).width(), 4992);
    QCOMPARE(f.controlTwips(f.outputBox()), QRect(240, 2760, 4992, 3135));
    QCOMPARE(f.controlTwips(f.cancelButton()), QRect(1560, 1920, 1095, 495));
    // In pixels at the screen's logical DPI.
    const double dpi = f.logicalDpiX();
    QCOMPARE(f.width(), statuslogic::TwipsToPixels(5550, dpi));
    QCOMPARE(f.messageLabel(1)->width(), statuslogic::TwipsToPixels(4992, dpi));
    QCOMPARE(f.cancelButton()->x(), statuslogic::TwipsToPixels(1560, dpi));
}

void TestStatusWindow::messageSplitOverTwoPolls() {
    Rig r;
    r.Write("(MSG1 Hello");
    r.form->onPollTimer();
    QCOMPARE(r.form->messageText(1), QString());
    QCOMPARE(r.form->pendingInput(), S("(MSG1 Hello"));
    r.Write(")(MSG2 World)");
    r.form->onPollTimer();
    QCOMPARE(r.form->messageText(1), S("Hello"));
    QCOMPARE(r.form->messageText(2), S("World"));
    QCOMPARE(r.form->pendingInput(), QString());
    // Lines 1 to 4 change on screen only through the one-second refresh.
    QCOMPARE(r.form->messageLabel(1)->text(), QString());
    r.form->onRefreshTimer();
    QCOMPARE(r.form->messageLabel(1)->text(), S("Hello"));
    QCOMPARE(r.form->messageLabel(2)->text(), S("World"));
}

void TestStatusWindow::outputButtonGeometry() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("SHOW");
    f.outputButton()->click();
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{10000, 6444}));
    QCOMPARE(f.controlTwips(f.outputBox()).height(), 3144);
    QCOMPARE(f.controlTwips(f.outputBox()).width(), 9340);
    QCOMPARE(f.controlTwips(f.messageLabel(3)).width(), 9340);
    QCOMPARE(f.controlTwips(f.outputButton()),
             QRect(2880, 1920, 1095, 495));  // buttons do not move
    QTRY_COMPARE(f.height(), statuslogic::TwipsToPixels(6444 - 320, f.logicalDpiY()));
    f.outputButton()->click();
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{5652, 2900}));
    QCOMPARE(f.controlTwips(f.outputBox()).width(), 4992);
    QCOMPARE(f.controlTwips(f.outputBox()).height(), 3144);  // keeps its height
    // After "TEXT OFF" the window is 3120 high: Output makes it small.
    r.Command("TEXT OFF");
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{6000, 3120}));
    f.outputButton()->click();
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{5652, 2900}));
    // A size change made by the user follows the same rules.
    f.resize(statuslogic::TwipsToPixels(8000 - 102, f.logicalDpiX()),
             statuslogic::TwipsToPixels(5000 - 320, f.logicalDpiY()));
    QTRY_VERIFY(std::abs(f.windowSizeTwips().width - 8000) <= 20);
    QVERIFY(std::abs(f.controlTwips(f.outputBox()).width() - (8000 - 660)) <= 20);
    QVERIFY(std::abs(f.controlTwips(f.outputBox()).height() - (5000 - 3300)) <= 20);
}

void TestStatusWindow::textCommand() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("text on");
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{10000, 6900}));
    QCOMPARE(f.controlTwips(f.outputBox()).height(), 3600);
    // Any other text stands in the box only until the rendering at the end of the command.
    r.Command("TEXT hello");
    const QString shown = f.outputBox()->toPlainText();
    QVERIFY(!shown.startsWith(S("hello")));
    QVERIFY(shown.contains(S(" - TEXT hello")));
    QVERIFY(shown.contains(S(" - text on")));
}

void TestStatusWindow::textWhileMinimisedDoesNothing() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("SHOW");
    f.setWindowState(Qt::WindowMinimized);
    r.Command("TEXT ON");
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{5652, 2900}));
    QVERIFY(r.LastHistoryLine().endsWith(S(" - TEXT ON")));
    f.outputButton()->click();  // Output only in the normal state, too
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{5652, 2900}));
    f.setWindowState(Qt::WindowNoState);
    r.Command("TEXT ON");
    QCOMPARE(f.windowSizeTwips(), (statuslogic::TwipsSize{10000, 6900}));
}

void TestStatusWindow::initChoosesIcon_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("icon");
    QTest::newRow("upper-case Larkon")
        << S("INIT LARKON run 3") << S("LARKON run 3") << S("Larkon");
    QTest::newRow("mixed case: no change")
        << S("INIT Larkon run 3") << S("Larkon run 3") << S("Status");
    QTest::newRow("Quor") << S("OPEN the QUOR model") << S("the QUOR model") << S("Quor");
    QTest::newRow("both: first wins")
        << S("MSG10 QUOR and LARKON") << S("QUOR and LARKON") << S("Larkon");
    QTest::newRow("empty caption") << S("INIT") << QString() << S("Status");
}

void TestStatusWindow::initChoosesIcon() {
    QFETCH(QString, command);
    QFETCH(QString, caption);
    QFETCH(QString, icon);
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("CAPTION before");
    f.messageLabel(1)->setText(S("old"));
    f.HandleMessage(command);
    QCOMPARE(f.windowTitle(), caption);
    QCOMPARE(f.iconName(), icon);
    QCOMPARE(f.messageLabel(1)->text(), QString());  // ClearStatus first
    QVERIFY(f.isVisible());
    QVERIFY(f.isTopmost());
}

void TestStatusWindow::buttonCommands() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("BUTTOFF cancel");
    QVERIFY(f.cancelButton()->isHidden());
    r.Command("BUTTON Cancel");
    QVERIFY(!f.cancelButton()->isHidden());
    r.Command("BUTTOFF PAUSE");
    QVERIFY(f.pauseButton()->isHidden());
    r.Command("BUTTOFF details");
    QVERIFY(f.outputButton()->isHidden());
    r.Command("BUTTON output");
    QVERIFY(!f.outputButton()->isHidden());
    r.Command("BUTTON ok");
    QVERIFY(f.pauseButton()->isHidden());
    QVERIFY(r.LastHistoryLine().endsWith(S(" - BUTTON ok")));
}

void TestStatusWindow::clearAndRefresh() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("INIT Job");
    r.Command("MSG1 one");
    r.Command("MSG4 four");
    r.Command("PROGRESS 40");
    f.onRefreshTimer();
    QCOMPARE(f.messageLabel(1)->text(), S("one"));
    QVERIFY(!f.progressBar()->isHidden());
    r.Command("CLEAR");
    QCOMPARE(f.windowTitle(), QString());
    for (int i = 0; i <= 4; ++i) QCOMPARE(f.messageLabel(i)->text(), QString());
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(f.progressBar()->value(), 0);
    f.onRefreshTimer();
    QCOMPARE(f.messageLabel(1)->text(), S("one"));
    QCOMPARE(f.messageLabel(4)->text(), S("four"));
    QCOMPARE(f.messageLabel(0)->text(), QString());  // line 0 is not refreshed
}

void TestStatusWindow::freeText() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("MSG1 kept");
    r.Command("Hello world");
    QCOMPARE(f.messageLabel(1)->text(), S("Hello world"));
    QVERIFY(r.LastHistoryLine().endsWith(S(" - Hello world")));
    f.onRefreshTimer();
    QCOMPARE(f.messageLabel(1)->text(), S("kept"));
    r.Write("(Line1\rLine2)");
    f.onPollTimer();
    QCOMPARE(f.messageLabel(1)->text(), S("Line2"));
    const QStringList lines = f.history().Render().split(S("\r\n"), Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 2);
    QVERIFY(lines[lines.size() - 2].endsWith(S(" - Line1")));
    QVERIFY(lines.back().endsWith(S(" - Line2 ")));
    r.Command("MSG01 x");  // not MSG1
    QCOMPARE(f.messageText(1), S("kept"));
    QCOMPARE(f.messageLabel(1)->text(), S("MSG01 x"));
}

void TestStatusWindow::typedCommandF10() {
    Rig r;
    StatusWindow& f = *r.form;
    f.outputBox()->setPlainText(S("(MSG1 hello)"));
    QTest::keyClick(f.outputBox(), Qt::Key_F10);
    QCOMPARE(f.messageText(1), S("hello"));
    QVERIFY(f.outputBox()->toPlainText().contains(S(" - MSG1 hello")));  // replaced by the history
    f.outputBox()->setPlainText(S("(SHOW)"));
    QTest::keyClick(f.outputBox(), Qt::Key_F10);
    QVERIFY(f.isVisible());
    f.outputBox()->setPlainText(S("MSG1 other"));
    QTest::keyClick(f.outputBox(), Qt::Key_F10);
    QCOMPARE(f.messageText(1), S("hello"));
    QCOMPARE(f.outputBox()->toPlainText(), S("MSG1 other"));
    // Other keys do nothing.
    f.outputBox()->setPlainText(S("(MSG1 again)"));
    QTest::keyClick(f.outputBox(), Qt::Key_F9);
    QCOMPARE(f.messageText(1), S("hello"));
}

void TestStatusWindow::pauseResumeCancel() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("INIT Job");
    QTest::mouseClick(f.pauseButton(), Qt::LeftButton);
    QCOMPARE(r.Replies(), Reply('P'));
    QCOMPARE(f.pauseButton()->text(), S("&Resume"));
    QTest::mouseClick(f.pauseButton(), Qt::LeftButton);
    QCOMPARE(r.Replies(), Reply('R'));
    QCOMPARE(f.pauseButton()->text(), S("&Pause"));
    QTest::mouseClick(f.cancelButton(), Qt::LeftButton);
    QCOMPARE(r.Replies(), Reply('C'));
    QVERIFY(!f.isVisible());
    QCOMPARE(r.ends, 0);
}

void TestStatusWindow::closeWhileConnectedHides() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("SHOW");
    QVERIFY(f.isVisible());
    QVERIFY(!f.close());  // the close is cancelled
    QVERIFY(!f.isVisible());
    QCOMPARE(r.Replies(), QByteArray());
    QCOMPARE(r.ends, 0);
}

void TestStatusWindow::exitReplies() {
    for (const char* word : {"EXIT", "quit", "End"}) {
        Rig r;
        r.form->HandleMessage(S(word));
        QCOMPARE(r.Replies(), Reply('E'));
        QCOMPARE(r.ends, 1);
        QVERIFY(r.form->ended());
        QCOMPARE(r.form->history().Render(), S("\r\n").repeated(101));  // no echo
    }
}

void TestStatusWindow::progressBarAndEstimate() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("PROGRESS 30");  // window hidden: the bar is not made visible
    QVERIFY(f.progressBar()->isHidden());
    r.Command("INIT Job");
    r.Command("PROGRESS 50");
    QVERIFY(!f.progressBar()->isHidden());
    QCOMPARE(f.progressBar()->value(), 50);
    r.Command("PROGRESS 150");
    QVERIFY(f.progressBar()->isHidden());
    r.Command("MSG5 -5");
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(f.messageLabel(0)->text(), QString());
    r.Command("PROGRESS 0 0");
    QVERIFY(!f.progressBar()->isHidden());
    QCOMPARE(f.progressBar()->value(), 0);
    r.Command("PROGRESS 10 100");  // R = 90 x 100 / 10 = 900 s
    QVERIFY(f.messageLabel(0)->text().startsWith(S("Estimate Done at: ")));
    QVERIFY(f.messageLabel(0)->text().endsWith(S("  (15 minutes) ")));
    r.Command("PROGRESS 55 110");  // R = 45 x 110 / 55 = 90 s
    QVERIFY(f.messageLabel(0)->text().endsWith(S("  (1 minute 30 seconds) ")));
    r.Command("PROGRESS 90 110");  // R = 10 x 110 / 90 = 12.2 s
    QCOMPARE(f.messageLabel(0)->text(), S("Estimated time left 12 seconds"));
    r.Command("PROGRESS 90 120");  // same percent: line 0 left alone
    QCOMPARE(f.messageLabel(0)->text(), S("Estimated time left 12 seconds"));
    QCOMPARE(f.progressBar()->value(), 90);
}

void TestStatusWindow::redimAndDbg() {
    Rig r;
    StatusWindow& f = *r.form;
    r.Command("DBG step 3");
    QVERIFY(r.LastHistoryLine().endsWith(S(" - step 3")));
    QVERIFY(!f.history().Render().contains(S("DBG")));
    r.Command("MSG6 six");
    r.Command("msg7 seven");
    QVERIFY(r.LastHistoryLine().endsWith(S(" - seven")));
    r.Command("REDIM abc");
    QCOMPARE(f.history().historyMax(), 100);
    QVERIFY(r.LastHistoryLine().endsWith(S(" - REDIM abc")));
    r.Command("REDIM 0");
    QCOMPARE(f.history().historyMax(), 0);
    QCOMPARE(f.history().Render().count(S("\r\n")), 1);
    QVERIFY(r.LastHistoryLine().endsWith(S(" - REDIM 0")));
    r.Command("DBG newest");
    QCOMPARE(f.history().Render().count(S("\r\n")), 1);
    QVERIFY(r.LastHistoryLine().endsWith(S(" - newest")));
    r.Command("REDIM -5");
    QCOMPARE(f.history().historyMax(), 0);
    r.Command("REDIM 99999999999");
    QCOMPARE(f.history().historyMax(), statuslogic::kMaxHistorySize);
    r.Command("DBG still working");
    QVERIFY(r.LastHistoryLine().endsWith(S(" - still working")));
    r.Command("REDIM 2.5");
    QCOMPARE(f.history().historyMax(), 2);
    QVERIFY(!f.ended());
}

void TestStatusWindow::stdinNotAPipe() {
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write("(MSG1 x)(EXIT)");
    file.flush();
    const int fd = ::open(file.fileName().toLocal8Bit().constData(), O_RDONLY);
    QVERIFY(fd >= 0);
    int out[2];
    QVERIFY(::pipe(out) == 0);
    StatusStartup s;
    s.stdIn = fd;
    s.stdOut = out[1];
    s.startTimers = false;
    StatusWindow f(s);
    int ends = 0;
    f.onEndProgram = [&ends] { ++ends; };
    for (int i = 0; i < 3; ++i) f.onPollTimer();
    QCOMPARE(f.messageText(1), QString());
    QCOMPARE(ends, 0);
    ::close(fd);
    ::close(out[0]);
    ::close(out[1]);
}

void TestStatusWindow::parentWatchDisconnects() {
    const pid_t child = StartWaitingChild();
    QVERIFY(child > 0);
    {
        Rig r(QString::number(child));
        StatusWindow& f = *r.form;
        QCOMPARE(f.parentProcessId(), static_cast<qint32>(child));
        QVERIFY(f.hasParentHandle());
        f.onPollTimer();
        QCOMPARE(f.pollInterval(), 100);
        QVERIFY(!f.isVisible());
        ::kill(child, SIGKILL);
        QVERIFY(WaitChildExited(child));
        f.onPollTimer();
        QCOMPARE(f.pollInterval(), 0);
        QVERIFY(f.isVisible());
        QCOMPARE(f.windowTitle(), S("Parent process exited."));
        QVERIFY(f.pauseButton()->isHidden());
        QVERIFY(!f.cancelButton()->isHidden());
        QCOMPARE(f.cancelButton()->text(), S("Close"));
        QVERIFY(!f.outputButton()->isHidden());
        QCOMPARE(r.ends, 0);
        QTest::mouseClick(f.cancelButton(), Qt::LeftButton);
        QCOMPARE(r.ends, 1);
        QCOMPARE(r.Replies(), QByteArray());
    }
    ::waitpid(child, nullptr, 0);
}

void TestStatusWindow::terminateWithoutParent() {
    Rig r;
    bool boxSeen = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout,
            [&] { boxSeen |= QApplication::activeModalWidget() != nullptr; });
    watch.start(5);
    r.Command("TERMINATE");
    QCOMPARE(r.form->messageLabel(1)->text(), S("Terminate, Wait for AutoClose 1"));
    QCOMPARE(r.ends, 1);
    QVERIFY(!boxSeen);
    QCOMPARE(r.Replies(), QByteArray());
}

void TestStatusWindow::terminateParentAlreadyGone() {
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) _exit(0);
    QVERIFY(WaitChildExited(child));  // a zombie: it exited, nobody reaped it
    {
        Rig r(QString::number(child));
        QVERIFY(r.form->hasParentHandle());
        r.Command("TERMINATE");
        QCOMPARE(r.form->messageLabel(1)->text(), S("Terminate, Wait for AutoClose 1"));
        QCOMPARE(r.ends, 1);
    }
    ::waitpid(child, nullptr, 0);
}

void TestStatusWindow::terminateLiveParent() {
    const pid_t child = StartWaitingChild();
    QVERIFY(child > 0);
    QString boxText;
    {
        Rig r(QString::number(child));
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxText = box->text();
                box->accept();
            }
        });
        watch.start(20);
        r.Command("TERMINATE");
        QCOMPARE(r.form->messageLabel(1)->text(), S("Terminate, AutoClose Failed"));
        QCOMPARE(r.ends, 1);
    }
    QCOMPARE(boxText, S("Larkon Terminated by Status Monitor\r\n1:1:259"));
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGKILL);
}

QTEST_MAIN(TestStatusWindow)
#include "test_status_window.moc"
