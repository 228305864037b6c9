#include "web_fetch_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QVBoxLayout>
#include <chrono>

#include "errors.h"
#include "many_sites.h"
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
      state_(new QLineEdit),
      huc_(new QLineEdit),
      box_(new QLineEdit),
      find_(new QPushButton(QStringLiteral("Fi&nd Gages"))),
      found_(new QListWidget),
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

    state_->setPlaceholderText(QStringLiteral("e.g. AZ or 04"));
    huc_->setPlaceholderText(QStringLiteral("e.g. 1506"));
    box_->setPlaceholderText(QStringLiteral("W,S,E,N, e.g. -112.5,34,-111.5,35"));
    state_->setToolTip(QStringLiteral("A state's two letters or FIPS code."));
    huc_->setToolTip(QStringLiteral("The leading 2, 4, ... 12 digits of a hydrologic unit code."));
    box_->setToolTip(QStringLiteral("West, south, east and north edges in decimal degrees."));
    found_->setMinimumHeight(120);
    found_->setToolTip(
        QStringLiteral("The stream gages found with daily mean discharge in the "
                       "dates; the ticked ones are fetched."));
    connect(find_, &QPushButton::clicked, this, &WebFetchDialog::startFinding);
    auto* regionRow = new QHBoxLayout;
    regionRow->addWidget(new QLabel(QStringLiteral("State:")));
    regionRow->addWidget(state_);
    regionRow->addWidget(new QLabel(QStringLiteral("HUC:")));
    regionRow->addWidget(huc_);
    auto* boxRow = new QHBoxLayout;
    boxRow->addWidget(box_, 1);
    boxRow->addWidget(find_);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("USGS &site numbers:"), sites_);
    form->addRow(QStringLiteral("or the gages of a region:"), regionRow);
    form->addRow(QStringLiteral("or in a box:"), boxRow);
    form->addRow(QStringLiteral("Gages found:"), found_);
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

QString WebFetchDialog::checkRegion() const {
    if (state_->text().trimmed().isEmpty() && huc_->text().trimmed().isEmpty() &&
        box_->text().trimmed().isEmpty())
        return QStringLiteral("Enter a state, a hydrologic unit or a box to find gages in.");
    if (!state_->text().trimmed().isEmpty() &&
        !fetch::stateFipsCode(state_->text().trimmed().toStdString()))
        return QStringLiteral("Enter the state as its two letters (AZ) or its FIPS code (04).");
    const QString huc = huc_->text().trimmed();
    if (!huc.isEmpty() && !fetch::hucPrefixOf(huc.toStdString()))
        return QStringLiteral("Enter the hydrologic unit as its leading 2, 4, ... 12 digits.");
    if (!box_->text().trimmed().isEmpty() &&
        !fetch::boundingBox(box_->text().trimmed().toStdString()))
        return QStringLiteral("Enter the box as west,south,east,north in decimal degrees.");
    return checkDates();
}

QString WebFetchDialog::checkDates() const {
    for (const QLineEdit* date : {start_, end_})
        if (!date->text().trimmed().isEmpty() && !kDate.match(date->text().trimmed()).hasMatch())
            return QStringLiteral("Enter dates as YYYY-MM-DD, or leave them empty.");
    return {};
}

std::vector<fetch::FoundSite> WebFetchDialog::tickedGages() const {
    std::vector<fetch::FoundSite> ticked;
    for (int i = 0; i < found_->count() && i < static_cast<int>(foundSites_.size()); ++i)
        if (found_->item(i)->checkState() == Qt::Checked)
            ticked.push_back(foundSites_[static_cast<std::size_t>(i)]);
    return ticked;
}

QString WebFetchDialog::checkEntries() const {
    if (siteNumbers(sites_->text()).isEmpty() && tickedGages().empty())
        return QStringLiteral("Enter one or more site numbers, or find and tick gages.");
    if (const QString dates = checkDates(); !dates.isEmpty()) return dates;
    if (folder_->text().trimmed().isEmpty()) return QStringLiteral("Choose a folder to save in.");
    const QString service = service_->text().trimmed();
    if (!service.isEmpty() && !service.startsWith(QLatin1String("https://")) &&
        !service.startsWith(QLatin1String("http://")))
        return QStringLiteral("Enter the service address as https://..., or leave it empty.");
    return {};
}

fetch::FetchOptions WebFetchDialog::fetchOptions() {
    QSettings().setValue(baseUrlKey, service_->text().trimmed());
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
    return o;
}

void WebFetchDialog::showProgress(const QString& text, int steps) {
    progress_ = new QProgressDialog(text, QStringLiteral("Cancel"), 0, steps, this);
    progress_->setWindowTitle(windowTitle());
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    const auto cancel = cancel_;
    connect(progress_, &QProgressDialog::canceled, this, [cancel] { *cancel = true; });
    progress_->show();
    fetch_->setEnabled(false);
    find_->setEnabled(false);
}

