#include "freq/writer.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

#include "console/run.h"
#include "words/byte_string.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

// The totals' captions in Windows-1254 ("ş" 0xFE, "ı" 0xFD).
constexpr std::string_view kTotalWords = "Toplam kelime:";
constexpr std::string_view kDistinctWords = "Madde ba\xFE\xFD:";

/// Gathers lines in a block and hands it to the output file when it fills,
/// so that a line costs a few copies and no call into the file.
class LineWriter {
 public:
  LineWriter(OutputSet& out, int file) : out_(out), file_(file) {}
  ~LineWriter() { Flush(); }

  /// text, tab, number, CR LF.
  void Line(std::string_view text, int64_t number) {
    char digits[20];
    size_t k =
        static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
    Put(text.data(), text.size());
    Put("\t", 1);
    Put(digits, k);
    Put("\r\n", 2);
  }
  void EmptyLine() { Put("\r\n", 2); }
  void Flush() {
    if (used_ > 0) out_.Write(file_, buf_, used_);
    used_ = 0;
  }

 private:
  static constexpr size_t kSize = 1 << 16;
  void Put(const char* p, size_t n) {
    if (kSize - used_ < n) Flush();
    std::memcpy(buf_ + used_, p, n);
    used_ += n;
  }

  OutputSet& out_;
  int file_;
  size_t used_ = 0;
  char buf_[kSize];
};

}  // namespace

void WriteFrequencyList(RunState& s) {
  OutputSet out(s);
  {
    LineWriter lines(out, out.Add(s.DOSAD + "Dizin.txt"));
    BeginWritePhase(s);

    const int32_t n = s.N();
    // The run's previous record and the record at hand, still encoded; they
    // trade places at each new word. Equal records decode to equal words and
    // different records to different words (decoding is undone exactly by
    // encoding again), so the runs are found on the encoded records and each
    // word is decoded once, when its line is written, not once per record.
    ByteString records[2];
    ByteString* previous = &records[0];
    ByteString* current = &records[1];
    int32_t count = 0;     // SAYI
    int32_t distinct = 0;  // IST
    auto write_previous = [&] {
      AYAR2(*previous, kCodes20a);
      lines.Line(previous->view(), count);
      ++distinct;
    };
    for (int32_t i = 1; i <= n; ++i) {
      s.progress.Cell(i, n);
      s.B.Get(i, *current);
      if (*current == *previous) {
        ++count;
        continue;
      }
      // The first record never equals the empty start and writes nothing.
      if (count > 0) write_previous();
      count = 1;
      std::swap(previous, current);
    }
    s.progress.DrawTrack();
    if (count > 0) write_previous();
    lines.EmptyLine();
    lines.Line(kTotalWords, n);
    lines.Line(kDistinctWords, distinct);
  }
  out.CommitAll();
  FinishWritePhase(s);
}

}  // namespace kavinta
