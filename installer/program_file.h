// The installer's own program file, which carries the payload: a ZIP
// archive appended to the program, whose offsets count from the start of
// the file.
#pragma once

#include "runtime/strings.h"
#include "zip/archive_integrity.h"

namespace installer {

// The full path of the running program.
rt::WideString ProgramPath();

// Whether the payload of the program file at path is whole, with what it
// holds. Raises the file layer's open error when the file cannot be read.
zip::TArchiveIntegrity CheckPayload(const rt::WideString& path);

}  // namespace installer
