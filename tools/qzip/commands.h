// The commands of qzip, one table row each, and its usage notes.
#pragma once

#include "tools/cli/command_line.h"

namespace qzip {

const cli::Tool& Tool();

}  // namespace qzip
