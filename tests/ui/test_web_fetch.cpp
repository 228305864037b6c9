// File > Add Gages From the Web, driven through its widgets (offscreen) against a local
// stand-in for the Water Data API: fetched gages reach the gage table through the normal
// adding path, a failing site is reported, the folder is remembered, and cancelling stops
// the fetching and adds nothing.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "../common/fake_water_data.h"
#include "../common/scratch_dir.h"
#include "gage_table_model.h"
#include "ui_fakes.h"
#include "web_fetch_dialog.h"

using namespace vd;
using ui::WebFetchDialog;

namespace {

const std::string kVerde = "09506000_verde_camp_verde_dv_1989-2021.txt";

// Runs `then` once `ready` holds, looking again every few milliseconds.
void whenReady(std::function<bool()> ready, std::function<void()> then) {
    if (ready()) {
        then();
        return;
    }
    QTimer::singleShot(20, [ready = std::move(ready), then = std::move(then)]() mutable {
        whenReady(std::move(ready), std::move(then));
    });
}

WebFetchDialog* openDialog() {
    return qobject_cast<WebFetchDialog*>(QApplication::activeModalWidget());
}

struct Fixture {
    Fixture() {
        service.addSite("09506000", "VERDE RIVER NEAR CAMP VERDE, AZ",
                        test::classicDays(test::fileText(std::filesystem::path(VANDO_TEST_DATA) /
                                                         "reference/inputs" / kVerde)),
                        2);
        QSettings().setValue(WebFetchDialog::baseUrlKey, QString::fromStdString(service.url()));
        QSettings().remove(WebFetchDialog::folderKey);
        form = std::make_unique<ui::MainWindow>(
            ui::MainWindowServices{prompts, help, helpFile(), nullptr, ui::FlowReader{}});
        form->show();
    }

    QString helpFile() {
        const QString path = dir.filePath(QStringLiteral("Vando31.html"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("<html></html>");
        return path;
    }

    // Chooses File > Add Gages From the Web; `drive` handles the dialog while it is open.
    void addFromWeb(std::function<void(WebFetchDialog*)> drive) {
        QAction* action = nullptr;
        for (QAction* a : form->findChildren<QAction*>())
            if (a->text() == QStringLiteral("Add Gages From the &Web...")) action = a;
        QVERIFY(action);
        bool driven = false;
        whenReady([] { return openDialog() != nullptr; },
                  [&] {
                      drive(openDialog());
                      driven = true;
                  });
        action->trigger();  // returns when the dialog closes
        QVERIFY(driven);
    }

    static void fill(WebFetchDialog* d, const QString& sites, const QString& folder) {
        d->sitesEdit()->setText(sites);
        d->folderEdit()->setText(folder);
        QTest::mouseClick(d->fetchButton(), Qt::LeftButton);
    }

    test::FakeWaterData service;
    QTemporaryDir dir;
    test::ScriptedPrompts prompts;
    test::RecordingHelp help;
    std::unique_ptr<ui::MainWindow> form;
};

}  // namespace

class WebFetchTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // settings of their own
        QApplication::setOrganizationName(QStringLiteral("vando3-tests"));
    }

    void fetchedGagesJoinTheTableAndFailuresAreShown() {
        Fixture f;
        const QString folder = f.dir.filePath(QStringLiteral("gages"));
        f.addFromWeb([&](WebFetchDialog* d) {
            Fixture::fill(d, QStringLiteral("USGS-09506000, 09999999"), folder);
        });
        QCOMPARE(f.form->gageTable().rowCount(), 1);
        QCOMPARE(f.form->gageModel().index(0, 1).data().toString(),
                 QStringLiteral("09506000 VERDE RIVER NEAR CAMP VERDE, AZ"));
        QCOMPARE(
            QDir(folder).entryList(QDir::Files),
            QStringList{QStringLiteral("09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt")});
        QCOMPARE(f.prompts.messages.size(), std::size_t{1});
        QVERIFY(f.prompts.messages[0].text.startsWith(
            QStringLiteral("Site 09999999: the service has no daily mean discharge")));
        QCOMPARE(QSettings().value(WebFetchDialog::folderKey).toString(), folder);

        // The next time, the dialog offers the folder used last.
        f.addFromWeb([&](WebFetchDialog* d) {
            QCOMPARE(d->folderEdit()->text(), folder);
            d->reject();
        });
    }

