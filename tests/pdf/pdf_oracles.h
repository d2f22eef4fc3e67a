#pragma once
// Real PDF readers as test oracles: a stream is wrapped in a minimal, valid
// PDF file and read back by qpdf and by pikepdf, so that an encoder is judged
// by the decoders viewers use rather than by our own code.

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "pdf/encoders.h"
#include "pdf/protection.h"
#include "support/folder_snapshot.h"
#include "support/shell.h"
#include "support/temp_folder.h"

namespace vx::pdf::oracles {

using vx::testing::CommandResult;
using vx::testing::Quote;
using vx::testing::RunCommand;

// A temporary folder of files named by their plain names.
class ScratchFolder : public vx::testing::TempFolder {
 public:
  std::string File(const std::string& name) const { return (Path() / name).string(); }
};

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadFile(const std::string& path) { return vx::testing::ReadWholeFile(path); }

// Bytes that do not compress, the same for the same seed.
inline std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(rng());
  return s;
}

inline std::string EscapeLiteral(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

// A one-page PDF whose object 4 is a stream holding encoded (already
// filtered and, with protection, encrypted) under the filter list given.
// With protection, object 5 is the encryption dictionary.
inline std::string MinimalPdf(std::string_view filters, std::string_view encoded,
                              const std::optional<Protection>& protection = {}) {
  std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::array<size_t, 6> offsets{};
  auto object = [&](int number, const std::string& body) {
    offsets[size_t(number)] = pdf.size();
    pdf += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
  };
  object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>");
  std::string stream = "<< /Length " + std::to_string(encoded.size());
  if (!filters.empty()) stream += " /Filter [" + std::string(filters) + "]";
  stream += " >>\nstream\n" + std::string(encoded) + "\nendstream";
  object(4, stream);
  int size = 5;
  if (protection) {
    const Protection& p = *protection;
    std::string dict = "<< /Filter /Standard /O (" + EscapeLiteral(p.owner_entry) +
                       ") /U (" + EscapeLiteral(p.user_entry) + ") /P " +
                       std::to_string(p.permissions);
    dict += p.revision == 3 ? " /V 2 /R 3 /Length 128 >>" : " /V 1 /R 2 >>";
    object(5, dict);
    size = 6;
  }
  const size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(size) + "\n0000000000 65535 f \n";
  for (int i = 1; i < size; ++i) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[size_t(i)]);
    pdf += entry;
  }
  pdf += "trailer\n<< /Size " + std::to_string(size) + " /Root 1 0 R";
  if (protection) {
    const std::string id = ASCIIHexEncode(protection->document_id);
    pdf += " /Encrypt 5 0 R /ID [<" + id + "><" + id + ">]";
  }
  pdf += " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

// Object 4's data as qpdf decodes it; nullopt when qpdf fails or warns.
inline std::optional<std::string> QpdfDecode(const std::string& pdf_path,
                                             const std::string& password = "") {
  const CommandResult r = RunCommand(
      "qpdf --password=" + Quote(password) +
      " --decode-level=all --show-object=4 --filtered-stream-data " +
      Quote(pdf_path) + " 2>/dev/null");
  if (r.status != 0) return std::nullopt;
  return r.output;
}

// Object 4's data as pikepdf decodes it; nullopt when it fails.
inline std::optional<std::string> PikepdfDecode(const std::string& pdf_path,
                                                const std::string& password = "") {
  const CommandResult r = RunCommand(
      "/usr/bin/python3 -c 'import sys, pikepdf; "
      "pdf = pikepdf.open(sys.argv[1], password=sys.argv[2]); "
      "sys.stdout.buffer.write(pdf.get_object((4, 0)).read_bytes())' " +
      Quote(pdf_path) + " " + Quote(password) + " 2>/dev/null");
  if (r.status != 0) return std::nullopt;
  return r.output;
}

}  // namespace vx::pdf::oracles
