// status: the status monitor. A parent starts it with its own
// process id as the command line and a pipe on its standard input.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include "pipe_protocol.h"
#include "platform.h"
#include "status_window.h"

// Only the test build (status_testable) is driven through a control FIFO.
#ifdef VANDO_STATUS_TEST_CONTROL
#include "test_control.h"
#endif

int main(int argc, char* argv[]) {
    statusplat::IgnoreBrokenPipeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("status"));
    QApplication::setQuitOnLastWindowClosed(false);  // closing while connected only hides

    statuspipe::pumpEvents = [] { QCoreApplication::processEvents(); };
    statuspipe::reportLogError = [](const QString& text) {
        QMessageBox::warning(nullptr, QCoreApplication::applicationName(), text);
    };

    StatusStartup startup;
    // The whole argument string (Qt's own options such as -platform are taken out).
    startup.commandLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    startup.stdIn = statusplat::StdInputHandle();
    startup.stdOut = statusplat::StdOutputHandle();

    StatusWindow window(startup);
#ifdef VANDO_STATUS_TEST_CONTROL
    StatusTestControl::InstallFromEnvironment(&window);
#endif
    return QApplication::exec();
}
