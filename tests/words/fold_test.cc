#include "words/fold.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kavinta {
namespace {

// Windows-1254 bytes used below:
//   â E2  î EE  û FB  Â C2  Î CE  Û DB  İ DD  ı FD
//   ç E7  é E9  ğ F0  ñ F1  ö F6  ş FE  ü FC
//   Ç C7  É C9  Ğ D0  Ñ D1  Ö D6  Ş DE  Ü DC

// The folds that are not "capital + 0x20", shared by both editions.
const std::map<int, int> kTableFolds = {
    {'\t', ' '},                                             // tab
    {'I', 0xFD},                                             // I -> ı
    {0xDD, 'i'},  {0xCE, 'i'},  {0xEE, 'i'},                 // İ Î î -> i
    {0xC2, 'a'},  {0xE2, 'a'},                               // Â â -> a
    {0xDB, 'u'},  {0xFB, 'u'},                               // Û û -> u
    {0xC7, 0xE7}, {0xC9, 0xE9}, {0xD0, 0xF0},                // Ç É Ğ
    {0xD1, 0xF1}, {0xD6, 0xF6}, {0xDE, 0xFE}, {0xDC, 0xFC},  // Ñ Ö Ş Ü
};

int ExpectedFold(int c, bool keep_d_and_n) {
  auto it = kTableFolds.find(c);
  if (it != kTableFolds.end()) return it->second;
  if (c >= 'A' && c <= 'Z' && !(keep_d_and_n && (c == 'D' || c == 'N'))) return c + 0x20;
  return c;  // small letters, digits, signs, unnamed marked letters: unchanged
}

TEST(FoldTest, IndexEditionTableCoversEveryByte) {
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(kFold23[c], ExpectedFold(c, /*keep_d_and_n=*/true)) << "byte 0x" << std::hex << c;
  }
}

TEST(FoldTest, IndexEditionTableIsPreFoldThenAyar4) {
  const std::map<int, int> pre_folds = {{'\t', ' '}, {0xE2, 'a'}, {0xEE, 'i'}, {0xFB, 'u'}};
  for (int c = 0; c < 256; ++c) {
    auto it = pre_folds.find(c);
    uint8_t pre = PreFold23(static_cast<uint8_t>(c));
    EXPECT_EQ(pre, it != pre_folds.end() ? it->second : c) << "byte 0x" << std::hex << c;
    uint8_t folded = pre;
    AYAR4(folded);
    EXPECT_EQ(folded, kFold23[c]) << "byte 0x" << std::hex << c;
  }
  // AYAR4 alone leaves the small circumflex vowels and the tab to the pre-fold.
  for (uint8_t c : {0x09, 0xE2, 0xEE, 0xFB}) {
    uint8_t b = c;
    AYAR4(b);
    EXPECT_EQ(b, c);
  }
}

TEST(FoldTest, FrequencyEditionTableLowersDAndN) {
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(kFold20a[c], ExpectedFold(c, /*keep_d_and_n=*/false)) << "byte 0x" << std::hex << c;
  }
}

TEST(FoldTest, FoldingTwiceChangesNothing) {
  for (const uint8_t* table : {kFold23, kFold20a}) {
    for (int c = 0; c < 256; ++c)
      EXPECT_EQ(table[table[c]], table[c]) << "byte 0x" << std::hex << c;
  }
}

std::string FoldWord(const uint8_t* table, std::string s) {
  for (char& c : s) c = static_cast<char>(table[static_cast<uint8_t>(c)]);
  return s;
}

TEST(FoldTest, Words) {
  struct Case {
    const char* in;
    const char* index_edition;
    const char* frequency_edition;
  };
  const Case cases[] = {
      {"I\xDEIK", "\xFD\xFE\xFDk", "\xFD\xFE\xFDk"},  // IŞIK -> ışık
      {"Irak", "\xFDrak", "\xFDrak"},                 // Irak -> ırak
      {"\xDDlim", "ilim", "ilim"},                    // İlim -> ilim
      {"Da\xF0", "Da\xF0", "da\xF0"},                 // Dağ: D stays in 2.3 only
      {"N\xE2me", "Name", "name"},                    // Nâme
      {"\xC7\xD6\xD0\xDC\xDE", "\xE7\xF6\xF0\xFC\xFE", "\xE7\xF6\xF0\xFC\xFE"},  // ÇÖĞÜŞ
      {"\xC2lem \xE2lem", "alem alem", "alem alem"},                             // Âlem âlem
      {"\xCEm\xE2n", "iman", "iman"},                                            // Îmân
      {"\xDBl\xE2", "ula", "ula"},                                               // Ûlâ
      {"\xD1\xC9", "\xF1\xE9", "\xF1\xE9"},                                      // ÑÉ -> ñé
      {"QWXYZ\tx", "qwxyz x", "qwxyz x"},                                        // tab -> space
      {"\xC0\xC1\xC4\xCA\xD4\xE0\xE4", "\xC0\xC1\xC4\xCA\xD4\xE0\xE4",
       "\xC0\xC1\xC4\xCA\xD4\xE0\xE4"},  // À Á Ä Ê Ô à ä are not folded
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FoldWord(kFold23, c.in), c.index_edition) << c.in;
    EXPECT_EQ(FoldWord(kFold20a, c.in), c.frequency_edition) << c.in;
  }
}

}  // namespace
}  // namespace kavinta
