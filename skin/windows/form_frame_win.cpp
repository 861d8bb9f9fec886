// Attaching a frame skinner to its window and letting go of it again.
#include "runtime/wide_text_win.h"
#include "skin/windows/form_frame_win.h"

#include <algorithm>

#include "runtime/gui/application.h"
#include "skin/data/skin_bitmap_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {
namespace {

constexpr DWORD kCaptionButtonsStyle = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;  // 0xB0000

bool HasChildOfClass(HWND parent, const rt::WideString& className, HWND& found) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (WindowClassName(child) == className) {
      found = child;
      return true;
    }
  return false;
}

// One frame's extent of a border image: frames side by side or stacked.
int FrameExtent(const TSkinBitmap& image, int frameCount, bool stacked) {
  const int count = std::max(frameCount, 1);
  return (stacked ? image.Height() : image.Width()) / count;
}

}  // namespace

TSkinFormFrame::TSkinFormFrame(rt::TComponent* owner, HWND window)
    : rt::TComponent(owner), handle_(window), timer_(nullptr) {
  timer_.SetEnabled(false);
  timer_.SetInterval(250);
  timer_.SetOnTimer([this](rt::TObject*) { TimerTick(); });
}

TSkinFormFrame::~TSkinFormFrame() {
  *alive_ = false;
  timer_.SetEnabled(false);
  hotObject_ = nullptr;
  hotButton_ = nullptr;
  sysButtons_.clear();
  // The window may outlive its skinner (its form frees the skinner with its
  // other components before the window goes): it gets its own procedure
  // back, nothing else is done to a window on its way out.
  clientSubclass_.Remove();
  subclass_.Remove();
  if (formHooked_ && form_) form_->WindowProc = std::move(oldFormWindowProc_);
  formHooked_ = false;
  FreeControlPainters();
  if (TSkinManage* manager = Manager()) manager->ForgetSkinForm(this);
}

void TSkinFormFrame::Attach(TSkinData* data, gui::TForm* form) {
  if (attached_) return;
  form_ = form;
  frameSkinning_ = Has(data->SkinControls(), xcMainMenu);
  if (frameSkinning_) {
    oldFormWindowProc_ = form->WindowProc;
    form->WindowProc = [this](gui::TMessage& message) { FormHook(message); };
    formHooked_ = true;
  }
  CommonAttach(data);
  oldColour_ = form->Color();
  form->SetColor(data->Model().SkinColours.ButtonFace);
  if (MenuSkinning().OwnerDrawMenus)
    MenuSkinning().OwnerDrawMenus(*this, Has(data->SkinControls(), xcPopupMenu),
                                  Has(data->SkinControls(), xcMenuItem), true);
}

void TSkinFormFrame::Attach(TSkinData* data) {
  if (attached_) return;
  CommonAttach(data);
}

void TSkinFormFrame::CommonAttach(TSkinData* data) {
  if (attached_) return;
  TSkinManage* manager = Manager();
  if (manager) manager->SetStarted(1);
  skinData_ = data;

  frameSkinning_ = Has(data->SkinControls(), xcMainMenu);
  savedStyle_ = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
  savedExStyle_ = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE));
  rightToLeftCaption_ = (savedExStyle_ & WS_EX_LEFTSCROLLBAR) != 0;
  active_ = 1;
  systemMenu_ = GetSystemMenu(handle_, FALSE);
  FetchIcon();
  className_ = WindowClassName(handle_);
  owner_ = GetWindow(handle_, GW_OWNER);
  RECT window{};
  GetWindowRect(handle_, &window);
  GetClientRect(handle_, &attachClient_);
  systemFrame_ = {(window.right - window.left) - attachClient_.right,
                  (window.bottom - window.top) - attachClient_.bottom};
  doubleClickTime_ = GetDoubleClickTime();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    captionFont_.reset(CreateFontIndirectW(&metrics.lfCaptionFont));

  boxFlags_ = 0;
  if ((savedStyle_ & WS_SYSMENU) || systemMenu_) boxFlags_ |= kBoxSystemMenu;
  if (savedStyle_ & WS_MINIMIZEBOX) boxFlags_ |= kBoxMinimize;
  if (savedStyle_ & WS_MAXIMIZEBOX) boxFlags_ |= kBoxMaximize;
  BuildSystemPopup();
  ReadWindowState();
  if (HasChildOfClass(handle_, u"MDIClient", mdiClient_)) {
    mdiKind_ = mdFrame;
    if (manager) manager->SetMdiFrame(form_, mdiClient_);
  }
  if (savedExStyle_ & WS_EX_MDICHILD) mdiKind_ = mdChild;

  if ((savedStyle_ & DS_MODALFRAME) || (savedExStyle_ & WS_EX_DLGMODALFRAME) || className_ == u"#32770" ||
      className_ == u"TMessageForm")
    frameKind_ = fkDialog;
  else if ((savedStyle_ & WS_POPUP) && (savedStyle_ & WS_CAPTION) != WS_CAPTION)
    frameKind_ = fkNone;
  else if (savedStyle_ & WS_THICKFRAME)
    frameKind_ = fkSizeable;
  else
    frameKind_ = fkSingle;
  // Windows of any class may be Unicode; their text is read wide.
  unicodeWindow_ = className_.find(u".UnicodeClass") != rt::WideString::npos || IsWindowUnicode(handle_);
  systemDialog_ = className_ == u"#32770" || className_ == u"TMessageForm";

  if (mdiKind_ == mdFrame) {
    oldMenuUpdate_ = data->MenuUpdate();
    clientSubclass_.Install(mdiClient_, [this](gui::TMessage& message) { MdiClientMessage(message); });
  }

  if (frameSkinning_) {
    if (GetMenu(handle_)) CreateMenuBar();
    const bool mdiMaximized = mdiKind_ == mdChild && manager && manager->MDIMaximized();
    if (!mdiMaximized && windowState_ != wsMinimized) RemoveCaptionStyle();
    ComputeBorderSizes();
    MakeCaptionButtons();
  } else {
    phase_ = phRunning;
  }

  attached_ = subclass_.Install(handle_, [this](gui::TMessage& message) { WindowMessage(message); });
  if (mdiKind_ == mdChild && windowState_ == wsMaximized && manager) manager->SetMDIMaximized(true);
  InvalidateRect(handle_, nullptr, TRUE);
}

