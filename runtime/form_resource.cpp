#include "runtime/form_resource.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <string>

#include "runtime/byte_order.h"
#include "runtime/byte_reader.h"
#include "runtime/format.h"

namespace rt {

namespace {

constexpr uint8_t kMagic[4] = {'Q', 'F', 'R', 'M'};
constexpr uint16_t kVersion = 1;

enum ValueKind : uint8_t {
  vkInteger = 1,
  vkFloat = 2,
  vkString = 3,
  vkIdent = 4,
  vkSet = 5,
  vkBinary = 6,
  vkList = 7,
};

// The variant's alternatives in the order of form_data.h, by kind.
constexpr ValueKind kKindOfAlternative[] = {vkInteger, vkFloat, vkString, vkIdent,
                                            vkSet,     vkBinary, vkList};
static_assert(std::variant_size_v<decltype(TFormValue::Value)> == std::size(kKindOfAlternative));

// Whether a length fits a 32-bit field; always, where size_t has 32 bits.
template <typename Size>
bool FitsIn32(Size size) {
  if constexpr (sizeof(Size) > 4)
    return size <= UINT32_MAX;
  else
    return true;
}

// A name as a message can show it: bytes outside printable ASCII become "?".
WideString Printable(std::string_view name) {
  WideString out;
  for (const char c : name) out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char16_t>(c) : u'?');
  return out;
}

// What a limit counts, for the messages.
struct CountRule {
  uint32_t limit;
  const char16_t* what;
};
constexpr CountRule kProperties{kFormMaxProperties, u"trop de propriétés"};
constexpr CountRule kChildren{kFormMaxChildren, u"trop de composants"};
constexpr CountRule kSetMembers{kFormMaxSetMembers, u"trop de membres d'ensemble"};
constexpr CountRule kListItems{kFormMaxListItems, u"trop d'éléments de liste"};

class FormReader {
 public:
  explicit FormReader(std::span<const uint8_t> bytes) : in_(bytes) {}

  TFormObject ReadResource() {
    const auto magic = in_.Bytes(sizeof kMagic);
    Check();
    if (!std::equal(magic.begin(), magic.end(), kMagic))
      Fail(u"signature \"QFRM\" absente", 0);
    const uint16_t version = in_.U16();
    const uint16_t reserved = in_.U16();
    Check();
    if (version != kVersion) Fail(Format(u"version %d non prise en charge", {version}), 4);
    if (reserved != 0) Fail(u"champ réservé non nul", 6);
    TFormObject root = ReadObject(1);
    if (!in_.AtEnd())
      Fail(Format(u"%d octets inattendus après la fiche", {in_.Remaining()}), in_.Offset());
    return root;
  }

 private:
  [[noreturn]] void Fail(const WideString& what, size_t offset) {
    throw EFormResourceError(
        Format(u"Ressource de fiche invalide à l'octet %d : %s", {offset, what}), offset);
  }

  // Raises the reader's first failure, if there was one.
  void Check() {
    if (!in_.Failed()) return;
    Fail(Format(u"données tronquées (%d octets attendus, %d restants)",
                {in_.FailureWanted(), in_.FailureRemaining()}),
         in_.FailureOffset());
  }

  void Enter(int depth) {
    if (depth > kFormMaxDepth)
      Fail(Format(u"imbrication trop profonde (plus de %d niveaux)", {kFormMaxDepth}), in_.Offset());
  }

  // Every element takes at least one byte, so a count above what remains
  // is wrong before anything is allocated for it.
  uint32_t ReadCount(const CountRule& rule) {
    const size_t at = in_.Offset();
    const uint32_t count = in_.U32();
    Check();
    if (count > rule.limit || count > in_.Remaining())
      Fail(Format(u"%s : %d (au plus %d, %d octets restants)",
                  {rule.what, count, rule.limit, in_.Remaining()}),
           at);
    return count;
  }

  std::string ReadName(bool dotted) {
    const size_t at = in_.Offset();
    const uint8_t length = in_.U8();
    Check();
    if (length == 0) Fail(u"nom vide", at);
    const auto bytes = in_.Bytes(length);
    Check();
    std::string name(bytes.begin(), bytes.end());
    if (!IsFormIdentifier(name, dotted)) Fail(Format(u"nom \"%s\" invalide", {Printable(name)}), at);
    return name;
  }

  TFormObject ReadObject(int depth) {
    Enter(depth);
    TFormObject object;
    object.ClassName = ReadName(false);
    object.Name = ReadName(false);
    for (uint32_t n = ReadCount(kProperties); n > 0; --n) {
      TFormProperty property;
      property.Name = ReadName(true);
      property.Value = ReadValue(depth);
      object.Properties.push_back(std::move(property));
    }
    for (uint32_t n = ReadCount(kChildren); n > 0; --n) object.Children.push_back(ReadObject(depth + 1));
    return object;
  }

