#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "platform/errors.h"
#include "platform/finished_file.h"
#include "platform/scratch_prefix.h"

namespace vx::platform {
namespace {

using testing::ScratchPrefix;

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number;
  }
  return 0;
}

// The file an error names.
std::string FileOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.path;
  }
  return "(no error)";
}

// Another process that runs `hold` (taking a lock) and keeps it until told
// to finish, as another program of the payroll product would.
class OtherProcess {
 public:
  explicit OtherProcess(const std::function<bool()>& hold) {
    int ready[2], finish[2];
    if (::pipe(ready) != 0 || ::pipe(finish) != 0) std::abort();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(finish[1]);
      char ok = hold() ? 'y' : 'n';
      if (::write(ready[1], &ok, 1) != 1) ::_exit(2);
      char c;
      ssize_t ignored = ::read(finish[0], &c, 1);
      (void)ignored;
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(finish[0]);
    char ok = 'n';
    held_ = ::read(ready[0], &ok, 1) == 1 && ok == 'y';
    ::close(ready[0]);
    finish_ = finish[1];
  }
  ~OtherProcess() { Finish(); }
  bool Held() const { return held_; }
  void Finish() {
    if (pid_ <= 0) return;
    ::close(finish_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int finish_ = -1;
  bool held_ = false;
};

constexpr const char* kSema = "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT";

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { s_.Write("drive_c/pvxpaghe/archivi/.keep", ""); }
  ScratchPrefix s_;
  WinePrefix prefix_ = s_.Prefix();
  Files files_{prefix_};
};

TEST_F(FilesTest, ExclusiveLockHeldByAnotherProcessIsPermissionDenied) {
  s_.Write("drive_c/pvxpaghe/archivi/slsema.dat", std::string(2000, ' '));
  OtherProcess other([&] {
    // Left open on purpose: the lock stays until the process ends.
    auto* theirs = new Files(prefix_);
    theirs->OpenBinary(16, kSema, Access::ExclusiveLock);
    return true;
  });
  ASSERT_TRUE(other.Held());
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(16, kSema, Access::ExclusiveLock); }), 70);
  EXPECT_FALSE(files_.IsOpen(16));
  // Nobody may read it either while it is held.
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(3, kSema, Access::ReadShared); }), 70);
  EXPECT_EQ(ErrorOf([&] { files_.OpenInput(3, kSema); }), 70);
  EXPECT_FALSE(CanOpenForReading(prefix_, kSema));
  other.Finish();  // the holder ends: the system releases its lock
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(16, kSema, Access::ExclusiveLock); }), 0);
  EXPECT_FALSE(CanOpenForReading(prefix_, kSema));  // held by us now, refused to any other open
  files_.Close(16);
  EXPECT_TRUE(CanOpenForReading(prefix_, kSema));

  // Between two holds the file stays open here, but free: another process
  // takes it, and our next hold waits for it like anyone else's.
  OtherProcess between([&] { return (new Files(prefix_))->OpenBinary(16, kSema, Access::ExclusiveLock), true; });
  ASSERT_TRUE(between.Held());
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(16, kSema, Access::ExclusiveLock); }), 70);
  between.Finish();
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(16, kSema, Access::ExclusiveLock); }), 0);
  files_.Close(16);

  // A semaphore file another program deleted and made again is the one
  // locked from then on, once the kept one has been looked at again.
  std::filesystem::remove(s_.C() / "pvxpaghe/archivi/slsema.dat");
  s_.Write("drive_c/pvxpaghe/archivi/SLSEMA.DAT", std::string(2000, ' '));
  OtherProcess renewed([&] { return (new Files(prefix_))->OpenBinary(16, kSema, Access::ExclusiveLock), true; });
  ASSERT_TRUE(renewed.Held());
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(16, kSema, Access::ExclusiveLock); }), 70);
  renewed.Finish();
  std::filesystem::remove(s_.C() / "pvxpaghe/archivi/SLSEMA.DAT");
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(16, kSema, Access::ExclusiveLock); }), 53);  // never made here
}

