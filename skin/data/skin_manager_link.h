// What the skin data component asks of the process-wide skin manager: the
// manager implements this and registers itself, so that the component
// needs only this interface. Until a manager exists the component's
// requests have nobody to go to and are dropped.
#pragma once

#include <windows.h>

namespace skin {

class TSkinData;

// The requests the manager carries out after a delay.
enum TSkinRequest { srActivate = 1, srDeactivate = 2, srRefresh = 3 };

class TSkinManagerLink {
 public:
  virtual ~TSkinManagerLink() = default;
  virtual void AddSkinData(TSkinData* data) = 0;
  virtual void RemoveSkinData(TSkinData* data) = 0;
  virtual void SetPendingSkinData(TSkinData* data) = 0;
  virtual void QueueRequest(TSkinRequest request, unsigned delayMs) = 0;
  virtual int StartCounter() const = 0;
  virtual void SetStartCounter(int value) = 0;
  // Switches skinning on for the windows created from now on.
  virtual void SwitchOn() = 0;
  virtual void InstallCreationHook() = 0;
  virtual void SkinWindowNow(HWND window) = 0;
  // Every window skinned with data reads its skin again.
  virtual void RereadSkin(TSkinData* data) = 0;
};

// The manager of the process, or nullptr while there is none.
TSkinManagerLink* SkinManager();
// Makes the manager through the factory that the manager's module
// installs, unless it exists; nullptr without a factory.
TSkinManagerLink* CreateSkinManager();
using TSkinManagerFactory = TSkinManagerLink* (*)();
void SetSkinManagerFactory(TSkinManagerFactory factory);

}  // namespace skin
