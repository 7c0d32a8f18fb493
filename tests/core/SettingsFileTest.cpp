#include "core/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/TempFiles.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(SettingsFile, IntegersDecimalAndHexadecimal) {
  struct {
    const char* text;
    int32_t value;
  } good[] = {{"0", 0},
              {"255", 255},
              {"-2", -2},
              {"+7", 7},
              {"  42", 42},
              {"0xFF", 255},
              {"0XfF", 255},
              {"$FF", 255},
              {"-$10", -16},
              {"2147483647", INT32_MAX},
              {"-2147483648", INT32_MIN},
              {"$80000005", int32_t(0x80000005)},
              {"0xFFFFFFFF", -1}};
  for (auto g : good) {
    int32_t v = 12345;
    EXPECT_TRUE(ParseSettingsInt(g.text, v)) << g.text;
    EXPECT_EQ(v, g.value) << g.text;
  }
  for (const char* bad : {"", " ", "-", "$", "0x", "1.5", "12a", "2147483648", "-2147483649",
                          "99999999999999999999", "$123456789", "0xG", "- 1", "1 ", "abc"}) {
    int32_t v = 12345;
    EXPECT_FALSE(ParseSettingsInt(bad, v)) << bad;
    EXPECT_EQ(v, 12345);
  }
}

TEST(SettingsFile, PathBesideTheExecutable) {
  EXPECT_EQ(SettingsPathFor("/opt/kesto/kesto"), "/opt/kesto/kesto.INI");
  EXPECT_EQ(SettingsPathFor("/opt/kesto/kesto.exe"), "/opt/kesto/kesto.INI");
  EXPECT_EQ(SettingsPathFor("/opt/my.dir/kesto"), "/opt/my.dir/kesto.INI");
}

TEST(SettingsFile, TheUsersFolderFromTheEnvironment) {
  const std::string config = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/ada", 1);
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(UserSettingsPath(), "/cfg/kesto/kesto.INI");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // relative: ignored, as XDG asks
  EXPECT_EQ(UserSettingsPath(), "/home/ada/.config/kesto/kesto.INI");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserSettingsPath(), "/home/ada/.config/kesto/kesto.INI");
  unsetenv("HOME");
  EXPECT_EQ(UserSettingsPath(), "");
  if (!home.empty()) setenv("HOME", home.c_str(), 1);
  if (!config.empty()) setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

TEST(SettingsFile, MissingFileGivesDefaultsAndIsCreatedOnSave) {
  TTempDir dir;
  TSettingsFile ini(dir.Path("k.INI"));
  EXPECT_EQ(ini.ReadInteger("Form", "Top", 17), 17);
  ini.WriteInteger("Form", "Top", 3);
  ini.WriteInteger("KestoF", "Spec", 1);
  ini.Save();
  EXPECT_EQ(Read(dir.Path("k.INI")), "[Form]\nTop=3\n[KestoF]\nSpec=1\n");
}

// What a rewrite of our keys does to files as others left them: only our values change.
TEST(SettingsFile, RewritesOnlyItsOwnValuesByteForByte) {
  const struct {
    const char* Before;
    int32_t TopRead;
    const char* After;  // after Top=5 and Spec=1 are written
  } cases[] = {
      {"; kept by hand\n[form]\nTOP=0x10\nMine=hello\n\n[Other]\nx=1\n", 16,
       "; kept by hand\n[form]\nTOP=5\nMine=hello\n\n[Other]\nx=1\n[KestoF]\nSpec=1\n"},
      {"[Form]\nTop = 7 \nno equals sign here\n; a comment after the last key", 7,
       "[Form]\nTop = 5\nno equals sign here\n; a comment after the last key\n[KestoF]\nSpec=1\n"},
      {"[Form]\r\nLeft=1\r\n\r\n[KestoF]\r\n; mine\r\n", 0,
       "[Form]\r\nLeft=1\r\nTop=5\r\n\r\n[KestoF]\r\n; mine\r\nSpec=1\r\n"},
      {"[Form]\nTop=1\nTop=2\n[FORM]\nTop=3\n[KestoF]\nSpec=0", 1,
       "[Form]\nTop=5\nTop=2\n[FORM]\nTop=3\n[KestoF]\nSpec=1"},
      // A carriage return that does not end the line belongs to the value.
      {"[Form]\nTop=\r9 \r\n[KestoF]\nSpec=\r7\n", 9, "[Form]\nTop=5\r\n[KestoF]\nSpec=1\n"},
      // As other editors leave files: a byte-order mark, line ends of CR alone.
      {"\xEF\xBB\xBF[Form]\nTop=3\n[KestoF]\nSpec=0\n", 3,
       "\xEF\xBB\xBF[Form]\nTop=5\n[KestoF]\nSpec=1\n"},
      {"[Form]\rTop=4\r", 4, "[Form]\rTop=5\r[KestoF]\rSpec=1\r"},
  };
  for (const auto& c : cases) {
    TTempDir dir;
    const std::string path = dir.File("k.INI", c.Before);
    TSettingsFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Form", "Top", 0), c.TopRead) << c.Before;
    ini.WriteInteger("Form", "Top", 5);
    ini.WriteInteger("KestoF", "Spec", 1);
    ini.Save();
    EXPECT_EQ(Read(path), c.After);
    EXPECT_EQ(TSettingsFile(path).ReadInteger("FORM", "top", 0), 5);
  }
}

TEST(SettingsFile, UnwritableFileNamesFileAndReasonAndKeepsTheOldOne) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  TTempDir dir;
  const std::string path = dir.File("k.INI", "[Form]\nTop=1\n");
  chmod(dir.Path("").c_str(), 0555);
  TSettingsFile ini(path);
  ini.WriteInteger("Form", "Top", 2);
  try {
    ini.Save();
    FAIL() << "saved";
  } catch (const TSettingsError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("Permission denied"), std::string::npos);
  }
  chmod(dir.Path("").c_str(), 0755);
  EXPECT_EQ(Read(path), "[Form]\nTop=1\n");
}

TEST(SettingsFile, UnwritablePlacesAreReportedAndLeaveNoHalfFile) {
  TTempDir dir;
  TSettingsFile gone(dir.Path("gone/k.INI"));
  gone.WriteInteger("Form", "Top", 2);
  EXPECT_THROW(gone.Save(), TSettingsError);
  // A folder where the file should be cannot be replaced, not even by root.
  std::filesystem::create_directory(dir.Path("k.INI"));
  TSettingsFile folder(dir.Path("k.INI"));
  folder.WriteInteger("Form", "Top", 2);
  try {
    folder.Save();
    FAIL() << "saved";
  } catch (const TSettingsError& e) {
    EXPECT_NE(std::string(e.what()).find(dir.Path("k.INI")), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("directory"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("k.INI.new")));
}

}  // namespace
