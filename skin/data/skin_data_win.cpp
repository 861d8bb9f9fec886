#include "runtime/wide_text_win.h"
#include "skin/data/skin_data_win.h"

#include <optional>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/gui/form.h"
#include "runtime/gui/graphics.h"
#include "runtime/gui/system_libraries.h"
#include "runtime/stock_texts.h"
#include "runtime/text.h"
#include "skin/container/skin_reader.h"
#include "skin/data/skin_bitmap_win.h"
#include "skin/definition/quick_ini.h"
#include "skin/data/combo_composite_win.h"
#include "skin/data/skin_manager_link_win.h"

namespace skin {

// What a load in progress reads from: the unpacked archive and the stream
// its entries are extracted into.
class TSkinData::TLoad {
 public:
  TSkinReader reader;
  rt::TMemoryStream entry;
};

namespace {

constexpr unsigned kRequestDelayMs = 250;

// The file-name part of a path: what follows the last "\" or drive colon.
rt::WideString FileNamePart(const rt::WideString& value) {
  const size_t delimiter = value.find_last_of(u"\\:");
  return delimiter == rt::WideString::npos ? value : value.substr(delimiter + 1);
}

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const rt::WideString& path) {
  gui::UniqueKernelHandle file(CreateFileW(rt::AsWchar(path), GENERIC_READ,
                                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                           nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > INT32_MAX) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size()))
    return std::nullopt;
  return bytes;
}

UniqueImageList LoadMenuGlyphs() {
  gui::UniqueBitmap glyphs(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"SKINMENUGLYPHS", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  UniqueImageList list(gui::CommonControls().ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
  if (list && glyphs) gui::CommonControls().ImageList_AddMasked(list.get(), glyphs.get(), RGB(255, 255, 255));
  return list;
}

}  // namespace

TSkinData::TSkinData(rt::TComponent* owner)
    : rt::TComponent(owner), skinControls_(kDefaultSkinControls), skin3rd_(DefaultSkin3rd()),
      menuGlyphs_(LoadMenuGlyphs()) {}

TSkinData::~TSkinData() {
  if (TSkinManagerLink* manager = SkinManager()) manager->UnregisterSkinData(this);
}

void TSkinData::ReadSkinStream(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 4) throw rt::EReadError(rt::kSReadError);
  const int32_t length = static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                              static_cast<uint32_t>(bytes[3]) << 24);
  if (length <= 0) return;
  if (static_cast<size_t>(length) > bytes.size() - 4) throw rt::EReadError(rt::kSReadError);
  skinFileBytes_.Clear();
  skinFileBytes_.WriteBuffer(bytes.data() + 4, length);
  LoadSkin();
}

std::vector<uint8_t> TSkinData::WriteSkinStream() const {
  const std::vector<uint8_t>& file = skinFileBytes_.Bytes();
  const auto size = static_cast<uint32_t>(file.size());
  std::vector<uint8_t> bytes(4 + file.size());
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(size >> (8 * i));
  std::copy(file.begin(), file.end(), bytes.begin() + 4);
  return bytes;
}

bool TSkinData::LoadSkin() {
  noSkin_ = true;
  imageBitmaps_.clear();
  TLoad load;
  load_ = &load;
  struct TEndLoad {
    TLoad*& slot;
    ~TEndLoad() { slot = nullptr; }
  } endLoad{load_};

  skinFileBytes_.SetPosition(0);
  if (!load.reader.Open(skinFileBytes_)) return false;
  TQuickIni ini;
  std::string definitionName;
  load.reader.ExtractEntryContaining(".ini", load.entry, definitionName);
  load.entry.SetPosition(0);
  ini.LoadFromStream(load.entry);
  BuildSkinObjects(ini, model_, [this](const rt::WideString& value) { return LoadSkinBitmap(value); });
  BuildComboComposite(model_, scrollArrowWidth_ > 0 ? scrollArrowWidth_ : GetSystemMetrics(SM_CXHSCROLL));
  faceBrush_.reset(CreateSolidBrush(gui::ColorToRGB(model_.SkinColours.ButtonFace)));
  noSkin_ = false;
  return true;
}

