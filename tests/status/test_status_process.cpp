// The real `status` program driven as a parent would drive it: started with a pipe
// on its standard input, its replies read from its standard output. The program's
// test hook (STATUS_TEST_CONTROL, a FIFO) presses its buttons and reports its state
// on standard error; every wait is on a condition, with generous limits.
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#ifndef STATUS_EXE
#error "STATUS_EXE must name the status program"
#endif

namespace {

constexpr int kLong = 20000;  // ms: a generous limit for one awaited condition

QString S(const char* s) {
    return QString::fromLatin1(s);
}
QByteArray Reply(char c) {
    return QByteArray(1, c) + QByteArray(1, '\0');
}

class StatusProcess {
  public:
    StatusProcess() {
        fifo_ = dir_.filePath(S("control"));
        mkfifo(fifo_.toLocal8Bit().constData(), 0600);
    }
    ~StatusProcess() {
        if (controlFd_ >= 0) ::close(controlFd_);
        if (proc_.state() != QProcess::NotRunning) {
            proc_.kill();
            proc_.waitForFinished(kLong);
        }
    }

    // Starts the program with `arguments` as its command line; stdin a pipe unless a file is given.
    bool Start(const QStringList& arguments = {}, const QString& stdinFile = QString()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(S("QT_QPA_PLATFORM"), S("offscreen"));
        env.insert(S("STATUS_TEST_CONTROL"), fifo_);
        proc_.setProcessEnvironment(env);
        proc_.setProgram(S(STATUS_EXE));
        proc_.setArguments(arguments);
        if (!stdinFile.isEmpty()) proc_.setStandardInputFile(stdinFile);
        proc_.start();
        if (!proc_.waitForStarted(kLong)) return false;
        // The control FIFO can be opened for writing once the program has opened it.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kLong) {
            controlFd_ = ::open(fifo_.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (controlFd_ >= 0) return true;
            if (proc_.state() == QProcess::NotRunning) return false;
            QTest::qWait(20);
        }
        return false;
    }

    void Send(const QByteArray& data) {
        proc_.write(data);
        proc_.waitForBytesWritten(kLong);
    }

    void Control(const QByteArray& line) {
        const QByteArray l = line + '\n';
        QCOMPARE(::write(controlFd_, l.constData(), static_cast<size_t>(l.size())),
                 static_cast<ssize_t>(l.size()));
    }

    std::optional<QJsonObject> State() {
        states_.clear();
        Control("state");
        QElapsedTimer t;
        t.start();
        proc_.setReadChannel(QProcess::StandardError);
        while (states_.isEmpty() && t.elapsed() < kLong && proc_.state() != QProcess::NotRunning) {
            proc_.waitForReadyRead(50);
            Collect();
        }
        Collect();
        if (states_.isEmpty()) {
            qWarning(
                "no state from status (running: %d, exit code %d); its standard error ends: %s",
                proc_.state() == QProcess::Running, proc_.exitCode(),
                errTail_.right(2000).constData());
            return std::nullopt;
        }
        return states_.back();
    }

    // Polls the state until `pred` holds; the last state seen is kept in `last`.
    bool WaitFor(const std::function<bool(const QJsonObject&)>& pred, QJsonObject* last = nullptr) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kLong) {
            const auto s = State();
            if (!s) return false;
            if (last) *last = *s;
            if (pred(*s)) return true;
            QTest::qWait(30);
        }
        return false;
    }

    bool WaitForReplies(int bytes) {
        QElapsedTimer t;
        t.start();
        proc_.setReadChannel(QProcess::StandardOutput);
        while (Replies().size() < bytes && t.elapsed() < kLong) proc_.waitForReadyRead(50);
        return Replies().size() >= bytes;
    }

    QByteArray Replies() {
        Collect();
        return out_;
    }
    QByteArray TakeReplies() {
        QByteArray r = Replies();
        out_.clear();
        return r;
    }

    bool WaitForExit() {
        if (proc_.state() == QProcess::NotRunning) return true;
        const bool ok = proc_.waitForFinished(kLong);
        Collect();
        return ok;
    }

    QProcess& process() { return proc_; }

  private:
    void Collect() {
        out_ += proc_.readAllStandardOutput();
        const QByteArray err = proc_.readAllStandardError();
        err_ += err;
        errTail_ = (errTail_ + err).right(4000);
        for (;;) {
            const qsizetype nl = err_.indexOf('\n');
            if (nl < 0) break;
            const QByteArray line = err_.left(nl);
            err_.remove(0, nl + 1);
            if (line.startsWith("STATE "))
                states_.append(QJsonDocument::fromJson(line.mid(6)).object());
        }
    }

    QTemporaryDir dir_;
    QString fifo_;
    int controlFd_ = -1;
    QProcess proc_;
    QByteArray out_;
    QByteArray err_;
    QByteArray errTail_;
    QList<QJsonObject> states_;
};

