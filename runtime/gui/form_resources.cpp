#include "runtime/gui/form_resources.h"

#include <windows.h>

#include <cstdint>
#include <span>

#include "runtime/form_resource.h"
#include "runtime/format.h"
#include "runtime/stock_texts.h"
#include "runtime/wide_text_win.h"

namespace gui {

rt::TFormObject LoadFormResource(const wchar_t* name) {
  HRSRC found = FindResourceW(nullptr, name, reinterpret_cast<LPCWSTR>(RT_RCDATA));
  // Resource memory belongs to the module: nothing to free.
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (!bytes)
    throw rt::Exception(rt::Format(rt::kSResNotFound, {rt::WideFromWchar(name)}));
  return rt::ReadFormResource(std::span(bytes, SizeofResource(nullptr, found)));
}

}  // namespace gui
