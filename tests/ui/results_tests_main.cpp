// Runs the results-window test classes in one application.
#include <QApplication>
#include <QTest>
#include <memory>

QObject* makeResultsWindowsTests();
QObject* makeRunFromMainWindowTests();
QObject* makePlotWindowTests();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    for (QObject* (*make)() :
         {makeResultsWindowsTests, makeRunFromMainWindowTests, makePlotWindowTests}) {
        const std::unique_ptr<QObject> tests(make());
        failures += QTest::qExec(tests.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
