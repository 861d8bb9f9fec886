#include "runtime/published.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>

#include "runtime/format.h"
#include "runtime/text.h"

namespace rt {

namespace {

constexpr char16_t kSUnknownProperty[] = u"La classe %s n'a pas de propriété « %s »";
constexpr char16_t kSNotAnObject[] = u"La propriété « %s » de la classe %s n'est pas un objet";
constexpr char16_t kSWrongValueKind[] =
    u"La propriété %s.%s attend %s, pas %s";
constexpr char16_t kSUnknownIdent[] = u"Valeur « %s » invalide pour la propriété %s.%s";
constexpr char16_t kSOutOfRange[] = u"Valeur %s hors limites pour la propriété %s.%s";
constexpr char16_t kSReadOnly[] = u"La propriété %s.%s est en lecture seule";
constexpr char16_t kSNoText[] = u"La propriété %s.%s ne s'exprime pas en texte";
constexpr char16_t kSEventNeedsMethod[] = u"L'événement %s.%s attend une méthode liée à son objet";
constexpr char16_t kSNotAnEvent[] = u"La propriété %s.%s n'est pas un événement";
constexpr char16_t kSWrongHandler[] = u"La méthode %s ne convient pas à l'événement %s.%s";
constexpr char16_t kSWrongObject[] = u"Un objet de classe %s n'est pas un %s";
constexpr char16_t kSFieldClass[] =
    u"Le composant %s est de classe %s, qui ne convient pas au champ du même nom";
constexpr char16_t kSClassNotFound[] = u"Classe %s introuvable";
constexpr char16_t kSNotCreatable[] = u"La classe %s ne peut pas être créée par son nom";

// Carried from a typed accessor to the code that knows the property's
// name, which turns them into EPropertyError.
struct ValueOutOfRange {
  int64_t value;
};
struct WrongHandler {
  std::string handler;
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

struct NameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
  }
};

// Entries keep their address for the life of the process: builders and
// lookups hold references to them.
std::map<std::string, std::unique_ptr<TClassInfo>, NameLess>& Registry() {
  static std::map<std::string, std::unique_ptr<TClassInfo>, NameLess> registry;
  return registry;
}

WideString W(std::string_view ascii) { return Utf8ToWide(ascii); }

WideString KindName(TPropertyKind kind) {
  switch (kind) {
    case TPropertyKind::Integer: return u"un entier";
    case TPropertyKind::Float: return u"un réel";
    case TPropertyKind::Boolean: return u"un booléen";
    case TPropertyKind::String: return u"une chaîne";
    case TPropertyKind::Enum: return u"un identificateur";
    case TPropertyKind::Set: return u"un ensemble";
    case TPropertyKind::Strings: return u"une liste de chaînes";
    case TPropertyKind::Binary: return u"des données binaires";
    case TPropertyKind::Object: return u"les propriétés de l'objet";
    case TPropertyKind::Event: return u"le nom d'une méthode";
  }
  return u"?";
}

WideString StoredKindName(const TFormValue& value) {
  static const char16_t* const kNames[] = {u"un entier",     u"un réel",    u"une chaîne",
                                           u"un identificateur", u"un ensemble",
                                           u"des données binaires", u"une liste"};
  return kNames[value.Value.index()];
}

// The class and dotted name that messages about a property show.
struct Where {
  WideString className;
  WideString property;
};

[[noreturn]] void RaiseWrongKind(const Where& at, const TPropertyInfo& info,
                                 const WideString& given) {
  throw EPropertyError(Format(kSWrongValueKind, {at.className, at.property, KindName(info.Kind), given}));
}

[[noreturn]] void RaiseUnknownIdent(const Where& at, std::string_view ident) {
  throw EPropertyError(Format(kSUnknownIdent, {W(ident), at.className, at.property}));
}

int64_t IdentIndex(const Where& at, const TPropertyInfo& info, std::string_view ident) {
  for (size_t i = 0; i < info.Idents.size(); ++i)
    if (SameName(info.Idents[i], ident)) return static_cast<int64_t>(i);
  RaiseUnknownIdent(at, ident);
}

std::optional<bool> ParseBoolean(std::string_view ident) {
  if (SameName(ident, "True")) return true;
  if (SameName(ident, "False")) return false;
  return std::nullopt;
}

int64_t SetBits(const Where& at, const TPropertyInfo& info, const std::vector<std::string>& members) {
  uint64_t bits = 0;
  for (const auto& member : members) {
    const int64_t bit = IdentIndex(at, info, member);
    if (bit >= 63) RaiseUnknownIdent(at, member);
    bits |= uint64_t{1} << bit;
  }
  return static_cast<int64_t>(bits);
}

TPropertyValue Decode(const Where& at, const TPropertyInfo& info, const TFormValue& value) {
  const auto& v = value.Value;
  switch (info.Kind) {
    case TPropertyKind::Integer:
      if (auto* i = std::get_if<int64_t>(&v)) return *i;
      if (auto* ident = std::get_if<TFormIdent>(&v); ident && !info.IdentMap.empty()) {
        if (auto named = IdentToValue(info.IdentMap, ident->Name)) return *named;
        RaiseUnknownIdent(at, ident->Name);
      }
      break;
    case TPropertyKind::Float:
      if (auto* d = std::get_if<double>(&v)) return *d;
      if (auto* i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
      break;
    case TPropertyKind::Boolean:
      if (auto* ident = std::get_if<TFormIdent>(&v)) {
        if (auto b = ParseBoolean(ident->Name)) return *b;
        RaiseUnknownIdent(at, ident->Name);
      }
      break;
    case TPropertyKind::String:
      if (auto* s = std::get_if<WideString>(&v)) return *s;
      break;
    case TPropertyKind::Enum:
      if (auto* ident = std::get_if<TFormIdent>(&v)) return IdentIndex(at, info, ident->Name);
      break;
    case TPropertyKind::Set:
      if (auto* set = std::get_if<TFormSet>(&v)) return SetBits(at, info, set->Members);
      break;
    case TPropertyKind::Strings:
      if (auto* list = std::get_if<TFormList>(&v)) {
        std::vector<WideString> lines;
        for (const auto& item : list->Items) {
          auto* s = std::get_if<WideString>(&item.Value);
          if (!s) RaiseWrongKind(at, info, u"une liste qui contient " + StoredKindName(item));
          lines.push_back(*s);
        }
        return lines;
      }
      break;
    case TPropertyKind::Binary:
      if (auto* b = std::get_if<TFormBinary>(&v)) return b->Bytes;
      break;
    case TPropertyKind::Event:
      throw EPropertyError(Format(kSEventNeedsMethod, {at.className, at.property}));
    case TPropertyKind::Object:
      break;
  }
  RaiseWrongKind(at, info, StoredKindName(value));
}

TFormValue Encode(const TPropertyInfo& info, const TPropertyValue& value) {
  switch (info.Kind) {
    case TPropertyKind::Boolean:
      return {TFormIdent{std::get<bool>(value) ? "True" : "False"}};
    case TPropertyKind::Enum: {
      const int64_t ordinal = std::get<int64_t>(value);
      if (ordinal >= 0 && static_cast<uint64_t>(ordinal) < info.Idents.size())
        return {TFormIdent{info.Idents[static_cast<size_t>(ordinal)]}};
      return {ordinal};
    }
    case TPropertyKind::Set: {
      const auto bits = static_cast<uint64_t>(std::get<int64_t>(value));
      TFormSet set;
      for (size_t i = 0; i < info.Idents.size() && i < 63; ++i)
        if (bits >> i & 1) set.Members.push_back(info.Idents[i]);
      return {set};
    }
    case TPropertyKind::Strings: {
      TFormList list;
      for (const auto& line : std::get<std::vector<WideString>>(value)) list.Items.push_back({line});
      return {list};
    }
    case TPropertyKind::Binary:
      return {TFormBinary{std::get<std::vector<uint8_t>>(value)}};
    case TPropertyKind::Integer:
      return {std::get<int64_t>(value)};
    case TPropertyKind::Float:
      return {std::get<double>(value)};
    case TPropertyKind::String:
      return {std::get<WideString>(value)};
    case TPropertyKind::Object:
    case TPropertyKind::Event:
      break;
  }
  return {};
}

// The holder of a dotted name's last part and its property, or a message
// when a part does not exist.
struct Resolved {
  TObject* holder = nullptr;
  const TPropertyInfo* info = nullptr;
  WideString problem;
};

Resolved Resolve(TObject& object, std::string_view name) {
  TObject* holder = &object;
  size_t start = 0;
  while (true) {
    const size_t dot = name.find('.', start);
    const std::string_view part = name.substr(start, dot == std::string_view::npos ? dot : dot - start);
    const TClassInfo* cls = FindClassInfo(WideToUtf8(holder->ClassName()));
    const TPropertyInfo* info = cls ? cls->FindProperty(part) : nullptr;
    if (!info) return {nullptr, nullptr, Format(kSUnknownProperty, {object.ClassName(), W(name)})};
    if (dot == std::string_view::npos) return {holder, info, {}};
    if (info->Kind != TPropertyKind::Object)
      return {nullptr, nullptr, Format(kSNotAnObject, {W(name.substr(0, dot)), object.ClassName()})};
    holder = &info->Object(*holder);
    start = dot + 1;
  }
}

struct Target {
  TObject& holder;
  const TPropertyInfo& info;
  Where at;
};

Target Require(TObject& object, std::string_view name) {
  Resolved r = Resolve(object, name);
  if (!r.info) throw EPropertyError(r.problem);
  return {*r.holder, *r.info, {object.ClassName(), W(name)}};
}

void Store(const Target& t, const TPropertyValue& value) {
  if (!t.info.Set) throw EPropertyError(Format(kSReadOnly, {t.at.className, t.at.property}));
  try {
    t.info.Set(t.holder, value);
  } catch (const ValueOutOfRange& e) {
    throw EPropertyError(Format(kSOutOfRange, {W(std::to_string(e.value)), t.at.className, t.at.property}));
  }
}

TPropertyValue Fetch(const Target& t) { return t.info.Get(t.holder); }

std::optional<int64_t> ParseInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative) {
    if (magnitude > uint64_t{1} << 63) return std::nullopt;
    return static_cast<int64_t>(0 - magnitude);
  }
  if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
  return static_cast<int64_t>(magnitude);
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

namespace detail {

void RaiseWrongObject(const TObject& object, const char* expected) {
  throw EPropertyError(Format(kSWrongObject, {object.ClassName(), W(expected)}));
}
void RaiseOutOfRange(int64_t value) { throw ValueOutOfRange{value}; }
void RaiseWrongHandler(const std::string& handler) { throw WrongHandler{handler}; }
void RaiseFieldClass(const std::string& field, const TComponent& component) {
  throw EPropertyError(Format(kSFieldClass, {W(field), component.ClassName()}));
}

WideString AnsiPropertyToWide(const std::string& value) { return AnsiToWide(value); }
std::string WidePropertyToAnsi(const WideString& value) { return WideToAnsi(value); }

}  // namespace detail

// ---- Class entries ----

const TClassInfo* TClassInfo::Parent() const {
  return parentName_.empty() ? nullptr : FindClassInfo(parentName_);
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
  for (const TClassInfo* c = this; c; c = c->Parent())
    if (SameName(c->name_, className)) return true;
  return false;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->Parent())
    for (const auto& p : c->properties_)
      if (SameName(p.Name, name)) return &p;
  return nullptr;
}

