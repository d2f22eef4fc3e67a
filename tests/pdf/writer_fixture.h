#pragma once
// A PDF writer over files kept in memory, with a fixed clock and random
// digit, plus helpers that pick objects and streams out of the bytes it wrote.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pdf/vbpdf.h"
#include "platform/errors.h"

namespace vx::pdf::testing {

// Files in memory; Create fails with the queued error numbers first.
class MemoryFiles : public FileSystem {
 public:
  bool CanOpenForReading(const std::string& path) override { return files.count(path) > 0; }
  void Remove(const std::string& path) override { files.erase(path); }
  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    ++create_calls;
    if (!create_failures.empty()) {
      int number = create_failures.front();
      create_failures.pop_front();
      throw platform::MakeRuntimeError(number);
    }
    files[path].clear();
    return std::make_unique<File>(files[path]);
  }

  std::map<std::string, std::string> files;
  std::deque<int> create_failures;
  int create_calls = 0;

 private:
  class File : public OutputFile {
   public:
    explicit File(std::string& bytes) : bytes_(bytes) {}
    void Write(std::string_view bytes) override { bytes_.append(bytes); }
    void WriteAt(int64_t offset, std::string_view bytes) override {
      bytes_.replace(static_cast<size_t>(offset), bytes.size(), bytes);
    }
    void Close() override {}

   private:
    std::string& bytes_;
  };
};

inline LocalDateTime FixedNow() { return {2026, 12, 5, 10, 20, 30}; }

inline WriterServices FixedServices(FileSystem& files) {
  return {.now = FixedNow, .random_digit = [] { return 7; }, .files = &files, .boxes = nullptr};
}

// The text of object `number`, from its "N 0 obj" line to "endobj".
inline std::string ObjectText(const std::string& pdf, int number) {
  std::string head = "\n" + std::to_string(number) + " 0 obj\n";
  size_t start = pdf.find(head);
  if (start == std::string::npos) return "";
  start += head.size();
  return pdf.substr(start, pdf.find("endobj\n", start) - start);
}

// The bytes between "stream" LF and LF "endstream" of object `number`.
inline std::string StreamData(const std::string& pdf, int number) {
  std::string object = ObjectText(pdf, number);
  size_t start = object.find(">>\rstream\n");
  if (start == std::string::npos) return "";
  start += 10;
  return object.substr(start, object.rfind("\nendstream") - start);
}

// The content stream of every page, in page order (unencoded documents).
inline std::vector<std::string> PageContents(const std::string& pdf) {
  std::vector<std::string> pages;
  for (size_t at = pdf.find("/Contents "); at != std::string::npos;
       at = pdf.find("/Contents ", at + 1)) {
    pages.push_back(StreamData(pdf, std::stoi(pdf.substr(at + 10))));
  }
  return pages;
}

}  // namespace vx::pdf::testing
