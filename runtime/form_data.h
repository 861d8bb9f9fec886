// A stored form: the tree of components of a window with the values of
// their published properties, as the form resource holds it. The reader
// and writer of the resource's bytes and the text form kept in the source
// tree both produce and consume this tree; the GUI framework turns it into
// live components.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/strings.h"

namespace rt {

struct TFormValue;

// An identifier: an enumeration value ("alClient"), a colour name
// ("clBtnFace"), a Boolean ("True") or, for an event property, the name of
// the handler it binds ("FormCreate").
struct TFormIdent {
  std::string Name;
  bool operator==(const TFormIdent&) const = default;
};

// A set of identifiers: "[biSystemMenu, biMinimize]".
struct TFormSet {
  std::vector<std::string> Members;
  bool operator==(const TFormSet&) const = default;
};

// Binary data: a picture, a packed skin.
struct TFormBinary {
  std::vector<uint8_t> Bytes;
  bool operator==(const TFormBinary&) const = default;
};

// A list of values: the lines of a string list.
struct TFormList {
  std::vector<TFormValue> Items;
  bool operator==(const TFormList&) const;
};

struct TFormValue {
  std::variant<int64_t, double, WideString, TFormIdent, TFormSet, TFormBinary, TFormList> Value;
  bool operator==(const TFormValue&) const = default;
};

// Spelled out rather than defaulted: clang 14 crashes on a defaulted
// comparison defined after the recursive type it compares.
inline bool TFormList::operator==(const TFormList& other) const { return Items == other.Items; }

// One property; nested persistent objects use dotted names ("Font.Height",
// "Options.ShareMode").
struct TFormProperty {
  std::string Name;
  TFormValue Value;
  bool operator==(const TFormProperty&) const = default;
};

struct TFormObject {
  std::string ClassName;  // "TPanel"
  std::string Name;       // "Panel1"
  std::vector<TFormProperty> Properties;  // in stored order
  std::vector<TFormObject> Children;      // in creation order
  bool operator==(const TFormObject&) const = default;
};

}  // namespace rt