TEST_F(FilesTest, ExclusiveLockConflictsWithClassicRecordLocks) {
  // Wine's server takes classic fcntl locks for LockFile; ours must see them.
  std::string path = (s_.C() / "pvxpaghe/archivi/SLSEMA.DAT").string();
  s_.Write("drive_c/pvxpaghe/archivi/SLSEMA.DAT", "x");
  OtherProcess other([&] {
    int fd = ::open(path.c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0;
  });
  ASSERT_TRUE(other.Held());
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(16, kSema, Access::ExclusiveLock); }), 70);

  // A record locked by another program while it edits an employee does not
  // keep the archive closed to us, nor does it make the file look missing.
  std::string archive = (s_.C() / "pvxpaghe/archivi/DIP.DAT").string();
  s_.Write("drive_c/pvxpaghe/archivi/DIP.DAT", "AAAABBBBCCCC");
  OtherProcess editor([&] {
    int fd = ::open(archive.c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 4;
    lock.l_len = 4;
    return fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0;
  });
  ASSERT_TRUE(editor.Held());
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\DIP.DAT", Access::ReadShared); }), 0);
  EXPECT_TRUE(CanOpenForReading(prefix_, "C:\\PVXPAGHE\\ARCHIVI\\DIP.DAT"));
}

TEST_F(FilesTest, GetPastEndOfFileReportsEndAndFillsWithNul) {
  s_.Write("drive_c/pvxpaghe/archivi/rec.dat", "AAAABBBBCC");
  files_.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\REC.DAT", Access::ReadShared);
  std::string buf(4, ' ');
  EXPECT_FALSE(files_.Get(1, 5, buf));  // the last whole record
  EXPECT_EQ(buf, "BBBB");
  EXPECT_FALSE(files_.Eof(1));
  EXPECT_TRUE(files_.Get(1, 9, buf));  // only two bytes left
  EXPECT_EQ(buf, std::string("CC\0\0", 4));
  EXPECT_TRUE(files_.Eof(1));
  EXPECT_TRUE(files_.Get(1, 13, buf));
  EXPECT_EQ(files_.Lof(1), 10);
  EXPECT_EQ(ErrorOf([&] { files_.Get(1, 0, buf); }), 63);
}

TEST_F(FilesTest, ArchivesOpenedForReadingCannotBeChanged) {
  s_.Write("drive_c/pvxpaghe/archivi/dip.dat", "ORIGINAL");
  ::chmod((s_.C() / "pvxpaghe/archivi/dip.dat").c_str(), 0644);
  files_.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\DIP.DAT", Access::ReadShared);
  EXPECT_EQ(ErrorOf([&] { files_.Put(1, 1, "CHANGED!"); }), 75);
  files_.Close(1);
  EXPECT_EQ(s_.Read("drive_c/pvxpaghe/archivi/dip.dat"), "ORIGINAL");

  // A missing archive is not created; the failure names it.
  try {
    files_.OpenBinary(2, "C:\\PVXPAGHE\\ARCHIVI\\NUOVO.DAT", Access::ReadShared);
    ADD_FAILURE() << "a missing archive was opened";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, 53);
    EXPECT_EQ(e.path, "C:\\PVXPAGHE\\ARCHIVI\\NUOVO.DAT");
  }
  EXPECT_FALSE(FileExists(prefix_, "C:\\PVXPAGHE\\ARCHIVI\\NUOVO.DAT"));
  EXPECT_EQ(ErrorOf([&] { files_.OpenBinary(3, "C:\\PVXPAGHE\\MANCA\\X.DAT", Access::ReadShared); }), 76);
}

TEST_F(FilesTest, PutExtendsAndRewritesInPlace) {
  files_.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\W.DAT", Access::ReadWriteShared);
  files_.Put(1, 6, "BB");
  files_.Put(1, 1, "A");
  files_.Close(1);
  EXPECT_EQ(s_.Read("drive_c/pvxpaghe/archivi/W.DAT"), std::string("A\0\0\0\0BB", 7));
}

TEST_F(FilesTest, TextLinesEndWithCrLfAndAnyEndIsReadBack) {
  files_.OpenOutput(1, "C:\\PVXPAGHE\\ARCHIVI\\BONI001B1.TXT");
  files_.PrintLine(1, "001;ROSSI MARIO;1234,50");
  files_.PrintLine(1, "");
  files_.Print(1, "fine");
  EXPECT_EQ(files_.Lof(1), 31);
  files_.Close(1);
  EXPECT_EQ(s_.Read("drive_c/pvxpaghe/archivi/BONI001B1.TXT"), "001;ROSSI MARIO;1234,50\r\n\r\nfine");

  s_.Write("drive_c/pvxpaghe/slperark.slp", "C:\\ARCHIVI\r\nlf\ncr\rlast\x1A" "after the DOS end mark");
  files_.OpenInput(2, "C:\\PVXPAGHE\\SLPERARK.SLP");
  std::vector<std::string> lines;
  while (!files_.Eof(2)) lines.push_back(files_.LineInput(2));
  EXPECT_EQ(lines, (std::vector<std::string>{"C:\\ARCHIVI", "lf", "cr", "last"}));
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(2); }), 62);
}