const THandlerInfo* TClassInfo::FindHandler(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->Parent())
    for (const auto& h : c->handlers_)
      if (SameName(h.Name, name)) return &h;
  return nullptr;
}

std::vector<const TPropertyInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->Parent()) chain.push_back(c);
  std::vector<const TPropertyInfo*> all;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const auto& p : (*it)->properties_)
      // A class may publish a property again to change its accessors.
      if (FindProperty(p.Name) == &p) all.push_back(&p);
  return all;
}

std::vector<const TFieldInfo*> TClassInfo::Fields() const {
  std::vector<const TFieldInfo*> all;
  for (const TClassInfo* c = this; c; c = c->Parent())
    for (const auto& f : c->fields_) all.push_back(&f);
  return all;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
  if (!factory_) throw EClassNotFound(Format(kSNotCreatable, {W(name_)}));
  return factory_(owner);
}

const TClassInfo::ParentSetter* TClassInfo::FindParentSetter() const {
  for (const TClassInfo* c = this; c; c = c->Parent())
    if (c->parentSetter_) return &c->parentSetter_;
  return nullptr;
}

void ClearClassInfo(TClassInfo& info, std::string parentName) {
  info.parentName_ = std::move(parentName);
  info.properties_.clear();
  info.handlers_.clear();
  info.fields_.clear();
  info.factory_ = nullptr;
  info.parentSetter_ = nullptr;
}

