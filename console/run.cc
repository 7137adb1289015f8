#include "console/run.h"

#include <algorithm>

#include "console/cp857.h"
#include "words/byte_string.h"

namespace kavinta {
namespace {

// Screen positions (column, row) of the texts.
constexpr int kLabelCol = 25, kLabelRow = 15;

/// A line built from the name: cut at 255 bytes like every byte string.
std::string Cut(std::string s) {
  if (s.size() > static_cast<size_t>(ByteString::kMax)) s.resize(ByteString::kMax);
  return s;
}

void WriteAt(Console& c, int col, int row, std::string_view cp857) {
  c.MoveCursor(col, row);
  c.Write(cp857);
}

void NotFoundScreen(RunState& s) {
  Console& c = s.console;
  c.SetForeground(kRed);
  c.ClearScreen();
  WriteAt(c, 20, 8, Cp("İşleme başlanamıyor."));
  WriteAt(c, 20, 10, Cut("\"" + s.DOSAD + "\"" + Cp(" adlı dosya bulunamadı.")));
  WriteAt(c, 20, 12, Cp("Öneri:"));
  WriteAt(c, 20, 13, Cp("1. Dosya adında Türkçeye özgü harfleri kullanmayınız."));
  WriteAt(c, 20, 14, Cp("2. Dosyayı düz metin olarak kaydediniz."));
  WriteAt(c, 20, 15, Cp("3. Dosyayı programın bulunduğu klasöre taşıyınız."));
  WriteAt(c, 20, 16, Cp("4. Dosya adını doğru yazınız."));
}

void NoRecordsScreen(RunState& s) {
  Console& c = s.console;
  c.SetForeground(kRed);
  c.ClearScreen();
  WriteAt(c, 25, 12, Cp("İşleme devam edilemiyor."));
  WriteAt(c, 25, 14, Cut("\"" + s.DOSAD + "\"" + Cp(" adlı dosyada,")));
  WriteAt(c, 25, 15, Cp("dizin için uygun kayıt bulunamadı."));
}

void ReadErrorScreen(RunState& s) {
  Console& c = s.console;
  c.SetForeground(kRed);
  c.ClearScreen();
  WriteAt(c, 25, 12, Cp("İşleme devam edilemiyor."));
  WriteAt(c, 25, 14, Cut("\"" + s.DOSAD + ".txt\"" + Cp(" adlı dosya okunamadı.")));
  WriteAt(c, 25, 15, Cp("Dizin yazılmadı; önceki dosyalar olduğu gibi kaldı."));
}

void WorkingScreen(const Edition& e, RunState& s) {
  Console& c = s.console;
  if (e.count_question) {
    c.ClearScreen();
    WriteAt(c, 25, 9, e.title);
    WriteAt(c, 25, 11, Cut(Cp("Giriş dosyası: ") + s.DOSAD));
  } else {
    // The frequency edition leaves the prompt row as typed.
    WriteAt(c, 25, 9, e.title);
  }
  WriteAt(c, 25, 12, Cut(Cp("Çıkış dosyası: ") + s.DOSAD + "Dizin"));
  s.progress.DrawTrack();
  WriteAt(c, kLabelCol, kLabelRow, "1/3: Okunuyor...");
  c.SetForeground(kBlue);
}

/// Reads keys until E, e, H or h; false when the input ended first.
bool CountQuestion(RunState& s) {
  Console& c = s.console;
  c.ClearScreen();
  WriteAt(c, 10, 11, Cp("Her madde başından sonra kaç defa geçtiği yazılsın mı? (E/H)"));
  for (;;) {
    int key = c.ReadKey();
    if (key == kNoMoreKeys) return false;
    // A key without a character counts by its second read: Up (72) is "H".
    if (key == 'E' || key == 'e') {
      s.SAYIM = 1;
      return true;
    }
    if (key == 'H' || key == 'h') {
      s.SAYIM = 0;
      return true;
    }
  }
}

class SortCells : public SortProgress {
 public:
  explicit SortCells(RunState& s) : s_(s), n_(s.N()) {}
  void Cell(int32_t i) override { s_.progress.Cell(i, n_); }

