#include "core/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/SettingsFile.h"
#include "core/TempFiles.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// What a write does to each kind of thing found at the name: only regular files (and
// new names) are ever replaced, through links, never a read-only file.
TEST(AtomicFile, WritesOnlyOverRegularFiles) {
  TTempDir dir;
  ASSERT_EQ(mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  fs::create_directory(dir.Path("folder"));
  fs::create_symlink("/dev/null", dir.Path("null-link"));
  const std::string target = dir.File("target.txt", "old");
  fs::create_symlink("target.txt", dir.Path("link"));
  const std::string locked = dir.File("locked.txt", "old");
  chmod(locked.c_str(), 0444);
  const std::string own = dir.File("own.txt", "old");
  chmod(own.c_str(), 0600);
  const struct {
    std::string Name;
    const char* Refusal;  // nothing: written
  } cases[] = {{"fifo", "not a regular file"},
               {"folder", "Is a directory"},
               {"null-link", "not a regular file"},
               {"locked.txt", "read-only"},
               {"link", nullptr},
               {"own.txt", nullptr},
               {"new.txt", nullptr}};
  for (const auto& c : cases) {
    const std::string path = dir.Path(c.Name);
    try {
      WriteFileAtomically(path, "new");
      EXPECT_EQ(c.Refusal, nullptr) << c.Name;
    } catch (const TWriteError& e) {
      ASSERT_NE(c.Refusal, nullptr) << c.Name << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.Refusal), std::string::npos) << e.what();
    }
  }
  EXPECT_TRUE(fs::is_fifo(dir.Path("fifo")));
  EXPECT_TRUE(fs::is_symlink(dir.Path("link")));
  EXPECT_EQ(Read(target), "new");
  EXPECT_EQ(Read(locked), "old");
  EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Read(dir.Path("new.txt")), "new");
  // Nothing is left behind but what was there and what was written.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("")), fs::directory_iterator()), 8);
}

// Two programs closing at once, and a third reading meanwhile: every save succeeds and
// every read sees a whole file with every foreign key.
TEST(AtomicFile, ConcurrentSavesNeverFailNorLoseKeys) {
  TTempDir dir;
  std::string foreign = "[Mine]\n";
  for (int k = 0; k < 2000; ++k)
    foreign += "key" + std::to_string(k) + "=" + std::to_string(k) + "\n";
  const std::string path = dir.File("k.INI", foreign);
  std::atomic<bool> done{false};
  std::atomic<int> failures{0}, partial{0};
  auto saver = [&](int32_t top) {
    for (int k = 0; k < 100; ++k) {
      TSettingsFile ini(path);
      ini.WriteInteger("Form", "Top", top);
      try {
        ini.Save();
      } catch (const TSettingsError&) {
        ++failures;
      }
    }
  };
  std::thread reader([&] {
    while (!done) partial += TSettingsFile(path).ReadInteger("Mine", "key1999", -1) != 1999;
  });
  std::thread a(saver, 1), b(saver, 2);
  a.join();
  b.join();
  done = true;
  reader.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(partial, 0);
  const TSettingsFile after(path);
  EXPECT_EQ(after.ReadInteger("Mine", "key0", -1), 0);
  EXPECT_EQ(after.ReadInteger("Mine", "key1999", -1), 1999);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("")), fs::directory_iterator()), 1);
}

// A save killed half-way leaves its temporary; the next start clears it away, and
// nothing of anybody else's.
TEST(AtomicFile, TemporariesOfKilledSavesAreClearedAtTheNextStart) {
  TTempDir dir;
  const std::string path = dir.File("k.INI", "[Form]\n");
  const pid_t writer = fork();
  if (writer == 0) {
    const std::string big(32 << 20, 'x');
    for (;;) WriteFileAtomically(path, big);
  }
  auto temporaries = [&] {
    std::vector<fs::path> found;
    for (const auto& e : fs::directory_iterator(dir.Path("")))
      if (e.path().filename().string().starts_with(".k.INI.")) found.push_back(e.path());
    return found;
  };
  while (temporaries().empty()) std::this_thread::yield();
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
  for (const fs::path& t : temporaries()) fs::last_write_time(t, old);
  const std::string others[] = {dir.File(".k.INI.fresh1", ""), dir.File(".k.INI.longer1", ""),
                                dir.File(".other.INI.Ab12Cd", "")};
  for (const std::string& o : others) fs::last_write_time(o, old);
  fs::last_write_time(others[0], fs::file_time_type::clock::now());
  RemoveStaleTemporaries(path);
  EXPECT_EQ(temporaries().size(), 2u);  // the fresh one and the one of another pattern
  for (const std::string& o : others) EXPECT_TRUE(fs::exists(o)) << o;
  EXPECT_TRUE(fs::exists(path));
}

}  // namespace
