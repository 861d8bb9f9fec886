// TSkinFormFrame: the skinned frame of one top-level window. It takes the
// window's caption style away, sizes the non-client area to the skin's
// borders, paints borders, caption text and caption buttons from the
// skin (composed off-screen), shapes the window by the borders' magenta
// pixels, answers hit tests and non-client mouse input for its buttons,
// shows a skinned system menu and owns the painters of the window's
// controls. The skin manager makes one per window and attaches it; the
// window's own procedure keeps running behind it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/classes.h"
#include "runtime/gui/form.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/timer.h"
#include "runtime/gui/window_subclass.h"
#include "skin/data/skin_data_win.h"
#include "skin/windows/control_skinning_link_win.h"
#include "skin/windows/menu_skinning_link_win.h"
#include "skin/windows/nc_objects_win.h"
#include "skin/windows/system_popup_win.h"

namespace skin {

// BoxFlags: what the window's style offered before the skinner took the
// caption away.
inline constexpr uint8_t kBoxMaximize = 1;
inline constexpr uint8_t kBoxMinimize = 2;
inline constexpr uint8_t kBoxSystemMenu = 8;
inline constexpr uint8_t kBoxCaptionRemoved = 0x10;

// SetWindowPos flags that make the system ask for the frame again.
inline constexpr UINT kFrameRefreshFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;  // 0x37

enum TFrameKind : uint8_t { fkSizeable = 0, fkSingle = 1, fkNone = 2, fkDialog = 3 };
enum TMdiKind : uint8_t { mdPlain = 0, mdFrame = 1, mdChild = 2 };
enum TFrameWindowState : uint8_t { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };
enum TFramePhase { phCreated = 0, phRunning = 1, phRecolor = 3, phDestroying = 4, phStarting = 5, phDestroyed = 6 };

// A caption button of the skin as one window shows it: the skin's values
// and its image as a bitmap of the system.
struct TCaptionButton {
  TDataSkinSysButton Data{u""};
  gui::UniqueBitmap Image;
  SIZE ImageSize{};
  int FrameCount = 1;
};

// The skin's border images as bitmaps of the system, made once per skin.
struct TBorderImages {
  gui::UniqueBitmap Left, Right, Top, Bottom, TextBack;
};

// A border piece drawn for one size and activation state, kept until the
// window's size or state changes.
struct TBorderPiece {
  int Side = 0;
  SIZE Size{};
  bool Active = true;
  gui::UniqueBitmap Bitmap;
};

// The sizes of a skinned window's non-client area: its borders and the
// menu bar under the caption.
struct TFrameMetrics {
  int FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;
  int MenuHeight = 0;
};

class TSkinFormFrame : public rt::TComponent {
 public:
  // The skinner of one window, which it frames for its whole life.
  TSkinFormFrame(rt::TComponent* owner, HWND window);
  ~TSkinFormFrame() override;
  rt::WideString ClassName() const override { return u"TSkinFormFrame"; }

  // Attaching: a framework form, or a window of any other kind (a system
  // dialog). Runs once.
  void Attach(TSkinData* data, gui::TForm* form);
  void Attach(TSkinData* data);
  // Gives the window its system frame back, with the same client size.
  void Detach();
  // Detaches for good: the manager frees the skinner at its next purge.
  void Abandon();
  // The skin data component is going: detaches for good and forgets it.
  void SkinDataDestroyed();
  // A message of the window is being handled: the skinner must stay.
  bool HandlingMessage() const { return messageDepth_ > 0; }

  void RepaintFrame(HDC dc = nullptr);
  // The skin data loaded another skin: read it again and lay out anew.
  void Reskin();
  void FreeCaptionButtons();
  // The MDI children of the frame are now maximized, or not.
  void MDIMaximizedChanged(bool maximized);
  // A child window made after the start (the size grip).
  void SkinChild(HWND child);
  // The skinned system menu.
  const TSystemPopup& SystemPopup() const { return sysPopup_; }

  // The painters of the window's controls: a painter adds itself when it
  // attaches and removes itself when it goes.
  void AddControl(TSkinControlPainter* painter);
  void RemoveControl(TSkinControlPainter* painter);
  TSkinControlPainter* FindControl(HWND control) const;
  const std::vector<TSkinControlPainter*>& Controls() const { return controls_; }
  // Frees the painters whose windows are gone.
  void FreeDeadControls();

