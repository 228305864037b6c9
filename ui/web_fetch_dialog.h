// File > Add Gages From the Web: asks for site numbers, or finds the stream gages of a
// state, hydrologic unit or box to tick, an optional date range and a folder, then fetches
// each site's daily discharge from the USGS Water Data API on a worker thread behind a
// progress window that can cancel it.
#pragma once

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class QLineEdit;
class QListWidget;
class QProgressDialog;
class QPushButton;

namespace vd::fetch {
struct FetchOptions;
struct FoundSite;
}  // namespace vd::fetch

namespace vd::ui {

class WebFetchDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit WebFetchDialog(QWidget* parent = nullptr);
    ~WebFetchDialog() override;

    // After the dialog is accepted: the files written, and why any site failed.
    const QStringList& fetchedFiles() const { return files_; }
    const QStringList& failures() const { return failures_; }

    QLineEdit* sitesEdit() const { return sites_; }
    QLineEdit* startEdit() const { return start_; }
    QLineEdit* endEdit() const { return end_; }
    QLineEdit* folderEdit() const { return folder_; }
    QLineEdit* serviceEdit() const { return service_; }
    QLineEdit* stateEdit() const { return state_; }
    QLineEdit* hucEdit() const { return huc_; }
    QLineEdit* boxEdit() const { return box_; }
    QPushButton* findButton() const { return find_; }
    // The gages found, each with a check mark (set when found): the ticked ones are fetched.
    QListWidget* foundList() const { return found_; }
    QPushButton* fetchButton() const { return fetch_; }
    QProgressDialog* progress() const { return progress_; }

    // What is wrong with the entries, for the user; empty when they can be fetched.
    QString checkEntries() const;
    // What is wrong with the region, for the user; empty when its gages can be looked for.
    QString checkRegion() const;
    QString checkDates() const;

    // Settings: the folder last fetched into, and the service's address (a mirror, a local
    // server; empty means the service's own).
    static constexpr const char* folderKey = "webFetch/folder";
    static constexpr const char* baseUrlKey = "webFetch/baseUrl";

  private:
    void chooseFolder();
    void startFinding();
    // The worker's end: joined, its progress window gone, the buttons back.
    void workerDone();
    void gagesFound(std::vector<fetch::FoundSite> sites, QString failure);
    fetch::FetchOptions fetchOptions();
    void showProgress(const QString& text, int steps);
    std::vector<fetch::FoundSite> tickedGages() const;
    void startFetching();
    void siteProgress(int index, const QString& site, qulonglong days);
    void fetchingDone(QStringList files, QStringList failures, bool cancelled);

    QLineEdit* sites_;
    QLineEdit* start_;
    QLineEdit* end_;
    QLineEdit* folder_;
    QLineEdit* service_;
    QLineEdit* state_;
    QLineEdit* huc_;
    QLineEdit* box_;
    QPushButton* find_;
    QListWidget* found_;
    std::vector<fetch::FoundSite> foundSites_;  // in the order of the list
    QPushButton* fetch_;
    QProgressDialog* progress_ = nullptr;
    QStringList files_, failures_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    std::thread worker_;
};

}  // namespace vd::ui
