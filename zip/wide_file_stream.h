// A file stream over the file layer, on a wide name.
#pragma once

#include "runtime/streams.h"
#include "zip/file_layer.h"

namespace zip {

// A file stream on a wide name that owns its handle. Mode kFmCreate creates
// the file; any other mode opens it. Raises rt::EFCreateError or
// rt::EFOpenError with the absolute name and the system's text.
class TWideFileStream : public rt::THandleStream {
 public:
  TWideFileStream(const WideString& name, uint16_t mode);
  ~TWideFileStream() override;
  WideString ClassName() const override { return u"TWideFileStream"; }
};

}  // namespace zip
