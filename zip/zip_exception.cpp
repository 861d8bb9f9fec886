#include "zip/zip_exception.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace zip {

namespace {

// The texts of the error codes. The table keeps room for 41 texts; the
// last three slots have none.
constexpr std::array<WideStringView, 41> kMessages = {
    /*  0 */ u"Unknown error",
    /*  1 */ u"Index out of bounds",
    /*  2 */ u"Invalid compression mode. Mode must be in [0-9] range",
    /*  3 */ u"Unexpected nil pointer",
    /*  4 */ u"Invalid size or check sum of file or unsupported compression format",
    /*  5 */ u"File name is blank. Specify appropriate file name",
    /*  6 */ u"File \"%s\" not found",
    /*  7 */ u"Archive is not open",
    /*  8 */ u"SFXStub property is not specified",
    /*  9 */ u"Cannot create file \"%s\"",
    /* 10 */ u"Cannot create directory \"%s\"",
    /* 11 */ u"Internal error. Update is not started",
    /* 12 */ u"Cannot open file \"%s\"",
    /* 13 */ u"Cannot proceed when update is not ended. Preceding EndUpdate call is required.",
    /* 14 */ u"Cannot delete file \"%s\"",
    /* 15 */ u"In-memory archive can be created only",
    /* 16 */ u"File is open in read-only mode",
    /* 17 */ u"Invalid compressed size, rfs.size = %d, count = %d",
    /* 18 */ u"Invalid archive file.",
    /* 19 */ u"Cannot create output file. Probably file is locked by another process. "
             u"FileName = '%s'.",
    /* 20 */ u"Archive is open. You should close it beore performing this operation.",
    /* 21 */ u"Unable to create directory",
    /* 22 */ u"Cannot find Zip64 directory end record",
    /* 23 */ u"Cannot compress file '%s'. Zip64 mode is not enabled",
    /* 24 */ u"Cannot open archive file. Opening aborted or invalid file",
    /* 25 */ u"Write to stream error",
    /* 26 */ u"Cannot place SFX stub on volume. Volume size limit is too small",
    /* 27 */ u"Archive is damaged. Open failed",
    /* 28 */ u"MakeSFX is not allowed for splitted or spanned archives. "
             u"Set SFXStub before archive creation instead of MakeSFX",
    /* 29 */ u"Archive already has SFX stub",
    /* 30 */ u"Multi-volume archive is not allowed for custom stream",
    /* 31 */ u"Multi-spanned archive is not allowed for modification. "
             u"Use BeginUpdate/EndUpdate methods to add files several times",
    /* 32 */ u"Deflate64 compression method is not supported",
    /* 33 */ u"MakeSFX error",
    /* 34 */ u"Hashed list of file names is invalid",
    /* 35 */ u"Cannot delete folder \"%s\"",
    /* 36 */ u"File name is too long: \r\n\"%s\"",
    /* 37 */ u"Multiple transactions are not supported for multi-volume archives",
    /* 38 */ u"",
    /* 39 */ u"",
    /* 40 */ u"",
};

struct NativeToCode {
  int32_t native;
  int32_t code;
};

// Raising site -> error code, searched in order; the first match wins.
constexpr NativeToCode kNativeToCode[] = {
    {0, 0},   {1, 1},   {2, 1},   {3, 1},   {4, 1},   {5, 2},   {6, 3},   {7, 1},
    {8, 4},   {9, 5},   {10, 5},  {11, 6},  {12, 6},  {13, 7},  {14, 7},  {15, 6},
    {16, 1},  {17, 8},  {18, 6},  {19, 9},  {20, 10}, {21, 1},  {22, 11}, {23, 9},
    {24, 1},  {25, 11}, {26, 13}, {27, 14}, {28, 15}, {29, 5},  {30, 6},  {31, 6},
    {32, 16}, {33, 12}, {34, 17}, {35, 18}, {36, 19}, {37, 20}, {38, 6},  {39, 21},
    {40, 22}, {41, 23}, {42, 6},  {43, 23}, {44, 24}, {45, 24}, {46, 25}, {47, 26},
    {48, 27}, {49, 28}, {50, 29}, {51, 30}, {52, 31}, {53, 6},  {54, 6},  {55, 32},
    {56, 33}, {57, 27}, {58, 34}, {59, 34}, {60, 35}, {61, 36}, {62, 37},
};
static_assert(std::size(kNativeToCode) == 63);

WideString NativeErrorSuffix(int32_t nativeError) {
  WideString number = rt::Format(u"%5d", {nativeError});
  std::replace(number.begin(), number.end(), u' ', u'0');
  return u" - Native error: " + number;
}

}  // namespace

int32_t EZipException::ErrorCodeOf(int32_t nativeError) {
  for (const auto& entry : kNativeToCode)
    if (entry.native == nativeError) return entry.code;
  return 0;
}

WideStringView EZipException::MessageText(int32_t errorCode) {
  if (errorCode < 0 || errorCode >= static_cast<int32_t>(kMessages.size())) return {};
  return kMessages[errorCode];
}

EZipException::EZipException(TZipNativeError nativeError, const rt::TComponent* archiver,
                             std::initializer_list<rt::FormatArg> args)
    : rt::Exception(WideString()),
      errorCode_(ErrorCodeOf(nativeError)),
      nativeError_(nativeError) {
  WideString message(MessageText(errorCode_));
  if (args.size() != 0) {
    // A site that passes arguments not matching its text must still raise
    // this error, not a formatting one: the bare text is kept then.
    try {
      message = rt::Format(message, args);
    } catch (const rt::EConvertError&) {
    }
  }
  if (archiver && !archiver->Name().empty())
    message = rt::Format(u"%s: %s", {archiver->Name(), message});
  SetMessage(message + NativeErrorSuffix(nativeError));
}

}  // namespace zip
