#include "index/writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "console/run.h"
#include "words/byte_string.h"
#include "words/record_list.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

// The fixed texts of the files, Windows-1254.
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kAlphabet =
    "S\xFDra: a b c \xE7 d D e \xE9 f g \xF0 h \xFD i j k l m n \xF1 N o \xF6 p q r s \xFE t u "
    "\xFC v w x y z";
static_assert(kAlphabet.size() == 77);
constexpr std::string_view kTotalWords = "Toplam kelime:\t";
constexpr std::string_view kValidWords =
    "Ge\xE7"
    "erli kelime:\t";
constexpr std::string_view kInvalidWords =
    "Ge\xE7"
    "ersiz kelime:\t";
constexpr std::string_view kSubEntries = "Alt madde:\t";
constexpr std::string_view kHeads = "Madde ba\xFE\xFD:\t";

/// A file name is a byte string: cut at 255 bytes.
std::string FileName(std::string name) {
  if (name.size() > static_cast<size_t>(ByteString::kMax)) name.resize(ByteString::kMax);
  return name;
}

/// The bytes of one file of the set, gathered into large writes.
class FileBuffer {
 public:
  FileBuffer(OutputSet& set, int file) : set_(set), file_(file), bytes_(new char[kSize]) {}

  void Put(const void* p, size_t n) {
    if (n > kSize - used_) {
      Flush();
      if (n > kSize) {
        set_.Write(file_, p, n);
        return;
      }
    }
    std::memcpy(bytes_.get() + used_, p, n);
    used_ += n;
  }
  void Put(std::string_view s) { Put(s.data(), s.size()); }
  void Put(const uint8_t* p, int n) { Put(static_cast<const void*>(p), static_cast<size_t>(n)); }
  void Put(const ByteString& s) { Put(s.data(), s.size()); }
  void Put(char c) {
    if (used_ == kSize) Flush();
    bytes_[used_++] = c;
  }
  void Number(int32_t v) {
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    Put(digits, static_cast<size_t>(end - digits));
  }
  void LineEnd() { Put(kCrLf); }
  void Flush() {
    if (used_ > 0) set_.Write(file_, bytes_.get(), used_);
    used_ = 0;
  }

 private:
  static constexpr size_t kSize = 64 * 1024;
  OutputSet& set_;
  int file_;
  std::unique_ptr<char[]> bytes_;
  size_t used_ = 0;
};

/// The writer's state over one pass, and the handling of one record.
class IndexWriter {
 public:
  IndexWriter(OutputSet& set, int index, int problems, int counts, bool with_counts)
      : index_(set, index),
        problems_(set, problems),
        counts_(set, counts),
        with_counts_(with_counts) {}

  void Header() {
    index_.Put("Dizin");
    index_.LineEnd();
    index_.LineEnd();
    index_.Put(kAlphabet);
    index_.LineEnd();
    index_.LineEnd();
  }

  /// One record as stored (encoded); it is decoded in its buffer.
  void Record(uint8_t* rec, int n);

  /// The closing lines of the three files, for `total` records in all.
  void Finish(int32_t total);

  int32_t invalid() const { return pt_; }

 private:
  void CountLine(int32_t count) {
    index_.Put("\t[=");
    index_.Number(count);
    index_.Put(']');
    index_.LineEnd();
  }
  void HeadCount() {
    counts_.Put(k_);
    counts_.Put('\t');
    counts_.Number(sayi_);
    counts_.LineEnd();
  }
  /// A decoded record, step by step.
  void Decoded(const uint8_t* rec, int n);

  /// Begins a sub-entry line and leaves it open for further locations.
  void BeginSubEntry(const uint8_t* head, int head_len, char mark, const uint8_t* suffix,
                     int suffix_len, const uint8_t* loc, int loc_len) {
    index_.Put('\t');
    if (head_len > 0) index_.Put(static_cast<char>(head[0]));
    index_.Put('.');
    if (mark != 0) index_.Put(mark);
    index_.Put(suffix, suffix_len);
    index_.Put(' ');
    index_.Put(loc, loc_len);
  }

