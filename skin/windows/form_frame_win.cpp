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

TSkinFormFrame::TSkinFormFrame(rt::TComponent* owner) : rt::TComponent(owner), timer_(nullptr) {
  timer_.SetEnabled(false);
  timer_.SetInterval(250);
  timer_.SetOnTimer([this](rt::TObject*) { TimerTick(); });
}

TSkinFormFrame::~TSkinFormFrame() {
  *alive_ = false;
  timer_.SetEnabled(false);
  HotObject = nullptr;
  HotButton = nullptr;
  SysButtons.clear();
  // The window may outlive its skinner (its form frees the skinner with its
  // other components before the window goes): it gets its own procedure
  // back, nothing else is done to a window on its way out.
  clientSubclass_.Remove();
  subclass_.Remove();
  if (formHooked_ && Form) Form->WindowProc = std::move(oldFormWindowProc_);
  formHooked_ = false;
  FreeControlPainters();
  if (TSkinManage* manager = Manager()) manager->ForgetSkinForm(this);
}

void TSkinFormFrame::Attach(TSkinData* data, gui::TForm* form) {
  if (attached_) return;
  Form = form;
  FrameSkinning = Has(data->SkinControls(), xcMainMenu);
  if (FrameSkinning) {
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
  SkinData = data;

  FrameSkinning = Has(data->SkinControls(), xcMainMenu);
  SavedStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  SavedExStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_EXSTYLE));
  RightToLeftCaption = (SavedExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  Active = 1;
  SystemMenu = GetSystemMenu(Handle, FALSE);
  FetchIcon();
  className_ = WindowClassName(Handle);
  owner_ = GetWindow(Handle, GW_OWNER);
  RECT window{};
  GetWindowRect(Handle, &window);
  GetClientRect(Handle, &attachClient_);
  systemFrame_ = {(window.right - window.left) - attachClient_.right,
                  (window.bottom - window.top) - attachClient_.bottom};
  doubleClickTime_ = GetDoubleClickTime();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    captionFont_.reset(CreateFontIndirectW(&metrics.lfCaptionFont));

  BoxFlags = 0;
  if ((SavedStyle & WS_SYSMENU) || SystemMenu) BoxFlags |= kBoxSystemMenu;
  if (SavedStyle & WS_MINIMIZEBOX) BoxFlags |= kBoxMinimize;
  if (SavedStyle & WS_MAXIMIZEBOX) BoxFlags |= kBoxMaximize;
  BuildSystemPopup();
  ReadWindowState();
  if (HasChildOfClass(Handle, u"MDIClient", MdiClient)) {
    MdiKind = mdFrame;
    if (manager) {
      manager->MdiClientWindow = MdiClient;
      manager->MdiFrameForm = Form;
    }
  }
  if (SavedExStyle & WS_EX_MDICHILD) MdiKind = mdChild;

  if ((SavedStyle & DS_MODALFRAME) || (SavedExStyle & WS_EX_DLGMODALFRAME) || className_ == u"#32770" ||
      className_ == u"TMessageForm")
    FrameKind = fkDialog;
  else if ((SavedStyle & WS_POPUP) && (SavedStyle & WS_CAPTION) != WS_CAPTION)
    FrameKind = fkNone;
  else if (SavedStyle & WS_THICKFRAME)
    FrameKind = fkSizeable;
  else
    FrameKind = fkSingle;
  // Windows of any class may be Unicode; their text is read wide.
  UnicodeWindow = className_.find(u".UnicodeClass") != rt::WideString::npos || IsWindowUnicode(Handle);
  SystemDialog = className_ == u"#32770" || className_ == u"TMessageForm";

  if (MdiKind == mdFrame) {
    oldMenuUpdate_ = data->MenuUpdate();
    clientSubclass_.Install(MdiClient, [this](gui::TMessage& message) { MdiClientMessage(message); });
  }

  if (FrameSkinning) {
    if (GetMenu(Handle)) CreateMenuBar();
    const bool mdiMaximized = MdiKind == mdChild && manager && manager->MDIMaximized;
    if (!mdiMaximized && WindowState != wsMinimized) RemoveCaptionStyle();
    ComputeBorderSizes();
    MakeCaptionButtons();
  } else {
    Phase = phRunning;
  }

  attached_ = subclass_.Install(Handle, [this](gui::TMessage& message) { WindowMessage(message); });
  if (MdiKind == mdChild && WindowState == wsMaximized && manager) manager->SetMDIMaximized(true);
  InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinFormFrame::ReadWindowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(Handle, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      WindowState = wsMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      WindowState = wsMaximized;
      break;
    default:
      WindowState = wsNormal;
      break;
  }
}

