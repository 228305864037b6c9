// Not a test: opens File > Add Gages From the Web against a local stand-in for the service
// and goes through a fetch slowly, for a look under a virtual display.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "../common/fake_water_data.h"
#include "../common/scratch_dir.h"
#include "ui_fakes.h"
#include "web_fetch_dialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    vd::test::FakeWaterData service;
    service.addSite("09506000", "VERDE RIVER NEAR CAMP VERDE, AZ",
                    vd::test::classicDays(vd::test::fileText(
                        std::filesystem::path(VANDO_TEST_DATA) /
                        "reference/inputs/09506000_verde_camp_verde_dv_1989-2021.txt")),
                    2);
    service.addSite("09500002", "TWO CREEK NEAR SOMEWHERE, AZ",
                    {{"09500002", "2021-03-01", "5", "Approved"}}, 1);
    service.replyFirst({503, "busy", {"Retry-After: 3"}, false});  // keeps the progress up
    QSettings().setValue(vd::ui::WebFetchDialog::baseUrlKey, QString::fromStdString(service.url()));
    QTemporaryDir dir;
    vd::test::ScriptedPrompts prompts;
    vd::test::RecordingHelp help;
    vd::ui::MainWindow form(
        {prompts, help, dir.filePath("none.html"), nullptr, vd::ui::FlowReader{}});
    form.show();
    QTimer::singleShot(1000, [&] {
        QTimer::singleShot(500, [&] {
            auto* d = qobject_cast<vd::ui::WebFetchDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            d->sitesEdit()->setText("09506000");
            d->startEdit()->setText("1990-01-01");
            d->folderEdit()->setText(dir.filePath("gages"));
            d->stateEdit()->setText("AZ");
            QTimer::singleShot(500, d->findButton(), &QPushButton::click);
            QTimer::singleShot(4500, d->fetchButton(), &QPushButton::click);
        });
        for (QAction* a : form.findChildren<QAction*>())
            if (a->text().startsWith("Add Gages From the")) a->trigger();
    });
    QTimer::singleShot(12000, &app, &QApplication::quit);
    return app.exec();
}
