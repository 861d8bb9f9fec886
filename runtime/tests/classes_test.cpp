#include "runtime/classes.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/exceptions.h"

namespace rt {
namespace {

class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::vector<int>* freed, int id)
      : TComponent(owner), freed_(freed), id_(id) {}
  ~Probe() override { freed_->push_back(id_); }
  WideString ClassName() const override { return u"TProbe"; }

 private:
  std::vector<int>* freed_;
  int id_;
};

TEST(Component, OwnerFreesWhatItOwnsLastFirst) {
  std::vector<int> freed;
  auto* owner = new Probe(nullptr, &freed, 0);
  new Probe(owner, &freed, 1);
  auto* middle = new Probe(owner, &freed, 2);
  new Probe(middle, &freed, 3);
  new Probe(owner, &freed, 4);
  EXPECT_EQ(owner->ComponentCount(), 3);
  delete owner;
  // Each probe records itself before its owned components go.
  EXPECT_EQ(freed, (std::vector<int>{0, 4, 2, 3, 1}));
}

TEST(Component, FreeingAnOwnedComponentUnlinksIt) {
  std::vector<int> freed;
  Probe owner(nullptr, &freed, 0);
  auto* child = new Probe(&owner, &freed, 1);
  delete child;
  EXPECT_EQ(owner.ComponentCount(), 0);
  Probe other(nullptr, &freed, 2);
  auto* moved = new Probe(&owner, &freed, 3);
  other.InsertComponent(moved);
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(moved->Owner(), &other);
}

TEST(Persistent, AssigningAnUnrelatedObjectRaises) {
  std::vector<int> freed;
  Probe a(nullptr, &freed, 0), b(nullptr, &freed, 1);
  try {
    a.Assign(b);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Impossible d'affecter un TProbe à un TProbe");
  }
}

}  // namespace
}  // namespace rt
