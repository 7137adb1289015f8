// Whole runs of kavinta23 on arbitrary input bytes, once with each count
// answer, on the in-memory console and file system: the reader, the sort and
// the index writer. Beyond "no crash", every run must keep these properties:
//   - the reading matches a plain rendering of the reading rules: the same
//     records and the same MEVCUT;
//   - records are never empty, at most 120 bytes, hold only sort-key bytes
//     and at most one space, and stand in ascending byte order;
//   - the index's totals agree with its lines: Toplam = Geçerli + Geçersiz,
//     the sub-entry and head lines counted are "Alt madde:" and "Madde
//     başı:", the locations listed are the valid records, the count lines and
//     the head-count file add up to the valid records, the heads of the
//     head-count file are those of the index; and the totals match a plain
//     recount over the sorted records;
//   - the problem file lists the invalid records and exists only with some;
//   - the three files are byte for byte what the writer's steps, followed one
//     by one, give for those records;
//   - both answers give the same totals, head counts and problem file, and the
//     same index once the count lines and empty lines are set aside;
//   - the final screen says "İşlem bitti.", and has the capacity line exactly
//     when a word of the input was not taken; the run returns 0.
// The record list holds 1000 records, so the capacity path is taken too.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/memory_console.h"
#include "console/run.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/memory_fs.h"
#include "fuzz/reference.h"
#include "index/kavinta23.h"
#include "words/sort_key.h"

