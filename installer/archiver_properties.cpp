#include "installer/archiver_properties.h"

#include <vector>

#include "runtime/published.h"
#include "zip/zip_archiver.h"
#include "zip/zip_options.h"

namespace installer {

namespace {

using rt::PublishClass;
using rt::WideString;
using zip::TZipArchiver;
using zip::TZipBaseArchiver;
using zip::TZipOptions;
using zip::TZipSpanningOptions;

std::vector<WideString> Lines(const zip::TWideStrings& list) {
  std::vector<WideString> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}

void Fill(zip::TWideStrings& list, const std::vector<WideString>& lines) {
  list.Clear();
  for (const auto& line : lines) list.Add(line);
}

// A mask list property: read as lines, assigned as a copy.
template <class Getter>
auto MaskList(Getter list) {
  return std::make_pair([list](TZipBaseArchiver& a) { return Lines(list(a)); },
                        [list](TZipBaseArchiver& a, const std::vector<WideString>& lines) {
                          Fill(list(a), lines);
                        });
}

void PublishOptions() {
  PublishClass<TZipOptions>("TZipOptions", "TPersistent")
      .Enum("StorePath", {"spNoPath", "spRelativePath", "spFullPath", "spFullPathWithDrive"},
            &TZipOptions::StorePath, &TZipOptions::SetStorePath)
      .Boolean("Recurse", &TZipOptions::Recurse, &TZipOptions::SetRecurse)
      .Enum("ShareMode",
            {"smShareCompat", "smShareExclusive", "smShareDenyWrite", "smShareDenyRead", "smShareDenyNone"},
            &TZipOptions::ShareMode, &TZipOptions::SetShareMode)
      .Enum("OverwriteMode", {"omPrompt", "omAlways", "omNever", "omIfNewer", "omIfOlder"},
            &TZipOptions::OverwriteMode, &TZipOptions::SetOverwriteMode)
      .Boolean("CreateDirs", &TZipOptions::CreateDirs, &TZipOptions::SetCreateDirs)
      .Boolean("ReplaceReadOnly", &TZipOptions::ReplaceReadOnly, &TZipOptions::SetReplaceReadOnly)
      .Boolean("SetAttributes", &TZipOptions::SetAttributes, &TZipOptions::SetSetAttributes)
      .Integer("SearchAttr", &TZipOptions::SearchAttr, &TZipOptions::SetSearchAttr)
      .Boolean("FlushBuffers", &TZipOptions::FlushBuffers, &TZipOptions::SetFlushBuffers)
      .Boolean("OEMFileNames", &TZipOptions::OEMFileNames, &TZipOptions::SetOEMFileNames);

  PublishClass<TZipSpanningOptions>("TZipSpanningOptions", "TPersistent")
      .Boolean("AdvancedNaming", &TZipSpanningOptions::AdvancedNaming,
               &TZipSpanningOptions::SetAdvancedNaming)
      .Integer("FirstVolumeSize", &TZipSpanningOptions::FirstVolumeSize,
               &TZipSpanningOptions::SetFirstVolumeSize)
      .Enum("VolumeSize",
            {"vsAutoDetect", "vsCustom", "vs1_44MB", "vs100MB", "vs200MB", "vs250MB", "vs600MB",
             "vs650MB", "vs700MB", "vs4700MB"},
            &TZipSpanningOptions::VolumeSize, &TZipSpanningOptions::SetVolumeSize)
      .Integer("CustomVolumeSize", &TZipSpanningOptions::CustomVolumeSize,
               &TZipSpanningOptions::SetCustomVolumeSize);
}

void PublishArchivers() {
  const auto fileMasks = MaskList([](TZipBaseArchiver& a) -> zip::TWideStrings& { return a.FileMasks(); });
  const auto exclusionMasks =
      MaskList([](TZipBaseArchiver& a) -> zip::TWideStrings& { return a.ExclusionMasks(); });
  const auto noCompressionMasks =
      MaskList([](TZipBaseArchiver& a) -> zip::TWideStrings& { return a.NoCompressionMasks(); });

  PublishClass<TZipBaseArchiver>("TZipBaseArchiver", "TComponent")
      .Boolean("ExtractCorruptedFiles", &TZipBaseArchiver::ExtractCorruptedFiles,
               &TZipBaseArchiver::SetExtractCorruptedFiles)
      .Enum("CompressionLevel", {"clNone", "clFastest", "clNormal", "clMax"},
            &TZipBaseArchiver::CompressionLevel, &TZipBaseArchiver::SetCompressionLevel)
      .Integer("CompressionMode", &TZipBaseArchiver::CompressionMode, &TZipBaseArchiver::SetCompressionMode)
      .String("CurrentVersion", &TZipBaseArchiver::CurrentVersion, &TZipBaseArchiver::SetCurrentVersion)
      .String("Password", &TZipBaseArchiver::Password,
              &TZipBaseArchiver::SetPassword)
      .String("FileName", &TZipBaseArchiver::FileName,
              &TZipBaseArchiver::SetFileName)
      .String("BaseDir", &TZipBaseArchiver::BaseDir,
              &TZipBaseArchiver::SetBaseDir)
      .String("TempDir", &TZipBaseArchiver::TempDir,
              &TZipBaseArchiver::SetTempDir)
      .Enum("SpanningMode", {"smNone", "smSpanning", "smSplitting"}, &TZipBaseArchiver::SpanningMode,
            &TZipBaseArchiver::SetSpanningMode)
      .Object("SpanningOptions",
              [](TZipBaseArchiver& a) -> rt::TPersistent& { return a.SpanningOptions(); })
      .String("SFXStub", &TZipBaseArchiver::SFXStub,
              &TZipBaseArchiver::SetSFXStub)
      .Object("Options", [](TZipBaseArchiver& a) -> rt::TPersistent& { return a.Options(); })
      .Strings("FileMasks", fileMasks.first, fileMasks.second)
      .Strings("ExclusionMasks", exclusionMasks.first, exclusionMasks.second)
      .Strings("NoCompressionMasks", noCompressionMasks.first, noCompressionMasks.second)
      .Boolean("InMemory", &TZipBaseArchiver::InMemory, &TZipBaseArchiver::SetInMemory)
      .Event("OnOverallProgress", &TZipBaseArchiver::OnOverallProgress)
      .Event("OnFileProgress", &TZipBaseArchiver::OnFileProgress)
      .Event("OnCopyTempFileProgress", &TZipBaseArchiver::OnCopyTempFileProgress)
      .Event("OnConfirmOverwrite", &TZipBaseArchiver::OnConfirmOverwrite)
      .Event("OnConfirmProcessFile", &TZipBaseArchiver::OnConfirmProcessFile)
      .Event("OnPassword", &TZipBaseArchiver::OnPassword)
      .Event("OnProcessFileFailure", &TZipBaseArchiver::OnProcessFileFailure)
      .Event("OnRequestBlankVolume", &TZipBaseArchiver::OnRequestBlankVolume)
      .Event("OnRequestFirstVolume", &TZipBaseArchiver::OnRequestFirstVolume)
      .Event("OnRequestLastVolume", &TZipBaseArchiver::OnRequestLastVolume)
      .Event("OnRequestMiddleVolume", &TZipBaseArchiver::OnRequestMiddleVolume)
      .Event("OnDiskFull", &TZipBaseArchiver::OnDiskFull)
      .Event("OnStoreFile", &TZipBaseArchiver::OnStoreFile)
      .Event("OnExtractFile", &TZipBaseArchiver::OnExtractFile)
      .Event("AfterOpen", &TZipBaseArchiver::AfterOpen);

  PublishClass<TZipArchiver>("TZipArchiver", "TZipBaseArchiver")
      .Creatable()
      .Enum("Zip64Mode", {"zmDisabled", "zmAuto", "zmAlways"}, &TZipArchiver::Zip64Mode,
            &TZipArchiver::SetZip64Mode)
      .Boolean("UnicodeFilenames", &TZipArchiver::UnicodeFilenames, &TZipArchiver::SetUnicodeFilenames);
}

}  // namespace

void RegisterArchiverProperties() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  PublishOptions();
  PublishArchivers();
}

}  // namespace installer
