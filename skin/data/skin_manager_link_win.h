// What the skin data component asks of the process-wide skin manager: the
// manager implements this and installs its factory, so that the component
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
  virtual void RegisterSkinData(TSkinData* data) = 0;
  virtual void UnregisterSkinData(TSkinData* data) = 0;
  virtual void SetPendingSkinData(TSkinData* data) = 0;
  // Queues a request; the latest one before the timer fires is carried
  // out. Before any window was seen, activation and deactivation take
  // effect at once.
  virtual void RequestAction(TSkinRequest request, unsigned intervalMs) = 0;
  // 0 until skinning has started anywhere; see the manager.
  virtual int Started() const = 0;
  virtual void SetStarted(int value) = 0;
  // Switches skinning on for the windows activated from now on.
  virtual void SetSkinning(bool value) = 0;
  // The window-creation hook for the calling thread.
  virtual void InstallHook() = 0;
  // Skins a window now, if it qualifies; true when it was skinned.
  virtual bool SkinWindow(HWND window) = 0;
  // Every window skinned with the pending skin data reads its skin again.
  virtual void ReloadSkinForms() = 0;
  // Every window skinned with data lets go of the skin's caption buttons
  // before data loads another skin.
  virtual void FreeCaptionButtons(TSkinData* data) = 0;
};

// The manager of the process, or nullptr while there is none.
TSkinManagerLink* SkinManager();
// Makes the manager through the factory that the manager's module
// installs, unless it exists; nullptr without a factory.
TSkinManagerLink* CreateSkinManager();
// Frees the manager (the process is ending, or a test starts afresh).
void DestroySkinManager();
using TSkinManagerFactory = TSkinManagerLink* (*)();
void SetSkinManagerFactory(TSkinManagerFactory factory);

}  // namespace skin
