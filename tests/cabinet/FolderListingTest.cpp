#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "cabinet/CabinetList.h"
#include "platform/Files.h"

namespace {

TEST(NtfsNameLess, ComparesUpperCasedCharacters) {
  std::vector<std::string> names = {"_last", "b", "A", "a_b", "ab", "B2", "a"};
  std::sort(names.begin(), names.end(), platform::NtfsNameLess);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "ab", "a_b", "b", "B2", "_last"}));
  EXPECT_FALSE(platform::NtfsNameLess("x", "x"));
}

TEST(ListFolder, SortedEntriesWithTheirKindAndNoDotEntries) {
  TempFolder folder;
  std::ofstream(folder.Path() + "b.txt") << "b";
  std::ofstream(folder.Path() + "A.txt") << "a";
  std::filesystem::create_directory(folder.Path() + "sub");
  const std::vector<platform::FolderEntry> entries = platform::ListFolder(folder.Path());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "A.txt");
  EXPECT_EQ(entries[1].name, "b.txt");
  EXPECT_EQ(entries[2].name, "sub");
  EXPECT_FALSE(entries[0].isFolder);
  EXPECT_TRUE(entries[2].isFolder);
  EXPECT_TRUE(platform::ListFolder(folder.Path() + "missing/").empty());
}

TEST(LibraryFolder, IsAnExistingFolderEndingInTheSeparator) {
  const std::string folder = platform::LibraryFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), platform::kSeparator);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(CabinetList, KeepsTheFirst1024Files) {
  TempFolder folder;
  for (int i = 0; i < CabinetList::kMaxEntries + 6; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "f%04d.wav", i);
    std::ofstream(folder.Path() + name) << "x";
  }
  CabinetList list;
  EXPECT_EQ(list.Build(folder.Path(), "f0003.wav"), 3);
  EXPECT_EQ(list.Count(), CabinetList::kMaxEntries);
  EXPECT_EQ(list.Name(CabinetList::kMaxEntries - 1), "f1023");
  EXPECT_EQ(list.Build(folder.Path(), "f1027.wav"), -1);  // beyond the list
}

}  // namespace
