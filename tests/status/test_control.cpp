#include "test_control.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSocketNotifier>

#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "status_window.h"

StatusTestControl* StatusTestControl::InstallFromEnvironment(StatusWindow* form) {
    const QByteArray path = qgetenv("STATUS_TEST_CONTROL");
    if (path.isEmpty()) return nullptr;
#ifdef _WIN32
    (void)form;
    std::fprintf(stderr, "status: STATUS_TEST_CONTROL is not supported on Windows\n");
    return nullptr;
#else
    // Read-write so that the FIFO never reports end of file between two writers.
    const int fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::perror("status: STATUS_TEST_CONTROL");
        return nullptr;
    }
    return new StatusTestControl(form, fd);
#endif
}

StatusTestControl::StatusTestControl(StatusWindow* form, int fd)
    : QObject(form), form_(form), fd_(fd) {
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
}

void StatusTestControl::OnReadable() {
#ifndef _WIN32
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) break;
        buffer_.append(buf, static_cast<qsizetype>(n));
    }
    for (;;) {
        const qsizetype nl = buffer_.indexOf('\n');
        if (nl < 0) break;
        const QByteArray line = buffer_.left(nl);
        buffer_.remove(0, nl + 1);
        HandleLine(line);
    }
#endif
}

namespace {

QJsonObject ButtonState(const QPushButton* b) {
    return QJsonObject{{"text", b->text()}, {"visible", !b->isHidden()}};
}

QMessageBox* OpenMessageBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

}  // namespace

QJsonObject StatusTestControl::State(const StatusWindow* f) {
    QJsonArray labels;
    for (int i = 0; i <= 4; ++i) labels.append(f->messageLabel(i)->text());
    QJsonArray texts;
    for (int i = 0; i <= 4; ++i) texts.append(f->messageText(i));
    const QMessageBox* box = OpenMessageBox();
    const statuslogic::TwipsSize size = f->windowSizeTwips();
    const QRect details = f->controlTwips(f->outputBox());
    return QJsonObject{
        {"caption", f->windowTitle()},
        {"visible", f->isVisible()},
        {"topmost", f->isTopmost()},
        {"icon", f->iconName()},
        {"labels", labels},
        {"messageText", texts},
        {"progressVisible", !f->progressBar()->isHidden()},
        {"progressValue", f->progressBar()->value()},
        {"pause", ButtonState(f->pauseButton())},
        {"cancel", ButtonState(f->cancelButton())},
        {"details", ButtonState(f->outputButton())},
        {"txtDetails", f->outputBox()->toPlainText()},
        {"history", f->history().Render()},
        {"historyMax", f->history().historyMax()},
        {"pollInterval", f->pollInterval()},
        {"polls", static_cast<double>(f->pollCount())},
        {"refreshes", static_cast<double>(f->refreshCount())},
        {"pending", f->pendingInput()},
        {"parentId", f->parentProcessId()},
        {"hasParent", f->hasParentHandle()},
        {"width", size.width},
        {"height", size.height},
        {"detailsWidth", details.width()},
        {"detailsHeight", details.height()},
        {"detailsScroll", QJsonArray{f->outputBox()->verticalScrollBar()->value(),
                                     f->outputBox()->verticalScrollBar()->maximum(),
                                     f->outputBox()->verticalScrollBar()->pageStep()}},
        {"msgbox", box != nullptr ? QJsonValue(box->text()) : QJsonValue()},
    };
}

void StatusTestControl::HandleLine(const QByteArray& rawLine) {
    const QString line = QString::fromUtf8(rawLine);
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const QString verb = blank < 0 ? line : line.left(blank);
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1);
    if (verb == QLatin1String("state")) {
        const QByteArray json = QJsonDocument(State(form_)).toJson(QJsonDocument::Compact);
        std::fprintf(stderr, "STATE %s\n", json.constData());
        std::fflush(stderr);
    } else if (verb == QLatin1String("click")) {
        if (rest == QLatin1String("pause")) form_->pauseButton()->click();
        if (rest == QLatin1String("cancel")) form_->cancelButton()->click();
        if (rest == QLatin1String("output")) form_->outputButton()->click();
    } else if (verb == QLatin1String("close")) {
        form_->close();
    } else if (verb == QLatin1String("f10")) {
        form_->outputBox()->setPlainText(rest);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier);
        QCoreApplication::sendEvent(form_->outputBox(), &press);
    } else if (verb == QLatin1String("grab")) {
        form_->grab().save(rest, "PNG");
    } else if (verb == QLatin1String("accept")) {
        if (QMessageBox* box = OpenMessageBox()) box->accept();
    }
}
