// The installer's payload path: arbitrary bytes as the installer's own
// executable, opened by file name (probed as a self-extracting host) and
// extracted whole onto the disk exactly as the installer does it, with
// every entry failure answered Ignore. Anything but an archive error or a
// stream error escapes and is a finding; so is a file written outside the
// extraction folder.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/strings.h"
#include "zip/dir_manager.h"
#include "zip/zip_archiver.h"
#include "zip/zip_dialogs.h"
#include "zip/zip_exception.h"

namespace {

namespace fs = std::filesystem;

// The most data the entries extracted from one input may declare, and the
// most entries; entries past either are skipped, so that overlapping
// entries cannot fill the disk and every input stays quick (each entry is
// a file created, written and deleted again). Four entries are enough for
// a folder, a file in it and two entries that clash or overlap.
constexpr int64_t kOutputBudget = 256 << 10;
constexpr int kEntryBudget = 4;

// Nobody answers the engine's own questions (volume requests): every
// dialog is cancelled at once instead of waiting for a terminal.
class TCancellingDialogs : public zip::TZipDialogProvider {
 public:
  zip::TZipModalResult MessageDialog(const zip::WideString&, zip::TZipMsgDlgType, zip::TZipMsgDlgButtons) override {
    return zip::mrCancel;
  }
  bool InputQuery(const zip::WideString&, const zip::WideString&, zip::WideString&) override { return false; }
};

// One folder for the whole run: the input file and the extraction folder.
const fs::path& WorkFolder() {
  static const fs::path folder = [] {
    // With TZ unset the C library looks at the zone file again for every
    // file time it converts.
    setenv("TZ", "UTC", 0);
    std::string pattern = (fs::temp_directory_path() / "quimora-payload-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return fs::path(pattern);
  }();
  return folder;
}

// Only the input file and the extraction folder may be in the work folder.
void CheckNothingEscaped(const fs::path& work) {
  for (const auto& entry : fs::directory_iterator(work)) {
    const auto name = entry.path().filename();
    if (name != "InstalaQuimora.exe" && name != "out") {
      std::fprintf(stderr, "extraction wrote outside its folder: %s\n", entry.path().c_str());
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TCancellingDialogs dialogs;
  [[maybe_unused]] static const auto* platformDialogs = zip::SetDialogProvider(&dialogs);
  const fs::path& work = WorkFolder();
  const fs::path program = work / "InstalaQuimora.exe";
  const fs::path out = work / "out";
  {
    std::ofstream file(program, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  fs::create_directory(out);

  zip::TZipArchiver archiver;
  archiver.SetName(u"Archiver");
  archiver.OnProcessFileFailure = [](rt::TObject*, const zip::WideString&, zip::TZipProcessOperation, int32_t,
                                     int32_t, const zip::WideString&, zip::TZipAction& action) {
    action = zip::fxaIgnore;
  };
  archiver.OnPassword = [](rt::TObject*, const zip::WideString&, rt::AnsiString&, bool& skip) { skip = true; };
  // The entries come in directory order: the budget follows them there.
  int next = 0;
  int64_t declared = 0;
  archiver.OnConfirmProcessFile = [&](rt::TObject*, const zip::WideString&, zip::TZipProcessOperation,
                                      bool& confirm) {
    const zip::TZipDirArray& items = archiver.DirManager()->Items();
    while (next < items.Count() && !items.Item(next).Selected) ++next;
    if (next >= items.Count()) return;
    declared += static_cast<int64_t>(items.Item(next++).TrueUncompressedSize());
    confirm = declared <= kOutputBudget && next <= kEntryBudget;
  };
  try {
    archiver.Options().SetOverwriteMode(zip::omAlways);
    archiver.SetFileName(rt::Utf8ToWide(program.string()));
    archiver.OpenArchive(0x40);
    archiver.SetBaseDir(rt::Utf8ToWide(out.string()));
    archiver.ExtractMatching(u"*.*", 0x28BF, u"");
    archiver.CloseArchive();
  } catch (const zip::EZipException&) {
  } catch (const rt::EStreamError&) {
  } catch (const rt::EFileLayerError&) {
  }
  CheckNothingEscaped(work);
  fs::remove_all(out);
  return 0;
}
