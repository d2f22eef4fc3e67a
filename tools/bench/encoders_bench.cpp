// Speed and size of the stream encoders beside reference implementations on
// the same inputs: our LZW beside ncompress's compress, our Flate at each
// quality beside zlib at the matching level. tools/bench-encoders runs this
// and prints the ratios.
//
// Every timing is CPU time (ours: this thread; compress: the child process),
// so that other work on the machine does not skew the comparison.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "pdf/encoders.h"

extern char** environ;

namespace {

// Page content as the listing writes it: text placed with operators,
// names and amounts that vary, frames drawn around the cards.
std::string PageContent(size_t n) {
  std::mt19937 rng(1);
  const char* names[] = {"ROSSI MARIO",      "BIANCHI LUCA",    "VERDI ANNA",
                         "ESPOSITO GIUSEPPE", "RUSSO FRANCESCA", "COLOMBO PAOLO"};
  std::string s;
  for (int i = 0; s.size() < n; ++i) {
    s += "BT /F1 10 Tf 1 0 0 1 " + std::to_string(28 + rng() % 500) + "." +
         std::to_string(rng() % 100) + " " + std::to_string(rng() % 800) + ".5 Tm (" +
         names[rng() % 6] + " " + std::to_string(rng() % 100000) + "," +
         std::to_string(rng() % 100) + ") Tj ET\r";
    if (i % 7 == 0) {
      s += "0.5 w " + std::to_string(rng() % 500) + " " + std::to_string(rng() % 800) +
           " 510.2 14.17 re S\r";
    }
  }
  s.resize(n);
  return s;
}

// Words of skewed frequency: many short repeats, long hash chains.
std::string Prose(size_t n) {
  std::mt19937 rng(2);
  std::geometric_distribution<int> pick(0.02);
  std::string s;
  while (s.size() < n) s += "w" + std::to_string(pick(rng)) + (rng() % 12 == 0 ? "\r\n" : " ");
  s.resize(n);
  return s;
}

std::string Random(size_t n) {
  std::mt19937 rng(3);
  std::string s(n, '\0');
  for (char& c : s) c = char(rng());
  return s;
}

std::string Repetitive(size_t n) {
  std::string s;
  while (s.size() < n) s += "0 0 0 RG 0.5 w 56.69 56.69 481.89 728.5 re S\r";
  s.resize(n);
  return s;
}

const std::string& Input(int which) {
  static const std::string inputs[] = {PageContent(8 << 20), Prose(8 << 20),
                                       Random(4 << 20), Repetitive(8 << 20)};
  return inputs[which];
}
const char* kInputNames[] = {"page", "prose", "random", "repetitive"};

double ThreadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

template <typename Encode>
void Measure(benchmark::State& state, int which, Encode encode) {
  const std::string& input = Input(which);
  size_t out_size = 0;
  for (auto _ : state) {
    const double start = ThreadSeconds();
    std::string out = encode(input);
    state.SetIterationTime(ThreadSeconds() - start);
    out_size = out.size();
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size()));
  state.counters["out_bytes"] = double(out_size);
  state.SetLabel(kInputNames[which]);
}

void BM_OurLZW(benchmark::State& state) {
  const int quality = int(state.range(1));
  Measure(state, int(state.range(0)),
          [&](const std::string& in) { return vx::pdf::LZWEncode(in, quality); });
}

void BM_OurFlate(benchmark::State& state) {
  const int quality = int(state.range(1));
  Measure(state, int(state.range(0)),
          [&](const std::string& in) { return vx::pdf::FlateEncode(in, quality); });
}

void BM_Zlib(benchmark::State& state) {
  const int level = int(state.range(1)) + 4;
  Measure(state, int(state.range(0)), [&](const std::string& in) {
    std::string out(compressBound(in.size()), '\0');
    uLongf size = out.size();
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(in.data()), in.size(), level);
    out.resize(size);
    return out;
  });
}

// compress reads the input from a file and writes to a file; its CPU time is
// taken from the kernel's accounting of the child process.
void BM_Compress(benchmark::State& state) {
  const int which = int(state.range(0));
  const int bits = int(state.range(1));
  static std::map<int, std::string> files;
  const auto folder = std::filesystem::temp_directory_path();
  if (!files.count(which)) {
    files[which] = (folder / ("vx-bench-" + std::string(kInputNames[which]))).string();
    std::ofstream(files[which], std::ios::binary) << Input(which);
  }
  const std::string output = (folder / "vx-bench-out.Z").string();
  const std::string bits_arg = std::to_string(bits);
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const char* argv[] = {"compress", "-c", "-b", bits_arg.c_str(),
                          files[which].c_str(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "compress", &actions, nullptr, const_cast<char**>(argv),
                     environ) != 0) {
      state.SkipWithError("compress (ncompress) is not installed");
      break;
    }
    int status;
    rusage usage;
    wait4(pid, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    state.SetIterationTime(double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Input(which).size()));
  state.counters["out_bytes"] = double(std::filesystem::file_size(output));
  state.SetLabel(kInputNames[which]);
  std::filesystem::remove(output);
}

void AllInputs(benchmark::internal::Benchmark* b, std::initializer_list<int64_t> seconds) {
  for (int which = 0; which < 4; ++which) {
    for (int64_t s : seconds) b->Args({which, s});
  }
  b->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.3);
}

}  // namespace

// LZW at the quality the listing uses (12-bit codes); compress with 12-bit
// and with its default 16-bit codes.
BENCHMARK(BM_OurLZW)->Apply([](auto* b) { AllInputs(b, {3}); });
BENCHMARK(BM_Compress)->Apply([](auto* b) { AllInputs(b, {12, 16}); });
BENCHMARK(BM_OurFlate)->Apply([](auto* b) { AllInputs(b, {0, 1, 2, 3}); });
BENCHMARK(BM_Zlib)->Apply([](auto* b) { AllInputs(b, {0, 1, 2, 3}); });
