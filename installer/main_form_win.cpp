#include "installer/main_form.h"

#include <windows.h>
#include <shlobj.h>

#include "installer/archiver_properties.h"
#include "installer/installer_texts.h"
#include "installer/shell_services.h"
#include "runtime/format.h"
#include "runtime/gui/application.h"
#include "runtime/published.h"
#include "runtime/text.h"
#include "skin/engine/skin_engine_win.h"

namespace installer {
namespace {

// Open for reading, sharing denied to nobody.
constexpr uint16_t kOpenForReading = 0x40;
// Every entry, folders and hidden, system and read-only files included.
constexpr uint32_t kEverything = 0x28BF;

std::string Ansi(const char16_t* text) { return rt::WideToAnsi(text); }

rt::WideString ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return rt::WideString(reinterpret_cast<const char16_t*>(path.data()), length);
    path.resize(path.size() * 2);
  }
}

void Say(const rt::WideString& text) { gui::Application().ShowMessageBox(text, {}, MB_OK); }

}  // namespace

void TfmMain::FormCreate(rt::TObject*) {
  Label1->SetCaption(kSchoolYear);
  Panel1->SetColor(rt::RGBColor(243, 215, 156));
  Label3->SetCaption(kExplanation);
  const std::string documents = GetPersonalFolder();
  defaultFolder_ = documents.empty() ? Ansi(kDefaultFolderName) : documents + "\\" + Ansi(kDefaultFolderName);
  EditFiche->SetText(rt::AnsiToWide(defaultFolder_));
}

void TfmMain::button2Click(rt::TObject*) {
  // The dialog never starts at the folder the edit box holds.
  std::string folder;
  if (BrowseForFolder(Ansi(kFolderDialogTitle), {}, folder)) EditFiche->SetText(rt::AnsiToWide(folder));
}

void TfmMain::BotSiguienteClick(rt::TObject*) {
  installFolder_ = rt::WideToAnsi(EditFiche->Text());
  if (!FolderExists(installFolder_) && !CreateDirectoryA(installFolder_.c_str(), nullptr)) {
    Say(kFolderCreationFailed);
    return;
  }
  if (!ExtractPayload()) return;
  shortcutFolder_ = installFolder_;
  CreateShortcutsAndReport();
  gui::Application().Terminate();
}

bool TfmMain::ExtractPayload() {
  Archiver->Options().SetOverwriteMode(zip::omAlways);
  Archiver->SetFileName(ModulePath());
  Archiver->OpenArchive(kOpenForReading);
  Archiver->SetBaseDir(rt::AnsiToWide(installFolder_));
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
  const std::string program = shortcutFolder_ + "\\" + Ansi(kProgramFile);
  const std::string linkName = Ansi(kShortcutFile);
  const bool onDesktop =
      CreateShortcut(program, {}, shortcutFolder_, GetSpecialFolder(CSIDL_DESKTOP, false), linkName);
  CreateShortcut(program, {}, shortcutFolder_, GetSpecialFolder(CSIDL_PROGRAMS, false), linkName);

  rt::WideString text = kFinished;
  text += u'\r';
  text += onDesktop ? kShortcutMade : kShortcutFailed;
  text += u'\r';
  text += kShortcutNameLine;
  text += u"\r\r";
  text += kFolderLine;
  text += rt::AnsiToWide(shortcutFolder_);
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