void TSkinFormFrame::ReadWindowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(handle_, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      windowState_ = wsMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      windowState_ = wsMaximized;
      break;
    default:
      windowState_ = wsNormal;
      break;
  }
}

void TSkinFormFrame::RemoveCaptionStyle() {
  if (mdiKind_ == mdChild && Manager() && Manager()->MDIMaximized()) return;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
  if (owner_ || mdiKind_ == mdChild) {
    SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(style & ~kCaptionButtonsStyle));
  } else {
    boxFlags_ |= kBoxCaptionRemoved;
    SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<DWORD>(WS_CAPTION)));
  }
}

void TSkinFormFrame::RestoreCaptionStyle() {
  auto style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
  if (boxFlags_ & kBoxSystemMenu) style |= WS_SYSMENU;
  if (boxFlags_ & kBoxMinimize) style |= WS_MINIMIZEBOX;
  if (boxFlags_ & kBoxMaximize) style |= WS_MAXIMIZEBOX;
  if (boxFlags_ & kBoxCaptionRemoved) style |= WS_CAPTION;
  SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(style));
}

void TSkinFormFrame::ComputeBorderSizes() {
  if (skinData_->NoSkin()) return;
  const TSkinModel& model = skinData_->Model();
  if (frameKind_ == fkNone) {
    frameLeft_ = frameTop_ = frameRight_ = frameBottom_ = 0;
    menuHeight_ = 0;
  } else {
    frameLeft_ = FrameExtent(model.BorderLeft.Image, model.BorderLeft.FrameCount, false);
    frameRight_ = FrameExtent(model.BorderRight.Image, model.BorderRight.FrameCount, false);
    frameTop_ = FrameExtent(model.BorderTop.Image, model.BorderTop.FrameCount, true);
    frameBottom_ = FrameExtent(model.BorderBottom.Image, model.BorderBottom.FrameCount, true);
  }
  MakeBorderImages();
}

void TSkinFormFrame::MakeBorderImages() {
  const TSkinModel& model = skinData_->Model();
  borders_.Left = ToDib(model.BorderLeft.Image);
  borders_.Right = ToDib(model.BorderRight.Image);
  borders_.Top = ToDib(model.BorderTop.Image);
  borders_.Bottom = ToDib(model.BorderBottom.Image);
  borders_.TextBack = ToDib(model.Title.Image);
  pieces_.clear();
  titlePainted_ = false;
}

void TSkinFormFrame::MakeCaptionButtons() {
  if (skinData_->NoSkin()) return;
  FreeCaptionButtons();
  const TSkinModel& model = skinData_->Model();
  const TSkinBitmap icon = FromBitmap(iconBitmap_.get());
  for (const TDataSkinSysButton& data : model.CaptionButtons) {
    TCaptionButton button;
    button.Data = data;
    button.FrameCount = std::max(data.FrameCount, 1);
    if (data.Action == 3 || data.Action == 11) {
      // The window's icon stands in for the button's image.
      if (data.Image.Empty() || skinData_->DefaultIcon().Empty()) button.Data.Image = icon;
      button.FrameCount = 1;
    }
    button.Image = ToDib(button.Data.Image);
    button.ImageSize = {button.Data.Image.Width(), button.Data.Image.Height()};
    button.Data.Image = TSkinBitmap();
    captionButtons_.push_back(std::move(button));
  }
  for (size_t i = 0; i < captionButtons_.size(); ++i)
    sysButtons_.push_back(std::make_unique<TWinSysButton>(*this, static_cast<int>(i)));
}

