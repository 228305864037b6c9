// File > Add Gages From the Web: asks for site numbers, an optional date range and a
// folder, then fetches each site's daily discharge from the USGS Water Data API on a worker
// thread behind a progress window that can cancel it.
#pragma once

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>

class QLineEdit;
class QProgressDialog;
class QPushButton;

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
    QPushButton* fetchButton() const { return fetch_; }
    QProgressDialog* progress() const { return progress_; }

    // What is wrong with the entries, for the user; empty when they can be fetched.
    QString checkEntries() const;

    // Settings: the folder last fetched into, and the service's address (a mirror, a local
    // server; empty means the service's own).
    static constexpr const char* folderKey = "webFetch/folder";
    static constexpr const char* baseUrlKey = "webFetch/baseUrl";

  private:
    void chooseFolder();
    void startFetching();
    void siteProgress(int index, const QString& site, qulonglong days);
    void fetchingDone(QStringList files, QStringList failures, bool cancelled);

    QLineEdit* sites_;
    QLineEdit* start_;
    QLineEdit* end_;
    QLineEdit* folder_;
    QLineEdit* service_;
    QPushButton* fetch_;
    QProgressDialog* progress_ = nullptr;
    QStringList files_, failures_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    std::thread worker_;
};

}  // namespace vd::ui
