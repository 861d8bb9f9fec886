#include "installer/exit_codes.h"

namespace installer {

const char* ExitCodeMeaning(TExitCode code) {
  switch (code) {
    case ecDone: return "done";
    case ecCancelled: return "cancelled";
    case ecPayloadDamaged: return "payload damaged or incomplete";
    case ecFolderNotCreated: return "folder cannot be created";
    case ecIncomplete: return "some entries not installed";
    case ecNoRoom: return "not enough room";
    case ecBadCommandLine: return "bad command line";
  }
  return "unknown";
}

}  // namespace installer
