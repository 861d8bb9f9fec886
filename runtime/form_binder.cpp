#include "runtime/form_binder.h"

#include <algorithm>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/published.h"

namespace rt {

namespace {

constexpr char16_t kSPropertyReadError[] = u"Erreur de lecture de %s.%s : %s";
constexpr char16_t kSComponentReadError[] = u"Erreur de lecture de %s : %s";
constexpr char16_t kSFormClassMismatch[] = u"Le formulaire stocké est un %s, pas un %s";
constexpr char16_t kSDuplicateName[] = u"Un composant nommé %s existe déjà";
constexpr char16_t kSUnknownHandler[] = u"Méthode %s introuvable dans la classe %s";
constexpr char16_t kSHandlerName[] = u"L'événement %s.%s attend le nom d'une méthode";
constexpr char16_t kSUnboundField[] = u"Le formulaire stocké n'a pas de composant %s pour la classe %s";

bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

class Binder {
 public:
  Binder(TComponent& form, const TClassInfo& formClass) : form_(form), formClass_(formClass) {}

  void Configure(TComponent& component, const TFormObject& data) {
    for (const auto& property : data.Properties) {
      try {
        SetOne(component, property);
      } catch (const Exception& e) {
        throw EReadError(
            Format(kSPropertyReadError, {Label(data), Utf8ToWide(property.Name), e.Message()}));
      }
    }
    for (const auto& child : data.Children) CreateChild(child, component);
  }

  void CreateChild(const TFormObject& data, TComponent& enclosing) {
    TComponent* component = nullptr;
    try {
      const WideString name = Utf8ToWide(data.Name);
      if (!name.empty() && form_.FindComponent(name))
        throw Exception(Format(kSDuplicateName, {name}));
      const TClassInfo& cls = RequireClassInfo(data.ClassName);
      component = cls.Create(&form_);
      component->BeginLoading();
      created_.push_back(component);
      component->SetName(name);
      for (const TFieldInfo* field : formClass_.Fields())
        if (!data.Name.empty() && SameName(field->Name, data.Name)) field->Assign(form_, component);
      if (const auto* attach = cls.FindParentSetter()) (*attach)(*component, enclosing);
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& e) {
      throw EReadError(Format(kSComponentReadError, {Label(data), e.Message()}));
    }
    Configure(*component, data);
  }

  void CheckFields() const {
    for (const TFieldInfo* field : formClass_.Fields())
      if (!field->Bound(form_))
        throw EReadError(
            Format(kSUnboundField, {Utf8ToWide(field->Name), Utf8ToWide(formClass_.Name())}));
  }

  void RunLoaded() {
    form_.Loaded();
    for (TComponent* component : created_) component->Loaded();
  }

 private:
  static WideString Label(const TFormObject& data) {
    return Utf8ToWide(data.Name.empty() ? data.ClassName : data.Name);
  }

  void SetOne(TComponent& component, const TFormProperty& property) {
    const auto [holder, info] = ResolveProperty(component, property.Name);
    if (info && info->Kind == TPropertyKind::Event) {
      const auto* ident = std::get_if<TFormIdent>(&property.Value.Value);
      if (!ident)
        throw EPropertyError(
            Format(kSHandlerName, {component.ClassName(), Utf8ToWide(property.Name)}));
      const THandlerInfo* handler = formClass_.FindHandler(ident->Name);
      if (!handler)
        throw EPropertyError(
            Format(kSUnknownHandler, {Utf8ToWide(ident->Name), Utf8ToWide(formClass_.Name())}));
      SetEventProperty(component, property.Name, handler->Bind(form_));
      return;
    }
    SetProperty(component, property.Name, property.Value);
  }

  TComponent& form_;
  const TClassInfo& formClass_;
  std::vector<TComponent*> created_;
};

}  // namespace

void CreateFormFromData(const TFormObject& data, TComponent& form) {
  const TClassInfo* formClass = nullptr;
  try {
    formClass = &ClassInfoOf(form);
  } catch (const Exception& e) {
    throw EReadError(Format(kSComponentReadError, {Utf8ToWide(data.Name), e.Message()}));
  }
  if (!SameName(data.ClassName, formClass->Name()))
    throw EReadError(Format(kSFormClassMismatch, {Utf8ToWide(data.ClassName), form.ClassName()}));

  Binder binder(form, *formClass);
  form.BeginLoading();
  if (!data.Name.empty()) form.SetName(Utf8ToWide(data.Name));
  binder.Configure(form, data);
  binder.CheckFields();
  binder.RunLoaded();

  if (const TPropertyInfo* onCreate = formClass->FindProperty("OnCreate");
      onCreate && onCreate->Kind == TPropertyKind::Event) {
    const std::any handler = onCreate->GetEvent(form);
    if (const auto* notify = std::any_cast<TNotifyEvent>(&handler); notify && *notify)
      (*notify)(&form);
  }
}

}  // namespace rt