  // The push button under the mouse, set by the button painters; the
  // frame lets it go when the window deactivates or, for a window of no
  // framework form, when the mouse is no longer over it.
  TSkinControlPainter* HotButton() const { return hotButton_; }
  void SetHotButton(TSkinControlPainter* button) { hotButton_ = button; }
  // No button is hot any more, if this one was.
  void ClearHotButton(const TSkinControlPainter* button);

  // The non-client object under the mouse or being pressed (a caption
  // button or a menu-bar button), set by the objects themselves.
  TNCObject* HotObject() const { return hotObject_; }
  void SetHotObject(TNCObject* object) { hotObject_ = object; }
  // An object going away stops being hot.
  void ForgetObject(const TNCObject& object);

  // The menu bar's loop: the popup menu of a bar button is open; Alt or
  // the menu closing ends the loop before the popup is gone.
  void BeginMenuTracking(HMENU menu);
  void LeaveMenuLoop();
  void EndMenuTracking();
  // The menu the bar took off the window (none when the form's menu is
  // gone): the window gets it back when the skinner detaches.
  void KeepWindowMenu(HMENU menu) { menuHandle_ = menu; }

  // The window, and what the skinner read of it when it attached.
  HWND Handle() const { return handle_; }
  gui::TForm* Form() const { return form_; }
  TSkinData* SkinData() const { return skinData_; }
  TFrameKind FrameKind() const { return frameKind_; }
  TMdiKind MdiKind() const { return mdiKind_; }
  bool SystemDialog() const { return systemDialog_; }
  bool RightToLeftCaption() const { return rightToLeftCaption_; }
  // How far the skinner has come with the window (TFramePhase).
  int Phase() const { return phase_; }
  bool Active() const { return active_ != 0; }
  TFrameMetrics Metrics() const { return {frameLeft_, frameTop_, frameRight_, frameBottom_, menuHeight_}; }
  // The skinned menu bar, none when the window shows no menu.
  TMenuBarPainter* SkinMenu() const { return skinMenu_.get(); }
  // The menu the bar shows, and the popup menu of it that is open.
  HMENU MenuHandle() const { return menuHandle_; }
  HMENU TrackedMenu() const { return trackedMenu_; }
  // The caption buttons as laid out at the last painting.
  const std::vector<std::unique_ptr<TWinSysButton>>& SysButtons() const { return sysButtons_; }
  const TCaptionButton& CaptionButton(int index) const { return captionButtons_.at(static_cast<size_t>(index)); }
  const RECT& CaptionTextRect() const { return captionTextRect_; }

  // Drawing of one caption button frame on a DC at its bounds.
  void DrawCaptionButton(HDC dc, const TCaptionButton& button, const RECT& bounds, int frame) const;
  void DrawWindowIcon(HDC dc, POINT at) const;
  // A caption button in its present state, straight onto the window.
  void PaintCaptionButton(const TWinSysButton& button);

 private:
  // Attaching and detaching.
  void CommonAttach(TSkinData* data);
  void RemoveCaptionStyle();
  void RestoreCaptionStyle();
  void ComputeBorderSizes();
  void MakeBorderImages();
  void MakeCaptionButtons();
  void FetchIcon();
  // The window's size around the same client area under the skin's frame.
  void Resize(bool atStart);
  void DetachOnDestroy();
  // The skinned bar of the window's menu; MenuBarChanged follows the
  // form's menu as it comes and goes.
  void CreateMenuBar();
  void MenuBarChanged();
  void FreeControlPainters();
  void ReadWindowState();

  // Messages.
  void WindowMessage(gui::TMessage& message);
  bool FrameMessage(gui::TMessage& message);
  bool NonClientMessage(gui::TMessage& message);
  void Start();
  void FormHook(gui::TMessage& message);
  void Recolor();
  void MdiClientMessage(gui::TMessage& message);
  void SysCommand(gui::TMessage& message);
  void NcCalcSize(gui::TMessage& message);
  void NcHitTest(gui::TMessage& message);
  void GetMinMaxInfo(gui::TMessage& message);
  void Forward(gui::TMessage& message) { subclass_.CallPrevious(message); }

