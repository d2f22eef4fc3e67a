// Speed and memory of the PDF writer on listing-like documents: every page
// holds 60 texts and 60 rectangles, as a full page of the simplified listing
// does. Reports pages and bytes per second; the resident-memory growth shows
// whether memory follows the page count (it should not, beyond the few bytes
// per object of the cross-reference table). ProtectedListing prints what
// AES-256 protection costs next to 40-bit RC4 (aes256_over_rc4; goal at
// most 1.3).
//
//   build/bench_pdf_writer_bench --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "pdf/vbpdf.h"

namespace {

using vx::pdf::vbPDF;

// The process's peak resident memory so far.
long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void WriteListing(vbPDF& pdf, const std::string& path, int pages) {
  pdf.SetDocProperty("PDFBANC_0_S_", "", "Tarvenic Dedudor", "ALFA SRL", "Tarvenic Dedudor", "");
  pdf.SetScale(3, 1.0f);
  pdf.SetPaperSize(0, 0, 0);
  pdf.SetMargins(0, 0, 0, 0, true);
  pdf.SetViewerPreferences(768);
  pdf.BeginDoc(path);
  for (int page = 0; page < pages; ++page) {
    pdf.BeginPage();
    pdf.SetFont("Courier New", 12, 1, 0);
    pdf.DrawText(1, 1.5f, "STAMPA PAGAMENTO SU C/C - PAGINA " + std::to_string(page + 1), 1);
    pdf.SetFont("Courier New", 9, 0, 0);
    for (int row = 0; row < 59; ++row) {
      float y = 2.5f + 0.45f * static_cast<float>(row);
      pdf.SetScale(3, 1.0f);  // the program repeats it before every call
      pdf.DrawText(1.2f, y, "0010010123 ROSSI MARIO        1.234,56 IT60X0542811101000000123456",
                   1);
      pdf.SetScale(3, 1.0f);
      pdf.SetLineWidth(0);
      pdf.DrawRect(1, y - 0.35f, 19, 0.45f, 0, 0, 15);
    }
    pdf.DrawRect(1, 28, 19, 0.5f, 0, 0, 15);
  }
  pdf.EndDoc();
}

void Listing(benchmark::State& state, int compression) {
  const int pages = static_cast<int>(state.range(0));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("vx-bench-" + std::to_string(getpid()) + ".pdf"))
          .string();
  long before = PeakResidentKiB();
  int64_t bytes = 0;
  for (auto _ : state) {
    vbPDF pdf;
    pdf.SetCompression(compression, 3);
    WriteListing(pdf, path, pages);
    bytes += pdf.FileSize();
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * pages);  // pages per second
  state.SetBytesProcessed(bytes);
  state.counters["pages"] = pages;
  state.counters["file_KiB"] = static_cast<double>(bytes) / state.iterations() / 1024;
  state.counters["peak_rss_growth_KiB"] = static_cast<double>(PeakResidentKiB() - before);
}

// One LZW listing protected with 40-bit RC4 and the same with AES-256, each
// timed in every iteration; the ratio of the two is the cost of AES-256.
void ProtectedListing(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("vx-bench-" + std::to_string(getpid()) + ".pdf"))
          .string();
  using Clock = std::chrono::steady_clock;
  Clock::duration rc4{}, aes{};
  for (auto _ : state) {
    for (bool use_aes : {false, true}) {
      const auto start = Clock::now();
      vbPDF pdf;
      pdf.SetDocProperty("PDFBANC_0_S_", "", "Tarvenic Dedudor", "ALFA SRL", "Tarvenic Dedudor", "");
      pdf.SetCompression(4, 3);
      if (use_aes) {
        pdf.SetProtectionAES256("PADRONE", "APRIMI");
      } else {
        pdf.SetProtection(20, "PADRONE", "APRIMI");
      }
      WriteListing(pdf, path, pages);
      (use_aes ? aes : rc4) += Clock::now() - start;
    }
  }
  std::filesystem::remove(path);
  const double iterations = static_cast<double>(state.iterations());
  state.counters["pages"] = pages;
  state.counters["rc4_ms"] = std::chrono::duration<double, std::milli>(rc4).count() / iterations;
  state.counters["aes256_ms"] = std::chrono::duration<double, std::milli>(aes).count() / iterations;
  state.counters["aes256_over_rc4"] =
      std::chrono::duration<double>(aes).count() / std::chrono::duration<double>(rc4).count();
}

void Uncompressed(benchmark::State& state) { Listing(state, 0); }
void Lzw(benchmark::State& state) { Listing(state, 4); }

BENCHMARK(Uncompressed)->Arg(10000)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Lzw)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(ProtectedListing)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
