// The installer's one window, fmMain: its controls and components come
// from the stored form TFMMAIN; its handlers are the installation.
#pragma once

#include "installer/exit_codes.h"
#include "installer/install_log.h"
#include "installer/installation_win.h"
#include "runtime/gui/button.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/form.h"
#include "runtime/gui/image.h"
#include "runtime/gui/label.h"
#include "runtime/gui/panel.h"
#include "skin/data/skin_data_win.h"
#include "zip/archive_integrity.h"
#include "zip/zip_archiver.h"

namespace installer {

class TfmMain : public gui::TForm {
 public:
  using gui::TForm::TForm;
  rt::WideString ClassName() const override { return u"TfmMain"; }

  // Set by name while the stored form is read.
  gui::TPanel* Panel1 = nullptr;
  gui::TLabel* Label3 = nullptr;
  gui::TLabel* Label1 = nullptr;
  gui::TLabel* Label2 = nullptr;
  gui::TImage* Image1 = nullptr;
  gui::TImage* Image2 = nullptr;
  gui::TButton* BotCancelar = nullptr;
  gui::TButton* BotSiguiente = nullptr;
  gui::TEdit* EditFiche = nullptr;
  gui::TButton* button2 = nullptr;
  zip::TZipArchiver* Archiver = nullptr;
  skin::TSkinData* SkinData1 = nullptr;

  void FormCreate(rt::TObject* sender);
  void button2Click(rt::TObject* sender);
  void BotSiguienteClick(rt::TObject* sender);
  void BotCancelarClick(rt::TObject* sender);

  // What the payload holds, from the check at start, and where the steps
  // of the installation are logged.
  void Prepare(const zip::TArchiveIntegrity& payload, TInstallLog& log);
  // The folder proposed at start: the one an earlier installation was
  // made into, else the documents folder's.
  const rt::WideString& DefaultFolder() const { return defaultFolder_; }
  // Installs into folder without showing anything: what /S does.
  TOutcome InstallSilently(const rt::WideString& folder);
  // The outcome of the last installation tried; cancelled before any.
  TExitCode ExitCode() const { return exitCode_; }

 private:
  rt::WideString defaultFolder_;
  rt::WideString installFolder_;
  zip::TArchiveIntegrity payload_;
  TInstallLog* log_ = nullptr;
  TExitCode exitCode_ = ecCancelled;
};

// Publishes TfmMain's components and handlers for the stored form, with the
// archive engine's and the skin engine's classes it holds. Runs once.
void RegisterMainForm();

}  // namespace installer