namespace {

// The roots of the runtime's object model, so that every component
// publishes its Name and Tag. Registering them goes through
// RegisterClassInfo, which seeds first; the flags stop the recursion.
void SeedComponentClasses() {
  static bool seeding = false;
  if (seeding) return;
  seeding = true;
  RegisterClassInfo("TObject", "");
  RegisterClassInfo("TPersistent", "TObject");
  PublishClass<TComponent>("TComponent", "TPersistent")
      .String("Name", &TComponent::Name, &TComponent::SetName)
      .Integer("Tag", &TComponent::Tag, &TComponent::SetTag);
}

}  // namespace

TClassInfo& RegisterClassInfo(std::string name, std::string parentName) {
  SeedComponentClasses();
  auto& registry = Registry();
  auto it = registry.find(name);
  if (it == registry.end())
    it = registry.emplace(name, std::make_unique<TClassInfo>(name)).first;
  ClearClassInfo(*it->second, std::move(parentName));
  return *it->second;
}

const TClassInfo* FindClassInfo(std::string_view name) {
  SeedComponentClasses();
  auto& registry = Registry();
  auto it = registry.find(name);
  return it == registry.end() ? nullptr : it->second.get();
}

const TClassInfo& RequireClassInfo(std::string_view name) {
  if (const TClassInfo* info = FindClassInfo(name)) return *info;
  throw EClassNotFound(Format(kSClassNotFound, {W(name)}));
}

