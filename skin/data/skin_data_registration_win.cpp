#include <mutex>

#include "runtime/gui/application.h"
#include "runtime/gui/dialogs.h"
#include "runtime/published.h"
#include "runtime/wide_text_win.h"
#include "skin/container/skin_messages.h"
#include "skin/data/skin_data_win.h"

namespace skin {
namespace {

// The container reader's messages as a plain message box.
void ShowSkinMessageBox(const rt::WideString& message) {
  if (gui::ApplicationExists())
    gui::ShowMessage(message);
  else
    MessageBoxW(nullptr, rt::AsWchar(message), L"", MB_OK);
}

}  // namespace

void RegisterSkinDataClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    SetSkinMessageSink(ShowSkinMessageBox);
    rt::PublishClass<TSkinData>("TSkinData", "TComponent")
        .Creatable()
        .Boolean("Active", &TSkinData::Active, &TSkinData::SetActive)
        .Integer("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
        .Set("SkinControls",
             {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
              "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton",
              "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcSystemMenu", "xcFastReport"},
             &TSkinData::SkinControls, &TSkinData::SetSkinControls)
        .Set("Options", {"xoMDIScrollbar", "xoMenuMerge", "xoNCPaint"}, &TSkinData::Options,
             &TSkinData::SetOptions)
        .Strings("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd)
        .String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
        .String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
        .Enum("SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog"}, &TSkinData::SkinFormtype,
              &TSkinData::SetSkinFormtype)
        .String("Version", &TSkinData::Version, &TSkinData::SetVersion)
        .Boolean("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
        .Boolean("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
        .Event("OnFormSkin", &TSkinData::OnFormSkin)
        .Event("OnSkinChanged", &TSkinData::OnSkinChanged)
        .Event("OnSkinControl", &TSkinData::OnSkinControl)
        .Binary("SkinStream", &TSkinData::WriteSkinStream, &TSkinData::ReadSkinStream);
  });
}

}  // namespace skin
