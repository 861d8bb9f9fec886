#include "skin/data/skin_manager_link_win.h"

#include <memory>

namespace skin {
namespace {

// The manager's module installs the factory when it starts; the manager
// it makes lives until the process ends.
TSkinManagerFactory gFactory = nullptr;

std::unique_ptr<TSkinManagerLink>& ManagerSlot() {
  static std::unique_ptr<TSkinManagerLink> manager;
  return manager;
}

}  // namespace

TSkinManagerLink* SkinManager() { return ManagerSlot().get(); }

TSkinManagerLink* CreateSkinManager() {
  std::unique_ptr<TSkinManagerLink>& manager = ManagerSlot();
  if (!manager && gFactory) manager.reset(gFactory());
  return manager.get();
}

void DestroySkinManager() {
  // The slot is emptied before the manager goes, so that the components
  // it still knows find no manager while it is destroyed.
  std::unique_ptr<TSkinManagerLink> manager = std::move(ManagerSlot());
  manager.reset();
}

void SetSkinManagerFactory(TSkinManagerFactory factory) { gFactory = factory; }

}  // namespace skin
