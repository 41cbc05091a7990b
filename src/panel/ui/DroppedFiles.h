#pragma once

#include <QStringList>

class QMimeData;

namespace solardesk {

// The local ".pvd" data files a drag carries, in its order; empty when it carries anything else
// as well (another file, a web address, text), so such a drop is refused as a whole.
QStringList DroppedDataFiles(const QMimeData* mime);

}  // namespace solardesk
