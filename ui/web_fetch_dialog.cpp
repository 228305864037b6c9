#include "web_fetch_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QVBoxLayout>
#include <chrono>

#include "errors.h"
#include "site_fetch.h"
#include "water_data_pages.h"

namespace vd::ui {
namespace {

const QRegularExpression kDate(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));

QStringList siteNumbers(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
}

// Waits in short steps, so that cancelling does not wait out a long Retry-After.
void sleepUnlessCancelled(std::chrono::milliseconds wait, const std::atomic<bool>& cancel) {
    using namespace std::chrono_literals;
    const auto until = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < until) {
        if (cancel) throw vd::Error(vd::ErrorCode::fetchCancelled);
        std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(50ms, wait));
    }
}

}  // namespace

WebFetchDialog::WebFetchDialog(QWidget* parent)
    : QDialog(parent),
      sites_(new QLineEdit),
      start_(new QLineEdit),
      end_(new QLineEdit),
      folder_(new QLineEdit),
      service_(new QLineEdit),
      fetch_(new QPushButton(QStringLiteral("&Fetch"))) {
    setWindowTitle(QStringLiteral("Add Gages From the Web"));
    sites_->setPlaceholderText(QStringLiteral("e.g. 09506000 11224000"));
    start_->setPlaceholderText(QStringLiteral("YYYY-MM-DD (optional)"));
    end_->setPlaceholderText(QStringLiteral("YYYY-MM-DD (optional)"));
    folder_->setText(QSettings().value(folderKey, QDir::homePath()).toString());
    service_->setText(QSettings().value(baseUrlKey).toString());
    service_->setPlaceholderText(QString::fromLatin1(fetch::kDefaultBaseUrl));
    service_->setToolTip(
        QStringLiteral("The address of the Water Data API, or of a mirror of "
                       "it; empty for the service's own address."));

    auto* browse = new QPushButton(QStringLiteral("&Browse..."));
    connect(browse, &QPushButton::clicked, this, &WebFetchDialog::chooseFolder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("USGS &site numbers:"), sites_);
    form->addRow(QStringLiteral("F&irst day:"), start_);
    form->addRow(QStringLiteral("&Last day:"), end_);
    auto* folderLabel = new QLabel(QStringLiteral("Save in f&older:"));
    folderLabel->setBuddy(folder_);
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("Service &address:"), service_);

    auto* note = new QLabel(
        QStringLiteral("Daily mean discharge is read from the USGS Water Data API and saved as one "
                       "tab-delimited file per gage, which is then added to the gage table."));
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    buttons->addButton(fetch_, QDialogButtonBox::AcceptRole);
    fetch_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &WebFetchDialog::startFetching);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

WebFetchDialog::~WebFetchDialog() {
    *cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void WebFetchDialog::chooseFolder() {
    const QString dir =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Save Gages In"), folder_->text());
    if (!dir.isEmpty()) folder_->setText(dir);
}

QString WebFetchDialog::checkEntries() const {
    if (siteNumbers(sites_->text()).isEmpty())
        return QStringLiteral("Enter one or more site numbers.");
    for (const QLineEdit* date : {start_, end_})
        if (!date->text().trimmed().isEmpty() && !kDate.match(date->text().trimmed()).hasMatch())
            return QStringLiteral("Enter dates as YYYY-MM-DD, or leave them empty.");
    if (folder_->text().trimmed().isEmpty()) return QStringLiteral("Choose a folder to save in.");
    const QString service = service_->text().trimmed();
    if (!service.isEmpty() && !service.startsWith(QLatin1String("https://")) &&
        !service.startsWith(QLatin1String("http://")))
        return QStringLiteral("Enter the service address as https://..., or leave it empty.");
    return {};
}

void WebFetchDialog::startFetching() {
    if (const QString problem = checkEntries(); !problem.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    if (worker_.joinable()) worker_.join();
    QSettings().setValue(folderKey, folder_->text().trimmed());
    QSettings().setValue(baseUrlKey, service_->text().trimmed());
    const QStringList sites = siteNumbers(sites_->text());

    fetch::FetchOptions o;
    o.baseUrl = service_->text().trimmed().toStdString();
    o.start = start_->text().trimmed().toStdString();
    o.end = end_->text().trimmed().toStdString();
    o.outDir = std::filesystem::path(QDir(folder_->text().trimmed()).absolutePath().toStdString());
    o.apiKey = fetch::apiKeyFromEnvironment();
    *cancel_ = false;
    const auto cancel = cancel_;
    o.cancelled = [cancel] { return cancel->load(); };
    o.retry.sleep = [cancel](std::chrono::milliseconds w) { sleepUnlessCancelled(w, *cancel); };

    progress_ =
        new QProgressDialog(QStringLiteral("Fetching site %1...").arg(sites.front()),
                            QStringLiteral("Cancel"), 0, static_cast<int>(sites.size()), this);
    progress_->setWindowTitle(windowTitle());
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    connect(progress_, &QProgressDialog::canceled, this, [cancel] { *cancel = true; });
    progress_->show();
    fetch_->setEnabled(false);

    worker_ = std::thread([this, sites, o, cancel]() mutable {
        QStringList files, failures;
        for (int i = 0; i < sites.size() && !*cancel; ++i) {
            const QString site = sites[i];
            o.progress = [this, i, site](const std::string&, std::size_t days) {
                QMetaObject::invokeMethod(
                    this, [=, this] { siteProgress(i, site, days); }, Qt::QueuedConnection);
            };
            try {
                for (const auto& path : fetch::fetchSite(site.toStdString(), o))
                    files << QString::fromStdString(path.string());
            } catch (const vd::Error& e) {
                if (e.code() == vd::ErrorCode::fetchCancelled) break;
                if (!vd::isFetchFailure(e.code())) throw;
                failures << QString::fromStdString(e.what());
            }
        }
        const bool cancelled = *cancel;
        QMetaObject::invokeMethod(
            this, [=, this] { fetchingDone(files, failures, cancelled); }, Qt::QueuedConnection);
    });
}

void WebFetchDialog::siteProgress(int index, const QString& site, qulonglong days) {
    if (!progress_) return;
    progress_->setLabelText(QStringLiteral("Site %1: %2 days received").arg(site).arg(days));
    progress_->setValue(index);  // last: a modal progress window handles events here
}

void WebFetchDialog::fetchingDone(QStringList files, QStringList failures, bool cancelled) {
    if (worker_.joinable()) worker_.join();
    if (progress_) {
        progress_->deleteLater();
        progress_ = nullptr;
    }
    fetch_->setEnabled(true);
    if (cancelled) return;  // the dialog stays open for another try
    files_ = std::move(files);
    failures_ = std::move(failures);
    accept();
}

}  // namespace vd::ui
