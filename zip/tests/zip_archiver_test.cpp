#include "zip/zip_archiver.h"

#include <gtest/gtest.h>

#include <clocale>
#include <deque>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

#include "runtime/exceptions.h"
#include "zip/dir_manager.h"
#include "zip/file_layer.h"
#include "zip/tests/test_files.h"
#include "zip/zip_dialogs.h"
#include "zip/zip_exception.h"

namespace zip {
namespace {

namespace stdfs = std::filesystem;
using Archiver = TZipBaseArchiver;

std::string Utf8(rt::WideStringView text) { return rt::WideToUtf8(text); }

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

template <typename F>
EZipException ZipErrorOf(F f) {
  try {
    f();
  } catch (const EZipException& e) {
    return e;
  }
  ADD_FAILURE() << "no EZipException";
  return EZipException(static_cast<TZipNativeError>(-1));
}

// An archive without entries: just its end record.
const std::string kEmptyArchive = std::string("PK\x05\x06", 4) + std::string(18, '\0');

// The message of the plain rt::Exception (not an archive error) that f
// raises.
template <typename F>
WideString PlainErrorOf(F f) {
  try {
    f();
  } catch (const EZipException& e) {
    ADD_FAILURE() << "unexpected archive error: " << e.what();
  } catch (const rt::Exception& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no exception";
  return {};
}

// Puts an archiver into the state a successful open leaves behind.
class TestArchiver : public TZipArchiver {
 public:
  TestArchiver() { SetName(u"Archiver"); }

  void PretendOpen(uint16_t mode) {
    openMode_ = mode;
    TZipVolumeNumberInfo first;
    first.SetFirstVolume();
    OpenVolume(first);
    dirManager_ = std::make_unique<TZipDirManager>(archiveStream_.get(), this, false);
    open_ = true;
  }
  void PretendOpenInMemory(std::string_view bytes) {
    SetInMemory(true);
    openMode_ = kOpenCreate;
    archiveStream_ =
        std::make_unique<rt::TMemoryStream>(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    dirManager_ = std::make_unique<TZipDirManager>(archiveStream_.get(), this, false);
    open_ = true;
  }
  void SetUpdateDepth(int32_t depth) { updateDepth_ = depth; }
};

TEST(TZipArchiverTest, NewEntryMethodFollowsTheCompressionSettings) {
  TZipArchiver a;
  // Set by the constructor through the concrete class's operation.
  EXPECT_EQ(a.NewEntryMethod(), 8);
  EXPECT_EQ(a.Zip64Mode(), zmDisabled);
  a.SetCompressionLevel(clMax);
  EXPECT_EQ(a.CompressionMode(), 9);
  a.SetCompressionMode(5);
  EXPECT_EQ(a.CompressionLevel(), clNormal);
  a.SetCompressionMode(0);
  EXPECT_EQ(a.CompressionLevel(), clNone);
  EXPECT_EQ(a.NewEntryMethod(), 0);
  a.SetCompressionLevel(clFastest);
  EXPECT_EQ(a.NewEntryMethod(), 8);
  a.SetCompressionLevel(clNone);
  EXPECT_EQ(a.NewEntryMethod(), 0);

  TZipBaseArchiver base;
  base.SetCompressionMode(0);
  EXPECT_EQ(base.NewEntryMethod(), 0xFFFF);
}

TEST(TZipArchiverTest, CompressionModeAboveNineChangesNothing) {
  TestArchiver a;
  a.SetCompressionLevel(clNone);
  for (uint8_t mode : {10, 255}) {
    const EZipException e = ZipErrorOf([&] { a.SetCompressionMode(mode); });
    EXPECT_EQ(e.ErrorCode(), zeInvalidCompressionMode);
    EXPECT_EQ(e.NativeError(), neCompressionMode);
    EXPECT_EQ(e.Message().substr(0, 10), u"Archiver: ");
    EXPECT_EQ(a.CompressionMode(), 0);
    EXPECT_EQ(a.CompressionLevel(), clNone);
    EXPECT_EQ(a.NewEntryMethod(), 0);
  }
}

TEST(TZipArchiverTest, CurrentVersionIgnoresTheLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  // A locale with "," as its decimal separator, where there is one.
  for (const char* name : {"de_DE.UTF-8", "de_DE", "German", "fr_FR.UTF-8"})
    if (std::setlocale(LC_ALL, name)) break;
  TZipArchiver a;
  const WideString version = a.CurrentVersion();
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(version, u"3.02 ");
  a.SetCurrentVersion(u"9.99");
  EXPECT_EQ(a.CurrentVersion(), u"3.02 ");
}

TEST(TZipArchiverOpenTest, BlankFileNamePartIsRefused) {
  for (const char16_t* name : {u"", u"C:\\Setup\\", u"C:", u"\\\\server\\share\\"}) {
    TestArchiver a;
    a.SetFileName(name);
    EZipException e = ZipErrorOf([&] { a.OpenArchive(Archiver::kOpenReadOnly); });
    EXPECT_EQ(e.ErrorCode(), zeBlankFileName) << Utf8(name);
    EXPECT_EQ(e.NativeError(), neOpenModeBlankName) << Utf8(name);
    e = ZipErrorOf([&] { a.OpenArchive(); });
    EXPECT_EQ(e.NativeError(), neOpenBlankName) << Utf8(name);
  }
}

TEST(TZipArchiverOpenTest, MissingFilesAndInMemoryModes) {
  TempFolder temp;
  TestArchiver a;
  a.SetFileName(temp / u"missing.zip");
  EZipException e = ZipErrorOf([&] { a.OpenArchive(Archiver::kOpenReadOnly); });
  EXPECT_EQ(e.ErrorCode(), zeFileNotFound);
  EXPECT_EQ(e.Message(),
            u"Archiver: File \"" + a.FileName() + u"\" not found - Native error: 00012");
  // Spanned archives may sit on a disk yet to be inserted.
  a.SetSpanningMode(smSpanning);
  PlainErrorOf([&] { a.OpenArchive(Archiver::kOpenReadOnly); });
  EXPECT_EQ(a.OpenMode(), Archiver::kOpenReadOnly);

  // In memory the name plays no part; only creating is allowed.
  a.SetInMemory(true);
  a.SetFileName(u"");
  for (uint16_t mode : {Archiver::kOpenReadOnly, Archiver::kOpenReadWrite}) {
    e = ZipErrorOf([&] { a.OpenArchive(mode); });
    EXPECT_EQ(e.ErrorCode(), zeInMemoryCreateOnly);
    EXPECT_EQ(e.NativeError(), neInMemoryOpen);
  }
  a.OpenArchive();
  EXPECT_EQ(a.OpenMode(), Archiver::kOpenCreate);
  EXPECT_TRUE(a.IsOpen());
  EXPECT_EQ(a.DirManager()->Items().Count(), 0);
}

TEST(TZipArchiverOpenTest, OpenArchiveChoosesTheMode) {
  TempFolder temp;
  TestArchiver a;
  a.SetFileName(temp / u"new.zip");
  a.OpenArchive();
  EXPECT_EQ(a.OpenMode(), Archiver::kOpenCreate);
  a.CloseArchive();
  EXPECT_EQ(ReadFile(temp / u"new.zip"), kEmptyArchive);

  const WideString name = temp / u"old.zip";
  WriteFile(name, kEmptyArchive);
  a.SetFileName(name);
  a.OpenArchive();
  EXPECT_EQ(a.OpenMode(), Archiver::kOpenReadWrite);
  a.CloseArchive();
  EXPECT_EQ(ReadFile(name), kEmptyArchive);

  // The trial open let go of the file.
  EXPECT_TRUE(FsDeleteFile(name));
}

TEST(TZipArchiverStateTest, OpeningClosesFirstAndSpanningModeIsFixedWhileOpen) {
  TempFolder temp;
  WriteFile(temp / u"a.zip", "PK");
  TestArchiver a;
  a.SetFileName(temp / u"a.zip");
  a.PretendOpen(Archiver::kOpenReadOnly);
  EXPECT_EQ(PlainErrorOf([&] { a.SetSpanningMode(smSplitting); }),
            u"Cannot set spanning mode on open archive");
  EXPECT_EQ(a.SpanningMode(), smNone);

  // Not an archive: the failed open leaves it closed, the file let go.
  EXPECT_EQ(ZipErrorOf([&] { a.OpenArchive(Archiver::kOpenReadWrite); }).ErrorCode(), zeInvalidArchive);
  EXPECT_FALSE(a.IsOpen());
  EXPECT_EQ(a.ArchiveStream(), nullptr);
  EXPECT_EQ(a.DirManager(), nullptr);
  a.SetSpanningMode(smSplitting);
  EXPECT_EQ(a.SpanningMode(), smSplitting);
}

TEST(TZipArchiverStateTest, ExtractMatchingNeedsAnOpenArchiveOutsideUpdates) {
  TempFolder temp;
  WriteFile(temp / u"a.zip", "PK");
  TestArchiver a;
  a.SetFileName(temp / u"a.zip");
  EZipException e = ZipErrorOf([&] { a.ExtractMatching(u"*.*", 0x28BF, u""); });
  EXPECT_EQ(e.ErrorCode(), zeArchiveNotOpen);
  EXPECT_EQ(e.NativeError(), neNotOpen);
  a.PretendOpen(Archiver::kOpenReadOnly);
  a.SetUpdateDepth(1);
  e = ZipErrorOf([&] { a.ExtractMatching(u"*.*", 0x28BF, u""); });
  EXPECT_EQ(e.ErrorCode(), zeUpdateNotEnded);
  EXPECT_EQ(e.NativeError(), neUpdateNotEnded);
}

TEST(TZipArchiverStateTest, ClosingWritesAnEmptyDirectoryOnlyToNewArchives) {
  TempFolder temp;
  WriteFile(temp / u"empty.zip", "");
  TestArchiver a;
  a.SetFileName(temp / u"empty.zip");
  a.PretendOpen(Archiver::kOpenReadOnly);
  a.CloseArchive();
  EXPECT_EQ(ReadFile(temp / u"empty.zip"), "");

  a.SetFileName(temp / u"new.zip");
  a.PretendOpen(Archiver::kOpenCreate);
  a.CloseArchive();
  EXPECT_FALSE(a.IsOpen());
  EXPECT_EQ(ReadFile(temp / u"new.zip"), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  EXPECT_TRUE(FsDeleteFile(temp / u"new.zip"));
}

TEST(TZipArchiverStateTest, InMemoryMovesTheOpenArchive) {
  TempFolder temp;
  TestArchiver a;
  a.PretendOpenInMemory(kEmptyArchive);
  const EZipException e = ZipErrorOf([&] { a.SetInMemory(false); });
  EXPECT_EQ(e.NativeError(), neInMemoryBlankName);
  EXPECT_TRUE(a.InMemory());
  EXPECT_TRUE(a.IsOpen());

  // To the file: the bytes are saved and the file is reopened.
  a.SetFileName(temp / u"saved.zip");
  a.SetInMemory(false);
  EXPECT_FALSE(a.InMemory());
  EXPECT_TRUE(a.IsOpen());
  EXPECT_EQ(ReadFile(temp / u"saved.zip"), kEmptyArchive);
  EXPECT_EQ(a.OpenMode(), Archiver::kOpenReadWrite);

  // Back to memory: a new archive, the file untouched.
  a.SetInMemory(true);
  EXPECT_TRUE(a.InMemory());
  EXPECT_TRUE(a.IsOpen());
  EXPECT_EQ(a.OpenMode(), Archiver::kOpenCreate);
  EXPECT_EQ(ReadFile(temp / u"saved.zip"), kEmptyArchive);
}

TEST(TZipArchiverVolumeTest, VolumesAreOpenedByName) {
  TempFolder temp;
  WriteFile(temp / u"a.zip", "last");
  WriteFile(temp / u"a_001.zip", "first");
  TestArchiver a;
  a.SetFileName(temp / u"a.zip");
  // A single-file archive keeps the stream it has.
  a.PretendOpen(Archiver::kOpenReadOnly);
  rt::TStream* stream = a.ArchiveStream();
  TZipVolumeNumberInfo second;
  second.LastVolumeNumber = 3;
  second.SetVolumeNumber(1);
  a.OpenVolume(second);
  EXPECT_EQ(a.ArchiveStream(), stream);
  EXPECT_EQ(a.VolumeInfo().VolumeNumber, 1);
  a.CloseArchive();

  a.SetSpanningMode(smSplitting);
  a.PretendOpen(Archiver::kOpenReadOnly);
  EXPECT_EQ(a.CurrentVolumeFileName(), temp / u"a_001.zip");
  // A reset info looks like the last volume; with no stream open it must
  // still open one.
  a.CloseArchive();
  a.VolumeInfo().Reset();
  a.OpenVolume(TZipVolumeNumberInfo());
  EXPECT_EQ(a.CurrentVolumeFileName(), temp / u"a.zip");
  stream = a.ArchiveStream();
  a.OpenVolume(TZipVolumeNumberInfo());
  EXPECT_EQ(a.ArchiveStream(), stream);

  // A missing volume: the default request gives up.
  const EZipException e = ZipErrorOf([&] { a.OpenVolume(second); });
  EXPECT_EQ(e.ErrorCode(), zeOpenAborted);
  EXPECT_EQ(e.NativeError(), neVolumeRequestCancelled);
}

TEST(TZipArchiverVolumeTest, VolumeNames) {
  struct Row {
    TZipSpanningMode mode;
    bool advanced;
    const char16_t* stub;
    const char16_t* name;
    int32_t volume;
    const char16_t* expected;
  };
  const Row rows[] = {
      {smNone, true, u"", u"C:\\d\\a.zip", 3, u"C:\\d\\a.zip"},
      {smSplitting, true, u"", u"C:\\d\\setup.exe", -1, u"C:\\d\\setup.ZIP"},
      {smSplitting, true, u"stub.exe", u"C:\\d\\a.zip", -1, u"C:\\d\\a.ZIP"},
      {smSpanning, true, u"", u"C:\\d\\a.zip", 0, u"C:\\d\\a_001.zip"},
      {smSpanning, false, u"", u"C:\\d\\a.zip", 4, u"C:\\d\\a.zip"},
      {smSpanning, true, u"stub.exe", u"C:\\d\\a.zip", 2, u"C:\\d\\a_003.exe"},
      {smSplitting, false, u"", u"C:\\d\\SETUP.EXE", 0, u"C:\\d\\SETUP.exe"},
      {smSplitting, true, u"", u"C:\\d\\setup.exe", 1, u"C:\\d\\setup_002.exe"},
      {smSplitting, false, u"", u"C:\\d\\a.zip", 4, u"C:\\d\\a.Z05"},
      {smSplitting, false, u"", u"a", 99, u"a.Z100"},
  };
  for (const Row& r : rows) {
    TZipArchiver a;
    a.SetSpanningMode(r.mode);
    a.SpanningOptions().SetAdvancedNaming(r.advanced);
    a.SetSFXStub(r.stub);
    EXPECT_EQ(Utf8(a.MakeVolumeName(r.name, r.volume, false)), Utf8(r.expected))
        << Utf8(r.name) << " volume " << r.volume;
  }

  // Spanned names may try the other naming scheme.
  TempFolder temp;
  TZipArchiver a;
  a.SetSpanningMode(smSpanning);
  const WideString name = temp / u"a.zip";
  EXPECT_EQ(a.MakeVolumeName(name, 0, true), temp / u"a_001.zip");
  WriteFile(name, "");
  EXPECT_EQ(a.MakeVolumeName(name, 0, true), name);
  EXPECT_EQ(a.MakeVolumeName(name, 0, false), temp / u"a_001.zip");
}

// Answers the archiver's dialogs from a script and records what was asked.
class ScriptedDialogs : public TZipDialogProvider {
 public:
  struct Shown {
    WideString text;
    TZipMsgDlgType type;
    TZipMsgDlgButtons buttons;
  };

  ScriptedDialogs() : previous_(SetDialogProvider(this)) {}
  ~ScriptedDialogs() override { SetDialogProvider(previous_); }

  TZipModalResult MessageDialog(const WideString& text, TZipMsgDlgType type,
                                TZipMsgDlgButtons buttons) override {
    shown.push_back({text, type, buttons});
    EXPECT_EQ(type, mtConfirmation);
    if (answers.empty()) ADD_FAILURE() << "unexpected dialog: " << Utf8(text);
    if (answers.empty()) return mrCancel;
    const TZipModalResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool InputQuery(const WideString& caption, const WideString& prompt,
                  WideString& value) override {
    queries.push_back(caption + u"|" + prompt);
    const std::optional<WideString> input = inputs.front();
    inputs.pop_front();
    if (input) value = *input;
    return input.has_value();
  }
  // The texts shown since the last call.
  std::vector<WideString> Texts() {
    std::vector<WideString> texts;
    for (const Shown& s : shown) texts.push_back(s.text);
    shown.clear();
    return texts;
  }

  std::deque<TZipModalResult> answers;
  std::vector<Shown> shown;
  std::deque<std::optional<WideString>> inputs;  // nullopt: Cancel
  std::vector<WideString> queries;

 private:
  TZipDialogProvider* previous_;
};

class TZipDispatcherTest : public ::testing::Test {
 protected:
  ScriptedDialogs dialogs_;
  TestArchiver archiver_;
};

TEST_F(TZipDispatcherTest, OverwriteBox) {
  struct Row {
    TZipModalResult answer;
    bool confirm;
    TZipOverwriteMode mode;
  };
  for (const Row& r : {Row{mrYes, true, omPrompt}, Row{mrNo, false, omPrompt},
                       Row{mrNoToAll, false, omNever}, Row{mrYesToAll, true, omAlways},
                       Row{mrCancel, false, omPrompt}}) {
    archiver_.Options().SetOverwriteMode(omPrompt);
    dialogs_.answers = {r.answer};
    WideString dest = u"C:\\Out\\a.txt";
    bool confirm = !r.confirm;
    archiver_.DoConfirmOverwrite(u"docs\\a.txt", dest, confirm);
    EXPECT_EQ(confirm, r.confirm) << r.answer;
    EXPECT_EQ(archiver_.Options().OverwriteMode(), r.mode) << r.answer;
    EXPECT_EQ(dialogs_.shown.at(0).buttons, ButtonSet({mbYes, mbNo, mbNoToAll, mbYesToAll}));
    EXPECT_EQ(dialogs_.Texts(),
              std::vector<WideString>{u"Overwrite file \"C:\\Out\\a.txt\" with \"docs\\a.txt\""});
  }
}

TEST_F(TZipDispatcherTest, PasswordBox) {
  dialogs_.inputs = {WideString(u"s3cret"), std::nullopt};
  AnsiString password = "old";
  bool skip = true;
  archiver_.DoPassword(u"docs/a.txt", password, skip);
  EXPECT_EQ(password, "s3cret");
  EXPECT_FALSE(skip);
  EXPECT_EQ(dialogs_.queries.at(0), u"Password for \"docs/a.txt\"|Enter password: ");
  archiver_.DoPassword(u"docs/a.txt", password, skip);
  EXPECT_TRUE(skip);
  EXPECT_EQ(password, "s3cret");
}

TEST_F(TZipDispatcherTest, FailureBoxByNativeError) {
  const WideString message = u"Archiver: Cannot create file \"C:\\x\" - Native error: 00019";
  const WideString diskFull = message + u". File processing error, possibly disk is full";
  struct Row {
    int32_t native;
    TZipModalResult answer;  // mrNone: no box
    TZipAction action;
  };
  const Row rows[] = {
      {neVolumeRequestCancelled, mrNone, fxaAbort}, {neFileMaskTooLong, mrAbort, fxaAbort},
      {neFileMaskTooLong, mrIgnore, fxaIgnore},     {neFileMaskTooLong, mrCancel, fxaAbort},
      {neCannotCreateFile, mrAbort, fxaAbort},      {neCannotCreateFile, mrRetry, fxaRetry},
      {neCannotCreateFile, mrIgnore, fxaIgnore},    {neEntryData, mrCancel, fxaAbort},
  };
  for (const Row& r : rows) {
    if (r.answer != mrNone) dialogs_.answers = {r.answer};
    TZipAction action = fxaRetry;
    archiver_.DoProcessFileFailure(u"a.txt", poExtract, r.native, 0, message, action);
    EXPECT_EQ(action, r.action) << "native " << r.native << " answer " << r.answer;
    if (r.answer == mrNone) {
      EXPECT_TRUE(dialogs_.shown.empty());
    } else if (r.native == neFileMaskTooLong) {
      EXPECT_EQ(dialogs_.shown.at(0).buttons, ButtonSet({mbAbort, mbIgnore}));
      EXPECT_EQ(dialogs_.Texts(), std::vector<WideString>{message});
    } else {
      EXPECT_EQ(dialogs_.shown.at(0).buttons, ButtonSet({mbAbort, mbRetry, mbIgnore}));
      EXPECT_EQ(dialogs_.Texts(), std::vector<WideString>{diskFull});
    }
  }
}

TEST_F(TZipDispatcherTest, VolumeRequestsWhenSpanning) {
  TempFolder temp;
  const WideString file = temp / u"a.zip";
  archiver_.SetFileName(file);
  archiver_.SetSpanningMode(smSpanning);
  WideString name;
  bool cancel = true;
  dialogs_.answers = {mrOk, mrCancel, mrOk, mrOk, mrOk, mrOk, mrCancel};
  archiver_.DoRequestBlankVolume(3, name, cancel);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(name, temp / u"a_003.zip");
  archiver_.DoRequestFirstVolume(name, cancel);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(name, temp / u"a_001.zip");
  archiver_.DoRequestMiddleVolume(2, name, cancel);
  EXPECT_FALSE(cancel);
  // The last disk is asked for until its file is there.
  archiver_.DoRequestLastVolume(name, cancel);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(name, file);
  const WideString notFound = u"File '" + file +
      u"' not found on inserted disk. Please insert last disk with required file";
  const std::vector<WideString> expected = {
      u"Please insert a blank disk #3", u"Please insert the first disk", u"Please insert disk #2",
      u"Please insert the last disk",   notFound,                        notFound,
      notFound};
  const std::vector<ScriptedDialogs::Shown> shown = dialogs_.shown;
  EXPECT_EQ(dialogs_.Texts(), expected);
  for (const auto& box : shown) EXPECT_EQ(box.buttons, ButtonSet({mbOK, mbCancel}));

  WriteFile(file, "");
  dialogs_.answers = {mrOk};
  archiver_.DoRequestLastVolume(name, cancel);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(dialogs_.Texts().size(), 1u);
}

TEST_F(TZipDispatcherTest, VolumeRequestsWithoutSpanningLookForTheFile) {
  TempFolder temp;
  archiver_.SetFileName(temp / u"a.zip");
  archiver_.SetSpanningMode(smSplitting);
  archiver_.SpanningOptions().SetAdvancedNaming(false);
  WideString name;
  bool cancel = true;
  archiver_.DoRequestBlankVolume(2, name, cancel);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(name, temp / u"a.Z02");

  for (bool present : {false, true}) {
    if (present)
      for (const char16_t* file : {u"a.Z01", u"a.Z02", u"a.zip"}) WriteFile(temp / file, "");
    archiver_.DoRequestFirstVolume(name, cancel);
    EXPECT_EQ(cancel, !present);
    EXPECT_EQ(name, temp / u"a.Z01");
    archiver_.DoRequestMiddleVolume(2, name, cancel);
    EXPECT_EQ(cancel, !present);
    archiver_.DoRequestLastVolume(name, cancel);
    EXPECT_EQ(cancel, !present);
    EXPECT_EQ(name, temp / u"a.zip");
  }
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(TZipDispatcherTest, DiskFull) {
  TempFolder temp;
  bool cancel = false;
  archiver_.DoDiskFull(1, temp / u"a.zip", cancel);
  EXPECT_TRUE(cancel);
  EXPECT_TRUE(dialogs_.shown.empty());

  archiver_.SetSpanningMode(smSpanning);
  archiver_.SpanningOptions().SetVolumeSize(vs1_44MB);
  dialogs_.answers = {mrOk};
  archiver_.DoDiskFull(2, temp / u"a_002.zip", cancel);
  EXPECT_FALSE(cancel);
  const WideString text = dialogs_.Texts().at(0);
  const WideString head = u"Disk is full. Required free space: 1457664 bytes, but available only: ";
  const WideString tail = u" bytes. Clean the disk or find another blank disk";
  ASSERT_GT(text.size(), head.size() + tail.size());
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(TZipDispatcherTest, NamesAndQuietDefaults) {
  bool cancel = true;
  archiver_.DoFileProgress(u"a/b.txt", 50.0, poExtract, ppProcess, cancel);
  EXPECT_FALSE(cancel);
  bool confirm = false;
  archiver_.DoConfirmProcessFile(u"a.txt", poExtract, confirm);
  EXPECT_TRUE(confirm);

  WideString seen;
  archiver_.OnFileProgress = [&](rt::TObject*, const WideString& name, double,
                                 TZipProcessOperation, TZipProgressPhase, bool& flag) {
    seen = name;
    EXPECT_TRUE(flag);  // the caller's flag reaches the handler
  };
  archiver_.DoFileProgress(u"docs/sub/a.txt", 0.0, poExtract, ppStart, cancel = true);
  EXPECT_EQ(seen, u"docs\\sub\\a.txt");

  // Extracted names turn into "\" form, handler or not.
  WideString name = u"docs/a.txt";
  uint32_t attr = 0x20;
  archiver_.DoExtractFile(name, attr, "");
  EXPECT_EQ(name, u"docs\\a.txt");
  // Stored names go back to "/" after the handler.
  archiver_.OnStoreFile = [](rt::TObject*, WideString& fileName, uint32_t&, AnsiString&,
                             const WideString&) {
    EXPECT_EQ(fileName, u"docs\\c.txt");
    fileName += u"\\x";
  };
  name = u"docs/c.txt";
  AnsiString comment;
  archiver_.DoStoreFile(name, attr, comment, u"C:\\src\\docs\\c.txt");
  EXPECT_EQ(name, u"docs/c.txt/x");
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST(ZipProcessLockTest, IsReentrantAndExcludesOtherThreads) {
  TZipProcessGuard outer;
  TZipProcessGuard inner;
  bool otherGotIn = true;
  std::thread other([&] {
    otherGotIn = ZipProcessLock().try_lock();
    if (otherGotIn) ZipProcessLock().unlock();
  });
  other.join();
  EXPECT_FALSE(otherGotIn);
}

}  // namespace
}  // namespace zip