QString Text(const QJsonObject& s, int n) {
    return s[S("messageText")].toArray()[n].toString();
}
// A counter of the monitor's timer ticks ("polls", "refreshes").
double Count(const QJsonObject& s, const char* name) {
    return s[S(name)].toDouble();
}
QString Label(const QJsonObject& s, int n) {
    return s[S("labels")].toArray()[n].toString();
}
QStringList History(const QJsonObject& s) {
    return s[S("history")].toString().split(S("\r\n"), Qt::SkipEmptyParts);
}
bool HistoryHasLineEnding(const QJsonObject& s, const QString& end) {
    for (const QString& l : History(s))
        if (l.endsWith(end)) return true;
    return false;
}

// A process standing in for the parent.
std::unique_ptr<QProcess> StartFakeParent() {
    auto p = std::make_unique<QProcess>();
    p->start(S("sleep"), {S("120")});
    if (!p->waitForStarted(kLong)) return nullptr;
    return p;
}

}  // namespace

class TestStatusProcess : public QObject {
    Q_OBJECT

  private slots:
    void messageSplitOverTwoReads();
    void unframedData();
    void escapesCaseAndBlanks();
    void utf16ExitRepliesAndEnds();
    void dbgAndRedimEcho();
    void pauseResumeCancel();
    void typedCommandF10();
    void parentExits();
    void terminateLiveParent();
    void terminateWithoutParent();
    void noParentNeverDisconnects();
    void stdinNotAPipe();
    void brokenReplyPipeIsIgnored();
};

void TestStatusProcess::messageSplitOverTwoReads() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Send("(MSG1 Hello");
    QJsonObject s;
    // The first poll executes nothing and keeps the partial message.
    QVERIFY2(
        p.WaitFor(
            [](const QJsonObject& s) { return s[S("pending")].toString() == S("(MSG1 Hello"); },
            &s),
        qPrintable(s[S("pending")].toString()));
    QCOMPARE(Text(s, 1), QString());
    p.Send(")(MSG2 World)");
    QVERIFY(p.WaitFor(
        [](const QJsonObject& s) { return Text(s, 1) == S("Hello") && Text(s, 2) == S("World"); },
        &s));
    const QStringList h = History(s);
    QVERIFY(h.size() >= 2);
    QVERIFY(h[h.size() - 2].endsWith(S(" - MSG1 Hello")));
    QVERIFY(h.back().endsWith(S(" - MSG2 World")));
    // Within the one-second refresh the labels show them.
    QVERIFY(p.WaitFor([](const QJsonObject& s) {
        return Label(s, 1) == S("Hello") && Label(s, 2) == S("World");
    }));
    p.Send("(EXIT)");
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.Replies(), Reply('E'));
}

void TestStatusProcess::unframedData() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Send("MSG1 a\r\nMSG2 b");
    QJsonObject s;
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return !Text(s, 1).isEmpty(); }, &s));
    QCOMPARE(Text(s, 1), S("aMSG2 b"));
    QCOMPARE(Text(s, 2), QString());
}

void TestStatusProcess::escapesCaseAndBlanks() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Send(
        "(CAPTION Run \x06"
        "1\x07)(msg1 x)(MSG01 y)(   MSG2   two  words )(DBG done)");
    QJsonObject s;
    QVERIFY(
        p.WaitFor([](const QJsonObject& s) { return HistoryHasLineEnding(s, S(" - done")); }, &s));
    QCOMPARE(s[S("caption")].toString(), S("Run (1)"));
    QCOMPARE(Text(s, 1), S("x"));  // case-insensitive words
    QCOMPARE(Text(s, 2), S("  two  words"));
    QVERIFY(HistoryHasLineEnding(s, S(" - MSG01 y")));  // free text, not MSG1
    QVERIFY(HistoryHasLineEnding(s, S(" - CAPTION Run (1)")));
}

void TestStatusProcess::utf16ExitRepliesAndEnds() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Send(QByteArray("(\0E\0X\0I\0T\0)\0", 12));
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.process().exitCode(), 0);
    QCOMPARE(p.Replies(), QByteArray("E\0", 2));
}

