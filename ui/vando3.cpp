// The design-flow calculator: binds the log-Pearson library before any window, then runs
// the main window until it closes.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <optional>

#include "errors.h"
#include "help_viewer.h"
#include "install_layout.h"
#include "log_pearson_library.h"
#include "main_window.h"
#include "prompts.h"

namespace {

// The help file beside the program (a build folder), else where an installation puts it;
// when neither exists, the path beside the program, which the help window names.
QString helpFilePath() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral("Vando31.html");
    const QString installed = programFolder.filePath(
        QString::fromLatin1(vd::helpFolderFromProgram) + QLatin1Char('/') + name);
    if (!QFileInfo::exists(programFolder.filePath(name)) && QFileInfo::exists(installed))
        return QFileInfo(installed).absoluteFilePath();
    return QFileInfo(programFolder, name).absoluteFilePath();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vando3"));
    vd::ui::WidgetPrompts prompts;

    std::optional<vd::LogPearsonLibrary> lpiii;
    try {
        lpiii = vd::LogPearsonLibrary::load(vd::programFolder());
    } catch (const vd::Error& e) {
        if (e.code() != vd::ErrorCode::libraryBinding) throw;
        prompts.message(nullptr, QStringLiteral("Error"), QString::fromStdString(e.what()),
                        vd::ui::MessageIcon::exclamation);
        return 1;
    }

    const QString helpFile = helpFilePath();
    vd::ui::HelpViewer help(helpFile);
    vd::ui::MainWindow form({prompts, help, helpFile, &*lpiii, {}});
    const QRect desktop = form.screen()->availableGeometry();
    form.adjustSize();
    form.move(desktop.center() - form.rect().center());
    form.show();
    form.openArguments(QApplication::arguments().mid(1));
    return QApplication::exec();
}
