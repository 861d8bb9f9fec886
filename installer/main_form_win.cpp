#include "installer/main_form.h"

#include <windows.h>
#include <shlobj.h>

#include "installer/archiver_properties.h"
#include "installer/disk_space.h"
#include "installer/installer_texts.h"
#include "installer/program_file.h"
#include "installer/shell_services.h"
#include "runtime/format.h"
#include "runtime/gui/application.h"
#include "runtime/published.h"
#include "skin/engine/skin_engine_win.h"
#include "zip/file_layer.h"

namespace installer {
namespace {

// Open for reading, sharing denied to nobody.
constexpr uint16_t kOpenForReading = zip::kFmOpenRead | zip::kFmShareDenyNone;
// Every entry, folders and hidden, system and read-only files included.
constexpr uint32_t kEverything = 0x28BF;

void Say(const rt::WideString& text) { gui::Application().ShowMessageBox(text, {}, MB_OK); }

}  // namespace

void TfmMain::FormCreate(rt::TObject*) {
  Label1->SetCaption(kSchoolYear);
  Panel1->SetColor(rt::RGBColor(243, 215, 156));
  Label3->SetCaption(kExplanation);
  const rt::WideString documents = GetPersonalFolder();
  defaultFolder_ = documents.empty() ? rt::WideString(kDefaultFolderName) : documents + u"\\" + kDefaultFolderName;
  EditFiche->SetText(defaultFolder_);
}

void TfmMain::button2Click(rt::TObject*) {
  // The dialog never starts at the folder the edit box holds.
  rt::WideString folder;
  if (BrowseForFolder(kFolderDialogTitle, {}, folder)) EditFiche->SetText(folder);
}

void TfmMain::BotSiguienteClick(rt::TObject*) {
  installFolder_ = EditFiche->Text();
  if (!PayloadFits()) return;
  if (!FolderExists(installFolder_) && !zip::FsCreateDirectory(installFolder_)) {
    Say(kFolderCreationFailed);
    return;
  }
  if (!ExtractPayload()) return;
  shortcutFolder_ = installFolder_;
  CreateShortcutsAndReport();
  gui::Application().Terminate();
}

bool TfmMain::PayloadFits() {
  const auto space = DiskSpaceAt(installFolder_);
  // A volume that cannot be asked is found out by the folder's creation.
  if (!space) return true;
  const uint64_t needed = SpaceNeeded(payload_.UncompressedSize, payload_.FileCount, space->ClusterSize);
  if (needed <= space->FreeBytes) return true;
  Say(rt::Format(kNoRoom, {MegabytesUp(needed), MegabytesDown(space->FreeBytes)}));
  return false;
}

bool TfmMain::ExtractPayload() {
  Archiver->Options().SetOverwriteMode(zip::omAlways);
  Archiver->SetFileName(ProgramPath());
  Archiver->OpenArchive(kOpenForReading);
  Archiver->SetBaseDir(installFolder_);
  Archiver->ExtractMatching(u"*.*", kEverything, u"");
  const int32_t selected = Archiver->SelectedCount();
  const int32_t missing = selected - Archiver->ProcessedCount();
  Archiver->CloseArchive();
  if (missing <= 0) return true;
  // Entries answered Ignore or Abort, or a full disk: no shortcut to a
  // program that may be missing, and the window stays for another try.
  Say(rt::Format(kIncomplete, {missing, selected}));
  return false;
}

void TfmMain::CreateShortcutsAndReport() {
  const rt::WideString program = shortcutFolder_ + u"\\" + kProgramFile;
  const bool onDesktop =
      CreateShortcut(program, {}, shortcutFolder_, GetSpecialFolder(CSIDL_DESKTOP, false), kShortcutFile);
  CreateShortcut(program, {}, shortcutFolder_, GetSpecialFolder(CSIDL_PROGRAMS, false), kShortcutFile);

  rt::WideString text = kFinished;
  text += u'\r';
  text += onDesktop ? kShortcutMade : kShortcutFailed;
  text += u'\r';
  text += kShortcutNameLine;
  text += u"\r\r";
  text += kFolderLine;
  text += shortcutFolder_;
  text += u'\r';
  text += kProgramLine;
  text += kProgramFile;
  text += u'\r';
  Say(text);
}

void TfmMain::BotCancelarClick(rt::TObject*) { Close(); }

void RegisterMainForm() {
  RegisterArchiverProperties();
  skin::RegisterSkinEngine();
  rt::PublishClass<TfmMain>("TfmMain", "TForm")
      .Field("Panel1", &TfmMain::Panel1)
      .Field("Label3", &TfmMain::Label3)
      .Field("Label1", &TfmMain::Label1)
      .Field("Label2", &TfmMain::Label2)
      .Field("Image1", &TfmMain::Image1)
      .Field("Image2", &TfmMain::Image2)
      .Field("BotCancelar", &TfmMain::BotCancelar)
      .Field("BotSiguiente", &TfmMain::BotSiguiente)
      .Field("EditFiche", &TfmMain::EditFiche)
      .Field("button2", &TfmMain::button2)
      .Field("Archiver", &TfmMain::Archiver)
      .Field("SkinData1", &TfmMain::SkinData1)
      .Handler("FormCreate", &TfmMain::FormCreate)
      .Handler("button2Click", &TfmMain::button2Click)
      .Handler("BotSiguienteClick", &TfmMain::BotSiguienteClick)
      .Handler("BotCancelarClick", &TfmMain::BotCancelarClick);
}

}  // namespace installer
