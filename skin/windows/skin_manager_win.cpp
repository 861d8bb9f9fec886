#include "skin/windows/skin_manager_win.h"

#include <algorithm>

#include "runtime/gui/application.h"
#include "runtime/window_class_win.h"
#include "skin/windows/form_frame_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {
namespace {

DWORD gWindowsVersion = 0;

constexpr DWORD kSizeGrip = 0x10;  // SBS_SIZEGRIP

rt::WideString LowerAscii(rt::WideString text) {
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return text;
}

bool QueryAnswersSkinned(HWND window) { return SendMessageW(window, SKINMSG_QUERY, 0, 0) == 1; }

}  // namespace

TSkinManage* Manager() { return static_cast<TSkinManage*>(SkinManager()); }

DWORD WindowsVersion() { return gWindowsVersion; }

rt::WideString WindowClassName(HWND window) {
  constexpr size_t kComparedLength = 99;
  return rt::WindowClassName(window).substr(0, kComparedLength);
}

TSkinManage::TSkinManage() : timer_(nullptr) {
  timer_.SetEnabled(false);
  timer_.SetInterval(250);
  timer_.SetOnTimer([this](rt::TObject*) { ProcessRequest(); });
}

TSkinManage::~TSkinManage() {
  started_ = 4;
  timer_.SetEnabled(false);
  hook_.reset();
  while (!skinForms_.empty()) FreeSkinForm(skinForms_.back());
  for (auto& popup : popupMenus_) popup->Detach();
  popupMenus_.clear();
  skinDatas_.clear();
}

void TSkinManage::RegisterSkinData(TSkinData* data) {
  if (std::find(skinDatas_.begin(), skinDatas_.end(), data) == skinDatas_.end()) skinDatas_.push_back(data);
  if (!mainSkinData_ && data->SkinFormtype() == sfMainform) mainSkinData_ = data;
}

void TSkinManage::UnregisterSkinData(TSkinData* data) {
  std::erase(skinDatas_, data);
  // The windows skinned with it get their system frames back; their
  // skinners forget it, so that a component made later at the same
  // address is not taken for it.
  for (TSkinFormFrame* frame : skinForms_)
    if (frame->SkinData() == data) frame->SkinDataDestroyed();
  // A component being destroyed is named nowhere any more: the next main
  // component takes over, and a request for it is dropped.
  if (pendingSkinData_ == data) pendingSkinData_ = nullptr;
  if (mainSkinData_ == data) {
    mainSkinData_ = nullptr;
    for (TSkinData* other : skinDatas_)
      if (other->SkinFormtype() == sfMainform) {
        mainSkinData_ = other;
        break;
      }
  }
}

void TSkinManage::RequestAction(TSkinRequest request, unsigned intervalMs) {
  pendingRequest_ = request;
  timer_.SetInterval(intervalMs);
  if (started_ != 0)
    timer_.SetEnabled(true);
  else if (request == srActivate || request == srDeactivate)
    skinning_ = request == srActivate;
}

