#include "skin/menus/popup_menu_win.h"

#include "skin/data/skin_bitmap_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {
namespace {

// Asks a popup-menu window for its menu.
constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU

// The popup window opened last whose menu is not known yet; a thread
// tracks one menu at a time.
thread_local TSkinPopupMenu* gPendingPopup = nullptr;

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

TSkinPopupMenu::TSkinPopupMenu(HWND window, TSkinData& data, HMENU menu)
    : MenuWindow(window), SkinData(&data), ShownMenu(menu) {
  subclass_.Install(window, [this](gui::TMessage& m) { Message(m); });
  if (!ShownMenu) gPendingPopup = this;
}

TSkinPopupMenu::~TSkinPopupMenu() { Detach(); }

void TSkinPopupMenu::Detach() {
  subclass_.Remove();
  popupBackground_.reset();
  backgroundSize_ = {};
  if (gPendingPopup == this) gPendingPopup = nullptr;
}

HMENU TSkinPopupMenu::Menu() const {
  if (ShownMenu || !IsWindow(MenuWindow)) return ShownMenu;
  return reinterpret_cast<HMENU>(SendMessageW(MenuWindow, kGetMenuOfWindow, 0, 0));
}

POINT TSkinPopupMenu::ClientOffset() const {
  RECT window{};
  GetWindowRect(MenuWindow, &window);
  POINT origin{0, 0};
  ClientToScreen(MenuWindow, &origin);
  return {origin.x - window.left, origin.y - window.top};
}

HBITMAP TSkinPopupMenu::Background() {
  const TDataSkinObject* object = SkinData->Model().MenuBackground.get();
  if (SkinData->NoSkin() || !object) return nullptr;
  HBITMAP image = SkinData->ImageBitmap(object->Image);
  if (!image) return nullptr;
  const SIZE size = WindowSize(MenuWindow);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  if (!popupBackground_ || size.cx != backgroundSize_.cx || size.cy != backgroundSize_.cy) {
    popupBackground_ = NineSlice({0, 0, size.cx, size.cy}, image, SliceMargins(object->Margins), false,
                                 object->Tile != 0, 1, 1);
    backgroundSize_ = size;
  }
  return popupBackground_.get();
}

void TSkinPopupMenu::PaintRing(HDC dc) {
  HBITMAP background = Background();
  if (!background) return;
  const SIZE s = backgroundSize_;
  Blit(dc, 0, 0, s.cx, kRing, background, 0, 0);
  Blit(dc, 0, s.cy - kRing, s.cx, kRing, background, 0, s.cy - kRing);
  Blit(dc, 0, kRing, kRing, s.cy - 2 * kRing, background, 0, kRing);
  Blit(dc, s.cx - kRing, kRing, kRing, s.cy - 2 * kRing, background, s.cx - kRing, kRing);
}

void TSkinPopupMenu::Print(gui::TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  HBITMAP background = Background();
  if (!background) {
    subclass_.CallPrevious(m);
    return;
  }
  Blit(dc, 0, 0, backgroundSize_.cx, backgroundSize_.cy, background, 0, 0);
  gui::TSavedDc saved(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kRing, kRing, backgroundSize_.cx - kRing, backgroundSize_.cy - kRing);
  subclass_.CallPrevious(m);
}

void TSkinPopupMenu::Message(gui::TMessage& m) {
  if (m.Msg == SKINMSG_QUERY) {
    m.Result = 1;
    return;
  }
  const TSkinManage* manager = Manager();
  if (!manager || !manager->Skinning()) {
    subclass_.CallPrevious(m);
    return;
  }
  switch (m.Msg) {
    case WM_DESTROY:
      subclass_.CallPrevious(m);
      Detach();
      return;
    case WM_NCPAINT: {
      if (!Background()) break;
      gui::TWindowFrameDc dc(MenuWindow);
      PaintRing(dc.get());
      m.Result = 0;
      return;
    }
    case WM_PAINT: {
      // Where the system draws its own edge inside the client area, the
      // ring goes over it once the items are drawn.
      subclass_.CallPrevious(m);
      if (!Background()) return;
      gui::TWindowFrameDc dc(MenuWindow);
      PaintRing(dc.get());
      return;
    }
    case WM_PRINT:
      Print(m);
      return;
    default:
      break;
  }
  subclass_.CallPrevious(m);
}

std::unique_ptr<TPopupMenuPainter> SkinPopupMenuWindow(HWND window, TSkinData& data) {
  if (!IsWindow(window)) return nullptr;
  return std::make_unique<TSkinPopupMenu>(window, data, nullptr);
}

void NoteMenuPainted(HMENU menu) {
  if (!gPendingPopup || !menu) return;
  gPendingPopup->SetShownMenu(menu);
  gPendingPopup = nullptr;
}

}  // namespace skin
