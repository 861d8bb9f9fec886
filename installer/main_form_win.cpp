#include "installer/main_form_win.h"

#include <windows.h>
#include <shlobj.h>

#include "installer/archiver_properties.h"
#include "installer/installer_texts.h"
#include "installer/shell_services.h"
#include "installer/uninstall_entry_win.h"
#include "runtime/gui/application.h"
#include "runtime/published.h"
#include "skin/engine/skin_engine_win.h"

namespace installer {
namespace {

void Say(const rt::WideString& text) { gui::Application().ShowMessageBox(text, {}, MB_OK); }

}  // namespace

void TfmMain::FormCreate(rt::TObject*) {
  Label1->SetCaption(kSchoolYear);
  Panel1->SetColor(rt::RGBColor(243, 215, 156));
  Label3->SetCaption(kExplanation);
  if (const auto recorded = RecordedInstallFolder()) {
    // Installed before: the same folder again, for an upgrade in place.
    defaultFolder_ = *recorded;
  } else {
    const rt::WideString documents = GetPersonalFolder();
    defaultFolder_ = documents.empty() ? rt::WideString(kDefaultFolderName) : documents + u"\\" + kDefaultFolderName;
  }
  EditFiche->SetText(defaultFolder_);
}

void TfmMain::Prepare(const zip::TArchiveIntegrity& payload, TInstallLog& log) {
  payload_ = payload;
  log_ = &log;
}

void TfmMain::button2Click(rt::TObject*) {
  // The dialog never starts at the folder the edit box holds.
  rt::WideString folder;
  if (BrowseForFolder(kFolderDialogTitle, {}, folder)) EditFiche->SetText(folder);
}

void TfmMain::BotSiguienteClick(rt::TObject*) {
  installFolder_ = EditFiche->Text();
  TInstallation installation(*Archiver, payload_, *log_, false);
  const TOutcome outcome = installation.Run(installFolder_);
  exitCode_ = outcome.Code;
  Say(outcome.Message);
  // Otherwise the window stays for another attempt.
  if (outcome.Code == ecDone) gui::Application().Terminate();
}

TOutcome TfmMain::InstallSilently(const rt::WideString& folder) {
  installFolder_ = folder;
  TInstallation installation(*Archiver, payload_, *log_, true);
  const TOutcome outcome = installation.Run(installFolder_);
  exitCode_ = outcome.Code;
  return outcome;
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
