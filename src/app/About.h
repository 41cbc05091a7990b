#pragma once

#include <QString>

namespace solardesk {

// The text of Help > About: the program's version, the versions of Qt and hidapi it runs with,
// and its licence.
QString AboutText();

// Where Help > User guide finds the guide: installed beside the program's share folder, or
// beside the program in the build tree. Empty when there is none.
QString UserGuidePath();

}  // namespace solardesk