void TSkinFormFrame::RemoveCaptionStyle() {
  if (MdiKind == mdChild && Manager() && Manager()->MDIMaximized) return;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  if (owner_ || MdiKind == mdChild) {
    SetWindowLongPtrW(Handle, GWL_STYLE, static_cast<LONG_PTR>(style & ~kCaptionButtonsStyle));
  } else {
    BoxFlags |= kBoxCaptionRemoved;
    SetWindowLongPtrW(Handle, GWL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<DWORD>(WS_CAPTION)));
  }
}

void TSkinFormFrame::RestoreCaptionStyle() {
  auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  if (BoxFlags & kBoxSystemMenu) style |= WS_SYSMENU;
  if (BoxFlags & kBoxMinimize) style |= WS_MINIMIZEBOX;
  if (BoxFlags & kBoxMaximize) style |= WS_MAXIMIZEBOX;
  if (BoxFlags & kBoxCaptionRemoved) style |= WS_CAPTION;
  SetWindowLongPtrW(Handle, GWL_STYLE, static_cast<LONG_PTR>(style));
}

void TSkinFormFrame::ComputeBorderSizes() {
  if (SkinData->NoSkin()) return;
  const TSkinModel& model = SkinData->Model();
  if (FrameKind == fkNone) {
    FrameLeft = FrameTop = FrameRight = FrameBottom = 0;
    MenuHeight = 0;
  } else {
    FrameLeft = FrameExtent(model.BorderLeft.Image, model.BorderLeft.FrameCount, false);
    FrameRight = FrameExtent(model.BorderRight.Image, model.BorderRight.FrameCount, false);
    FrameTop = FrameExtent(model.BorderTop.Image, model.BorderTop.FrameCount, true);
    FrameBottom = FrameExtent(model.BorderBottom.Image, model.BorderBottom.FrameCount, true);
  }
  MakeBorderImages();
}

void TSkinFormFrame::MakeBorderImages() {
  const TSkinModel& model = SkinData->Model();
  borders_.Left = ToDib(model.BorderLeft.Image);
  borders_.Right = ToDib(model.BorderRight.Image);
  borders_.Top = ToDib(model.BorderTop.Image);
  borders_.Bottom = ToDib(model.BorderBottom.Image);
  borders_.TextBack = ToDib(model.Title.Image);
  pieces_.clear();
  titlePainted_ = false;
}

void TSkinFormFrame::MakeCaptionButtons() {
  if (SkinData->NoSkin()) return;
  FreeCaptionButtons();
  const TSkinModel& model = SkinData->Model();
  const TSkinBitmap icon = FromBitmap(iconBitmap_.get());
  for (const TDataSkinSysButton& data : model.CaptionButtons) {
    TCaptionButton button;
    button.Data = data;
    button.FrameCount = std::max(data.FrameCount, 1);
    if (data.Action == 3 || data.Action == 11) {
      // The window's icon stands in for the button's image.
      if (data.Image.Empty() || SkinData->DefaultIcon().Empty()) button.Data.Image = icon;
      button.FrameCount = 1;
    }
    button.Image = ToDib(button.Data.Image);
    button.ImageSize = {button.Data.Image.Width(), button.Data.Image.Height()};
    button.Data.Image = TSkinBitmap();
    CaptionButtons.push_back(std::move(button));
  }
  for (size_t i = 0; i < CaptionButtons.size(); ++i)
    SysButtons.push_back(std::make_unique<TWinSysButton>(*this, static_cast<int>(i)));
}

