// Runs the archive layer over a scratch installation whose catalogue, index
// and data archive are made of arbitrary bytes: resolution of archive names
// with placeholders, opening, record reads, the three-level index search and
// field access. Every input must end in a value, a message or a reported
// run-time error (ProgramEnd), never in a crash, a hang or undefined
// behaviour, and the archives must keep every byte they had.
//
// Catalogue names are limited to characters that keep every file inside the
// scratch archives folder (no drive, no backslash); the drive placeholder is
// covered by the unit tests.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "archive/descriptors.h"
#include "archive/payroll_archives.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace fs = std::filesystem;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A folder for the scratch installation, removed when the fuzzer exits.
struct Scratch {
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "vxorel-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root = pattern;
    archives = root / "drive_c" / "PVXPAGHE" / "ARCHIVI";
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  fs::path root;
  fs::path archives;
};

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

// Takes the next `n` bytes of the input (fewer at its end).
std::string Take(std::string_view& input, size_t n) {
  const std::string taken(input.substr(0, n));
  input.remove_prefix(taken.size());
  return taken;
}

size_t TakeSize(std::string_view& input, size_t limit) {
  const std::string b = Take(input, 2);
  size_t value = 0;
  for (const char c : b) value = value * 256 + static_cast<unsigned char>(c);
  return limit == 0 ? 0 : value % limit;
}

// A catalogue entry made from input bytes, its name kept inside the folder.
std::string Entry(std::string_view& input) {
  std::string entry = Take(input, 79);
  entry.resize(79, ' ');
  for (size_t i = 3; i < 32; ++i) {
    char& c = entry[i];
    if (c == '\\' || c == '/' || c == ':') c = 'X';
  }
  return entry;
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch scratch;
  static NullBuffer null_buffer;
  static std::ostream null_stream(&null_buffer);

  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::error_code ignored;
  fs::remove_all(scratch.archives, ignored);
  fs::create_directories(scratch.archives);

  // Entries 1 (fuzzed name), 2 (data archive), 7 (index); the rest blank.
  std::string catalogue(79 * 7, ' ');
  catalogue.replace(0, 79, Entry(input));
  std::string data_entry = Entry(input);
  data_entry.replace(3, 29, "DATI.DAT                     ");
  catalogue.replace(79, 79, data_entry);
  std::string index_entry = Entry(input);
  index_entry.replace(3, 29, "INDICE.DAT                   ");
  if (!input.empty() && input[0] & 1) index_entry.replace(32, 5, "01408");  // keys of 4
  catalogue.replace(6 * 79, 79, index_entry);
  catalogue.resize(TakeSize(input, catalogue.size() + 1));
  Write(scratch.archives / "SLBASE.DAT", catalogue);

  std::string placeholders = Take(input, 8);
  placeholders.resize(8, ' ');
  const std::string key = Take(input, 1 + TakeSize(input, 12));
  const std::string index = Take(input, TakeSize(input, 8192));
  const std::string records(input);
  Write(scratch.archives / "INDICE.DAT", index);
  Write(scratch.archives / "DATI.DAT", records);

  vx::platform::WinePrefix prefix(scratch.root);
  vx::platform::Files files(prefix);
  vx::platform::Registry registry{vx::platform::RegHive{}};
  vx::platform::BatchMessageBoxes boxes(null_stream);
  vx::archive::PayrollArchives archives(prefix, files, registry, boxes);
  auto& state = archives.state;
  state.NomeProgramma = "VXOREL";
  state.NomeProgetto = "VXOREL";
  state.PERCORSOARCHIVI = "C:\\PVXPAGHE\\ARCHIVI";
  state.CodiceTerminale = placeholders.substr(0, 2);
  archives.SetInstanceCheck([] { return false; });

  // Each step may end the program; the next starts from what is left.
  auto step = [](auto&& body) {
    try {
      body();
    } catch (const vx::platform::ProgramEnd&) {
    }
  };
  step([&] {
    state.DITTAOPEN = placeholders.substr(0, 3);
    state.ANNOOPEN = placeholders.substr(3, 2);
    state.REGIONEOPEN = placeholders.substr(5, 1);
    state.PROVINCIAOPEN = placeholders.substr(6, 2);
    if (archives.FAIOPEN(1) > 0) archives.LEGGIREC(1, 1);
    archives.VERBASE(1);
  });
  step([&] {
    archives.FAIOPEN(7);
    archives.APRISEMA();
    const double found = archives.ISAM(7, key, 2, 0);
    archives.CHIUDISEMA();
    Check(found == -1 || index.find(key) != std::string::npos);
  });
  step([&] {
    archives.FAIOPEN(2);
    for (double r = 1; r <= 3; ++r) {
      state.FineFile = archives.LEGGIREC(2, r);
      state.RecordRepository["DIPX$"] = state.BufferRec[2];
      archives.RepoR(vx::archive::fields::kEmployeeCode, 0);
      archives.RepoN(vx::archive::fields::kEmployeeNetPay, 0);
      archives.RepoR(vx::archive::fields::kEmployeeBankName, 0, records);
    }
  });
  step([&] { archives.CHIUDI(0); });

  // Reading never changes an archive.
  Check(Contents(scratch.archives / "INDICE.DAT") == index);
  Check(Contents(scratch.archives / "DATI.DAT") == records);
  Check(Contents(scratch.archives / "SLBASE.DAT") == catalogue);
  return 0;
}
