#include "flow_file_kinds.h"

#include <QFileInfo>

namespace vd::ui {
namespace {

struct FlowFileKind {
    const char* description;
    const char* suffix;
};

// The reader tells the kinds apart by their text; the suffix only guides the dialog.
constexpr FlowFileKind kinds[] = {{"USGS NWIS flow files", "txt"},
                                  {"USGS flow files", "cgi"},
                                  {"USGS NWIS RDB files", "rdb"},
                                  {"\"Old\" flow files", "flo"},
                                  {"Water Data API CSV files", "csv"},
                                  {"Water Data API GeoJSON files", "json"},
                                  {"Water Data API GeoJSON files", "geojson"}};

}  // namespace

QStringList flowFileFilters() {
    QStringList patterns;
    QStringList filters;
    for (const FlowFileKind& k : kinds) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(k.suffix);
        patterns << pattern;
        filters << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(k.description), pattern);
    }
    filters.prepend(QStringLiteral("Flow files (%1)").arg(patterns.join(QLatin1Char(' '))));
    return filters;
}

bool isFlowFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    for (const FlowFileKind& k : kinds)
        if (suffix.compare(QLatin1String(k.suffix), Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace vd::ui
