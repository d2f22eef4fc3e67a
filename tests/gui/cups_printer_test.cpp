// A printer run for real: a private CUPS scheduler with a PDF queue named
// in the installation's printer settings archive, and `vxorel --batch`
// printing on it without --print-to. Each company must become one print
// job of the listing's pages, in the listing's orientation.
//
// Needs root (the PDF back end runs only as root and reads its queue's
// settings from /etc/cups) and the cups, printer-driver-cups-pdf and
// poppler-utils packages; says why it is skipped otherwise.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "demo/demo_population.h"
#include "demo/installation_builder.h"
#include "support/folder_snapshot.h"
#include "support/shell.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kCupsd = "/usr/sbin/cupsd";
const fs::path kPdfBackend = "/usr/lib/cups/backend/cups-pdf";
const fs::path kPdfDriver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const fs::path kPdfBackendSettings = "/etc/cups";

using Outcome = vx::testing::CommandResult;
using vx::testing::Quote;
using vx::testing::Shell;

struct PdfPages {
  int pages = 0;
  double width = 0, height = 0;  // of the first page, in points
};

PdfPages PdfInfo(const fs::path& file) {
  const Outcome info = Shell("pdfinfo " + Quote(file));
  PdfPages result;
  std::smatch m;
  if (std::regex_search(info.output, m, std::regex("Pages:\\s+(\\d+)"))) result.pages = std::stoi(m[1]);
  if (std::regex_search(info.output, m, std::regex("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))) {
    result.width = std::stod(m[1]);
    result.height = std::stod(m[2]);
  }
  return result;
}

// A CUPS scheduler of the test's own: configuration, spool and socket in a
// temporary folder, nothing of the machine's printing touched but one
// settings file of the PDF back end, removed afterwards.
class Scheduler {
 public:
  explicit Scheduler(const fs::path& root) : root_(root) {}
  ~Scheduler() { Stop(); }

  // Empty when the scheduler answers; else why it could not be started.
  std::string Start() {
    for (const char* sub : {"spool", "tmp", "cache", "state", "log"}) fs::create_directories(root_ / sub);
    // The filters run as the scheduler's unprivileged user, whatever the umask.
    fs::permissions(root_.parent_path(), fs::perms(0755));
    fs::permissions(root_, fs::perms(0755));
    fs::permissions(root_ / "tmp", fs::perms(01777));
    if (chown((root_ / "spool").c_str(), 0, LpGroup()) != 0) return "cannot hand the spool to the lp group";
    fs::permissions(root_ / "spool", fs::perms(0710));
    std::ofstream(root_ / "cups-files.conf")
        << "ServerRoot " << root_.string() << "\nRequestRoot " << (root_ / "spool").string()
        << "\nTempDir " << (root_ / "tmp").string() << "\nCacheDir " << (root_ / "cache").string()
        << "\nStateDir " << (root_ / "state").string() << "\nErrorLog " << (root_ / "log/error_log").string()
        << "\nAccessLog " << (root_ / "log/access_log").string() << "\nPageLog "
        << (root_ / "log/page_log").string() << "\nPrintcap " << (root_ / "printcap").string()
        << "\nDataDir /usr/share/cups\nServerBin /usr/lib/cups\nSystemGroup root\nFileDevice No\n";
    // Every document a job printed is kept, to be examined as it was sent.
    std::ofstream(root_ / "cupsd.conf") << "Listen " << Socket().string()
                                        << "\nWebInterface No\nBrowsing No\nLogLevel info\nPreserveJobFiles Yes\n"
                                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n";
    pid_ = fork();
    if (pid_ == 0) {
      std::freopen((root_ / "log/cupsd.out").c_str(), "w", stdout);
      std::freopen((root_ / "log/cupsd.out").c_str(), "a", stderr);
      execl(kCupsd.c_str(), "cupsd", "-f", "-c", (root_ / "cupsd.conf").c_str(), "-s",
            (root_ / "cups-files.conf").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    if (pid_ < 0) return "fork failed";
    setenv("CUPS_SERVER", Socket().c_str(), 1);
    for (auto waited = 0ms; waited < 15s; waited += 100ms) {
      if (Shell("LC_ALL=C lpstat -r").output.find("is running") != std::string::npos) return "";
      int status;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return "cupsd exited: " + vx::testing::ReadWholeFile(root_ / "log/cupsd.out") +
               vx::testing::ReadWholeFile(root_ / "log/error_log");
      }
      std::this_thread::sleep_for(100ms);
    }
    return "cupsd did not answer within 15 s";
  }

  // A queue printing through the PDF back end into `folder`.
  std::string AddPdfQueue(const std::string& name, const fs::path& folder) {
    fs::create_directories(folder);
    fs::create_directories(root_ / ("pdf-spool-" + name));
    const fs::path settings = kPdfBackendSettings / ("cups-pdf-" + name + ".conf");
    std::ofstream(settings) << "Out " << folder.string() << "\nSpool " << (root_ / ("pdf-spool-" + name)).string()
                            << "\nLabel 2\nLog " << (root_ / "log").string() << "\n";
    settings_.push_back(settings);
    const Outcome added = Shell("lpadmin -p " + name + " -E -v cups-pdf:/" + name + " -P " + Quote(kPdfDriver));
    if (added.status != 0) return added.output;
    return "";
  }

  // Waits until every job has left the queue; false on time-out.
  bool WaitForIdle(std::chrono::seconds limit) {
    for (auto waited = 0ms; waited < limit; waited += 200ms) {
      if (Shell("LC_ALL=C lpstat -o").output.empty()) return true;
      std::this_thread::sleep_for(200ms);
    }
    return false;
  }

  // The documents of the completed jobs of `queue`, by job number.
  std::map<int, fs::path> JobDocuments(const std::string& queue) {
    std::map<int, fs::path> documents;
    const Outcome jobs = Shell("LC_ALL=C lpstat -W completed -o " + queue);
    const std::regex line(queue + "-(\\d+)\\s");
    for (auto it = std::sregex_iterator(jobs.output.begin(), jobs.output.end(), line); it != std::sregex_iterator();
         ++it) {
      const int job = std::stoi((*it)[1]);
      char name[32];
      std::snprintf(name, sizeof name, "d%05d-001", job);
      documents[job] = root_ / "spool" / name;
    }
    return documents;
  }

  std::string Log() { return vx::testing::ReadWholeFile(root_ / "log/error_log"); }

  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status;
      for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i) std::this_thread::sleep_for(100ms);
      if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
      }
      pid_ = -1;
    }
    for (const fs::path& settings : settings_) fs::remove(settings);
    settings_.clear();
    unsetenv("CUPS_SERVER");
  }

 private:
  fs::path Socket() const { return root_ / "cups.sock"; }
  static gid_t LpGroup() {
    const Outcome group = Shell("getent group lp | cut -d: -f3");
    return group.output.empty() ? 7 : static_cast<gid_t>(std::stoi(group.output));
  }

  fs::path root_;
  pid_t pid_ = -1;
  std::vector<fs::path> settings_;
};

class RealPrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "skipped: needs root (the PDF back end of CUPS runs only as root)";
    for (const fs::path& needed : {kCupsd, kPdfBackend, kPdfDriver}) {
      if (!fs::exists(needed)) GTEST_SKIP() << "skipped: " << needed << " is not installed (tools/install-deps)";
    }
    if (Shell("command -v pdfinfo").status != 0) GTEST_SKIP() << "skipped: pdfinfo is not installed";
    const std::string problem = scheduler.Start();
    if (!problem.empty()) GTEST_SKIP() << "skipped: cannot start a CUPS scheduler: " << problem;
  }

  // Runs build/vxorel on the installation; its messages are returned.
  Outcome Vxorel(const std::string& arguments) {
    // Under the sanitizer build, LeakSanitizer is told about fontconfig's
    // lifelong caches, which the program does not own.
    const fs::path suppressions = fs::path(VX_SOURCE_DIR) / "tests/gui/lsan.supp";
    return Shell("LSAN_OPTIONS=suppressions=" + Quote(suppressions) + " WINEPREFIX=" + Quote(Prefix()) +
                 " QT_QPA_PLATFORM=offscreen timeout 120 " +
                 Quote(fs::path(VX_BINARY_DIR) / "vxorel") + " " + arguments);
  }

  fs::path Prefix() const { return folder.Path() / "prefix"; }

  vx::testing::TempFolder folder;
  Scheduler scheduler{folder.Path() / "cups"};
};

// The pages of each document of a --print-to run, in run order.
std::vector<PdfPages> PrintToPages(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<PdfPages> pages;
  for (const fs::path& file : files) pages.push_back(PdfInfo(file));
  return pages;
}

TEST_F(RealPrinter, BatchRunPrintsOneJobPerCompanyOnTheInstallationsStandardPrinter) {
  const std::string queue = "VXOREL_TEST_" + std::to_string(getpid());
  const std::string other = "VXOREL_DEFAULT_" + std::to_string(getpid());
  ASSERT_EQ(scheduler.AddPdfQueue(queue, folder.Path() / "paper"), "");
  // The machine's default printer is another one: the run must still print
  // on the printer the payroll suite names.
  ASSERT_EQ(scheduler.AddPdfQueue(other, folder.Path() / "wrong-paper"), "");
  ASSERT_EQ(Shell("lpadmin -d " + other).status, 0);

  vx::demo::InstallationBuilder builder;
  vx::demo::DemoOptions demo;
  demo.companies = 4;
  demo.employees = 70;
  demo.seed = 3;
  vx::demo::PopulateDemo(builder, demo);
  builder.SetStandardPrinter(queue);
  builder.Write(Prefix());

  struct Listing {
    const char* option;
    bool landscape;
  };
  for (const Listing listing : {Listing{"simplified", true}, Listing{"detailed", false}}) {
    SCOPED_TRACE(listing.option);
    // The same listing written to files gives the pages each company's
    // document must have on paper.
    const fs::path files = folder.Path() / (std::string("files-") + listing.option);
    const Outcome to_files = Vxorel(std::string("--batch --listing ") + listing.option + " --print-to " +
                                    Quote(files));
    ASSERT_EQ(to_files.status, 0) << to_files.output;
    const std::vector<PdfPages> expected = PrintToPages(files);
    ASSERT_GE(expected.size(), 3u);

    const auto before = scheduler.JobDocuments(queue);
    const Outcome printed = Vxorel(std::string("--batch --listing ") + listing.option);
    ASSERT_EQ(printed.status, 0) << printed.output;
    ASSERT_TRUE(scheduler.WaitForIdle(std::chrono::seconds(30 * expected.size()))) << scheduler.Log();

    std::map<int, fs::path> jobs = scheduler.JobDocuments(queue);
    for (const auto& [job, document] : before) jobs.erase(job);
    ASSERT_EQ(jobs.size(), expected.size()) << printed.output << scheduler.Log();
    size_t company = 0;
    for (const auto& [job, document] : jobs) {
      const PdfPages sent = PdfInfo(document);
      EXPECT_EQ(sent.pages, expected[company].pages) << "job " << job;
      EXPECT_EQ(sent.width > sent.height, listing.landscape) << "job " << job;
      ++company;
    }
  }

  // Nothing reached the machine's default printer.
  EXPECT_TRUE(scheduler.JobDocuments(other).empty());
}

}  // namespace
