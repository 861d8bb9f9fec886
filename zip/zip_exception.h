// The archive engine's exception: a numbered error whose message comes from
// a fixed table of texts, chosen through the number of the raising site.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/classes.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/strings.h"

namespace zip {

using rt::WideString;
using rt::WideStringView;

class EZipException : public rt::Exception {
 public:
  // nativeError names the raising site. When archiver is given and has a
  // component name, the message starts with that name; args fill the
  // table text's directives.
  explicit EZipException(int32_t nativeError, const rt::TComponent* archiver = nullptr,
                         std::initializer_list<rt::FormatArg> args = {});

  // Index into the message table, 0 for a site the table does not know.
  int32_t ErrorCode() const { return errorCode_; }
  int32_t NativeError() const { return nativeError_; }

  static int32_t ErrorCodeOf(int32_t nativeError);
  // The table text for an error code; empty for a slot without text.
  static WideStringView MessageText(int32_t errorCode);

 private:
  int32_t errorCode_;
  int32_t nativeError_;
};

}  // namespace zip
