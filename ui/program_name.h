// The program's name as captions and messages show it, with the version from the build.
#pragma once

#include <QString>

#include "vando_version.h"

namespace vd::ui {

// "VANDO 3.1b".
inline QString programName() {
    return QStringLiteral("VANDO ") + QString::fromLatin1(vd::version::text);
}

// The caption of the main window holding a parameter file: "VANDO 3.1b - analysis.vdp".
inline QString parameterFileCaption(const QString& fileName) {
    return programName() + QStringLiteral(" - ") + fileName;
}

}  // namespace vd::ui
