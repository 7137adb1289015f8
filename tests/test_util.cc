#include "tests/test_util.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kavinta {

std::string W(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    int len;
    if (b < 0x80) {
      cp = b, len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F, len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F, len = 3;
    } else {
      cp = b & 0x07, len = 4;
    }
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += len;
    switch (cp) {
      case 0x011E:
        out.push_back('\xD0');
        break;  // Ğ
      case 0x0130:
        out.push_back('\xDD');
        break;  // İ
      case 0x015E:
        out.push_back('\xDE');
        break;  // Ş
      case 0x011F:
        out.push_back('\xF0');
        break;  // ğ
      case 0x0131:
        out.push_back('\xFD');
        break;  // ı
      case 0x015F:
        out.push_back('\xFE');
        break;  // ş
      default:
        if (cp >= 0x100 || cp == 0xD0 || cp == 0xDD || cp == 0xDE || cp == 0xF0 || cp == 0xFD ||
            cp == 0xFE) {
          throw std::invalid_argument("no Windows-1254 byte for this test text");
        }
        out.push_back(static_cast<char>(cp));
    }
  }
  return out;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

ScopedTempDir::ScopedTempDir() {
  old_cwd_ = std::filesystem::current_path().string();
  std::string tmpl = (std::filesystem::temp_directory_path() / "kavinta-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
  std::filesystem::current_path(path_);
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ec;
  std::filesystem::current_path(old_cwd_, ec);
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

}  // namespace kavinta