namespace kavinta {
namespace {

constexpr int32_t kCapacity = 1000;

// The fixed texts of the files (Windows-1254).
constexpr std::string_view kAlphabetLine =
    "S\xFDra: a b c \xE7 d D e \xE9 f g \xF0 h \xFD i j k l m n \xF1 N o \xF6 p q r s \xFE t u "
    "\xFC v w x y z";
constexpr std::string_view kTotalWords = "Toplam kelime:";
constexpr std::string_view kValidWords =
    "Ge\xE7"
    "erli kelime:";
constexpr std::string_view kInvalidWords =
    "Ge\xE7"
    "ersiz kelime:";
constexpr std::string_view kSubEntries = "Alt madde:";
constexpr std::string_view kHeads = "Madde ba\xFE\xFD:";

struct Run {
  MemoryFileSystem fs;
  MemoryConsole console;
  std::unique_ptr<RunState> state;
  int status = -1;
};

std::unique_ptr<Run> RunIndex(std::string_view input, char answer) {
  auto run = std::make_unique<Run>();
  run->fs.files["x.txt"] = std::string(input);
  // Reads of varying size put line ends (and CR LF pairs) across blocks.
  run->fs.read_chunk = 1 + input.size() % 61;
  run->console.Type(std::string("x\r") + answer + "q");
  run->state = std::make_unique<RunState>(run->console, run->fs, kCapacity);
  run->status = RunProgram(kIndexEdition, *run->state);
  return run;
}

/// A byte an encoded word or location of the index edition may hold.
bool SortKeyByte(char c) {
  return c == '(' || c == ')' || c == '.' || c == '/' || (c >= '0' && c <= '9') || c == '@' ||
         (c >= 'a' && c <= 'z');
}

/// The word of a decoded record: the bytes before its first space (none
/// when it has no space).
std::string WordOf(const std::string& rec) {
  size_t sp = rec.find(' ');
  return sp == std::string::npos ? std::string() : rec.substr(0, sp);
}

bool Invalid(const std::string& word) {
  bool both = word.find('.') != std::string::npos && word.find('-') != std::string::npos;
  return both || (!word.empty() && (word[0] == '.' || word[0] == '-'));
}

struct Totals {
  int64_t total = 0, valid = 0, invalid = 0, sub_entries = 0, heads = 0;
  bool operator==(const Totals&) const = default;
};

/// The totals recounted from the sorted, decoded records: a record whose head
/// or suffix differs from the one before it opens a sub-entry line, one whose
/// head differs opens a head line.
Totals Recount(const std::vector<std::string>& records) {
  Totals t;
  std::string head, suffix;
  for (const std::string& rec : records) {
    ++t.total;
    std::string a = WordOf(rec), d;
    if (Invalid(a)) {
      ++t.invalid;
      continue;
    }
    ++t.valid;
    if (size_t dot = a.find('.'); dot != std::string::npos) {
      d = a.substr(dot + 1), a.resize(dot);
    } else if (size_t dash = a.find('-'); dash != std::string::npos) {
      d = a.substr(dash + 1), a.resize(dash + 1);
    }
    if (a != head) {
      ++t.heads, ++t.sub_entries;
    } else if (d != suffix) {
      ++t.sub_entries;
    }
    head = a, suffix = d;
  }
  return t;
}

struct Outcome {
  Totals totals;
  std::vector<std::string> index_lines;  // without count lines and empty lines
  std::string counts_file, problem_file;
};

Outcome CheckRun(const Run& run, bool with_counts, std::string_view input) {
  const RunState& s = *run.state;
  const MemoryConsole& con = run.console;
  Outcome out;
  FUZZ_CHECK(run.status == 0);
  FUZZ_CHECK(!s.aborted);
  FUZZ_CHECK(s.failure.empty());
  FUZZ_CHECK(s.MEVCUT >= 0 && s.MEVCUT <= static_cast<int64_t>(input.size()) + 1);

  const int32_t n = s.N();
  FUZZ_CHECK(n >= 0 && n <= kCapacity);
  FUZZ_CHECK(!s.capacity_reached || n == kCapacity);
  reference::Reading ref = reference::ReadIndex(input, kCapacity);
  std::sort(ref.records.begin(), ref.records.end());
  const std::vector<std::string>& ref_sorted = ref.records;
  FUZZ_CHECK(static_cast<int32_t>(ref.records.size()) == n);
  FUZZ_CHECK(s.MEVCUT == ref.mevcut);
  FUZZ_CHECK(s.capacity_reached == ref.dropped);
  std::vector<std::string> decoded;
  std::string previous;
  for (int32_t i = 1; i <= n; ++i) {
    std::string rec = s.B.ToString(i);
    FUZZ_CHECK(!rec.empty() && rec.size() <= 120);
    FUZZ_CHECK(rec[0] != ' ');
    FUZZ_CHECK(Occurrences(rec, " ") <= 1);
    for (char c : rec) FUZZ_CHECK(c == ' ' || SortKeyByte(c));
    FUZZ_CHECK(i == 1 || previous <= rec);  // char_traits<char> compares bytes unsigned
    FUZZ_CHECK(rec == ref.records[static_cast<size_t>(i - 1)]);
    previous = rec;
    ByteString b(rec);
    AYAR2(b, kCodes23);
    decoded.push_back(b.str());
  }

  const std::string index_name = "xDizin.txt", problem_name = "xSorun.txt";
  if (n == 0) {
    FUZZ_CHECK(s.HATA == kNoRecords);
    FUZZ_CHECK(run.fs.files.size() == 1);  // the input alone
    FUZZ_CHECK(con.Text(12) == std::string(24, ' ') + "İşleme devam edilemiyor.");
    return out;
  }
  FUZZ_CHECK(s.HATA == kGoOn);
  FUZZ_CHECK(con.Text(17) == std::string(24, ' ') + "İşlem bitti.");
  FUZZ_CHECK(con.Text(21) == std::string(24, ' ') + "Çıkmak için her hangi bir tuşa basınız.");
  FUZZ_CHECK(s.capacity_reached == (con.Text(18).find("1000 kelime") != std::string::npos));

  // The index: header, body, five totals.
  auto found = run.fs.files.find(index_name);
  FUZZ_CHECK(found != run.fs.files.end());
  std::vector<std::string> lines = CrLfLines(found->second);
  FUZZ_CHECK(lines.size() >= 4 + 2 + 5);
  FUZZ_CHECK(lines[0] == "Dizin" && lines[1].empty() && lines[2] == kAlphabetLine &&
             lines[3].empty());
  const size_t totals_at = lines.size() - 5;
  Totals& t = out.totals;
  t.total = Total(lines[totals_at], kTotalWords);
  t.valid = Total(lines[totals_at + 1], kValidWords);
  t.invalid = Total(lines[totals_at + 2], kInvalidWords);
  t.sub_entries = Total(lines[totals_at + 3], kSubEntries);
  t.heads = Total(lines[totals_at + 4], kHeads);
  FUZZ_CHECK(t.total == n);
  FUZZ_CHECK(t.total == t.valid + t.invalid);
  FUZZ_CHECK(t == Recount(decoded));

  const std::vector<std::string> body(lines.begin() + 4, lines.begin() + totals_at);
  auto is_count = [](const std::string& l) { return StartsWith(l, "\t[="); };
  auto is_sub = [&](const std::string& l) { return StartsWith(l, "\t") && !is_count(l); };
  // The empty lines around the body, for each answer.
  if (with_counts) {
    FUZZ_CHECK(body.size() >= 3 && body[body.size() - 1].empty() && body[body.size() - 2].empty());
    FUZZ_CHECK(is_count(body[body.size() - 3]));
  } else {
    FUZZ_CHECK(body.size() >= 2 && body.back().empty());
    FUZZ_CHECK(body.front().empty() || StartsWith(body.front(), ", "));
  }
  int64_t sub_lines = 0, locations = 0, count_sum = 0;
  std::vector<std::string> heads;
  std::vector<int64_t> counts;
  for (size_t i = 0; i < body.size(); ++i) {
    const std::string& l = body[i];
    if (is_count(l)) {
      FUZZ_CHECK(with_counts && l.back() == ']');
      counts.push_back(PlainNumber(std::string_view(l).substr(3, l.size() - 4)));
      count_sum += counts.back();
      continue;
    }
    locations += static_cast<int64_t>(Occurrences(l, ", "));
    if (is_sub(l)) {
      ++sub_lines;
      ++locations;
    } else if (i + 1 < body.size() && is_sub(body[i + 1])) {
      // A head line: its sub-entry lines begin with its first byte and ".".
      heads.push_back(l);
      FUZZ_CHECK(StartsWith(body[i + 1], "\t" + l.substr(0, 1) + "."));
    }
    if (!l.empty()) out.index_lines.push_back(l);
  }
  FUZZ_CHECK(sub_lines == t.sub_entries);
  FUZZ_CHECK(static_cast<int64_t>(heads.size()) == t.heads);
  FUZZ_CHECK(locations == t.valid);
  if (with_counts) FUZZ_CHECK(count_sum == t.valid);

  // The head-count file: the heads of the index with their records. A valid
  // record without a space, first in the list, counts under an empty head
  // that has no head line.
  found = run.fs.files.find("MBS.txt");
  FUZZ_CHECK(found != run.fs.files.end());
  out.counts_file = found->second;
  std::vector<std::string> mbs = CrLfLines(found->second);
  int64_t mbs_sum = 0;
  std::vector<std::string> mbs_heads;
  for (const std::string& l : mbs) {
    mbs_sum += NumberAfterTab(l);
    mbs_heads.push_back(l.substr(0, l.rfind('\t')));
  }
  FUZZ_CHECK(mbs_sum == t.valid);
  if (t.valid == 0) {
    FUZZ_CHECK(mbs.size() == 1 && mbs[0] == "\t0");
  } else {
    std::vector<std::string> expected = heads;
    if (StartsWith(body.front(), ", ")) expected.insert(expected.begin(), "");
    FUZZ_CHECK(mbs_heads == expected);
  }
  if (with_counts) {
    FUZZ_CHECK(counts.size() == mbs.size());
    for (size_t i = 0; i < counts.size(); ++i) FUZZ_CHECK(counts[i] == NumberAfterTab(mbs[i]));
  }

  // The problem file: the invalid records as stored, then their number.
  found = run.fs.files.find(problem_name);
  FUZZ_CHECK((found != run.fs.files.end()) == (t.invalid > 0));
  if (t.invalid > 0) {
    out.problem_file = found->second;
    std::vector<std::string> problems = CrLfLines(found->second);
    FUZZ_CHECK(static_cast<int64_t>(problems.size()) == t.invalid + 2);
    for (int64_t i = 0; i < t.invalid; ++i) FUZZ_CHECK(Invalid(WordOf(problems[i])));
    FUZZ_CHECK(problems[problems.size() - 2].empty());
    FUZZ_CHECK(Total(problems.back(), kInvalidWords) == t.invalid);
  }
  FUZZ_CHECK(run.fs.files.size() == (t.invalid > 0 ? 4u : 3u));

  // And byte for byte what the writer's steps give.
  const reference::IndexFiles want = reference::WriteIndex(ref_sorted, with_counts);
  FUZZ_CHECK(run.fs.files.at(index_name) == want.index);
  FUZZ_CHECK(run.fs.files.at("MBS.txt") == want.counts);
  FUZZ_CHECK(want.invalid == t.invalid);
  if (t.invalid > 0) FUZZ_CHECK(run.fs.files.at(problem_name) == want.problems);
  return out;
}

}  // namespace
}  // namespace kavinta

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kavinta;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<Run> with = RunIndex(input, 'E');
  Outcome e = CheckRun(*with, true, input);
  with.reset();
  std::unique_ptr<Run> without = RunIndex(input, 'h');
  Outcome h = CheckRun(*without, false, input);
  FUZZ_CHECK(e.totals == h.totals);
  FUZZ_CHECK(e.counts_file == h.counts_file);
  FUZZ_CHECK(e.problem_file == h.problem_file);
  FUZZ_CHECK(e.index_lines == h.index_lines);
  return 0;
}
