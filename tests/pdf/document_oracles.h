#pragma once
// Whole documents from the writer, and what real readers make of them: the
// decoded bytes of every stream as pikepdf and as qpdf see them.

#include <map>
#include <string>
#include <vector>

#include "pdf/vbpdf.h"
#include "pdf_oracles.h"
#include "writer_fixture.h"

namespace vx::pdf::oracles {

// A listing-like document: pages of text lines and frames, enough text per
// page for LZW to fill its table several times over.
inline void WriteListing(vbPDF& pdf, const std::string& path, int pages = 2,
                         int rows = 400) {
  pdf.SetScale(3, 1.0f);
  pdf.SetPaperSize(0, 0, 0);
  pdf.SetMargins(0, 0, 0, 0, true);
  pdf.SetViewerPreferences(768);
  pdf.BeginDoc(path);
  for (int page = 1; page <= pages; ++page) {
    pdf.BeginPage();
    pdf.SetFont("Courier New", 12, 1, 0);
    pdf.DrawText(1, 1.5f, "STAMPA PAGAMENTO SU C/C PAGINA " + std::to_string(page), 1);
    pdf.SetFont("Courier New", 6, 0, 0);
    for (int row = 0; row < rows; ++row) {
      const float y = 2 + 0.065f * float(row);
      pdf.DrawText(1.2f, y,
                   "00100" + std::to_string(10000 + row * 7 + page) + " ROSSI (MARIO) \\ " +
                       std::to_string(row * 37 % 1000) + ",00 \xE0\xE8\xA9",
                   1);
      pdf.SetLineWidth(0);
      pdf.DrawRect(1, y - 0.05f, 19, 0.06f, 0, 0, 15);
    }
  }
  pdf.EndDoc();
}

// Decoded stream bytes, one entry per stream object, sorted so that two
// documents can be compared even when their objects are numbered apart.
// tool is "pikepdf" or "qpdf"; an empty result means the reader failed.
inline std::vector<std::string> DecodedStreams(const std::string& path, const std::string& tool,
                                               const std::string& password = "") {
  static const char* kScript = R"PY(
import base64, json, subprocess, sys
path, tool, password = sys.argv[1:4]
streams = []
if tool == "pikepdf":
    import pikepdf
    pdf = pikepdf.open(path, password=password)
    streams = [o.read_bytes(pikepdf.StreamDecodeLevel.all) for o in pdf.objects
               if isinstance(o, pikepdf.Stream)]
else:
    out = subprocess.run(["qpdf", "--json=2", "--json-stream-data=inline",
                          "--decode-level=all", "--password=" + password, path],
                         check=True, capture_output=True).stdout
    objects = json.loads(out)["qpdf"][1]
    for key, value in objects.items():
        if key.startswith("obj:") and "stream" in value:
            streams.append(base64.b64decode(value["stream"]["data"]))
for s in streams:
    sys.stdout.write(s.hex() + "\n")
)PY";
  const CommandResult r = RunCommand("/usr/bin/python3 -c " + Quote(kScript) + " " +
                                     Quote(path) + " " + tool + " " + Quote(password) +
                                     " 2>/dev/null");
  std::vector<std::string> streams;
  if (r.status != 0) return streams;
  size_t start = 0;
  while (start < r.output.size()) {
    const size_t end = r.output.find('\n', start);
    std::string bytes;
    for (size_t i = start; i + 1 < end; i += 2) {
      bytes += char(std::stoi(r.output.substr(i, 2), nullptr, 16));
    }
    streams.push_back(bytes);
    start = end + 1;
  }
  std::sort(streams.begin(), streams.end());
  return streams;
}

// Compares stream lists without printing megabytes when they differ.
inline ::testing::AssertionResult SameStreams(const std::vector<std::string>& actual,
                                              const std::vector<std::string>& expected) {
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure()
           << actual.size() << " streams decoded, " << expected.size() << " expected";
  }
  for (size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected[i]) {
      return ::testing::AssertionFailure()
             << "stream " << i << " differs: " << actual[i].size() << " bytes, "
             << expected[i].size() << " expected";
    }
  }
  return ::testing::AssertionSuccess();
}

// Opens a protected file with pikepdf: "refused", or which password matched
// ("owner" or "user"), R, key bits, P and the title read back through the
// encrypted Info dictionary.
inline std::string PikepdfOpens(const std::string& path, const std::string& password) {
  return RunCommand("/usr/bin/python3 -c 'import sys, pikepdf\n"
                    "try:\n"
                    "  p = pikepdf.open(sys.argv[1], password=sys.argv[2])\n"
                    "  e = p.encryption\n"
                    "  print(\"owner\" if p.owner_password_matched else \"user\", e.R, e.bits,"
                    " e.P, str(p.docinfo.Title))\n"
                    "except pikepdf.PasswordError:\n"
                    "  print(\"refused\")' " +
                    Quote(path) + " " + Quote(password) + " 2>&1")
      .output;
}

// The text poppler extracts, page by page.
inline std::string PopplerText(const std::string& path, const std::string& options = "") {
  return RunCommand("pdftotext " + options + " " + Quote(path) + " - 2>&1").output;
}

// qpdf --check's verdict, with any warnings.
inline std::string QpdfCheck(const std::string& path, const std::string& password = "") {
  return RunCommand("qpdf --check --password=" + Quote(password) + " " + Quote(path) + " 2>&1")
      .output;
}

inline bool CleanForQpdf(const std::string& check) {
  return check.find("No syntax or stream encoding errors found") != std::string::npos &&
         check.find("WARNING") == std::string::npos;
}

}  // namespace vx::pdf::oracles
