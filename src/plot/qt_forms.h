// The core's colours and number texts in Qt's types, for whatever shows them.
#pragma once

#include <QColor>
#include <QString>

#include "plot/colors.h"
#include "plot/numtext.h"

namespace kv {

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }
inline Rgb FromQColor(const QColor& c) { return Rgb{c.red(), c.green(), c.blue()}; }

// GeneralText as a QString, for captions and messages.
inline QString NumberText(double value) { return QString::fromStdString(GeneralText(value)); }

}  // namespace kv
