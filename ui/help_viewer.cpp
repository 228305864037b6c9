#include "help_viewer.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>

namespace vd::ui {

QString helpAnchor(int context) {
    return QStringLiteral("context-%1").arg(context);
}

HelpViewer::HelpViewer(QString helpFile) : helpFile_(std::move(helpFile)) {}

HelpViewer::~HelpViewer() = default;

void HelpViewer::displayTopic() {
    open({});
}

void HelpViewer::displayContext(int context) {
    open(helpAnchor(context));
}

void HelpViewer::closeAll() {
    if (browser_) browser_->close();
}

void HelpViewer::open(const QString& anchor) {
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setWindowTitle(QStringLiteral("VANDO Help"));
        browser_->setOpenExternalLinks(false);
        browser_->resize(620, 560);
    }
    if (QFileInfo::exists(helpFile_)) {
        QUrl url = QUrl::fromLocalFile(helpFile_);
        url.setFragment(anchor);
        // Reload only when the file changes, so that moving between sections keeps history.
        if (browser_->source().adjusted(QUrl::RemoveFragment) != url.adjusted(QUrl::RemoveFragment))
            browser_->setSource(url);
        if (anchor.isEmpty())
            browser_->verticalScrollBar()->setValue(0);
        else
            browser_->scrollToAnchor(anchor);
    } else {
        browser_->setHtml(
            QStringLiteral("<p>Help file not found<br>%1</p>").arg(helpFile_.toHtmlEscaped()));
    }
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

}  // namespace vd::ui
