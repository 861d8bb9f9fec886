// TSkinData: the non-visual component a form carries to be skinned. It
// holds the packed skin stored with the form (SkinStream), unpacks and
// parses it while the form is read, keeps the skin object model for the
// painters, and tells the skin manager when skinning starts, stops or is
// refreshed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "runtime/classes.h"
#include "runtime/published.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/image_list.h"
#include "runtime/streams.h"
#include "skin/definition/skin_model.h"

namespace gui {
class TControl;
}

namespace skin {

enum TSkinControlType : unsigned {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar,
  xcTab, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = uint32_t;  // a set of TSkinControlType
enum TSkinOption : unsigned { xoMDIScrollbar, xoMenuMerge, xoNCPaint };
using TSkinOptions = uint32_t;  // a set of TSkinOption
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

constexpr bool Has(uint32_t set, unsigned element) { return (set >> element & 1u) != 0; }

class TSkinData;
using TOnFormSkin = std::function<void(rt::TObject* sender, const rt::WideString& name, bool& doSkin)>;
using TOnSkinControl =
    std::function<void(rt::TComponent* sender, TSkinData* skinData, gui::TControl* form, gui::TControl* control,
                       const rt::WideString& controlClass, rt::TComponent*& skinnedControl)>;
using TOnWindowCreated = std::function<void(TSkinData* sender, HWND window, const rt::WideString& className)>;

using gui::UniqueImageList;

class TSkinData : public rt::TComponent {
 public:
  explicit TSkinData(rt::TComponent* owner);
  ~TSkinData() override;
  rt::WideString ClassName() const override { return u"TSkinData"; }

  // Published.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag() const { return disableTag_; }
  void SetDisableTag(int32_t value) { disableTag_ = value; }
  TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes value) { skinControls_ = value; }
  TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions value) { options_ = value; }
  const std::vector<rt::WideString>& Skin3rd() const { return skin3rd_; }
  void SetSkin3rd(const std::vector<rt::WideString>& rows) { skin3rd_ = rows; }
  const rt::WideString& SkinFile() const { return skinFile_; }
  void SetSkinFile(const rt::WideString& path);
  // "(none)" at run time: the stored skin is not shown as text.
  rt::WideString SkinStore() const { return u"(none)"; }
  void SetSkinStore(const rt::WideString&) {}
  TSkinFormType SkinFormtype() const { return skinFormtype_; }
  void SetSkinFormtype(TSkinFormType value) { skinFormtype_ = value; }
  rt::WideString Version() const { return u"3.02.03.07"; }
  void SetVersion(const rt::WideString&) {}
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }
  bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool value) { menuMerge_ = value; }
  TOnFormSkin OnFormSkin;
  rt::TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnWindowCreated OnWindowCreated;

  // The stored skin as the form holds it: a 32-bit length, then the skin
  // file. Reading it loads the skin.
  void ReadSkinStream(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> WriteSkinStream() const;

  // Unpacks and parses the skin file bytes; false when they hold no skin.
  bool LoadSkin();
  // The image entry that a definition value names (its file-name part,
  // ending exactly in ".bmp"); empty when there is none.
  TSkinBitmap LoadSkinBitmap(const rt::WideString& value);
  void ApplySkin();
  bool FormSkinAllowed(const rt::WideString& className) const;
  void SkinChanged();
  void Loaded() override;

  // The skin, for the painters.
  bool NoSkin() const { return noSkin_; }
  const TSkinModel& Model() const { return model_; }
  TSkinModel& Model() { return model_; }
  HBRUSH FaceBrush() const { return faceBrush_.get(); }
  HIMAGELIST MenuGlyphs() const { return menuGlyphs_.get(); }
  const TSkinBitmap& DefaultIcon() const { return defaultIcon_; }
  bool FramePaintEnabled() const { return framePaintEnabled_; }
  void SetFramePaintEnabled(bool value) { framePaintEnabled_ = value; }
  const rt::TMemoryStream& SkinFileBytes() const { return skinFileBytes_; }
  // An image of the loaded skin as a system bitmap, made at its first use
  // and kept until the next load; nullptr for an empty image. Never
  // selected into a DC between calls, so that any painter may draw it.
  HBITMAP ImageBitmap(const TSkinBitmap& image) const;

  // The scroll-bar arrow width the combo box images are composed for;
  // the system's unless set (tools set it to compare skins).
  void SetScrollArrowWidth(int width) { scrollArrowWidth_ = width; }

 private:
  class TLoad;

  bool active_ = false;
  int32_t disableTag_ = 99;
  TSkinControlTypes skinControls_;
  TSkinOptions options_ = 0;
  std::vector<rt::WideString> skin3rd_;
  rt::WideString skinFile_;
  TSkinFormType skinFormtype_ = sfMainform;
  bool menuUpdate_ = true;
  bool menuMerge_ = false;

  rt::TMemoryStream skinFileBytes_;
  // The load in progress: the definition value loader reads from it.
  TLoad* load_ = nullptr;
  bool noSkin_ = true;
  TSkinModel model_;
  gui::UniqueBrush faceBrush_;
  TSkinBitmap defaultIcon_;
  bool framePaintEnabled_ = true;
  UniqueImageList menuGlyphs_;
  int scrollArrowWidth_ = 0;
  mutable std::map<const TSkinBitmap*, gui::UniqueBitmap> imageBitmaps_;
};

// The control kinds skinned unless a form says otherwise: all but menu
// items and report-designer windows.
inline constexpr TSkinControlTypes kDefaultSkinControls =
    ((1u << (xcSystemMenu + 1)) - 1) & ~(1u << xcMenuItem);

// The 110 default rows of Skin3rd: a control class and the kind it is
// painted as.
const std::vector<rt::WideString>& DefaultSkin3rd();

// Text drawn with DrawTextW: every system the product runs on is of the NT
// family, where the 8-bit path for the others would only lose characters.
int DrawSkinText(HDC dc, const rt::WideString& text, RECT& rect, UINT format);

// Publishes TSkinData for stored forms. Runs once.
void RegisterSkinDataClass();

}  // namespace skin
