#include "skin/data/skin_manager_link.h"

namespace skin {
namespace {

// The manager's module installs the factory when it starts; the manager
// it makes lives until the process ends.
TSkinManagerFactory gFactory = nullptr;
TSkinManagerLink* gManager = nullptr;

}  // namespace

TSkinManagerLink* SkinManager() { return gManager; }

TSkinManagerLink* CreateSkinManager() {
  if (!gManager && gFactory) gManager = gFactory();
  return gManager;
}

void SetSkinManagerFactory(TSkinManagerFactory factory) { gFactory = factory; }

}  // namespace skin