void TestStatusProcess::dbgAndRedimEcho() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Send("(DBG step 3)(REDIM abc)(MSG1 a\rb\rc)");
    QJsonObject s;
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return Text(s, 1).startsWith(S("a")); }, &s));
    QStringList h = History(s);
    QCOMPARE(h.size(), 4);
    QVERIFY(h[0].endsWith(S(" - step 3")));  // DBG: the text, no echo of the command
    QVERIFY(!s[S("history")].toString().contains(S("DBG")));
    QVERIFY(h[1].endsWith(S(" - REDIM abc")));  // not numeric: ignored but echoed
    QCOMPARE(s[S("historyMax")].toInt(), 100);
    QVERIFY(h[2].endsWith(S(" - MSG1 a")));  // the echo's carriage-return rules
    QVERIFY(h[3].endsWith(S(" - b")));
    p.Send("(REDIM 0)(DBG newest)");
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return HistoryHasLineEnding(s, S(" - newest")); },
                      &s));
    QCOMPARE(s[S("historyMax")].toInt(), 0);
    QCOMPARE(History(s).size(), 1);
    p.Send("(REDIM -5)(REDIM 99999999999)(DBG still here)");
    QVERIFY(p.WaitFor(
        [](const QJsonObject& s) { return HistoryHasLineEnding(s, S(" - still here")); }, &s));
    QCOMPARE(s[S("historyMax")].toInt(), 100000);
    QCOMPARE(p.process().state(), QProcess::Running);
}

void TestStatusProcess::pauseResumeCancel() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Send("(INIT Job)");
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("visible")].toBool(); }));
    p.Control("click pause");
    QVERIFY(p.WaitForReplies(2));
    QCOMPARE(p.TakeReplies(), Reply('P'));
    QVERIFY(p.WaitFor(
        [](const QJsonObject& s) { return s[S("pause")][S("text")].toString() == S("&Resume"); }));
    p.Control("click pause");
    QVERIFY(p.WaitForReplies(2));
    QCOMPARE(p.TakeReplies(), Reply('R'));
    QVERIFY(p.WaitFor(
        [](const QJsonObject& s) { return s[S("pause")][S("text")].toString() == S("&Pause"); }));
    p.Control("click cancel");
    QVERIFY(p.WaitForReplies(2));
    QCOMPARE(p.TakeReplies(), Reply('C'));
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return !s[S("visible")].toBool(); }));
    // Closing the window while connected only hides it, without a reply.
    p.Send("(SHOW)");
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("visible")].toBool(); }));
    p.Control("close");
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return !s[S("visible")].toBool(); }));
    QCOMPARE(p.process().state(), QProcess::Running);
    p.Send("(END)");
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.Replies(), Reply('E'));
}

void TestStatusProcess::typedCommandF10() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Control("f10 (MSG1 hello)");
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return Text(s, 1) == S("hello"); }));
    p.Control("f10 MSG1 other");
    p.Control("f10 (SHOW)");
    QJsonObject s;
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("visible")].toBool(); }, &s));
    QCOMPARE(Text(s, 1), S("hello"));
}

void TestStatusProcess::parentExits() {
    auto parent = StartFakeParent();
    QVERIFY(parent);
    StatusProcess p;
    QVERIFY(p.Start({QString::number(parent->processId())}));
    QJsonObject s;
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("hasParent")].toBool(); }, &s));
    QCOMPARE(s[S("pollInterval")].toInt(), 100);
    QCOMPARE(s[S("caption")].toString(), QString());
    parent->kill();
    QVERIFY(parent->waitForFinished(kLong));
    QVERIFY(p.WaitFor(
        [](const QJsonObject& s) {
            return s[S("caption")].toString() == S("Parent process exited.");
        },
        &s));
    QCOMPARE(s[S("pollInterval")].toInt(), 0);
    QVERIFY(s[S("visible")].toBool());
    QVERIFY(!s[S("pause")][S("visible")].toBool());
    QVERIFY(s[S("cancel")][S("visible")].toBool());
    QCOMPARE(s[S("cancel")][S("text")].toString(), S("Close"));
    QVERIFY(s[S("details")][S("visible")].toBool());
    // The pipe is no longer read: no poll runs after the send, although the monitor's
    // one-second refresh has ticked twice since (ten polls' time while connected).
    const double pollsAtSend = Count(s, "polls");
    const double refreshesAtSend = Count(s, "refreshes");
    p.Send("(MSG1 ignored)(EXIT)");
    QVERIFY(p.WaitFor(
        [&](const QJsonObject& s) { return Count(s, "refreshes") >= refreshesAtSend + 2; }, &s));
    QCOMPARE(p.process().state(), QProcess::Running);
    QCOMPARE(Count(s, "polls"), pollsAtSend);
    QCOMPARE(Text(s, 1), QString());
    // Close ends the monitor without a reply.
    p.Control("click cancel");
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.Replies(), QByteArray());
}

