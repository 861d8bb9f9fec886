#include "runtime/exceptions.h"

namespace rt {

Exception::Exception(WideString message)
    : message_(std::move(message)), utf8_(WideToUtf8(message_)) {}

void Exception::SetMessage(WideString message) {
  message_ = std::move(message);
  utf8_ = WideToUtf8(message_);
}

}  // namespace rt