TEST_F(FilesTest, LongLinesCrossTheReadBuffer) {
  std::string long_line(200000, 'x');
  s_.Write("drive_c/long.txt", long_line + "\r\nnext\r\n");
  files_.OpenInput(1, "C:\\LONG.TXT");
  EXPECT_EQ(files_.LineInput(1), long_line);
  EXPECT_EQ(files_.LineInput(1), "next");
  EXPECT_TRUE(files_.Eof(1));
}

TEST_F(FilesTest, ChannelRules) {
  EXPECT_EQ(files_.FreeFile(), 1);
  files_.OpenOutput(1, "C:\\A.TXT");
  EXPECT_EQ(files_.FreeFile(), 2);
  EXPECT_EQ(ErrorOf([&] { files_.OpenOutput(1, "C:\\B.TXT"); }), 55);
  EXPECT_EQ(ErrorOf([&] { files_.OpenOutput(0, "C:\\B.TXT"); }), 52);
  EXPECT_EQ(ErrorOf([&] { files_.OpenOutput(512, "C:\\B.TXT"); }), 52);
  EXPECT_EQ(ErrorOf([&] { files_.LineInput(1); }), 54);
  EXPECT_EQ(FileOf([&] { files_.LineInput(1); }), "C:\\A.TXT");
  EXPECT_EQ(ErrorOf([&] { files_.PrintLine(9, "x"); }), 52);
  EXPECT_EQ(ErrorOf([&] { files_.OpenInput(2, "C:\\NONE.TXT"); }), 53);
  EXPECT_EQ(ErrorOf([&] { files_.OpenInput(2, "C:\\NODIR\\NONE.TXT"); }), 76);
  EXPECT_EQ(ErrorOf([&] { files_.OpenInput(2, "Q:\\NONE.TXT"); }), 76);
  EXPECT_EQ(ErrorOf([&] { files_.OpenInput(2, "C:\\PVXPAGHE"); }), 75);
  files_.PrintLine(1, "kept");
  files_.CloseAll();
  EXPECT_FALSE(files_.IsOpen(1));
  EXPECT_EQ(s_.Read("drive_c/A.TXT"), "kept\r\n");
}