void TSkinFormFrame::FreeCaptionButtons() {
  if (HotObject && dynamic_cast<TWinSysButton*>(HotObject)) HotObject = nullptr;
  SysButtons.clear();
  CaptionButtons.clear();
}

void TSkinFormFrame::FetchIcon() {
  auto icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_BIG, 0));
  // The class's icon is what the system frame would show.
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle, GCLP_HICON));
  icon_ = icon;
  iconSize_ = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  if (icon_) {
    iconBitmap_ = MakeFilledDib(iconSize_, height, kSkinKeyColour);
    TBitmapDc dc(iconBitmap_.get());
    DrawWindowIcon(dc.get(), {0, 0});
    return;
  }
  const TSkinBitmap* fallback = &SkinData->DefaultIcon();
  if (fallback->Empty())
    if (TSkinManage* manager = Manager())
      for (TSkinData* data : manager->SkinDatas())
        if (data->SkinFormtype() == sfMainform && !data->DefaultIcon().Empty()) fallback = &data->DefaultIcon();
  iconBitmap_ = ToDib(*fallback);
}

void TSkinFormFrame::Resize(bool atStart) {
  if (WindowState == wsMaximized) {
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
    return;
  }
  // The client area keeps the size it had under the system frame, as
  // read when the skinner attached (the window still had that frame).
  int clientWidth = attachClient_.right;
  int clientHeight = attachClient_.bottom;
  if (!atStart) {
    RECT client{};
    GetClientRect(Handle, &client);
    clientHeight = client.bottom;
  }
  int width = clientWidth + FrameLeft + FrameRight;
  const int height = clientHeight + FrameTop + FrameBottom + MenuHeight;
  if (atStart && SystemDialog) {
    const TDataSkinTitle& title = SkinData->Model().Title;
    gui::TWindowDc dc(Handle);
    gui::TSelectObject font(dc.get(), captionFont_.get());
    const rt::WideString text = WindowText();
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), rt::AsWchar(text), static_cast<int>(text.size()),
                          &extent);
    const int needed = title.Margins.Left + extent.cx + title.Margins.Right;
    if (needed > width) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT bounds{};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&bounds), 2);
        SetWindowPos(child, nullptr, bounds.left + shift, bounds.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = needed;
    }
  }
  SetWindowPos(Handle, nullptr, 0, 0, width, height, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE);
}