  TFormValue ReadValue(int depth) {
    const size_t at = in_.Offset();
    const uint8_t kind = in_.U8();
    Check();
    TFormValue value;
    switch (kind) {
      case vkInteger:
        value.Value = static_cast<int64_t>(in_.U64());
        break;
      case vkFloat:
        value.Value = std::bit_cast<double>(in_.U64());
        break;
      case vkString: {
        const uint32_t count = in_.U32();
        Check();
        // Halving the remainder keeps the test free of overflow on 32-bit.
        if (count > in_.Remaining() / 2)
          Fail(Format(u"chaîne de %d caractères pour %d octets restants", {count, in_.Remaining()}),
               at + 1);
        const auto bytes = in_.Bytes(size_t{count} * 2);
        WideString text(count, u'\0');
        for (size_t i = 0; i < count; ++i)
          text[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        value.Value = std::move(text);
        break;
      }
      case vkIdent:
        value.Value = TFormIdent{ReadName(false)};
        break;
      case vkSet: {
        TFormSet set;
        for (uint32_t n = ReadCount(kSetMembers); n > 0; --n) set.Members.push_back(ReadName(false));
        value.Value = std::move(set);
        break;
      }
      case vkBinary: {
        const uint32_t length = in_.U32();
        Check();
        if (length > in_.Remaining())
          Fail(Format(u"données binaires de %d octets pour %d restants", {length, in_.Remaining()}),
               at + 1);
        const auto bytes = in_.Bytes(length);
        value.Value = TFormBinary{std::vector<uint8_t>(bytes.begin(), bytes.end())};
        break;
      }
      case vkList: {
        Enter(depth + 1);
        TFormList list;
        for (uint32_t n = ReadCount(kListItems); n > 0; --n) list.Items.push_back(ReadValue(depth + 1));
        value.Value = std::move(list);
        break;
      }
      default:
        Fail(Format(u"type de valeur %d inconnu", {kind}), at);
    }
    Check();
    return value;
  }

  TByteReader in_;
};

class FormWriter {
 public:
  std::vector<uint8_t> WriteResource(const TFormObject& root) {
    out_.assign(std::begin(kMagic), std::end(kMagic));
    U16(kVersion);
    U16(0);
    WriteObject(root, 1);
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(const WideString& what) {
    throw EFormResourceError(Format(u"Ressource de fiche impossible à écrire : %s", {what}), out_.size());
  }

  void Enter(int depth) {
    if (depth > kFormMaxDepth)
      Fail(Format(u"imbrication trop profonde (plus de %d niveaux)", {kFormMaxDepth}));
  }

  void U8(uint8_t v) { out_.push_back(v); }
  void U16(uint16_t v) { AppendU16(out_, v); }
  void U32(uint32_t v) { AppendU32(out_, v); }
  void U64(uint64_t v) { AppendU64(out_, v); }

  void Count(size_t count, const CountRule& rule) {
    if (count > rule.limit) Fail(Format(u"%s : %d (au plus %d)", {rule.what, count, rule.limit}));
    U32(static_cast<uint32_t>(count));
  }

  void Name(const std::string& name, bool dotted) {
    if (name.size() > kFormMaxNameLength || !IsFormIdentifier(name, dotted))
      Fail(Format(u"nom \"%s\" invalide", {Printable(name)}));
    U8(static_cast<uint8_t>(name.size()));
    out_.insert(out_.end(), name.begin(), name.end());
  }

  void WriteObject(const TFormObject& object, int depth) {
    Enter(depth);
    Name(object.ClassName, false);
    Name(object.Name, false);
    Count(object.Properties.size(), kProperties);
    for (const auto& property : object.Properties) {
      Name(property.Name, true);
      WriteValue(property.Value, depth);
    }
    Count(object.Children.size(), kChildren);
    for (const auto& child : object.Children) WriteObject(child, depth + 1);
  }

  void WriteValue(const TFormValue& value, int depth) {
    U8(kKindOfAlternative[value.Value.index()]);
    if (const auto* i = std::get_if<int64_t>(&value.Value)) {
      U64(static_cast<uint64_t>(*i));
    } else if (const auto* f = std::get_if<double>(&value.Value)) {
      U64(std::bit_cast<uint64_t>(*f));
    } else if (const auto* s = std::get_if<WideString>(&value.Value)) {
      if (!FitsIn32(s->size())) Fail(u"chaîne trop longue");
      U32(static_cast<uint32_t>(s->size()));
      for (const char16_t c : *s) U16(c);
    } else if (const auto* ident = std::get_if<TFormIdent>(&value.Value)) {
      Name(ident->Name, false);
    } else if (const auto* set = std::get_if<TFormSet>(&value.Value)) {
      Count(set->Members.size(), kSetMembers);
      for (const auto& member : set->Members) Name(member, false);
    } else if (const auto* binary = std::get_if<TFormBinary>(&value.Value)) {
      if (!FitsIn32(binary->Bytes.size())) Fail(u"données binaires trop longues");
      U32(static_cast<uint32_t>(binary->Bytes.size()));
      out_.insert(out_.end(), binary->Bytes.begin(), binary->Bytes.end());
    } else {
      const auto& list = std::get<TFormList>(value.Value);
      Enter(depth + 1);
      Count(list.Items.size(), kListItems);
      for (const auto& item : list.Items) WriteValue(item, depth + 1);
    }
  }

  std::vector<uint8_t> out_;
};

bool IsIdentifierStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentifierPart(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

}  // namespace

bool IsFormIdentifier(std::string_view name, bool dotted) {
  bool segmentStart = true;
  for (const char c : name) {
    if (c == '.' && dotted && !segmentStart) {
      segmentStart = true;
    } else if (segmentStart ? IsIdentifierStart(c) : IsIdentifierPart(c)) {
      segmentStart = false;
    } else {
      return false;
    }
  }
  return !segmentStart;
}

std::vector<uint8_t> WriteFormResource(const TFormObject& root) { return FormWriter().WriteResource(root); }

TFormObject ReadFormResource(std::span<const uint8_t> bytes) { return FormReader(bytes).ReadResource(); }

}  // namespace rt
