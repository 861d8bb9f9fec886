// The archive engine's file layer: every file and folder name is a wide
// string, so Unicode entry names reach the disk unchanged. A thin binding to
// the Windows file API, with a POSIX backend that maps each call to its
// nearest native equivalent (and "\" to "/" at the system call).
//
// Names use "\" between folders on every platform, so that the path
// functions (path_functions.h) split them the same way everywhere.
//
// Only FsForceDirectories (empty path) and the file stream on a wide name
// (wide_file_stream.h) raise; every other operation reports failure by its
// result and leaves the system's last-error value as the system set it.
#pragma once

#include <cstdint>

#include "runtime/handle_io.h"
#include "runtime/streams.h"
#include "runtime/strings.h"

namespace zip {

using rt::FileHandle;
using rt::WideString;
using rt::WideStringView;

// Open modes: low two bits access (0 read, 1 write, 2 read and write), bits 4
// to 7 sharing (0 compatibility, 1 exclusive, 2 deny write, 3 deny read,
// 4 deny none); kFmCreate creates or truncates.
inline constexpr uint16_t kFmCreate = 0xFFFF;
inline constexpr uint16_t kFmOpenRead = 0x0000;
inline constexpr uint16_t kFmOpenWrite = 0x0001;
inline constexpr uint16_t kFmOpenReadWrite = 0x0002;
inline constexpr uint16_t kFmShareCompat = 0x0000;
inline constexpr uint16_t kFmShareExclusive = 0x0010;
inline constexpr uint16_t kFmShareDenyWrite = 0x0020;
inline constexpr uint16_t kFmShareDenyRead = 0x0030;
inline constexpr uint16_t kFmShareDenyNone = 0x0040;

// Packed age: MS-DOS date in the high 16 bits, time in the low 16 bits, in
// local time; kNoAge when there is none.
inline constexpr int32_t kNoAge = -1;

inline constexpr uint32_t kFaReadOnly = 0x01;
inline constexpr uint32_t kFaHidden = 0x02;
inline constexpr uint32_t kFaSysFile = 0x04;
inline constexpr uint32_t kFaVolumeId = 0x08;
inline constexpr uint32_t kFaDirectory = 0x10;
inline constexpr uint32_t kFaArchive = 0x20;
inline constexpr uint32_t kFaNormal = 0x80;
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Creates (or truncates) a file for reading and writing, shared with no one.
FileHandle FsCreateFile(const WideString& name);
FileHandle FsOpenFile(const WideString& name, uint16_t mode);
// True when a directory search for the name finds something that is not a
// folder; "*" and "?" in the name act as wildcards.
bool FsFileExists(const WideString& name);
bool FsDirectoryExists(const WideString& name);
// The attribute word (kFa...), or kInvalidAttributes.
uint32_t FsGetAttributes(const WideString& name);
bool FsSetAttributes(const WideString& name, uint32_t attributes);
bool FsDeleteFile(const WideString& name);
// The file's last-write time as a packed age; kNoAge for a folder, a
// missing file or a time that cannot be converted.
int32_t FsFileAge(const WideString& name);
// Creates the folder and every missing parent; "/" separates folders as
// "\" does. Raises rt::EFileLayerError for an empty path.
bool FsForceDirectories(const WideString& path);
// Creates one folder whose parent exists. A folder already there counts as
// created; anything else already there is a failure.
bool FsCreateDirectory(const WideString& path);
// Removes an empty folder; false when it is not empty or cannot go.
bool FsRemoveDirectory(const WideString& path);
WideString FsCurrentDir();
// The name as the system's file calls take it: on Windows, a name whose
// full path is too long for the plain calls in its "\\?\" form (which every
// Windows takes up to 32,767 characters), any other name unchanged; on
// POSIX with "/" between folders.
WideString FsSystemName(const WideString& name);
WideString FsFullPath(const WideString& name);
// The system's text for an error code (errno on POSIX).
WideString FsSysErrorMessage(int code);
// The calling thread's last system error code.
int FsLastError();
// A name (or a text holding names) as the system's own tools spell it:
// with "/" between folders on POSIX, unchanged on Windows.
WideString FsDisplayName(const WideString& name);
// Sets only the last-write time of an open file; the system error code,
// 0 on success.
int FsSetFileTime(FileHandle handle, int32_t age);
bool IsRemovablePath(const WideString& name);

}  // namespace zip