void TSkinFormFrame::FreeCaptionButtons() {
  if (hotObject_ && dynamic_cast<TWinSysButton*>(hotObject_)) hotObject_ = nullptr;
  sysButtons_.clear();
  captionButtons_.clear();
}

void TSkinFormFrame::FetchIcon() {
  auto icon = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_BIG, 0));
  // The class's icon is what the system frame would show.
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(handle_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(handle_, GCLP_HICON));
  icon_ = icon;
  iconSize_ = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  if (icon_) {
    iconBitmap_ = MakeFilledDib(iconSize_, height, kSkinKeyColour);
    TBitmapDc dc(iconBitmap_.get());
    DrawWindowIcon(dc.get(), {0, 0});
    return;
  }
  const TSkinBitmap* fallback = &skinData_->DefaultIcon();
  if (fallback->Empty())
    if (TSkinManage* manager = Manager())
      for (TSkinData* data : manager->SkinDatas())
        if (data->SkinFormtype() == sfMainform && !data->DefaultIcon().Empty()) fallback = &data->DefaultIcon();
  iconBitmap_ = ToDib(*fallback);
}

void TSkinFormFrame::Resize(bool atStart) {
  if (windowState_ == wsMaximized) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
    return;
  }
  // The client area keeps the size it had under the system frame, as
  // read when the skinner attached (the window still had that frame).
  int clientWidth = attachClient_.right;
  int clientHeight = attachClient_.bottom;
  if (!atStart) {
    RECT client{};
    GetClientRect(handle_, &client);
    clientHeight = client.bottom;
  }
  int width = clientWidth + frameLeft_ + frameRight_;
  const int height = clientHeight + frameTop_ + frameBottom_ + menuHeight_;
  if (atStart && systemDialog_) {
    const TDataSkinTitle& title = skinData_->Model().Title;
    gui::TWindowDc dc(handle_);
    gui::TSelectObject font(dc.get(), captionFont_.get());
    const rt::WideString text = WindowText();
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), rt::AsWchar(text), static_cast<int>(text.size()),
                          &extent);
    const int needed = title.Margins.Left + extent.cx + title.Margins.Right;
    if (needed > width) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetWindow(handle_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT bounds{};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&bounds), 2);
        SetWindowPos(child, nullptr, bounds.left + shift, bounds.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = needed;
    }
  }
  SetWindowPos(handle_, nullptr, 0, 0, width, height, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE);
}

void TSkinFormFrame::FreeControlPainters() {
  hotButton_ = nullptr;
  // Each painter takes itself off the list as it goes. A control that
  // stays gets its own colour back; one on its way out needs nothing.
  while (!controls_.empty()) {
    TSkinControlPainter* painter = controls_.back();
    if (painter->BareWindow() || phase_ != phDestroying) painter->Unskin();
    delete painter;
    if (!controls_.empty() && controls_.back() == painter) controls_.pop_back();
  }
}

void TSkinFormFrame::FreeDeadControls() {
  for (TSkinControlPainter* painter : std::vector<TSkinControlPainter*>(controls_))
    if (!IsWindow(painter->Handle())) delete painter;
}

void TSkinFormFrame::Detach() {
  timer_.SetEnabled(false);
  if (!attached_) return;
  if (!frameSkinning_) {
    timer_.SetEnabled(false);
    FreeControlPainters();
    if (form_ && MenuSkinning().OwnerDrawMenus)
      MenuSkinning().OwnerDrawMenus(*this, true, Has(skinData_->SkinControls(), xcMenuItem), false);
    if (form_ && phase_ != phDestroying) form_->SetColor(oldColour_);
    subclass_.Remove();
    clientSubclass_.Remove();
    if (form_ && phase_ != phDestroying)
      for (gui::TControl* control : form_->AllControls()) control->Invalidate();
    attached_ = false;
    return;
  }
  sysPopup_.Clear();
  timer_.SetEnabled(false);
  if (!attached_) return;
  if (formHooked_ && form_) form_->WindowProc = std::move(oldFormWindowProc_);
  formHooked_ = false;
  subclass_.Remove();
  FreeControlPainters();
  if (form_ && MenuSkinning().OwnerDrawMenus)
    MenuSkinning().OwnerDrawMenus(*this, true, Has(skinData_->SkinControls(), xcMenuItem), false);
  if (form_ && phase_ != phDestroying) form_->SetColor(oldColour_);
  RestoreCaptionStyle();
  if (menuHandle_ && !GetMenu(handle_)) SetMenu(handle_, menuHandle_);
  skinMenu_.reset();
  clientSubclass_.Remove();
  titleBitmap_.reset();
  titlePainted_ = false;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
  if ((mdiKind_ == mdChild || !(style & WS_CHILD)) && phase_ != phDestroying) {
    RECT bounds{};
    GetWindowRect(handle_, &bounds);
    if (mdiKind_ == mdChild) MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&bounds), 2);
    const int width = bounds.right - bounds.left + systemFrame_.cx - frameLeft_ - frameRight_;
    const int height = bounds.bottom - bounds.top + systemFrame_.cy - frameTop_ - menuHeight_ - frameBottom_;
    SetWindowPos(handle_, nullptr, bounds.left, bounds.top, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  SetWindowRgn(handle_, nullptr, TRUE);
  DropRegion();
  attached_ = false;
}

