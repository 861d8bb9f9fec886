#include "runtime/classes.h"

#include <algorithm>

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/stock_texts.h"

namespace rt {

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError(Format(kSAssignError, {ClassName(), dest.ClassName()}));
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Owned components go last-created first, each unlinking itself.
  while (!components_.empty()) delete components_.back();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
}

TComponent* TComponent::FindComponent(WideStringView name) const {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
  for (TComponent* component : components_) {
    const WideString& own = component->name_;
    if (own.size() == name.size() && !own.empty() &&
        std::equal(own.begin(), own.end(), name.begin(),
                   [&](char16_t a, char16_t b) { return lower(a) == lower(b); }))
      return component;
  }
  return nullptr;
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

}  // namespace rt