const TClassInfo& ClassInfoOf(const TObject& object) {
  return RequireClassInfo(WideToUtf8(object.ClassName()));
}

TComponent* CreateComponent(std::string_view className, TComponent* owner) {
  return RequireClassInfo(className).Create(owner);
}

// ---- Access by name ----

std::pair<TObject*, const TPropertyInfo*> ResolveProperty(TObject& object, std::string_view name) {
  const Resolved r = Resolve(object, name);
  return {r.holder, r.info};
}

bool HasProperty(TObject& object, std::string_view name) {
  return Resolve(object, name).info != nullptr;
}

TFormValue GetProperty(TObject& object, std::string_view name) {
  const Target t = Require(object, name);
  if (t.info.Kind == TPropertyKind::Object || t.info.Kind == TPropertyKind::Event)
    RaiseWrongKind(t.at, t.info, u"une valeur");
  return Encode(t.info, Fetch(t));
}

void SetProperty(TObject& object, std::string_view name, const TFormValue& value) {
  const Target t = Require(object, name);
  Store(t, Decode(t.at, t.info, value));
}

WideString GetPropertyText(TObject& object, std::string_view name) {
  const Target t = Require(object, name);
  switch (t.info.Kind) {
    case TPropertyKind::Integer: {
      const int64_t value = std::get<int64_t>(Fetch(t));
      if (auto ident = ValueToIdent(t.info.IdentMap, value)) return W(*ident);
      return W(std::to_string(value));
    }
    case TPropertyKind::Float: {
      char buffer[32];
      const auto r = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(Fetch(t)));
      return W(std::string_view(buffer, static_cast<size_t>(r.ptr - buffer)));
    }
    case TPropertyKind::Boolean:
    case TPropertyKind::Enum:
      return W(std::get<TFormIdent>(Encode(t.info, Fetch(t)).Value).Name);
    case TPropertyKind::String:
      return std::get<WideString>(Fetch(t));
    case TPropertyKind::Set: {
      const auto set = std::get<TFormSet>(Encode(t.info, Fetch(t)).Value);
      std::string text = "[";
      for (size_t i = 0; i < set.Members.size(); ++i) text += (i ? ", " : "") + set.Members[i];
      return W(text + "]");
    }
    case TPropertyKind::Strings: {
      const TPropertyValue lines = Fetch(t);
      WideString text;
      for (const auto& line : std::get<std::vector<WideString>>(lines)) text += line + u"\r\n";
      return text;
    }
    case TPropertyKind::Binary:
    case TPropertyKind::Object:
    case TPropertyKind::Event:
      break;
  }
  throw EPropertyError(Format(kSNoText, {t.at.className, t.at.property}));
}

