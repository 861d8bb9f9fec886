// Published properties: per-class tables of named, typed properties that
// can be read and set by name, and the class registry that creates
// components by class name. Stored forms are turned into live components
// through these tables (form_binder.h); the skin engine reads and sets
// control properties ("Caption", "Font", "Transparent" ...) through them.
//
// A class is registered once, with the name its ClassName() returns and the
// name of the registered class it derives from; lookups walk that chain, so
// a class publishes only what it adds:
//
//   PublishClass<TPanel>("TPanel", "TWinControl")
//       .Creatable()
//       .Enum("BevelOuter", {"bvNone", "bvLowered", "bvRaised"},
//             &TPanel::BevelOuter, &TPanel::SetBevelOuter)
//       .Object("Font", [](TPanel& p) -> TPersistent& { return p.Font(); });
//
// Getters and setters are member function pointers or callables taking the
// object; the getter's result type is the property's type and decides the
// range that a setter accepts. Nested persistent objects are addressed with
// dotted names ("Font.Height", "Options.ShareMode"); their class must be
// registered too. Property, handler and field names compare without regard
// to ASCII case.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

#include "runtime/classes.h"
#include "runtime/colors.h"
#include "runtime/exceptions.h"
#include "runtime/form_data.h"

namespace rt {

// An unknown property, a value of the wrong kind or out of range, a
// read-only property, a handler that does not fit its event.
class EPropertyError : public Exception {
  using Exception::Exception;
};
// An unknown class name, or one that cannot be created by name.
class EClassNotFound : public Exception {
  using Exception::Exception;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// A handler method bound to its object, ready to be assigned to an event:
// Function holds a std::function of the handler's own signature.
struct TMethod {
  std::string Name;
  std::any Function;
};

enum class TPropertyKind { Integer, Float, Boolean, String, Enum, Set, Strings, Binary, Object, Event };

// A property value in the form a property's accessors exchange it:
// Integer (also enumeration ordinals and set bits), Float, Boolean, String,
// Strings, Binary.
using TPropertyValue = std::variant<int64_t, double, bool, WideString, std::vector<WideString>,
                                    std::vector<uint8_t>>;

struct TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = TPropertyKind::Integer;
  // Enumeration values by ordinal; set elements by bit number.
  std::vector<std::string> Idents;
  // Names of particular integer values (colours, character sets).
  TIdentMap IdentMap;
  // Every kind but Object and Event. Set is empty for a read-only property.
  std::function<TPropertyValue(TObject&)> Get;
  std::function<void(TObject&, const TPropertyValue&)> Set;
  // Object: the nested persistent object.
  std::function<TPersistent&(TObject&)> Object;
  // Event: the handler as std::any of the event's std::function type.
  std::function<std::any(TObject&)> GetEvent;
  std::function<void(TObject&, const std::any&)> SetEvent;
};

// A handler that a stored form names: binds the method to the form object.
struct THandlerInfo {
  std::string Name;
  std::function<TMethod(TObject& form)> Bind;
};

// A form member that the form binder points at the component of that name.
struct TFieldInfo {
  std::string Name;
  std::function<void(TObject& form, TComponent* component)> Assign;
  std::function<bool(TObject& form)> Bound;
};

class TClassInfo {
 public:
  explicit TClassInfo(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  const std::string& ParentName() const { return parentName_; }
  // The registered base class, or nullptr at the root of the chain.
  const TClassInfo* Parent() const;
  bool InheritsFrom(std::string_view className) const;

  // Searched along the chain, most derived class first.
  const TPropertyInfo* FindProperty(std::string_view name) const;
  const THandlerInfo* FindHandler(std::string_view name) const;
  // The chain's properties and fields, base class first.
  std::vector<const TPropertyInfo*> Properties() const;
  std::vector<const TFieldInfo*> Fields() const;

  bool Creatable() const { return static_cast<bool>(factory_); }
  // Raises EClassNotFound when the class has no factory.
  TComponent* Create(TComponent* owner) const;

  // Attaches a component of this class created by the form binder to the
  // component its stored object sits in; the nearest in the chain applies.
  using ParentSetter = std::function<void(TComponent& component, TComponent& parent)>;
  const ParentSetter* FindParentSetter() const;

 private:
  template <class T>
  friend class TClassBuilder;
  friend void ClearClassInfo(TClassInfo&, std::string);

  std::string name_;
  std::string parentName_;
  std::vector<TPropertyInfo> properties_;
  std::vector<THandlerInfo> handlers_;
  std::vector<TFieldInfo> fields_;
  std::function<TComponent*(TComponent*)> factory_;
  ParentSetter parentSetter_;
};

// The registry. Registering a name again starts its entry afresh.
TClassInfo& RegisterClassInfo(std::string name, std::string parentName);
const TClassInfo* FindClassInfo(std::string_view name);
// Raises EClassNotFound naming the class.
const TClassInfo& RequireClassInfo(std::string_view name);
// The entry of the object's ClassName(); raises EClassNotFound.
const TClassInfo& ClassInfoOf(const TObject& object);
// "TPanel" -> new TPanel(owner); raises EClassNotFound naming the class.
TComponent* CreateComponent(std::string_view className, TComponent* owner);

// Reading and setting by (dotted) name. Errors name the class and the
// property. Values of Integer properties with names (colours) read as
// numbers; Boolean, Enum read as identifiers; Set as a set; Strings as a
// list of strings.
bool HasProperty(TObject& object, std::string_view name);
TFormValue GetProperty(TObject& object, std::string_view name);
void SetProperty(TObject& object, std::string_view name, const TFormValue& value);
// The same through text, as the skin engine exchanges them: "True",
// "clBtnFace" or "-2147483633", "bvNone", "[fsBold]", lines joined by CR LF.
WideString GetPropertyText(TObject& object, std::string_view name);
void SetPropertyText(TObject& object, std::string_view name, WideStringView text);
// A nested persistent object ("Font").
TPersistent& GetObjectProperty(TObject& object, std::string_view name);
// Events: the handler as std::any of the event's std::function type (empty
// std::function when none); assigning raises when the types differ.
std::any GetEventProperty(TObject& object, std::string_view name);
void SetEventProperty(TObject& object, std::string_view name, const TMethod& method);

// The property a dotted name ends at and the object that holds it, or
// {nullptr, nullptr} when a part does not exist.
std::pair<TObject*, const TPropertyInfo*> ResolveProperty(TObject& object, std::string_view name);

namespace detail {

[[noreturn]] void RaiseWrongObject(const TObject& object, const char* expected);
[[noreturn]] void RaiseOutOfRange(int64_t value);
[[noreturn]] void RaiseWrongHandler(const std::string& handler);
[[noreturn]] void RaiseFieldClass(const std::string& field, const TComponent& component);

template <class T>
T& Self(TObject& object) {
  if (auto* self = dynamic_cast<T*>(&object)) return *self;
  RaiseWrongObject(object, typeid(T).name());
}

template <class V>
V CheckedInteger(int64_t value) {
  if constexpr (std::is_enum_v<V>) {
    return static_cast<V>(value);  // ordinals are checked against the names
  } else if constexpr (std::is_unsigned_v<V>) {
    if (value < 0 || static_cast<uint64_t>(value) > std::numeric_limits<V>::max())
      RaiseOutOfRange(value);
    return static_cast<V>(value);
  } else {
    if (value < std::numeric_limits<V>::min() || value > std::numeric_limits<V>::max())
      RaiseOutOfRange(value);
    return static_cast<V>(value);
  }
}

WideString AnsiPropertyToWide(const std::string& value);
std::string WidePropertyToAnsi(const WideString& value);

template <class T, class G>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<G&, T&>>;

}  // namespace detail

template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}

