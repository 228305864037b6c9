// Shared by the results-window tests: a main window on copies of the example flow files,
// with the scripted message boxes and help of the main-window tests.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "log_pearson_library.h"
#include "main_window.h"
#include "ui_fakes.h"

namespace vd::ui::testing {

// Four example gages, three of them in use: the Colorado file's second gage has no whole
// climatic year.
inline const QStringList& exampleFiles() {
    static const QStringList files{
        QStringLiteral("08023080_bayou_grand_cane_zeros.txt"),

        QStringLiteral("09506000_verde_camp_verde_1989-2021.txt"),
        QStringLiteral("09070500_09071750_colorado_2sites_2000-2010.txt")};
    return files;
}

// A main window whose gage table holds the example gages, read from copies in a temporary
// folder (the reader may rewrite a file's line breaks in place).
class MainWindowFixture {
  public:
    MainWindowFixture()
        : lib_(vd::LogPearsonLibrary::load(vd::programFolder())),
          window_(std::make_unique<MainWindow>(
              MainWindowServices{prompts_,
                                 help_,
                                 QDir(dir_.path()).filePath(QStringLiteral("Vando31.html")),
                                 &lib_,
                                 {}})) {
        prompts_.messages.clear();  // the missing help file
    }

    // Adds the example files to the gage table; false when a file could not be copied.
    bool addExamples() {
        QStringList paths;
        for (const QString& name : exampleFiles()) {
            const QString target = QDir(dir_.path()).filePath(name);
            if (!QFile::exists(target) &&
                !QFile::copy(QStringLiteral(VANDO_EXAMPLES_DIR "/") + name, target))
                return false;
            paths << target;
        }
        window_->addFlowFiles(paths);
        return true;
    }

    MainWindow& window() { return *window_; }
    vd::test::ScriptedPrompts& prompts() { return prompts_; }
    vd::test::RecordingHelp& help() { return help_; }
    const vd::LogPearsonLibrary& lib() const { return lib_; }

  private:
    QTemporaryDir dir_;
    vd::test::ScriptedPrompts prompts_;
    vd::test::RecordingHelp help_;
    vd::LogPearsonLibrary lib_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace vd::ui::testing
