// The binary form resource: the bytes a program carries for each of its
// stored forms, and the reader that turns them back into the tree of
// form_data.h.
//
// Layout (all integers little-endian):
//   resource := "QFRM" u16 version(1) u16 reserved(0) object
//   object   := name(class) name(component) u32 count property*
//                                           u32 count object*
//   property := name(dotted) value
//   name     := u8 length(1..255) identifier bytes ("Font.Height" for a
//               property, a plain identifier otherwise)
//   value    := u8 kind, then by kind:
//     1 integer  i64
//     2 float    IEEE-754 binary64
//     3 string   u32 count of UTF-16 code units, then the units
//     4 ident    name
//     5 set      u32 count, then that many names
//     6 binary   u32 length, then the bytes
//     7 list     u32 count, then that many values
// Nothing may follow the root object. Every well-formed resource has
// exactly one encoding, so writing what was read gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/form_data.h"

namespace rt {

// Limits that the writer enforces and the reader checks, so that a tree
// the writer accepts always reads back.
inline constexpr int kFormMaxDepth = 32;  // objects and lists, nested
inline constexpr uint32_t kFormMaxProperties = 4096;
inline constexpr uint32_t kFormMaxChildren = 4096;
inline constexpr uint32_t kFormMaxSetMembers = 1024;
inline constexpr uint32_t kFormMaxListItems = 1u << 20;
inline constexpr size_t kFormMaxNameLength = 255;

// A form resource that cannot be read, or a tree that cannot be written;
// Offset() is the byte where the problem lies.
class EFormResourceError : public Exception {
 public:
  EFormResourceError(WideString message, size_t offset)
      : Exception(std::move(message)), offset_(offset) {}
  size_t Offset() const { return offset_; }

 private:
  size_t offset_;
};

std::vector<uint8_t> WriteFormResource(const TFormObject& root);

TFormObject ReadFormResource(std::span<const uint8_t> bytes);

// True for "Panel1" and, with dotted, for "Font.Height": ASCII letters,
// digits and "_", not starting with a digit.
bool IsFormIdentifier(std::string_view name, bool dotted);

}  // namespace rt