void TSkinManage::InstallHook() {
  gWindowsVersion = GetVersion();
  if (hook_) return;
  hook_.reset(SetWindowsHookExW(WH_CBT, HookProcedure, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK TSkinManage::HookProcedure(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = Manager();
  if (!manager) return CallNextHookEx(nullptr, code, wParam, lParam);
  const HHOOK hook = manager->hook_.get();
  if (code < 0 || !manager->skinning_) {
    if (code == HCBT_ACTIVATE && manager->started_ == 0) manager->started_ = 1;
    return CallNextHookEx(hook, code, wParam, lParam);
  }
  const auto window = reinterpret_cast<HWND>(wParam);
  try {
    switch (code) {
      case HCBT_CREATEWND:
        manager->WindowCreated(window, *reinterpret_cast<const CBT_CREATEWNDW*>(lParam));
        break;
      case HCBT_DESTROYWND:
        manager->UnskinPopupMenu(window);
        break;
      case HCBT_ACTIVATE:
        if (manager->started_ == 0) manager->started_ = 1;
        manager->SkinWindow(window);
        break;
      default:
        break;
    }
  } catch (...) {
    // Nothing may travel back through the system's hook call.
    gui::HandleCurrentException();
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManage::WindowCreated(HWND window, const CBT_CREATEWNDW& creation) {
  const CREATESTRUCTW& params = *creation.lpcs;
  const rt::WideString className = WindowClassName(window);
  if (className == u"ScrollBar" && (static_cast<DWORD>(params.style) & kSizeGrip)) {
    if (TSkinFormFrame* frame = FindSkinForm(params.hwndParent)) frame->SkinChild(window);
  }
  if (static_cast<DWORD>(params.style) & WS_CHILD) return;
  if (className == u"#32768") SkinPopupMenu(window);
  if (mainSkinData_ && mainSkinData_->OnWindowCreated) {
    try {
      mainSkinData_->OnWindowCreated(mainSkinData_, window, className);
    } catch (...) {
      // The application's callback may fail; the window is made anyway.
    }
  }
}

bool TSkinManage::SkinWindow(HWND window) {
  if (!skinning_) return false;
  PurgeSkinForms();
  if (QueryAnswersSkinned(window) || FindSkinForm(window)) return false;
  gui::TForm* form = gui::Screen().FindForm(window);
  if (!forceChildren_ && IsPlainChild(window)) return false;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  if (static_cast<int64_t>(bounds.right - bounds.left) * (bounds.bottom - bounds.top) == 0) return false;
  if (form && form->Tag() == 99) return false;
  const rt::WideString className = WindowClassName(window);
  if (className == u"TApplication" || className == u"TQRStandardPreview") return false;
  if (mainSkinData_ && !mainSkinData_->FormSkinAllowed(className)) return false;
  TSkinData* data = ChooseSkinData(window);
  if (!data || data->NoSkin()) return false;

  // The manager owns every skinner, also a form's: a form may free itself
  // from inside a message of its own window, while the skinner runs.
  auto* frame = new TSkinFormFrame(nullptr, window);
  if (form)
    frame->Attach(data, form);
  else
    frame->Attach(data);
  skinForms_.push_back(frame);
  PostMessageW(window, SKINMSG_START, 0, 1000);
  return true;
}

void TSkinManage::SkinForm(gui::TForm* form) {
  if (!form || !form->Visible() || !form->HandleAllocated()) return;
  const HWND window = form->WindowHandle();
  const bool mdiChild = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) && !mdiChild) return;
  SkinWindow(window);
}

TSkinData* TSkinManage::ChooseSkinData(HWND window) const {
  auto lastOf = [this](auto&& matches) -> TSkinData* {
    for (auto it = skinDatas_.rbegin(); it != skinDatas_.rend(); ++it)
      if (matches(**it)) return *it;
    return nullptr;
  };
  if (TSkinData* own = lastOf([window](TSkinData& data) {
        auto* owner = dynamic_cast<gui::TWinControl*>(data.Owner());
        return data.SkinFormtype() == sfOnlyThisForm && owner && owner->WindowHandle() == window;
      }))
    return own;
  const rt::WideString className = LowerAscii(WindowClassName(window));
  if (className == u"tmessageform" || className == u"#32770")
    if (TSkinData* dialog = lastOf([](TSkinData& data) { return data.SkinFormtype() == sfDialog; })) return dialog;
  if (TSkinData* main = lastOf([](TSkinData& data) { return data.SkinFormtype() == sfMainform; })) return main;
  return skinDatas_.empty() ? nullptr : skinDatas_.front();
}

TSkinFormFrame* TSkinManage::FindSkinForm(HWND window) const {
  for (TSkinFormFrame* frame : skinForms_)
    if (frame->Handle() == window && frame->Phase() != phDestroyed) return frame;
  return nullptr;
}

void TSkinManage::RemoveSkinForm(HWND window) {
  const auto it = std::find_if(skinForms_.begin(), skinForms_.end(),
                               [window](TSkinFormFrame* frame) { return frame->Handle() == window; });
  if (it != skinForms_.end()) skinForms_.erase(it);
}

void TSkinManage::ForgetSkinForm(TSkinFormFrame* frame) { std::erase(skinForms_, frame); }

void TSkinManage::FreeSkinForm(TSkinFormFrame* frame) {
  std::erase(skinForms_, frame);
  delete frame;
}

void TSkinManage::UnskinForm(TSkinFormFrame* frame) {
  frame->Detach();
  if (frame->HandlingMessage())
    frame->Abandon();
  else
    FreeSkinForm(frame);
}

void TSkinManage::PurgeSkinForms() {
  for (size_t i = skinForms_.size(); i-- > 0;)
    if (skinForms_[i]->Phase() == phDestroyed && !skinForms_[i]->HandlingMessage()) FreeSkinForm(skinForms_[i]);
}

void TSkinManage::ReloadSkinForms() {
  if (!pendingSkinData_) return;
  for (TSkinFormFrame* frame : skinForms_)
    if (frame->SkinData() == pendingSkinData_) frame->Reskin();
}

void TSkinManage::FreeCaptionButtons(TSkinData* data) {
  for (TSkinFormFrame* frame : skinForms_)
    if (frame->SkinData() == data) frame->FreeCaptionButtons();
}

void TSkinManage::ProcessRequest() {
  if (!pendingSkinData_) return;
  timer_.SetEnabled(false);
  TSkinData* data = pendingSkinData_;
  auto& screen = gui::Screen();
  if (data->SkinFormtype() == sfOnlyThisForm) {
    switch (pendingRequest_) {
      case srActivate:
        skinning_ = true;
        forceChildren_ = true;
        for (int i = screen.FormCount(); i-- > 0;)
          if (screen.Forms(i) == data->Owner()) {
            SkinForm(screen.Forms(i));
            break;
          }
        forceChildren_ = false;
        break;
      case srDeactivate:
        skinning_ = false;
        PurgeSkinForms();
        for (size_t i = skinForms_.size(); i-- > 0;)
          if (skinForms_[i]->SkinData() == data) {
            UnskinForm(skinForms_[i]);
            break;
          }
        break;
      case srRefresh:
        PurgeSkinForms();
        for (TSkinFormFrame* frame : skinForms_)
          if (frame->SkinData() == data) {
            frame->Reskin();
            frame->RepaintFrame();
            break;
          }
        break;
    }
  } else {
    switch (pendingRequest_) {
      case srActivate:
        skinning_ = true;
        forceChildren_ = true;
        PurgeSkinForms();
        for (int i = screen.FormCount(); i-- > 0;) SkinForm(screen.Forms(i));
        forceChildren_ = false;
        break;
      case srDeactivate:
        skinning_ = false;
        PurgeSkinForms();
        for (size_t i = skinForms_.size(); i-- > 0;) UnskinForm(skinForms_[i]);
        break;
      case srRefresh:
        PurgeSkinForms();
        for (TSkinFormFrame* frame : skinForms_)
          if (frame->SkinData() == data) frame->Reskin();
        for (TSkinFormFrame* frame : skinForms_)
          if (frame->SkinData() == data) frame->RepaintFrame();
        break;
    }
  }
  data->SkinChanged();
  // The handler may have queued another request for another component.
  if (pendingSkinData_ == data) pendingSkinData_ = nullptr;
}

bool TSkinManage::SkinPopupMenu(HWND window) {
  if (!skinning_ || QueryAnswersSkinned(window) || IsPopupMenuSkinned(window)) return false;
  TSkinData* data = ChooseSkinData(window);
  if (!data || data->NoSkin()) return false;
  const TSkinControlTypes controls = data->SkinControls();
  bool allowed = false;
  switch (menuKind_) {
    case mkPopupMenu: allowed = Has(controls, xcPopupMenu); break;
    case mkMenuBarItem: allowed = Has(controls, xcMainMenu) || Has(controls, xcMenuItem); break;
    case mkSystemMenu: allowed = Has(controls, xcSystemMenu); break;
    default: break;
  }
  if (!allowed || !MenuSkinning().SkinPopupMenu) return false;
  std::unique_ptr<TPopupMenuPainter> popup = MenuSkinning().SkinPopupMenu(window, *data);
  if (!popup) return false;
  if (menuFromBar_) popup->MarkFromMenuBar();
  popupMenus_.push_back(std::move(popup));
  return true;
}

bool TSkinManage::UnskinPopupMenu(HWND window) {
  bool found = false;
  const auto it = std::find_if(popupMenus_.begin(), popupMenus_.end(),
                               [window](const auto& popup) { return popup->Handle() == window; });
  if (it != popupMenus_.end()) {
    (*it)->Detach();
    popupMenus_.erase(it);
    found = true;
  }
  if (popupMenus_.empty()) {
    menuFromBar_ = false;
    menuKind_ = mkPopupMenu;
  }
  return found;
}

bool TSkinManage::IsPopupMenuSkinned(HWND window) const {
  return std::any_of(popupMenus_.begin(), popupMenus_.end(),
                     [window](const auto& popup) { return popup->Handle() == window; });
}

TPopupMenuPainter* TSkinManage::PopupShowing(HMENU menu) const {
  if (!menu) return nullptr;
  for (const auto& popup : popupMenus_)
    if (popup->Menu() == menu) return popup.get();
  return nullptr;
}

void TSkinManage::MarkPopupMenusFromBar() {
  for (const auto& popup : popupMenus_) popup->MarkFromMenuBar();
}

void TSkinManage::AnnounceMenu(int kind, bool fromBar) {
  menuKind_ = kind;
  if (fromBar) menuFromBar_ = true;
}

void TSkinManage::SetMdiFrame(gui::TForm* form, HWND client) {
  mdiFrameForm_ = form;
  mdiClientWindow_ = client;
}

void TSkinManage::SetMDIMaximized(bool value) {
  if (value == mdiMaximized_) return;
  mdiMaximized_ = value;
  for (TSkinFormFrame* frame : std::vector<TSkinFormFrame*>(skinForms_)) {
    if (!(GetWindowLongPtrW(frame->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD)) continue;
    if (value || IsIconic(frame->Handle())) {
      frame->MDIMaximizedChanged(true);
    } else {
      if (IsZoomed(frame->Handle())) ShowWindow(frame->Handle(), SW_RESTORE);
      frame->MDIMaximizedChanged(false);
    }
  }
}

bool TSkinManage::IsPlainChild(HWND window) {
  if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) return false;
  return LowerAscii(WindowClassName(GetParent(window))) != u"mdiclient";
}

}  // namespace skin
