#include "skin/gallery/gallery_form_win.h"

#include "runtime/gui/label.h"
#include "runtime/published.h"
#include "skin/gallery/gallery_column_win.h"

namespace gallery {

namespace {

constexpr int32_t kClientWidth = 900;
constexpr int32_t kClientHeight = 640;
// The columns of controls, left to right, below the tool bar and the
// header control.
constexpr int32_t kColumnsTop = 54;
constexpr int32_t kButtonColumnLeft = 8;
constexpr int32_t kButtonColumnWidth = 200;
constexpr int32_t kChoiceColumnLeft = 222;
constexpr int32_t kChoiceColumnWidth = 200;
constexpr int32_t kListColumnLeft = 436;
constexpr int32_t kListColumnWidth = 220;
constexpr int32_t kPageColumnLeft = 670;
constexpr int32_t kPageColumnWidth = 222;

}  // namespace

void RegisterGalleryClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  rt::PublishClass<TAdvPageControl>("TAdvPageControl", "TPageControl").Creatable();
}

TGalleryForm::TGalleryForm(rt::TComponent* owner, const rt::WideString& skinFile) : gui::TForm(owner) {
  RegisterGalleryClasses();
  SetName(u"GalleryForm");
  SetCaption(u"Galería de pieles");
  SetBorderStyle(gui::bsSizeable);
  SetPosition(gui::poScreenCenter);
  BuildMenus();
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);

  BuildBars();
  BuildButtonColumn(TColumn(kButtonColumnLeft, kColumnsTop, kButtonColumnWidth));
  BuildChoiceColumn(TColumn(kChoiceColumnLeft, kColumnsTop, kChoiceColumnWidth));
  BuildListColumn(TColumn(kListColumnLeft, kColumnsTop, kListColumnWidth));
  BuildPageColumn(TColumn(kPageColumnLeft, kColumnsTop, kPageColumnWidth));
  // Last, as a stored form reads it: the painters are chosen for the
  // controls already there.
  StartSkinning(skinFile);
}

void TGalleryForm::StartSkinning(const rt::WideString& skinFile) {
  SkinData = new skin::TSkinData(this);
  SkinData->SetName(u"SkinData");
  // The program's main skin: the dialogs it opens are skinned with it too.
  SkinData->SetSkinFormtype(skin::sfMainform);
  SkinData->SetSkinFile(skinFile);
  std::vector<rt::WideString> rows = skin::DefaultSkin3rd();
  rows.push_back(u"TBitBtn=bitbtn");
  rows.push_back(u"TAdvPageControl=nil");
  SkinData->SetSkin3rd(rows);
  // Loaded registers the component with the skin manager; only a
  // registered component's activation starts the skinning.
  SkinData->Loaded();
  SkinData->SetActive(true);
}

HWND TGalleryForm::OpenForeignDialog() { return foreignDialog_.Open(Handle()); }

void TGalleryForm::CaptionAbove(TColumn& column, const rt::WideString& text) {
  auto* label = new gui::TLabel(this);
  label->SetParent(this);
  label->SetCaption(text);
  column.Place(label, 14, 2);
}

}  // namespace gallery
