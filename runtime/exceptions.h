// The runtime's exception classes. Every error of the system is one of
// these: an exception that carries a wide message.
#pragma once

#include <exception>
#include <string>

#include "runtime/strings.h"

namespace rt {

class Exception : public std::exception {
 public:
  explicit Exception(WideString message);

  const WideString& Message() const { return message_; }
  void SetMessage(WideString message);
  // The message as UTF-8.
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  WideString message_;
  std::string utf8_;
};

// Leaves the current operation without any message being shown.
class EAbort : public Exception {
 public:
  EAbort() : Exception(u"Operation aborted") {}
};

class EConvertError : public Exception {
  using Exception::Exception;
};

class EStreamError : public Exception {
  using Exception::Exception;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFileStreamError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EFileStreamError {
  using EFileStreamError::EFileStreamError;
};
class EFOpenError : public EFileStreamError {
  using EFileStreamError::EFileStreamError;
};

// A failure of the file layer that is not tied to a stream.
class EFileLayerError : public Exception {
  using Exception::Exception;
};

class EListError : public Exception {
  using Exception::Exception;
};

}  // namespace rt
