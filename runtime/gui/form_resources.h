// Stored forms that a program carries as RCDATA resources of its own
// executable, read and checked by the form resource reader.
#pragma once

#include "runtime/form_data.h"

namespace gui {

// The form stored in the program's resource of that name. A missing
// resource raises rt::Exception; a malformed one rt::EFormResourceError.
rt::TFormObject LoadFormResource(const wchar_t* name);

}  // namespace gui