TEST_F(FilesTest, FileAndFolderHelpers) {
  s_.Write("drive_c/pvxpaghe/Vuoto.dat", "");
  s_.Write("drive_c/pvxpaghe/Pieno.dat", "12345");
  EXPECT_EQ(FileLen(prefix_, "C:\\PVXPAGHE\\PIENO.DAT"), 5);
  EXPECT_EQ(FileLen(prefix_, "C:\\PVXPAGHE\\VUOTO.DAT"), 0);
  EXPECT_EQ(ErrorOf([&] { FileLen(prefix_, "C:\\PVXPAGHE\\NONE.DAT"); }), 53);
  EXPECT_FALSE(FileExists(prefix_, "C:\\PVXPAGHE"));
  EXPECT_FALSE(FileExists(prefix_, "Z:\\ANY"));
  EXPECT_TRUE(DirExists(prefix_, "c:\\pvxpaghe"));
  EXPECT_FALSE(DirExists(prefix_, "C:\\PVXPAGHE\\PIENO.DAT"));

  Kill(prefix_, "C:\\PVXPAGHE\\PIENO.DAT");
  EXPECT_FALSE(FileExists(prefix_, "C:\\PVXPAGHE\\PIENO.DAT"));
  EXPECT_EQ(ErrorOf([&] { Kill(prefix_, "C:\\PVXPAGHE\\PIENO.DAT"); }), 53);

  // A path looked up once is kept; when another program moves what it
  // names, the next use finds the file where it is now.
  s_.Write("drive_c/pvxpaghe/Dati/a.dat", "1");
  EXPECT_EQ(FileLen(prefix_, "C:\\PVXPAGHE\\DATI\\A.DAT"), 1);
  std::filesystem::remove_all(s_.C() / "pvxpaghe/Dati");
  s_.Write("drive_c/pvxpaghe/DATI/A.DAT", "22");
  EXPECT_EQ(FileLen(prefix_, "C:\\PVXPAGHE\\DATI\\A.DAT"), 2);
  files_.OpenBinary(1, "C:\\PVXPAGHE\\DATI\\A.DAT", Access::ReadShared);
  std::filesystem::remove(s_.C() / "pvxpaghe/DATI/A.DAT");
  s_.Write("drive_c/pvxpaghe/DATI/a.dat", "333");
  files_.Close(1);
  EXPECT_TRUE(FileExists(prefix_, "C:\\PVXPAGHE\\DATI\\A.DAT"));
  EXPECT_EQ(ErrorOf([&] { files_.OpenInput(1, "C:\\PVXPAGHE\\DATI\\A.DAT"); }), 0);
  EXPECT_EQ(files_.LineInput(1), "333");

  MkDir(prefix_, "C:\\PVXPAGHE\\FILE-PDF");
  EXPECT_TRUE(std::filesystem::is_directory(s_.C() / "pvxpaghe" / "FILE-PDF"));
  EXPECT_EQ(ErrorOf([&] { MkDir(prefix_, "C:\\PVXPAGHE\\file-pdf"); }), 75);
  EXPECT_EQ(ErrorOf([&] { MkDir(prefix_, "C:\\PVXPAGHE\\A\\B"); }), 76);
  EXPECT_EQ(FileOf([&] { MkDir(prefix_, "C:\\PVXPAGHE\\A\\B"); }), "C:\\PVXPAGHE\\A\\B");
  EXPECT_EQ(FileOf([&] { Kill(prefix_, "C:\\PVXPAGHE\\PIENO.DAT"); }), "C:\\PVXPAGHE\\PIENO.DAT");
}

// What a killed run left under a temporary name goes; a temporary its
// writer still holds (another run, in this process or another), one just
// written, and every name this program does not make, stay.
TEST_F(FilesTest, LeftoversOfAKilledRunGoAndNothingElse) {
  const std::filesystem::path folder = s_.C() / "pvxpaghe" / "archivi";
  auto plant = [&](const std::string& name, bool old) {
    s_.Write("drive_c/pvxpaghe/archivi/" + name, "x");
    if (old) {
      std::filesystem::last_write_time(folder / name,
                                       std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5));
    }
  };
  for (const char* name : {"BONI001B0.TXT.abc123.tmp", "BONI003B0.TXT.abc123.tmp", "SLDIPEN.DAT.abc123.tmp",
                           "BONI004B0.TXT.ABC123.tmp", "BONI005B0.TXT"}) {
    plant(name, true);
  }
  plant("BONI002B0.TXT.abc123.tmp", false);
  OtherProcess writer([&] {
    const int fd = ::open((folder / "BONI003B0.TXT.abc123.tmp").c_str(), O_RDWR);
    return fd >= 0 && HoldWhileWritten(fd);
  });
  ASSERT_TRUE(writer.Held());
  files_.OpenOutput(1, "C:\\PVXPAGHE\\ARCHIVI\\BONI006B0.TXT.abc123.tmp", true);
  plant("BONI006B0.TXT.abc123.tmp", true);

  const auto ours = [](std::string_view name) { return name.starts_with("BONI"); };
  using Names = std::vector<std::string>;
  EXPECT_EQ(RemoveLeftovers(folder, ours), Names{"BONI001B0.TXT.abc123.tmp"});
  writer.Finish();
  files_.Close(1);
  Names gone = RemoveLeftovers(folder, ours);
  std::sort(gone.begin(), gone.end());
  EXPECT_EQ(gone, (Names{"BONI003B0.TXT.abc123.tmp", "BONI006B0.TXT.abc123.tmp"}));
  EXPECT_EQ(RemoveLeftovers(folder, ours, std::chrono::seconds(0)), Names{"BONI002B0.TXT.abc123.tmp"});
  Names left;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (Names{".keep", "BONI004B0.TXT.ABC123.tmp", "BONI005B0.TXT", "SLDIPEN.DAT.abc123.tmp"}));
}

}  // namespace
}  // namespace vx::platform
