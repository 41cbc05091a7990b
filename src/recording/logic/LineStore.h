#pragma once

// The list windows' line storage lives with the record reader, below every subsystem that
// holds lines.
#include "data/LineStore.h"