    void theServiceAddressIsShownUsedAndKept() {
        Fixture f;
        test::FakeWaterData mirror;
        mirror.addSite("09506000", "VERDE RIVER NEAR CAMP VERDE, AZ",
                       test::classicDays(test::fileText(std::filesystem::path(VANDO_TEST_DATA) /
                                                        "reference/inputs" / kVerde)),
                       1);
        const QString folder = f.dir.filePath(QStringLiteral("gages"));
        f.addFromWeb([&](WebFetchDialog* d) {
            QCOMPARE(d->serviceEdit()->text(), QString::fromStdString(f.service.url()));
            QCOMPARE(d->serviceEdit()->placeholderText(),
                     QStringLiteral("https://api.waterdata.usgs.gov/ogcapi/v0"));
            for (const char* refused : {"ftp://mirror.example/ogcapi", "mirror.example"}) {
                d->serviceEdit()->setText(QString::fromLatin1(refused));
                d->sitesEdit()->setText(QStringLiteral("09506000"));
                QCOMPARE(d->checkEntries(), QStringLiteral("Enter the service address as "
                                                           "https://..., or leave it empty."));
            }
            d->serviceEdit()->setText(QString::fromStdString(mirror.url()));
            Fixture::fill(d, QStringLiteral("09506000"), folder);
        });
        QCOMPARE(f.form->gageTable().rowCount(), 1);
        QVERIFY(f.service.requests().empty());
        QVERIFY(!mirror.requests().empty());
        QCOMPARE(QSettings().value(WebFetchDialog::baseUrlKey).toString(),
                 QString::fromStdString(mirror.url()));
    }

    void theGagesOfARegionAreFoundTickedAndFetched() {
        Fixture f;
        f.service.addSite("09500002", "TWO CREEK, AZ",
                          {{"09500002", "2021-03-01", "5", "Approved"},
                           {"09500002", "2021-03-02", "6", "Approved"}},
                          1, {"04", "013", "15060106", -112.0, 33.5});
        f.service.addSite("08300003", "THREE RIVER, NM",
                          {{"08300003", "2021-03-01", "5", "Approved"}}, 1,
                          {"35", "001", "13020203", -106.6, 35.1});
        const QString folder = f.dir.filePath(QStringLiteral("gages"));
        QStringList listed;
        f.addFromWeb([&](WebFetchDialog* d) {
            QCOMPARE(d->checkEntries(),
                     QStringLiteral("Enter one or more site numbers, or find and tick gages."));
            d->hucEdit()->setText(QStringLiteral("150"));
            QCOMPARE(d->checkRegion(), QStringLiteral("Enter the hydrologic unit as its leading "
                                                      "2, 4, ... 12 digits."));
            d->hucEdit()->clear();
            d->stateEdit()->setText(QStringLiteral("az"));
            QCOMPARE(d->checkRegion(), QString());
            QTest::mouseClick(d->findButton(), Qt::LeftButton);
            whenReady([d] { return d->foundList()->count() > 0 && d->findButton()->isEnabled(); },
                      [&, d] {
                          for (int i = 0; i < d->foundList()->count(); ++i)
                              listed << d->foundList()->item(i)->text();
                          // The two of Arizona, ticked; the creek is unticked and left.
                          d->foundList()->item(1)->setCheckState(Qt::Unchecked);
                          d->folderEdit()->setText(folder);
                          QTest::mouseClick(d->fetchButton(), Qt::LeftButton);
                      });
        });
        QCOMPARE(listed, (QStringList{QStringLiteral("09506000  VERDE RIVER NEAR CAMP VERDE, AZ"),
                                      QStringLiteral("09500002  TWO CREEK, AZ")}));
        QCOMPARE(f.form->gageTable().rowCount(), 1);
        QCOMPARE(
            QDir(folder).entryList(QDir::Files),
            QStringList{QStringLiteral("09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt")});
        QVERIFY(f.prompts.messages.empty());
    }

    void cancellingStopsTheFetchingAndAddsNothing() {
        Fixture f;
        for (int i = 0; i < 3; ++i) f.service.replyFirst({503, "busy", {"Retry-After: 30"}, false});
        const QString folder = f.dir.filePath(QStringLiteral("gages"));
        bool stillOpen = false;
        f.addFromWeb([&](WebFetchDialog* d) {
            Fixture::fill(d, QStringLiteral("09506000"), folder);
            whenReady([&f, d] { return d->progress() && !f.service.requests().empty(); },
                      [&, d] {
                          QTest::mouseClick(d->progress()->findChild<QPushButton*>(),
                                            Qt::LeftButton);
                          whenReady([d] { return d->fetchButton()->isEnabled(); },
                                    [&, d] {
                                        stillOpen = d->isVisible();
                                        d->reject();
                                    });
                      });
        });
        QVERIFY(stillOpen);
        QCOMPARE(f.form->gageTable().rowCount(), 0);
        QVERIFY(f.prompts.messages.empty());
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
    }
};

QTEST_MAIN(WebFetchTest)
#include "test_web_fetch.moc"