  // CreateComponent makes it with new T(owner).
  TClassBuilder& Creatable() {
    info_.factory_ = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return *this;
  }
  TClassBuilder& Factory(std::function<TComponent*(TComponent*)> factory) {
    info_.factory_ = std::move(factory);
    return *this;
  }
  TClassBuilder& Parent(std::function<void(T&, TComponent&)> setter) {
    info_.parentSetter_ = [setter = std::move(setter)](TComponent& c, TComponent& parent) {
      setter(detail::Self<T>(c), parent);
    };
    return *this;
  }

  // Integral (or enumeration-free integer) properties; idents name values.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Integer(std::string name, G get, S set = nullptr, TIdentMap idents = {}) {
    using V = detail::GetterResult<T, G>;
    static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool>, "an integer getter");
    auto& p = Add(std::move(name), TPropertyKind::Integer, get);
    p.IdentMap = idents;
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        std::invoke(set, detail::Self<T>(o), detail::CheckedInteger<V>(std::get<int64_t>(v)));
      };
    return *this;
  }
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Color(std::string name, G get, S set = nullptr) {
    return Integer(std::move(name), get, set, ColorIdents());
  }
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Float(std::string name, G get, S set = nullptr) {
    auto& p = Add(std::move(name), TPropertyKind::Float, get);
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        std::invoke(set, detail::Self<T>(o), std::get<double>(v));
      };
    return *this;
  }
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Boolean(std::string name, G get, S set = nullptr) {
    auto& p = Add(std::move(name), TPropertyKind::Boolean, get);
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        std::invoke(set, detail::Self<T>(o), std::get<bool>(v));
      };
    return *this;
  }
  // Wide strings, or 8-bit strings in the system ANSI code page.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& String(std::string name, G get, S set = nullptr) {
    using V = detail::GetterResult<T, G>;
    auto& p = Add(std::move(name), TPropertyKind::String, get);
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        const auto& text = std::get<WideString>(v);
        if constexpr (std::is_same_v<V, std::string>)
          std::invoke(set, detail::Self<T>(o), detail::WidePropertyToAnsi(text));
        else
          std::invoke(set, detail::Self<T>(o), text);
      };
    return *this;
  }
  // An enumeration whose values are named in ordinal order.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Enum(std::string name, std::vector<std::string> values, G get, S set = nullptr) {
    using V = detail::GetterResult<T, G>;
    auto& p = Add(std::move(name), TPropertyKind::Enum, get);
    p.Idents = std::move(values);
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        std::invoke(set, detail::Self<T>(o), static_cast<V>(std::get<int64_t>(v)));
      };
    return *this;
  }
  // A set held as bits of an unsigned integer, element i in bit i.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Set(std::string name, std::vector<std::string> elements, G get,
                     S set = nullptr) {
    using V = detail::GetterResult<T, G>;
    static_assert(std::is_unsigned_v<V>, "sets are held in unsigned integers");
    auto& p = Add(std::move(name), TPropertyKind::Set, get);
    p.Idents = std::move(elements);
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        std::invoke(set, detail::Self<T>(o), static_cast<V>(std::get<int64_t>(v)));
      };
    return *this;
  }
  // A list of strings: the getter returns, the setter takes, a
  // std::vector<WideString>.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Strings(std::string name, G get, S set = nullptr) {
    auto& p = Add(std::move(name), TPropertyKind::Strings, get);
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        std::invoke(set, detail::Self<T>(o), std::get<std::vector<WideString>>(v));
      };
    return *this;
  }
  // Raw bytes (a picture, a packed skin) as std::vector<uint8_t>.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Binary(std::string name, G get, S set = nullptr) {
    auto& p = Add(std::move(name), TPropertyKind::Binary, get);
    if constexpr (!std::is_null_pointer_v<S>)
      p.Set = [set](TObject& o, const TPropertyValue& v) {
        std::invoke(set, detail::Self<T>(o), std::get<std::vector<uint8_t>>(v));
      };
    return *this;
  }
  // A nested persistent object; the getter returns a reference to it.
  template <class G>
  TClassBuilder& Object(std::string name, G get) {
    TPropertyInfo p;
    p.Name = std::move(name);
    p.Kind = TPropertyKind::Object;
    p.Object = [get](TObject& o) -> TPersistent& { return std::invoke(get, detail::Self<T>(o)); };
    info_.properties_.push_back(std::move(p));
    return *this;
  }
  // An event held in a std::function member.
  template <class E, class C>
  TClassBuilder& Event(std::string name, E C::*member) {
    static_assert(std::is_base_of_v<C, T>);
    TPropertyInfo p;
    p.Name = std::move(name);
    p.Kind = TPropertyKind::Event;
    p.GetEvent = [member](TObject& o) { return std::any(detail::Self<T>(o).*member); };
    p.SetEvent = [member, eventName = p.Name](TObject& o, const std::any& f) {
      const E* handler = std::any_cast<E>(&f);
      if (!handler) detail::RaiseWrongHandler(eventName);
      detail::Self<T>(o).*member = *handler;
    };
    info_.properties_.push_back(std::move(p));
    return *this;
  }

  // An event reached through accessors; E is its std::function type.
  template <class E, class G, class S>
  TClassBuilder& Event(std::string name, G get, S set) {
    TPropertyInfo p;
    p.Name = std::move(name);
    p.Kind = TPropertyKind::Event;
    p.GetEvent = [get](TObject& o) { return std::any(E(std::invoke(get, detail::Self<T>(o)))); };
    p.SetEvent = [set, eventName = p.Name](TObject& o, const std::any& f) {
      const E* handler = std::any_cast<E>(&f);
      if (!handler) detail::RaiseWrongHandler(eventName);
      std::invoke(set, detail::Self<T>(o), *handler);
    };
    info_.properties_.push_back(std::move(p));
    return *this;
  }

  // A handler method of a form class, by the name stored forms bind.
  template <class F, class R, class... A>
  TClassBuilder& Handler(std::string name, R (F::*method)(A...)) {
    static_assert(std::is_base_of_v<F, T> || std::is_same_v<F, T>);
    THandlerInfo h;
    h.Name = name;
    h.Bind = [method, name](TObject& o) {
      F* form = &detail::Self<T>(o);
      return TMethod{name, std::any(std::function<R(A...)>(
                               [form, method](A... args) -> R {
                                 return (form->*method)(std::forward<A>(args)...);
                               }))};
    };
    info_.handlers_.push_back(std::move(h));
    return *this;
  }
  // A pointer member of a form class that the binder sets to the
  // component of that name; loading fails when it stays unset.
  template <class F, class C>
  TClassBuilder& Field(std::string name, C* F::*member) {
    TFieldInfo f;
    f.Name = name;
    f.Assign = [member, name](TObject& o, TComponent* component) {
      C* typed = dynamic_cast<C*>(component);
      if (!typed) detail::RaiseFieldClass(name, *component);
      detail::Self<T>(o).*member = typed;
    };
    f.Bound = [member](TObject& o) { return detail::Self<T>(o).*member != nullptr; };
    info_.fields_.push_back(std::move(f));
    return *this;
  }

 private:
  template <class G>
  TPropertyInfo& Add(std::string name, TPropertyKind kind, G get) {
    TPropertyInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.Get = [get](TObject& o) -> TPropertyValue {
      using V = detail::GetterResult<T, G>;
      decltype(auto) value = std::invoke(get, detail::Self<T>(o));
      if constexpr (std::is_same_v<V, bool>)
        return TPropertyValue(std::in_place_type<bool>, value);
      else if constexpr (std::is_enum_v<V>)
        return TPropertyValue(std::in_place_type<int64_t>, static_cast<int64_t>(value));
      else if constexpr (std::is_integral_v<V>)
        return TPropertyValue(std::in_place_type<int64_t>, static_cast<int64_t>(value));
      else if constexpr (std::is_floating_point_v<V>)
        return TPropertyValue(std::in_place_type<double>, static_cast<double>(value));
      else if constexpr (std::is_same_v<V, std::string>)
        return TPropertyValue(std::in_place_type<WideString>, detail::AnsiPropertyToWide(value));
      else
        return TPropertyValue(value);
    };
    info_.properties_.push_back(std::move(p));
    return info_.properties_.back();
  }

  TClassInfo& info_;
};

template <class T>
TClassBuilder<T> PublishClass(std::string name, std::string parentName) {
  return TClassBuilder<T>(RegisterClassInfo(std::move(name), std::move(parentName)));
}

}  // namespace rt
