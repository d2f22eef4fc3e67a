#pragma once
// The program's file channels, numbered as the payroll programs number them
// (1..511), over the Linux files of the Wine prefix. Every path argument is
// the program's own text path: a Windows path such as
// "C:\PVXPAGHE\ARCHIVI\SLBASE.DAT", or a relative one, mapped through the
// prefix. Failures are RuntimeError with the usual numbers: 52 bad channel,
// 53 file not found, 54 bad file mode, 55 already open, 57 device I/O error,
// 61 disk full, 62 input past end of file, 67 too many files, 70 permission
// denied (another process holds the file's exclusive lock), 75 path/file
// access error, 76 path not found. An error about a file of a channel, or
// about the file an open names, carries that file's program path.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/wine_prefix.h"

namespace vx::platform {

// How a binary channel is opened.
enum class Access {
  // Archives: read-only at the system level, so nothing this program does
  // can change their bytes; a missing file is error 53, never created.
  ReadShared,
  // Read and write, shared with other processes; a missing file is created.
  ReadWriteShared,
  // The semaphore: an fcntl write lock over the whole file, kept until the
  // channel is closed. Another holder makes the open fail with error 70; a
  // missing file is error 53, never created. Closing the channel releases
  // the lock but keeps the file open, unlocked, for the next open of the
  // same path: other programs see it locked and free exactly as before, and
  // taking it again costs one call.
  ExclusiveLock,
};

class Files {
 public:
  static constexpr int kMaxChannel = 511;

  // Keeps its own copy of the prefix, so a temporary prefix is fine.
  explicit Files(const WinePrefix& prefix);
  ~Files();  // closes every channel, writing what is still buffered
  Files(const Files&) = delete;
  Files& operator=(const Files&) = delete;

  const WinePrefix& Prefix() const { return prefix_; }

  // The lowest channel number not in use (error 67 when all are).
  int FreeFile() const;

  void OpenBinary(int channel, std::string_view path, Access access);
  // Text for reading; a missing file is error 53.
  void OpenInput(int channel, std::string_view path);
  // Text for writing: creates the file or empties it. With `hold`, the
  // file is held while written (HoldWhileWritten), as a temporary is.
  void OpenOutput(int channel, std::string_view path, bool hold = false);
  // Text for writing at the end: creates the file when missing.
  void OpenAppend(int channel, std::string_view path);

  // Binary: reads buffer.size() bytes from the 1-based byte `position`.
  // Returns true when the end of the file came before the buffer was full;
  // the bytes not read are then NUL.
  bool Get(int channel, int64_t position, std::string& buffer);
  // Binary: as Get, returning how many bytes the file held.
  size_t ReadAt(int channel, int64_t position, std::string& buffer);
  // Binary: writes the bytes at the 1-based byte `position`, extending the
  // file when needed. Error 75 on a channel opened ReadShared.
  void Put(int channel, int64_t position, std::string_view bytes);

  // Binary: the last Get did not read whole. Text input: nothing left to read.
  bool Eof(int channel);
  // Length of the open file in bytes (text output: including what is buffered).
  int64_t Lof(int channel);

  // Text input: the next line, without its end (CR LF, or a lone CR or LF as
  // files edited on Linux have them). Error 62 when nothing is left.
  std::string LineInput(int channel);
  // Text output: the bytes followed by CR LF.
  void PrintLine(int channel, std::string_view line);
  // Text output: the bytes alone.
  void Print(int channel, std::string_view text);

  // Closes the channel, writing what is still buffered. Closing a channel
  // that is not open does nothing.
  void Close(int channel);
  // Closes every channel; the first write failure is reported after all are
  // closed.
  void CloseAll();
  bool IsOpen(int channel) const;

  // The Linux path a channel was opened on (empty when not open).
  std::string OpenPath(int channel) const;

 private:
  struct Channel;
  Channel& Open(int channel);  // the open channel, or error 52
  void Claim(int channel);     // error 52 for a bad number, 55 if in use
  void FlushOutput(Channel& ch);
  // The descriptor to lock for an exclusive open of `path`: the one kept
  // from the last close, or a new one.
  int LockFile(std::string_view path, std::string& linux_path);

  // A semaphore file kept open, unlocked, between its channels.
  struct Kept {
    int fd = -1;
    std::string path;  // Linux
    std::chrono::steady_clock::time_point checked;
  };

  const WinePrefix prefix_;
  std::map<int, std::unique_ptr<Channel>> channels_;
  std::map<std::string, Kept, std::less<>> kept_;  // by program path
};

// Free helpers over program paths. A path that cannot be mapped counts as
// missing for the queries.

// A regular file of that name exists.
bool FileExists(const WinePrefix& prefix, std::string_view path);
// The file could be opened for reading as text, shared: it exists, is
// readable and no other open holds its exclusive lock.
bool CanOpenForReading(const WinePrefix& prefix, std::string_view path);
// Deletes a file; error 53 when it does not exist.
void Kill(const WinePrefix& prefix, std::string_view path);
// Length in bytes; error 53 when the file does not exist.
int64_t FileLen(const WinePrefix& prefix, std::string_view path);
// A folder of that name exists.
bool DirExists(const WinePrefix& prefix, std::string_view path);
// Creates one folder; error 76 when its parent is missing, 75 when it exists.
void MkDir(const WinePrefix& prefix, std::string_view path);

}  // namespace vx::platform