void TestStatusProcess::terminateLiveParent() {
    auto parent = StartFakeParent();
    QVERIFY(parent);
    StatusProcess p;
    QVERIFY(p.Start({QString::number(parent->processId())}));
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("hasParent")].toBool(); }));
    p.Send("(TERMINATE)");
    QVERIFY(parent->waitForFinished(kLong));
    QCOMPARE(parent->exitStatus(), QProcess::CrashExit);  // killed
    QJsonObject s;
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("msgbox")].isString(); }, &s));
    QCOMPARE(s[S("msgbox")].toString(), S("Larkon Terminated by Status Monitor\r\n1:1:259"));
    QCOMPARE(Label(s, 1), S("Terminate, AutoClose Failed"));
    p.Control("accept");
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.Replies(), QByteArray());
}

void TestStatusProcess::terminateWithoutParent() {
    StatusProcess p;
    QVERIFY(p.Start());
    p.Send("(TERMINATE)");
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.process().exitCode(), 0);
    QCOMPARE(p.Replies(), QByteArray());
}

void TestStatusProcess::noParentNeverDisconnects() {
    StatusProcess p;
    QVERIFY(p.Start({S("not-a-number")}));
    QJsonObject s;
    p.Send("(INIT Job)");
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("visible")].toBool(); }, &s));
    QVERIFY(!s[S("hasParent")].toBool());
    QCOMPARE(s[S("parentId")].toInt(), 0);
    p.Control("click cancel");
    QVERIFY(p.WaitForReplies(2));
    QCOMPARE(p.TakeReplies(), Reply('C'));
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return !s[S("visible")].toBool(); }, &s));
    QCOMPARE(s[S("pollInterval")].toInt(), 100);
    QCOMPARE(p.process().state(), QProcess::Running);
    p.Send("(QUIT)");
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.Replies(), Reply('E'));
}

void TestStatusProcess::stdinNotAPipe() {
    QTemporaryDir dir;
    const QString input = dir.filePath(S("commands.txt"));
    {
        QFile f(input);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("(MSG1 x)(EXIT)");
    }
    StatusProcess p;
    QVERIFY(p.Start({}, input));
    // A file on standard input is never read: the monitor stays, nothing executed,
    // although it has polled at least twice since the first look.
    const auto first = p.State();
    QVERIFY(first);
    const double pollsAtStart = Count(*first, "polls");
    QJsonObject s;
    QVERIFY(
        p.WaitFor([&](const QJsonObject& s) { return Count(s, "polls") >= pollsAtStart + 2; }, &s));
    QCOMPARE(Text(s, 1), QString());
    QCOMPARE(s[S("history")].toString(), S("\r\n").repeated(101));
    QCOMPARE(p.process().state(), QProcess::Running);
    QCOMPARE(p.Replies(), QByteArray());
}

void TestStatusProcess::brokenReplyPipeIsIgnored() {
    // The replies go into a pipe whose reader has ended: every reply write fails.
    QProcess sink;
    StatusProcess p;
    p.process().setStandardOutputProcess(&sink);
    sink.start(S("true"), QStringList());
    QVERIFY(p.Start());
    QVERIFY(sink.state() == QProcess::NotRunning || sink.waitForFinished(kLong));
    p.Send("(INIT Job)");
    QVERIFY(p.WaitFor([](const QJsonObject& s) { return s[S("visible")].toBool(); }));
    p.Control("click pause");  // the reply write fails without effect
    QVERIFY(p.WaitFor(
        [](const QJsonObject& s) { return s[S("pause")][S("text")].toString() == S("&Resume"); }));
    p.Control("click pause");
    QVERIFY(p.WaitFor(
        [](const QJsonObject& s) { return s[S("pause")][S("text")].toString() == S("&Pause"); }));
    QCOMPARE(p.process().state(), QProcess::Running);
    p.Send("(EXIT)");
    QVERIFY(p.WaitForExit());
    QCOMPARE(p.process().exitStatus(), QProcess::NormalExit);
}

QTEST_GUILESS_MAIN(TestStatusProcess)
#include "test_status_process.moc"