void TSkinFormFrame::FreeControlPainters() {
  HotButton = nullptr;
  // Each painter takes itself off the list as it goes. A control that
  // stays gets its own colour back; one on its way out needs nothing.
  while (!controls_.empty()) {
    TSkinControlPainter* painter = controls_.back();
    if (painter->BareWindow() || Phase != phDestroying) painter->Unskin();
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
  if (!FrameSkinning) {
    timer_.SetEnabled(false);
    FreeControlPainters();
    if (Form && MenuSkinning().OwnerDrawMenus)
      MenuSkinning().OwnerDrawMenus(*this, true, Has(SkinData->SkinControls(), xcMenuItem), false);
    if (Form && Phase != phDestroying) Form->SetColor(oldColour_);
    subclass_.Remove();
    clientSubclass_.Remove();
    if (Form && Phase != phDestroying)
      for (gui::TControl* control : Form->AllControls()) control->Invalidate();
    attached_ = false;
    return;
  }
  sysPopup_.Clear();
  timer_.SetEnabled(false);
  if (!attached_) return;
  if (formHooked_ && Form) Form->WindowProc = std::move(oldFormWindowProc_);
  formHooked_ = false;
  subclass_.Remove();
  FreeControlPainters();
  if (Form && MenuSkinning().OwnerDrawMenus)
    MenuSkinning().OwnerDrawMenus(*this, true, Has(SkinData->SkinControls(), xcMenuItem), false);
  if (Form && Phase != phDestroying) Form->SetColor(oldColour_);
  RestoreCaptionStyle();
  if (MenuHandle && !GetMenu(Handle)) SetMenu(Handle, MenuHandle);
  SkinMenu.reset();
  clientSubclass_.Remove();
  titleBitmap_.reset();
  titlePainted_ = false;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  if ((MdiKind == mdChild || !(style & WS_CHILD)) && Phase != phDestroying) {
    RECT bounds{};
    GetWindowRect(Handle, &bounds);
    if (MdiKind == mdChild) MapWindowPoints(nullptr, GetParent(Handle), reinterpret_cast<POINT*>(&bounds), 2);
    const int width = bounds.right - bounds.left + systemFrame_.cx - FrameLeft - FrameRight;
    const int height = bounds.bottom - bounds.top + systemFrame_.cy - FrameTop - MenuHeight - FrameBottom;
    SetWindowPos(Handle, nullptr, bounds.left, bounds.top, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  SetWindowRgn(Handle, nullptr, TRUE);
  DropRegion();
  attached_ = false;
}

void TSkinFormFrame::Abandon() {
  if (attached_) Detach();
  Phase = phDestroyed;
}

void TSkinFormFrame::CreateMenuBar() {
  MenuHandle = GetMenu(Handle);
  if (!FrameSkinning || MdiKind == mdChild || !MenuSkinning().MakeMenuBar) return;
  SkinMenu = MenuSkinning().MakeMenuBar(*this);
  if (!SkinMenu) return;
  MenuHeight = GetSystemMetrics(SM_CYMENU);
  SkinMenu->ReadMenu();
}

void TSkinFormFrame::DetachOnDestroy() {
  sysPopup_.Clear();
  timer_.SetEnabled(false);
  if (!attached_) return;
  if (formHooked_ && Form) Form->WindowProc = std::move(oldFormWindowProc_);
  formHooked_ = false;
  FreeControlPainters();
  // The system destroys a window's menu with it; the bar took it off, so
  // a menu no framework object owns goes here.
  if (SkinMenu && !Form && MenuHandle && !GetMenu(Handle) && IsMenu(MenuHandle)) DestroyMenu(MenuHandle);
  MenuHandle = nullptr;
  SkinMenu.reset();
  titleBitmap_.reset();
  titlePainted_ = false;
  attached_ = false;
}

void TSkinFormFrame::Reskin() {
  if (!attached_ || Phase == phDestroyed) return;
  FreeCaptionButtons();
  ComputeBorderSizes();
  MakeCaptionButtons();
  Recolor();
}

void TSkinFormFrame::MDIMaximizedChanged(bool maximized) {
  if (maximized) {
    titleBitmap_.reset();
    titlePainted_ = false;
    SetWindowRgn(Handle, nullptr, TRUE);
    DropRegion();
    RestoreCaptionStyle();
    return;
  }
  if (IsIconic(Handle)) {
    RestoreCaptionStyle();
    return;
  }
  WindowState = wsNormal;
  BuildRegion();
  RemoveCaptionStyle();
  if (!ownsRegion_) SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameRefreshFlags);
}

void TSkinFormFrame::SkinChild(HWND child) {
  if (ControlSkinning().SkinChild) ControlSkinning().SkinChild(*this, child);
}

void TSkinFormFrame::AddControl(TSkinControlPainter* painter) {
  if (std::find(controls_.begin(), controls_.end(), painter) == controls_.end()) controls_.push_back(painter);
}

void TSkinFormFrame::RemoveControl(TSkinControlPainter* painter) {
  if (HotButton == painter) HotButton = nullptr;
  std::erase(controls_, painter);
}

TSkinControlPainter* TSkinFormFrame::FindControl(HWND control) const {
  for (TSkinControlPainter* painter : controls_)
    if (painter->Handle() == control) return painter;
  return nullptr;
}

}  // namespace skin