  FileBuffer index_, problems_, counts_;
  const bool with_counts_;  // SAYIM = 1
  // K, the current head; it is also ESKIMADDE, the head whose count the
  // head-count file receives, which always holds the same value.
  ByteString k_;
  ByteString r_;      // the suffix of the open sub-entry line
  int32_t sayi_ = 0;  // records of the current head
  int32_t pt_ = 0;    // invalid records
  int32_t ist1_ = 0;  // sub-entry lines
  int32_t ist2_ = 0;  // head lines

  // The encoded word of the record before (when it had a space), whether it
  // was valid, and its decoded form when it was not.
  ByteString word_;
  bool word_known_ = false;
  bool word_valid_ = false;
  ByteString invalid_word_;
};

bool Equal(const uint8_t* p, int n, const ByteString& s) {
  return n == s.size() && std::memcmp(p, s.data(), static_cast<size_t>(n)) == 0;
}

/// Every code of the index edition holds a "y" or a "z".
bool MayHoldCode(const uint8_t* p, int n) {
  for (int i = 0; i < n; ++i) {
    if (p[i] == 'y' || p[i] == 'z') return true;
  }
  return false;
}

void IndexWriter::Record(uint8_t* rec, int n) {
  uint8_t* const end = rec + n;
  uint8_t* const space = std::find(rec, end, ' ');
  const int w = static_cast<int>(space - rec);
  if (space != end && word_known_ && Equal(rec, w, word_)) {
    // The word of the record before, as the sort brings most records: equal
    // encoded words decode to the same head and suffix, which the record
    // before left in K and R (or which were invalid): only the location is
    // new.
    uint8_t* c = space + 1;
    int c_len = static_cast<int>(end - c);
    if (MayHoldCode(c, c_len)) c_len = Decode(c, c_len, kCodes23);
    if (!word_valid_) {
      ++pt_;
      problems_.Put(invalid_word_);
      problems_.Put(' ');
      problems_.Put(c, c_len);
      problems_.LineEnd();
      return;
    }
    while (c_len > 1 && *c == '0') ++c, --c_len;
    index_.Put(", ");
    index_.Put(c, c_len);
    ++sayi_;
    return;
  }
  word_known_ = space != end;
  if (word_known_) word_.assign(rec, w);
  if (MayHoldCode(rec, n)) n = Decode(rec, n, kCodes23);
  Decoded(rec, n);
}

void IndexWriter::Decoded(const uint8_t* rec, int n) {
  // Word A and location C, split at the first space. Without a space the
  // word is empty and the whole record is the location.
  const uint8_t* const end = rec + n;
  const uint8_t* const space = std::find(rec, end, ' ');
  const uint8_t* const a = rec;
  const uint8_t* word_end = space == end ? rec : space;
  const uint8_t* c = space == end ? rec : space + 1;
  // AYAR3: the location's leading zeros go, but not its last byte.
  while (end - c > 1 && *c == '0') ++c;
  const int c_len = static_cast<int>(end - c);

  const uint8_t* const dot = std::find(a, word_end, '.');
  const uint8_t* const dash = std::find(a, word_end, '-');
  const bool has_dot = dot != word_end, has_dash = dash != word_end;
  if ((has_dot && has_dash) || (a != word_end && (*a == '.' || *a == '-'))) {
    // Invalid: listed as stored, leading zeros and all.
    word_valid_ = false;
    invalid_word_.assign(a, static_cast<int>(word_end - a));
    ++pt_;
    problems_.Put(rec, n);
    problems_.LineEnd();
    return;
  }

  word_valid_ = true;

  // Head and suffix: the "." belongs to neither part, the "-" stays with the
  // head. Further signs stay in the suffix.
  const uint8_t* d = word_end;
  const uint8_t* const d_end = word_end;
  if (has_dot) {
    d = dot + 1;
    word_end = dot;
  } else if (has_dash) {
    d = dash + 1;
    word_end = dash + 1;
  }
  const int a_len = static_cast<int>(word_end - a);
  const int d_len = static_cast<int>(d_end - d);
  const char mark = d_len == 0 ? 0 : has_dot ? '+' : '-';  // BAS

  const bool same_head = Equal(a, a_len, k_);
  if (same_head && Equal(d, d_len, r_)) {
    // Same head, same suffix: one more location on the open line.
    index_.Put(", ");
    index_.Put(c, c_len);
    ++sayi_;
    return;
  }
  if (same_head) {
    index_.LineEnd();
    BeginSubEntry(a, a_len, mark, d, d_len, c, c_len);
    r_.assign(d, d_len);
    ++ist1_;
    ++sayi_;
    return;
  }
  // A new head.
  if (sayi_ > 0) HeadCount();
  if (with_counts_) {
    if (sayi_ > 0) {
      index_.LineEnd();
      CountLine(sayi_);
    }
  } else {
    index_.LineEnd();
  }
  index_.Put(a, a_len);
  index_.LineEnd();
  BeginSubEntry(a, a_len, mark, d, d_len, c, c_len);
  sayi_ = 1;
  k_.assign(a, a_len);
  r_.assign(d, d_len);
  ++ist1_;
  ++ist2_;
}

