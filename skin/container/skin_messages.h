// Where the container reader sends the messages it shows the user. The
// portable code cannot show a message box; a windowing layer installs a
// sink that does.
#pragma once

#include "runtime/strings.h"

namespace skin {

using TSkinMessageSink = void (*)(const rt::WideString& message);

// Installs sink and returns the one it replaces; nullptr restores the
// default, which writes the message to the standard error stream.
TSkinMessageSink SetSkinMessageSink(TSkinMessageSink sink);

void ShowSkinMessage(const rt::WideString& message);

}  // namespace skin