void TSkinFormFrame::Abandon() {
  if (attached_) Detach();
  phase_ = phDestroyed;
}

void TSkinFormFrame::SkinDataDestroyed() {
  Abandon();
  skinData_ = nullptr;
}

void TSkinFormFrame::CreateMenuBar() {
  menuHandle_ = GetMenu(handle_);
  if (!frameSkinning_ || mdiKind_ == mdChild || !MenuSkinning().MakeMenuBar) return;
  skinMenu_ = MenuSkinning().MakeMenuBar(*this);
  if (!skinMenu_) return;
  menuHeight_ = GetSystemMetrics(SM_CYMENU);
  skinMenu_->ReadMenu();
}

void TSkinFormFrame::DetachOnDestroy() {
  sysPopup_.Clear();
  timer_.SetEnabled(false);
  if (!attached_) return;
  if (formHooked_ && form_) form_->WindowProc = std::move(oldFormWindowProc_);
  formHooked_ = false;
  FreeControlPainters();
  // The system destroys a window's menu with it; the bar took it off, so
  // a menu no framework object owns goes here.
  if (skinMenu_ && !form_ && menuHandle_ && !GetMenu(handle_) && IsMenu(menuHandle_)) DestroyMenu(menuHandle_);
  menuHandle_ = nullptr;
  skinMenu_.reset();
  titleBitmap_.reset();
  titlePainted_ = false;
  attached_ = false;
}

void TSkinFormFrame::Reskin() {
  if (!attached_ || phase_ == phDestroyed) return;
  FreeCaptionButtons();
  ComputeBorderSizes();
  MakeCaptionButtons();
  Recolor();
}

void TSkinFormFrame::MDIMaximizedChanged(bool maximized) {
  if (maximized) {
    titleBitmap_.reset();
    titlePainted_ = false;
    SetWindowRgn(handle_, nullptr, TRUE);
    DropRegion();
    RestoreCaptionStyle();
    return;
  }
  if (IsIconic(handle_)) {
    RestoreCaptionStyle();
    return;
  }
  windowState_ = wsNormal;
  BuildRegion();
  RemoveCaptionStyle();
  if (!ownsRegion_) SetWindowPos(handle_, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
}

void TSkinFormFrame::SkinChild(HWND child) {
  if (ControlSkinning().SkinChild) ControlSkinning().SkinChild(*this, child);
}

void TSkinFormFrame::AddControl(TSkinControlPainter* painter) {
  if (std::find(controls_.begin(), controls_.end(), painter) == controls_.end()) controls_.push_back(painter);
}

void TSkinFormFrame::RemoveControl(TSkinControlPainter* painter) {
  ClearHotButton(painter);
  std::erase(controls_, painter);
}

void TSkinFormFrame::ClearHotButton(const TSkinControlPainter* button) {
  if (hotButton_ == button) hotButton_ = nullptr;
}

void TSkinFormFrame::ForgetObject(const TNCObject& object) {
  if (hotObject_ == &object) hotObject_ = nullptr;
}

void TSkinFormFrame::BeginMenuTracking(HMENU menu) {
  inMenuLoop_ = true;
  trackedMenu_ = menu;
}

void TSkinFormFrame::LeaveMenuLoop() { inMenuLoop_ = false; }

void TSkinFormFrame::EndMenuTracking() {
  trackedMenu_ = nullptr;
  inMenuLoop_ = false;
}

TSkinControlPainter* TSkinFormFrame::FindControl(HWND control) const {
  for (TSkinControlPainter* painter : controls_)
    if (painter->Handle() == control) return painter;
  return nullptr;
}

}  // namespace skin
