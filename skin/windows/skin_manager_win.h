// TSkinManage: the process's one skin manager. It watches the GUI
// thread's windows through a CBT hook, gives every qualifying top-level
// window a frame skinner when it is first activated and every popup-menu
// window a menu skinner when it is created, and carries out the requests
// of the skin data components from a 250 ms timer.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/gui/form.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/timer.h"
#include "skin/data/skin_data_win.h"
#include "skin/data/skin_manager_link_win.h"
#include "skin/windows/menu_skinning_link_win.h"

namespace skin {

class TSkinFormFrame;

// What the next menu to open is, for the popup-menu skinner.
enum TMenuKind { mkPopupMenu = 0, mkMenuBarItem = 1, mkSystemMenu = 2 };

class TSkinManage final : public TSkinManagerLink {
 public:
  TSkinManage();
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // TSkinManagerLink.
  void RegisterSkinData(TSkinData* data) override;
  void UnregisterSkinData(TSkinData* data) override;
  void SetPendingSkinData(TSkinData* data) override { pendingSkinData_ = data; }
  void RequestAction(TSkinRequest request, unsigned intervalMs) override;
  int Started() const override { return started_; }
  void SetStarted(int value) override { started_ = value; }
  void SetSkinning(bool value) override { skinning_ = value; }
  void InstallHook() override;
  bool SkinWindow(HWND window) override;
  void ReloadSkinForms() override;
  void FreeCaptionButtons(TSkinData* data) override;

  // The timer's tick: carries out the pending request.
  void ProcessRequest();
  // A form's window, if the form is showing and is not a plain child.
  void SkinForm(gui::TForm* form);
  // The skin data for a window: the form's own, the dialogs', the main
  // one, or the first registered; nullptr when none is registered.
  TSkinData* ChooseSkinData(HWND window) const;
  TSkinFormFrame* FindSkinForm(HWND window) const;
  // Forgets the window's frame skinner without freeing it.
  void RemoveSkinForm(HWND window);
  // A skinner being freed.
  void ForgetSkinForm(TSkinFormFrame* frame);
  // Frees the frame skinners whose windows are gone.
  void PurgeSkinForms();

  bool SkinPopupMenu(HWND window);
  bool UnskinPopupMenu(HWND window);
  bool IsPopupMenuSkinned(HWND window) const;
  // The skinner of the popup window that shows a menu, or none.
  TPopupMenuPainter* PopupShowing(HMENU menu) const;
  void MarkPopupMenusFromBar();

  void SetMDIMaximized(bool value);
  // A child window whose parent is not an MDI client.
  static bool IsPlainChild(HWND window);

  const std::vector<TSkinFormFrame*>& SkinForms() const { return skinForms_; }
  const std::vector<TSkinData*>& SkinDatas() const { return skinDatas_; }

  // Whether windows are being skinned now.
  bool Skinning() const { return skinning_; }

  // The next menu to open is of this kind (a TMenuKind); fromBar when a
  // menu bar item drops it. Both are forgotten when the last popup-menu
  // window closes.
  void AnnounceMenu(int kind, bool fromBar = false);
  int MenuKind() const { return menuKind_; }

  bool MDIMaximized() const { return mdiMaximized_; }
  // The frame's children were restored or maximized by the MDI client
  // itself: the flag goes without telling the children.
  void ForgetMDIMaximized() { mdiMaximized_ = false; }

  // The MDI frame form a frame skinner attached to, and its client window.
  void SetMdiFrame(gui::TForm* form, HWND client);
  gui::TForm* MdiFrameForm() const { return mdiFrameForm_; }
  HWND MdiClientWindow() const { return mdiClientWindow_; }

 private:
  static LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam);
  void WindowCreated(HWND window, const CBT_CREATEWNDW& creation);
  // Takes the skinner off its window, gives the window its system frame
  // back and frees the skinner (unless its form owns it).
  void UnskinForm(TSkinFormFrame* frame);
  void FreeSkinForm(TSkinFormFrame* frame);

  gui::TTimer timer_;
  gui::UniqueHook hook_;
  std::vector<TSkinFormFrame*> skinForms_;
  std::vector<std::unique_ptr<TPopupMenuPainter>> popupMenus_;
  std::vector<TSkinData*> skinDatas_;
  int started_ = 0;

  bool skinning_ = false;
  bool forceChildren_ = false;
  int menuKind_ = mkPopupMenu;
  bool menuFromBar_ = false;
  bool mdiMaximized_ = false;
  HWND mdiClientWindow_ = nullptr;
  gui::TForm* mdiFrameForm_ = nullptr;
  TSkinRequest pendingRequest_ = srActivate;
  TSkinData* pendingSkinData_ = nullptr;
  TSkinData* mainSkinData_ = nullptr;
};

// The manager, when the skin engine made it (nullptr before).
TSkinManage* Manager();

// GetVersion as the hook's installation read it.
DWORD WindowsVersion();

// A window's class name as the engine compares it: at most 99 characters.
rt::WideString WindowClassName(HWND window);

}  // namespace skin