void IndexWriter::Finish(int32_t total) {
  if (with_counts_) {
    index_.LineEnd();
    CountLine(sayi_);
  }
  index_.LineEnd();
  index_.LineEnd();
  const std::pair<std::string_view, int32_t> totals[] = {
      {kTotalWords, total}, {kValidWords, total - pt_}, {kInvalidWords, pt_}, {kSubEntries, ist1_},
      {kHeads, ist2_},
  };
  for (const auto& [label, number] : totals) {
    index_.Put(label);
    index_.Number(number);
    index_.LineEnd();
  }
  problems_.LineEnd();
  problems_.Put(kInvalidWords);
  problems_.Number(pt_);
  problems_.LineEnd();
  // The last head's count, also when there is none (an empty head and 0).
  HeadCount();
  index_.Flush();
  problems_.Flush();
  counts_.Flush();
}

}  // namespace

void WriteIndex(RunState& s) {
  OutputSet set(s);
  const int index = set.Add(s.DOSAD + "Dizin.txt");
  const std::string problem_name = FileName(s.DOSAD + "Sorun.txt");
  const int problems = set.Add(problem_name);
  const std::string counts_name = "MBS.txt";
  const int counts = set.Add(counts_name);
  // The head-count file has a fixed name in the current folder: when that is
  // the input itself, it is left alone.
  const bool counts_is_input = s.fs.SameFile(FileName(s.DOSAD + ".txt"), counts_name);
  if (counts_is_input) set.Drop(counts);

  auto writer = std::make_unique<IndexWriter>(set, index, problems, counts, s.SAYIM == 1);
  writer->Header();
  BeginWritePhase(s);

  const int32_t n = s.N();
  // Records are fetched a batch at a time: after the sort, neighbours in the
  // list lie far apart in memory, and fetching several in a row lets their
  // reads overlap.
  constexpr int kBatch = 64;
  struct Batch {
    uint8_t bytes[kBatch][RecordList::kMaxRecord];
    int len[kBatch];
  };
  auto batch = std::make_unique<Batch>();
  // A progress cell at the offset already drawn changes nothing, so the
  // cell is drawn only for the records where the offset moves on.
  int64_t next_cell = 1;
  for (int32_t first = 1; first <= n; first += kBatch) {
    const int count = static_cast<int>(std::min<int32_t>(kBatch, n - first + 1));
    for (int k = 0; k < count; ++k) batch->len[k] = s.B.Get(first + k, batch->bytes[k]);
    for (int k = 0; k < count; ++k) {
      const int32_t i = first + k;
      if (i >= next_cell) {
        s.progress.Cell(i, n);
        int m = Progress::Offset(i, n);
        next_cell = m >= Progress::kCells - 1 ? std::numeric_limits<int64_t>::max()
                                              : ((int64_t{m} + 1) * n + 49) / 50;
      }
      writer->Record(batch->bytes[k], batch->len[k]);
    }
  }
  s.progress.DrawTrack();
  writer->Finish(n);

  const bool no_problems = writer->invalid() == 0;
  if (no_problems) set.Drop(problems);
  if (set.CommitAll()) {
    // A problem file of an earlier run goes too; after a failure every
    // earlier file stays as it was.
    if (no_problems && !s.fs.Remove(problem_name)) {
      s.notes.push_back(Cp("Eski sorun dosyası silinemedi: ") + problem_name);
    }
    if (counts_is_input) s.notes.push_back(Cp("MBS.txt giriş dosyası olduğu için yazılmadı."));
  }
  FinishWritePhase(s);
}

}  // namespace kavinta