HBITMAP TSkinData::ImageBitmap(const TSkinBitmap& image) const {
  if (image.Empty()) return nullptr;
  auto& slot = imageBitmaps_[&image];
  if (!slot) slot = ToDib(image);
  return slot.get();
}

TSkinBitmap TSkinData::LoadSkinBitmap(const rt::WideString& value) {
  if (!load_) return {};
  const rt::WideString name = FileNamePart(value);
  const size_t dot = name.rfind(u'.');
  if (name.empty() || dot == rt::WideString::npos || name.substr(dot) != u".bmp") return {};
  load_->reader.ExtractEntry(rt::WideToAnsi(name), load_->entry);
  if (load_->entry.Bytes().empty()) return {};
  return DecodeSkinBitmap(load_->entry.Bytes());
}

void TSkinData::SetSkinFile(const rt::WideString& path) {
  noSkin_ = true;
  skinFile_ = path;
  if (Loading()) return;
  // A path of a missing file changes nothing else.
  const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path);
  if (!bytes) return;
  // The skinned windows hold the caption buttons of the skin being replaced.
  if (TSkinManagerLink* manager = SkinManager()) manager->FreeCaptionButtons(this);
  skinFileBytes_.Clear();
  if (!bytes->empty()) skinFileBytes_.WriteBuffer(bytes->data(), static_cast<int64_t>(bytes->size()));
  LoadSkin();
  if (skinFormtype_ == sfMainform) ApplySkin();
}

void TSkinData::SetActive(bool value) {
  if (Loading() || value == active_) {
    active_ = value;
    return;
  }
  active_ = value;
  TSkinManagerLink* manager = CreateSkinManager();
  if (!manager) return;
  switch (skinFormtype_) {
    case sfMainform:
      if (value && noSkin_) return;
      manager->RequestAction(value ? srActivate : srDeactivate, kRequestDelayMs);
      if (value) manager->SetStarted(1);
      manager->SetPendingSkinData(this);
      return;
    case sfOnlyThisForm:
      manager->SetPendingSkinData(this);
      if (value && noSkin_) return;
      manager->RequestAction(value ? srActivate : srDeactivate, kRequestDelayMs);
      return;
    case sfDialog:
      return;
  }
}

void TSkinData::ApplySkin() {
  if (Loading()) return;
  TSkinManagerLink* manager = CreateSkinManager();
  if (!manager) return;
  manager->SetPendingSkinData(this);
  manager->ReloadSkinForms();
  if (manager->Started() == 1) manager->RequestAction(srRefresh, kRequestDelayMs);
}

bool TSkinData::FormSkinAllowed(const rt::WideString& className) const {
  if (OnFormSkin) {
    bool doSkin = true;
    OnFormSkin(const_cast<TSkinData*>(this), className, doSkin);
    return doSkin;
  }
  if (className == u"SysMonthCal32") return false;
  if (Has(skinControls_, xcFastReport) && className.starts_with(u"Tfr")) return false;
  return true;
}

void TSkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::Loaded() {
  rt::TComponent::Loaded();
  TSkinManagerLink* manager = CreateSkinManager();
  if (manager) manager->RegisterSkinData(this);
  if (skinFormtype_ != sfMainform) {
    if (!manager) return;
    manager->SetSkinning(true);
    manager->SetStarted(manager->Started() + 1);
    if (auto* form = dynamic_cast<gui::TForm*>(Owner()); form && form->HandleAllocated())
      manager->SkinWindow(form->WindowHandle());
    return;
  }
  if (manager) manager->InstallHook();
  if (active_) {
    if (noSkin_) {
      active_ = false;
    } else if (manager) {
      manager->RequestAction(srActivate, kRequestDelayMs);
      manager->SetPendingSkinData(this);
    }
  }
  // A skinned main menu draws its own items; without one the system menu
  // is not skinned either.
  if (Has(skinControls_, xcMainMenu))
    skinControls_ &= ~(1u << xcMenuItem);
  else
    skinControls_ &= ~(1u << xcSystemMenu);
}

int DrawSkinText(HDC dc, const rt::WideString& text, RECT& rect, UINT format) {
  return DrawTextW(dc, rt::AsWchar(text), static_cast<int>(text.size()), &rect,
                   format);
}

}  // namespace skin
