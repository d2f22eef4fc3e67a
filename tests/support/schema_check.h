#pragma once
// Checks an XML file against a published schema kept outside the
// repository, in ../shared/oracles beside the source tree, with xmllint.

#include <cstdio>
#include <filesystem>
#include <string>

namespace vx::testing {

// The folder of the schemas; empty when this machine does not have it.
inline std::filesystem::path OraclesFolder() {
  const std::filesystem::path folder = std::filesystem::path(VX_SOURCE_DIR) / ".." / "shared" / "oracles";
  return std::filesystem::is_directory(folder) ? folder : std::filesystem::path{};
}

inline constexpr const char* kCbiSchema = "CBIPaymentRequest.00.04.01.xsd";
inline constexpr const char* kSepaSchema = "pain.001.001.09.EPC132-08-2023-SCT-C2PSP.xsd";

// xmllint's verdict: empty when the file validates, its messages otherwise.
inline std::string SchemaErrors(const std::filesystem::path& xml, const char* schema) {
  const std::string command = "xmllint --noout --schema '" + (OraclesFolder() / schema).string() + "' '" +
                              xml.string() + "' 2>&1";
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "xmllint did not start";
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  return pclose(pipe) == 0 ? std::string{} : out;
}

}  // namespace vx::testing
