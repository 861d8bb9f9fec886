// The skin as the painters see it: the colours and objects that
// BuildSkinObjects makes from a definition. Buttons, Title and the four
// window borders always exist and are overwritten by every load; every
// other object exists only while the loaded skin defines it.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "runtime/colors.h"
#include "runtime/strings.h"
#include "skin/definition/quick_ini.h"
#include "skin/definition/skin_objects.h"

namespace skin {

// The colours of section [Colours], named after their keys; a colour the
// skin does not give is the system colour of the same role.
struct TSkinColours {
  rt::TColor WindowText = rt::clWindowText;
  rt::TColor TitleTextActive = rt::clCaptionText;
  rt::TColor TitleTextNoActive = rt::clInactiveCaptionText;
  rt::TColor ButtonFace = rt::clBtnFace;
  rt::TColor ButtonText = rt::clBtnText;
  rt::TColor ButtonHilight = rt::clBtnHighlight;
  rt::TColor Buttonlight = rt::clBtnHighlight;
  rt::TColor ButtonShadow = rt::clBtnShadow;
  rt::TColor ButtonDkShadow = rt::cl3DDkShadow;
  rt::TColor HilightText = rt::clHighlightText;
  rt::TColor Hilight = rt::clHighlight;
  rt::TColor Menubar = rt::clBtnFace;
  rt::TColor MenuBarText = rt::clMenuText;
  rt::TColor MenuText = rt::clMenuText;
  rt::TColor Menu = rt::clMenu;
  rt::TColor Scrollbar = rt::clScrollBar;
};

inline constexpr int kCustomColourCount = 10;
// The three buttons of a maximized MDI child's menu bar, after the
// caption buttons of the definition.
inline constexpr int kMdiButtonCount = 3;

struct TSkinModel {
  TSkinColours SkinColours;
  // One per [ColourN] section, in file order.
  std::vector<rt::TColor> ColourSections;

  TDataSkinTitle Title{u"Title"};
  // The [Button...] sections in file order, then the three MDI buttons.
  std::vector<TDataSkinSysButton> CaptionButtons;
  TDataSkinButton Buttons{u"Buttons"};

  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
  std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
  std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
  std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
  std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
  std::unique_ptr<TDataSkinObject> TrackbarThumbDown;

  TDataSkinBorder BorderLeft{u"Left"};
  TDataSkinBorder BorderRight{u"Right"};
  TDataSkinBorder BorderTop{u"Top"};
  TDataSkinBorder BorderBottom{u"Bottom"};

  std::array<rt::TColor, kCustomColourCount> CustomColours = [] {
    std::array<rt::TColor, kCustomColourCount> white;
    white.fill(rt::clWhite);
    return white;
  }();
  rt::WideString SkinName;
};

// Turns a definition value into an image: the caller looks the named BMP
// up in the skin's archive. An empty image when it names nothing usable.
using TBitmapLoader = std::function<TSkinBitmap(const rt::WideString& value)>;

// Reads everything above from the definition, in the order that the
// defaults need: colours before the objects whose colours default to
// SkinColours.ButtonText. Section objects are replaced, the objects that
// always exist are overwritten.
void BuildSkinObjects(const TQuickIni& ini, TSkinModel& model, const TBitmapLoader& load);

}  // namespace skin
