#include "console/interrupt.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kavinta {
namespace {

void Say(void* word) {
  std::string text = std::string(static_cast<const char*>(word)) + ",";
  ssize_t ignored = write(2, text.data(), text.size());
  (void)ignored;
}

void MustNotRun(void*) { _exit(99); }

TEST(InterruptDeathTest, ExitRunsCleanupsInReverseRemovesTempFilesAndReportsTheSignal) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::path(testing::TempDir()) / ("kavinta_interrupt_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string temp = (dir / "out.tmp").string();
  const std::string kept = (dir / "kept.tmp").string();
  std::ofstream(temp) << "half";
  std::ofstream(kept) << "done";

  EXPECT_EXIT(
      {
        InstallInterruptHandlers();
        InstallInterruptHandlers();  // a second call changes nothing
        RegisterCleanup(Say, const_cast<char*>("first"));
        RegisterCleanup(MustNotRun, nullptr);
        RegisterCleanup(Say, const_cast<char*>("second"));
        UnregisterCleanup(MustNotRun, nullptr);
        RegisterTempFile(temp);
        RegisterTempFile(kept);
        UnregisterTempFile(kept);
        if (InterruptPending()) _exit(98);
        raise(SIGTERM);
        if (!InterruptPending()) _exit(97);
        ExitForInterrupt();
      },
      testing::ExitedWithCode(128 + SIGTERM), "second,first,");

  EXPECT_FALSE(fs::exists(temp));
  EXPECT_TRUE(fs::exists(kept));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kavinta