void SetPropertyText(TObject& object, std::string_view name, WideStringView text) {
  const Target t = Require(object, name);
  const std::string utf8 = WideToUtf8(text);
  const std::string trimmed = Trimmed(utf8);
  TFormValue value;
  switch (t.info.Kind) {
    case TPropertyKind::Integer:
      if (auto named = IdentToValue(t.info.IdentMap, trimmed)) {
        value = {*named};
      } else if (auto number = ParseInteger(trimmed)) {
        value = {*number};
      } else {
        RaiseUnknownIdent(t.at, utf8);
      }
      break;
    case TPropertyKind::Float: {
      double d = 0;
      const auto r = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), d);
      if (trimmed.empty() || r.ec != std::errc() || r.ptr != trimmed.data() + trimmed.size())
        RaiseUnknownIdent(t.at, utf8);
      value = {d};
      break;
    }
    case TPropertyKind::Boolean:
    case TPropertyKind::Enum:
      value = {TFormIdent{trimmed}};
      break;
    case TPropertyKind::String:
      value = {WideString(text)};
      break;
    case TPropertyKind::Set: {
      if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']')
        RaiseUnknownIdent(t.at, utf8);
      TFormSet set;
      const std::string inner = trimmed.substr(1, trimmed.size() - 2);
      size_t start = 0;
      while (start <= inner.size()) {
        const size_t comma = std::min(inner.find(',', start), inner.size());
        const std::string member = Trimmed(std::string_view(inner).substr(start, comma - start));
        if (!member.empty()) set.Members.push_back(member);
        else if (comma < inner.size()) RaiseUnknownIdent(t.at, utf8);
        start = comma + 1;
      }
      value = {set};
      break;
    }
    case TPropertyKind::Strings: {
      TFormList list;
      WideString line;
      for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
          list.Items.push_back({line});
          line.clear();
          if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
          line += text[i];
        }
      }
      if (!line.empty()) list.Items.push_back({line});
      value = {list};
      break;
    }
    case TPropertyKind::Binary:
    case TPropertyKind::Object:
    case TPropertyKind::Event:
      throw EPropertyError(Format(kSNoText, {t.at.className, t.at.property}));
  }
  Store(t, Decode(t.at, t.info, value));
}

TPersistent& GetObjectProperty(TObject& object, std::string_view name) {
  const Target t = Require(object, name);
  if (t.info.Kind != TPropertyKind::Object)
    throw EPropertyError(Format(kSNotAnObject, {t.at.property, t.at.className}));
  return t.info.Object(t.holder);
}

std::any GetEventProperty(TObject& object, std::string_view name) {
  const Target t = Require(object, name);
  if (t.info.Kind != TPropertyKind::Event)
    throw EPropertyError(Format(kSNotAnEvent, {t.at.className, t.at.property}));
  return t.info.GetEvent(t.holder);
}

void SetEventProperty(TObject& object, std::string_view name, const TMethod& method) {
  const Target t = Require(object, name);
  if (t.info.Kind != TPropertyKind::Event)
    throw EPropertyError(Format(kSNotAnEvent, {t.at.className, t.at.property}));
  try {
    t.info.SetEvent(t.holder, method.Function);
  } catch (const WrongHandler&) {
    throw EPropertyError(Format(kSWrongHandler, {W(method.Name), t.at.className, t.at.property}));
  }
}

}  // namespace rt