  // Painting.
  void PaintFrame(HDC dc);
  void DrawBorder(HDC dc, int side, const RECT& piece);
  HBITMAP BorderPiece(int side, int width, int height);
  void DrawCaptionText(HDC dc, int width, const rt::WideString& windowText);
  void LayoutCaptionButtons(int width);
  void DrawCaptionButtons(HDC dc);
  rt::WideString WindowText() const;
  void BuildRegion();
  void DropRegion();

  // Non-client input.
  TNCObject* ObjectAt(POINT windowPoint);
  POINT WindowPoint(LPARAM screenPoint) const;
  void NcMouse(gui::TMessage& message, bool& handled);
  // A click on a non-client object, posted as the mouse would make it.
  void ClickLater(const TNCObject& object);
  void TimerTick();
  void PerformAction(int action, POINT at);
  void ToggleMaximize();
  void ToggleMinimize();
  void Restore();
  void OpenSystemMenu(POINT at, bool fromButton);
  void BuildSystemPopup();
  void Close();

  const HWND handle_;
  gui::TForm* form_ = nullptr;
  TSkinData* skinData_ = nullptr;
  bool frameSkinning_ = false;
  int frameLeft_ = 0, frameTop_ = 0, frameRight_ = 0, frameBottom_ = 0;
  int menuHeight_ = 0;
  DWORD savedStyle_ = 0;
  DWORD savedExStyle_ = 0;
  uint8_t boxFlags_ = 0;
  TFrameKind frameKind_ = fkSingle;
  TMdiKind mdiKind_ = mdPlain;
  TFrameWindowState windowState_ = wsNormal;
  uint8_t active_ = 1;
  int phase_ = phCreated;
  bool rightToLeftCaption_ = false;
  bool unicodeWindow_ = false;
  bool systemDialog_ = false;
  std::vector<std::unique_ptr<TWinSysButton>> sysButtons_;
  std::vector<TCaptionButton> captionButtons_;
  std::unique_ptr<TMenuBarPainter> skinMenu_;
  TNCObject* hotObject_ = nullptr;
  TSkinControlPainter* hotButton_ = nullptr;
  RECT captionTextRect_{};
  int rightButtonsLeft_ = 0;
  HMENU systemMenu_ = nullptr;
  HMENU menuHandle_ = nullptr;
  HMENU trackedMenu_ = nullptr;
  bool inMenuLoop_ = false;
  HWND mdiClient_ = nullptr;

  int messageDepth_ = 0;
  // Cleared when the skinner goes, for handlers that may outlive it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  gui::TWindowSubclass subclass_;
  gui::TWindowSubclass clientSubclass_;
  gui::TWndMethod oldFormWindowProc_;
  bool formHooked_ = false;
  bool attached_ = false;
  gui::TTimer timer_;
  TBorderImages borders_;
  std::vector<TBorderPiece> pieces_;
  std::vector<TSkinControlPainter*> controls_;
  TSystemPopup sysPopup_;
  gui::UniqueBitmap titleBitmap_;
  // What the caption strip was last composed for.
  struct TCaptionKey {
    int Width = 0;
    uint8_t Active = 0;
    TFrameWindowState State = wsNormal;
    rt::WideString Text;
    friend bool operator==(const TCaptionKey&, const TCaptionKey&) = default;
  };
  TCaptionKey captionKey_;
  // The caption strip before its buttons were drawn.
  gui::UniqueBitmap captionBase_;
  SIZE titleSize_{};
  bool titlePainted_ = false;
  gui::UniqueBitmap iconBitmap_;
  HICON icon_ = nullptr;
  int iconSize_ = 16;
  gui::UniqueFont captionFont_;
  rt::WideString textPrefix_ = u"  ";
  rt::WideString textSuffix_ = u" ";
  gui::UniqueRegion region_;
  bool ownsRegion_ = false;
  SIZE regionSize_{};
  DWORD lastIconClick_ = 0;
  bool iconClicked_ = false;
  UINT doubleClickTime_ = 500;
  rt::TColor oldColour_ = rt::clBtnFace;
  RECT attachClient_{};
  SIZE systemFrame_{};
  HWND owner_ = nullptr;
  rt::WideString className_;
  bool oldMenuUpdate_ = true;
  HWND createdMdiChild_ = nullptr;
};

}  // namespace skin
