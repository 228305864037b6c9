// The kinds of flow file the reader takes, by name pattern: the file dialog's filters and
// the files a drop onto the gage table adds.
#pragma once

#include <QString>
#include <QStringList>

namespace vd::ui {

// "Flow files (*.txt *.cgi *.rdb *.flo)" first, then one filter per kind.
QStringList flowFileFilters();

// Whether the path's suffix is one of a flow file.
bool isFlowFileName(const QString& path);

}  // namespace vd::ui
