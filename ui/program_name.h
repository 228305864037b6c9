// The program's name as captions and messages show it, with the version from the build.
#pragma once

#include <QString>

#include "vando_version.h"

namespace vd::ui {

// "VANDO 3.1b".
inline QString programName() {
    return QStringLiteral("VANDO ") + QString::fromLatin1(vd::version::text);
}

// The caption of the main window holding a parameter file: "VANDO 3 - analysis.vdp.1b", the
// file's name between the major version and the rest of the version.
inline QString parameterFileCaption(const QString& fileName) {
    return QStringLiteral("VANDO %1 - %2.%3%4")
        .arg(QString::fromLatin1(vd::version::major), fileName,
             QString::fromLatin1(vd::version::minor), QString::fromLatin1(vd::version::suffix));
}

}  // namespace vd::ui