 private:
  RunState& s_;
  int32_t n_;
};

}  // namespace

std::string Cp(std::string_view utf8) { return Utf8ToCp857(utf8); }

void GIRIS(const Edition& e, RunState& s) {
  Console& c = s.console;
  c.CursorOff();
  c.SetForeground(kYellow);
  c.SetBackground(kCyan);
  c.ClearScreen();
  WriteAt(c, 25, 8, e.title);
  WriteAt(c, 27, 10, Cp(e.banner));
  WriteAt(c, 27, 11, Cp("eski Türkçe metinlerin çeviriyazısı için"));
  WriteAt(c, 27, 12, Cp("Türk abecesine göre sıralar, harfleri"));
  WriteAt(c, 27, 13, Cp("Türkçe kurallarıyla küçültür."));
  WriteAt(c, 27, 14, Cp("Windows-1254 metin dosyaları okur ve yazar."));
  WriteAt(c, 27, 16, Cp("Kavinta projesi"));
  WriteAt(c, 25, 18, Cp("Başlamak için lütfen bekleyiniz..."));
  c.Delay(6000);
}

void AYRISTIRMA(const Edition& e, RunState& s) {
  Console& c = s.console;
  c.ClearScreen();
  c.CursorOn();
  WriteAt(c, 25, 11, Cp("Giriş dosyası: "));
  s.DOSAD = c.ReadLine();
  c.CursorOff();

  OpenStatus status;
  std::unique_ptr<InputFile> input = s.fs.OpenRead(Cut(s.DOSAD + ".txt"), &status);
  s.HATA = status == OpenStatus::kOk         ? kGoOn
           : status == OpenStatus::kNotFound ? kNotFound
                                             : kOpenFailed;
  if (s.HATA == kNotFound) {
    NotFoundScreen(s);
    return;
  }
  if (e.count_question && !CountQuestion(s)) {
    s.aborted = true;
    return;
  }
  s.BUYUK = input ? input->Size() : -1;
  WorkingScreen(e, s);
  bool read_ok = e.read(s, input.get());
  s.progress.DrawTrack();
  input.reset();
  if (s.capacity_reached) {
    s.notes.push_back(Cp("Yalnızca ilk ") + std::to_string(s.B.capacity()) +
                      Cp(" kelime alındı; gerisi okunmadı."));
  }
  if (!read_ok) {
    ReadErrorScreen(s);
    s.HATA = kReadError;
  } else if (s.N() == 0) {
    NoRecordsScreen(s);
    s.HATA = kNoRecords;
  }
}

void SIRALAMA(RunState& s, int32_t lo, int32_t hi) {
  Console& c = s.console;
  c.SetForeground(kYellow);
  s.progress.DrawTrack();
  WriteAt(c, kLabelCol, kLabelRow, Cp("2/3: Sıralanıyor..."));
  c.SetForeground(kBlue);
  SortCells cells(s);
  s.B.Sort(lo, hi, &cells);
  s.progress.DrawTrack();
}

void BeginWritePhase(RunState& s) {
  Console& c = s.console;
  c.SetForeground(kYellow);
  s.progress.DrawTrack();
  WriteAt(c, kLabelCol, kLabelRow, Cp("3/3: Yazılıyor...   "));
  c.SetForeground(kBlue);
}

void FinishWritePhase(RunState& s) {
  Console& c = s.console;
  c.MoveCursor(kLabelCol, kLabelRow);
  c.DeleteLine();
  c.DeleteLine();
  c.DeleteLine();
  if (s.failure.empty()) {
    WriteAt(c, 25, 17, Cp("İşlem bitti."));
  } else {
    c.SetForeground(kRed);
    WriteAt(c, 25, 17, Cut(s.failure));
  }
  // A failure naming a long file runs over several rows; the notes go below
  // its last row, not over it.
  const Screen& screen = c.screen();
  int row = std::max(18, screen.cursor_col() == 1 ? screen.cursor_row() : screen.cursor_row() + 1);
  for (const std::string& note : s.notes) {
    if (row > 20) break;
    WriteAt(c, 25, row++, Cut(note));
  }
}

int RunProgram(const Edition& e, RunState& s) {
  Console& c = s.console;
  GIRIS(e, s);
  AYRISTIRMA(e, s);
  if (s.aborted) {
    c.Finish();
    return 0;
  }
  if (s.HATA == kGoOn) {
    SIRALAMA(s, 1, s.N());
    e.write(s);
  }
  WriteAt(c, 25, 21, Cp("Çıkmak için her hangi bir tuşa basınız."));
  // The key is never read; the wait ends as soon as one is pending.
  while (!c.KeyPending()) {
    if (c.InputEnded()) break;
    c.Idle();
  }
  c.Finish();
  return 0;
}

int OutputSet::Add(const std::string& name) {
  Entry e;
  e.name = Cut(name);
  e.file = state_.fs.Create(e.name, &e.create_error);
  files_.push_back(std::move(e));
  return static_cast<int>(files_.size()) - 1;
}

void OutputSet::Fail(const Entry& e, const std::string& why) {
  if (!state_.failure.empty()) return;
  state_.failure = Cp("Çıkış dosyası yazılamadı: ") + e.name;
  // Built by appending: GCC 12 at -O3 reports a false -Wrestrict for
  // "(" + std::string.
  if (!why.empty()) state_.notes.push_back(std::string("(").append(Cp(why)).append(")"));
  state_.notes.push_back(Cp("Önceki dosyalar olduğu gibi kaldı."));
}

bool OutputSet::CommitAll() {
  bool ok = true;
  for (Entry& e : files_) {
    if (e.dropped) continue;
    if (!e.file) {
      Fail(e, e.create_error);
      ok = false;
    } else if (!e.file->Close()) {
      Fail(e, e.file->error());
      ok = false;
    }
  }
  if (!ok) {
    for (Entry& e : files_) e.file.reset();
    return false;
  }
  bool renamed_any = false;
  for (Entry& e : files_) {
    if (e.dropped) continue;
    // After a failed rename the rest are not renamed: their temporary files
    // go and their final names keep the earlier files.
    if (ok && !e.file->Commit()) {
      Fail(e, e.file->error());
      if (renamed_any) state_.notes.back() = Cp("Bundan önceki çıkış dosyaları yenilendi.");
      ok = false;
    } else if (ok) {
      renamed_any = true;
    }
    e.file.reset();
  }
  return ok;
}

}  // namespace kavinta
