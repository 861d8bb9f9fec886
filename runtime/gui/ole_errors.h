// The framework's errors of COM calls: a failing HRESULT becomes an
// EOleSysError with the system's text for it; an object that lacks an
// interface it must have raises EIntfCastError.
#pragma once

#include <windows.h>

#include "runtime/exceptions.h"

namespace gui {

class EOleSysError : public rt::Exception {
 public:
  explicit EOleSysError(HRESULT code);
  HRESULT ErrorCode() const { return code_; }

 private:
  HRESULT code_;
};

class EIntfCastError : public rt::Exception {
 public:
  EIntfCastError();
};

// Raises EOleSysError for a failing result; returns it otherwise.
HRESULT OleCheck(HRESULT result);

}  // namespace gui