void WebFetchDialog::startFinding() {
    QString problem = checkRegion();
    const QString service = service_->text().trimmed();
    if (problem.isEmpty() && !service.isEmpty() && !service.startsWith(QLatin1String("https://")) &&
        !service.startsWith(QLatin1String("http://")))
        problem = QStringLiteral("Enter the service address as https://..., or leave it empty.");
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    if (worker_.joinable()) worker_.join();
    fetch::SiteFilter filter;
    filter.stateCode = fetch::stateFipsCode(state_->text().trimmed().toStdString()).value_or("");
    filter.hucPrefix = huc_->text().trimmed().toStdString();
    filter.box = fetch::boundingBox(box_->text().trimmed().toStdString());
    fetch::FetchOptions o = fetchOptions();
    showProgress(QStringLiteral("Looking for stream gages..."), 0);
    worker_ = std::thread([this, filter, o] {
        std::vector<fetch::FoundSite> sites;
        QString failure;
        try {
            fetch::RateAllowance allowance;
            sites = fetch::findSites(filter, o, allowance);
        } catch (const vd::Error& e) {
            if (!vd::isFetchFailure(e.code())) throw;
            failure = e.code() == vd::ErrorCode::fetchCancelled ? QStringLiteral("cancelled")
                                                                : QString::fromStdString(e.what());
        }
        QMetaObject::invokeMethod(
            this,
            [this, sites = std::move(sites), failure]() mutable {
                gagesFound(std::move(sites), failure);
            },
            Qt::QueuedConnection);
    });
}

void WebFetchDialog::workerDone() {
    if (worker_.joinable()) worker_.join();
    if (progress_) {
        progress_->deleteLater();
        progress_ = nullptr;
    }
    fetch_->setEnabled(true);
    find_->setEnabled(true);
}

void WebFetchDialog::gagesFound(std::vector<fetch::FoundSite> sites, QString failure) {
    workerDone();
    if (failure == QStringLiteral("cancelled")) return;
    if (!failure.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), failure);
        return;
    }
    found_->clear();
    foundSites_ = std::move(sites);
    for (const fetch::FoundSite& s : foundSites_) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(s.id.number + "  " + s.name), found_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    if (foundSites_.empty())
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("No stream gage with daily mean discharge was "
                                                "found there in the dates."));
}

void WebFetchDialog::startFetching() {
    if (const QString problem = checkEntries(); !problem.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    if (worker_.joinable()) worker_.join();
    QSettings().setValue(folderKey, folder_->text().trimmed());
    const QStringList sites = siteNumbers(sites_->text());
    const std::vector<fetch::FoundSite> ticked = tickedGages();
    fetch::FetchOptions o = fetchOptions();
    const auto cancel = cancel_;
    const int steps = static_cast<int>(sites.size() + ticked.size());
    showProgress(sites.isEmpty() ? QStringLiteral("Fetching %1 gages...").arg(ticked.size())
                                 : QStringLiteral("Fetching site %1...").arg(sites.front()),
                 steps);

    worker_ = std::thread([this, sites, ticked, o, cancel]() mutable {
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
        o.progress = nullptr;
        int done = static_cast<int>(sites.size());
        try {
            fetch::RateAllowance allowance;
            if (!*cancel && !ticked.empty())
                fetch::fetchSites(ticked, o, allowance, [&](const fetch::SiteOutcome& site) {
                    for (const auto& path : site.written)
                        files << QString::fromStdString(path.string());
                    if (!site.error.empty()) failures << QString::fromStdString(site.error);
                    const QString number = QString::fromStdString(site.site.id.number);
                    const int at = ++done;
                    QMetaObject::invokeMethod(
                        this, [=, this] { siteProgress(at, number, 0); }, Qt::QueuedConnection);
                });
        } catch (const vd::Error& e) {
            if (!vd::isFetchFailure(e.code())) throw;
            if (e.code() != vd::ErrorCode::fetchCancelled)
                failures << QString::fromStdString(e.what());
        }
        const bool cancelled = *cancel;
        QMetaObject::invokeMethod(
            this, [=, this] { fetchingDone(files, failures, cancelled); }, Qt::QueuedConnection);
    });
}

void WebFetchDialog::siteProgress(int index, const QString& site, qulonglong days) {
    if (!progress_) return;
    progress_->setLabelText(days > 0
                                ? QStringLiteral("Site %1: %2 days received").arg(site).arg(days)
                                : QStringLiteral("Site %1 fetched").arg(site));
    progress_->setValue(index);  // last: a modal progress window handles events here
}

void WebFetchDialog::fetchingDone(QStringList files, QStringList failures, bool cancelled) {
    workerDone();
    if (cancelled) return;  // the dialog stays open for another try
    files_ = std::move(files);
    failures_ = std::move(failures);
    accept();
}

}  // namespace vd::ui
