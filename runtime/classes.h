// The object model of the runtime: objects with a class name, persistent
// objects that can be assigned to one another, and components that own
// other components and free them with themselves.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/strings.h"

namespace rt {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  virtual WideString ClassName() const { return u"TObject"; }
};

class TPersistent : public TObject {
 public:
  WideString ClassName() const override { return u"TPersistent"; }

  // Copies the state of source into this object. Classes that know their
  // source override it; the default asks the source to assign itself to
  // this object, and raises EConvertError when it cannot.
  virtual void Assign(const TPersistent& source);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  WideString ClassName() const override { return u"TComponent"; }

  TComponent* Owner() const { return owner_; }
  const WideString& Name() const { return name_; }
  void SetName(WideString name) { name_ = std::move(name); }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Component(int index) const { return components_.at(index); }

  // Moves a component under this owner; it is then freed with this one.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  // The owned component of that name (ASCII case ignored), or nullptr.
  TComponent* FindComponent(WideStringView name) const;

  // True from the moment a stored form starts setting this component's
  // properties until Loaded runs, once the whole form has been read.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  // Overrides finish their own set-up and call this one last.
  virtual void Loaded() { loading_ = false; }

 private:
  TComponent* owner_ = nullptr;
  WideString name_;
  intptr_t tag_ = 0;
  bool loading_ = false;
  std::vector<TComponent*> components_;
};

}  // namespace rt
