// Writes a synthetic transcription for either program (see corpus.h).
//
//   corpus_gen [--edition 23|20a] [--words N] [--seed S] [--out PATH]
//
// Without --out the text goes to standard output.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/corpus.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: corpus_gen [--edition 23|20a] [--words N] [--seed S] [--out PATH]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  kavinta::bench::CorpusOptions options;
  const char* out_path = nullptr;
  for (int k = 1; k < argc; ++k) {
    std::string arg = argv[k];
    if (k + 1 >= argc) return Usage();
    const char* value = argv[++k];
    if (arg == "--edition") {
      if (std::strcmp(value, "23") == 0) {
        options.edition = kavinta::bench::Edition::kIndex23;
      } else if (std::strcmp(value, "20a") == 0) {
        options.edition = kavinta::bench::Edition::kFrequency20a;
      } else {
        return Usage();
      }
    } else if (arg == "--words") {
      options.words = std::strtoll(value, nullptr, 10);
      if (options.words < 0) return Usage();
    } else if (arg == "--seed") {
      options.seed = std::strtoull(value, nullptr, 10);
    } else if (arg == "--out") {
      out_path = value;
    } else {
      return Usage();
    }
  }

  std::string text = kavinta::bench::GenerateCorpus(options);
  FILE* f = out_path != nullptr ? std::fopen(out_path, "wb") : stdout;
  if (f == nullptr) {
    std::perror(out_path);
    return 1;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (f == stdout ? std::fflush(f) : std::fclose(f)) == 0 && ok;
  if (!ok) {
    std::perror(out_path != nullptr ? out_path : "stdout");
    return 1;
  }
  return 0;
}
