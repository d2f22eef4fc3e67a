#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/scratch_prefix.h"

namespace vx::platform {
namespace {

using testing::ScratchPrefix;

// Reads a value as the program does: size and type first, then the data.
struct Read {
  long status = -1;
  uint32_t type = 0;
  uint32_t size = 0;
  std::string data;
};

Read Query(const Registry& reg, std::string_view key, std::string_view name) {
  Read r;
  RegKey k;
  r.status = reg.RegOpenKeyA(key, &k);
  if (r.status != ERROR_SUCCESS) return r;
  r.status = reg.RegQueryValueExA(k, name, &r.type, nullptr, &r.size);
  if (r.status == ERROR_SUCCESS) {
    uint32_t size = r.size;
    r.status = reg.RegQueryValueExA(k, name, &r.type, &r.data, &size);
    EXPECT_EQ(size, r.size);
  }
  EXPECT_EQ(reg.RegCloseKey(k), ERROR_SUCCESS);
  return r;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

// The hive written by Wine's own `reg add` (tools/make-wine-fixtures).
class WineWrittenHive : public ::testing::Test {
 protected:
  static bool CopyFixture(const ScratchPrefix& s) {
    const char* source = std::getenv("VX_SOURCE_DIR");
    if (source == nullptr) return false;
    std::string text = ScratchPrefix::ReadAbsolute(std::filesystem::path(source) / "tests/data/wine/user.reg");
    s.Write("user.reg", text);
    return text.size() > 0;
  }
  void SetUp() override { ASSERT_TRUE(copied_) << "tests/data/wine/user.reg not found"; }

  ScratchPrefix s_;
  bool copied_ = CopyFixture(s_);
  Registry reg_{s_.Prefix()};
};

// Each value as the ANSI calls give it: texts in cp1252 with their NUL
// counted, characters cp1252 cannot write as '?', DWORDs as four
// little-endian bytes, other types under their own type; keys and value
// names in any letter case.
TEST_F(WineWrittenHive, ValuesArriveAsTheAnsiCallsGiveThem) {
  std::string binary;
  for (int i = 0; i < 40; ++i) binary += static_cast<char>(i);  // over two lines in the file
  struct Case {
    const char* key;
    const char* name;
    uint32_t type;
    std::string data;
  };
  const char* kTipi = "Software\\VxTest\\Tipi";
  const Case cases[] = {
      {"SOFTWARE\\TARVENIC\\VELMORA", "PERCORSOARCHIVI", REG_SZ, std::string("C:\\PVXPAGHE\\ARCHIVI\0", 20)},
      {kTipi, "Accenti", REG_SZ,
       std::string("Perch\xE9 cos\xEC: \"virgolette\", C:\\cartella\\ e 10 \x80") + '\0'},
      {kTipi, "FuoriCodice", REG_SZ, std::string("??\0", 3)},
      {kTipi, "Vuoto", REG_SZ, std::string("\0", 1)},
      {kTipi, "", REG_SZ, std::string("valore predefinito\0", 19)},
      {kTipi, "Contatore", REG_DWORD, Bytes({0x1a, 0, 0, 0})},
      {kTipi, "Negativo", REG_DWORD, Bytes({0x00, 0x80, 0xff, 0xff})},
      {kTipi, "Grande", REG_DWORD, Bytes({0x45, 0x23, 0x01, 0x00})},
      {kTipi, "Espandibile", REG_EXPAND_SZ, std::string("%USERPROFILE%\\Documenti\0", 24)},
      {kTipi, "Multiplo", REG_MULTI_SZ, std::string("uno\0due\0tre\0\0", 13)},
      {kTipi, "Binario", REG_BINARY, binary},
      {"software\\tarvenic\\velmora", "percorsoprogrammi", REG_SZ,
       std::string("C:\\PVXPAGHE\\PROGRAMMI\0", 22)},
      {"CONTROL PANEL\\INTERNATIONAL", "SDECIMAL", REG_SZ, std::string(",\0", 2)},
  };
  for (const Case& c : cases) {
    const Read r = Query(reg_, c.key, c.name);
    EXPECT_EQ(r.status, ERROR_SUCCESS) << c.name;
    EXPECT_EQ(r.type, c.type) << c.name;
    EXPECT_EQ(r.data, c.data) << c.name;
    EXPECT_EQ(r.size, c.data.size()) << c.name;
  }
}

TEST_F(WineWrittenHive, MissingKeyOrValueIsFileNotFoundAndASmallBufferAsksForMore) {
  RegKey k;
  EXPECT_EQ(reg_.RegOpenKeyA("Software\\TARVENIC\\ALTRO", &k), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(k.open);
  EXPECT_EQ(Query(reg_, "Software\\TARVENIC\\VELMORA", "NONCE").status, ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(reg_.RegOpenKeyA("Software\\TARVENIC\\VELMORA", &k), ERROR_SUCCESS);
  std::string data;
  uint32_t size = 5;
  EXPECT_EQ(reg_.RegQueryValueExA(k, "PERCORSOARCHIVI", nullptr, &data, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 20u);
  reg_.RegCloseKey(k);
  // A parent of a stored key exists even though the file has no section for it.
  ASSERT_EQ(reg_.RegOpenKeyA("Software\\TARVENIC", &k), ERROR_SUCCESS);
  EXPECT_EQ(reg_.RegQueryValueExA(k, "PERCORSOARCHIVI", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  reg_.RegCloseKey(k);
  EXPECT_EQ(reg_.RegQueryValueExA(k, "PERCORSOARCHIVI", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
}

TEST(RegistryFile, MissingFileIsAnEmptyHive) {
  ScratchPrefix s;
  Registry reg(s.Prefix());
  RegKey k;
  EXPECT_EQ(reg.RegOpenKeyA("Software\\TARVENIC\\VELMORA", &k), ERROR_FILE_NOT_FOUND);
}

// Hand-written cases for what reg add does not easily produce.
TEST(RegistryFile, WineEscapesInNamesAndTexts) {
  Registry reg(ParseRegistryFile(
      "WINE REGISTRY Version 2\n"
      ";; All keys relative to \\\\User\\\\S-1-5-21\n"
      "\n"
      "[Software\\\\A\\[b\\]] 1700000000\n"
      "#time=1d9a0f0e2c3b4a5\n"
      "#class=\"x\"\n"
      "\"Tab\\tName\"=\"a\\\\b\\\"c\\r\\n\\x20ac\\xe9\\x41x\\101\\0\"\n"
      "\"Oct\"=\"\\0017\\7\"\n"
      "\"Utf8\"=\"caf\xC3\xA9\"\n"));
  Read r = Query(reg, "software\\a[B]", "TAB\tNAME");
  ASSERT_EQ(r.status, ERROR_SUCCESS);
  // \x takes up to four hex digits: \x41x is 'A' then 'x'; \101 is 'A'.
  EXPECT_EQ(r.data, std::string("a\\b\"c\r\n\x80\xE9" "AxA\0\0", 14));
  // Octal takes at most three digits: \0017 is char 1 then '7'.
  EXPECT_EQ(Query(reg, "Software\\A[b]", "Oct").data, std::string("\x01" "7\x07\0", 4));
  EXPECT_EQ(Query(reg, "Software\\A[b]", "Utf8").data, std::string("caf\xE9\0", 5));
}

TEST(RegistryFile, HexAndStrForms) {
  Registry reg(ParseRegistryFile(
      "[K] 1\n"
      "\"Sz\"=hex(1):41,00,e8,00,00,00\n"
      "\"Wrapped\"=hex(3):01,02,\\\n"
      "  03,\\\n"
      "  04\n"
      "\"After\"=dword:00000002\n"
      "\"Expand\"=str(2):\"%PATH%\"\n"
      "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\n"
      "@=\"def\"\n"
      "\"Broken\"=dword:\n"
      "garbage line\n"));
  Read r = Query(reg, "K", "Sz");
  EXPECT_EQ(r.type, REG_SZ);
  EXPECT_EQ(r.data, std::string("A\xE8\0", 3));
  r = Query(reg, "K", "Wrapped");
  EXPECT_EQ(r.type, REG_BINARY);
  EXPECT_EQ(r.data, Bytes({1, 2, 3, 4}));
  EXPECT_EQ(Query(reg, "K", "After").data, Bytes({2, 0, 0, 0}));
  EXPECT_EQ(Query(reg, "K", "Expand").type, REG_EXPAND_SZ);
  EXPECT_EQ(Query(reg, "K", "Qword").type, 11u);
  EXPECT_EQ(Query(reg, "K", "").data, std::string("def\0", 4));
  EXPECT_EQ(Query(reg, "K", "Broken").status, ERROR_FILE_NOT_FOUND);
}

TEST(RegistryFile, CrLfFileAndRepeatedSectionsMerge) {
  Registry reg(ParseRegistryFile("[K] 1\r\n\"A\"=\"1\"\r\n\r\n[k] 2\r\n\"B\"=\"2\"\r\n\"a\"=\"3\"\r\n"));
  EXPECT_EQ(Query(reg, "K", "A").data, std::string("3\0", 2));
  EXPECT_EQ(Query(reg, "K", "B").data, std::string("2\0", 2));
}

}  // namespace
}  // namespace vx::platform
