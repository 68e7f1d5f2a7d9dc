// The Linux file prompt and message box run the desktop's tools as child processes. Stand-ins for
// zenity and kdialog, shell scripts in a folder that replaces PATH, record the arguments
// they receive and answer what the test tells them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;
using platform::FileAction;
using Args = std::vector<std::string>;

constexpr std::uintptr_t kEditorWindowId = 0x3a00005;
constexpr int kCancelStatus = 1;
constexpr const char* kGtk3Zenity = "3.44.0";
constexpr const char* kGtk4Zenity = "3.91.0";  // one of the releases that reject the old options

void* EditorWindow() { return reinterpret_cast<void*>(kEditorWindowId); }
std::string EditorWindowId() { return std::to_string(kEditorWindowId); }

class LinuxFileDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/voltrex-file-dialog-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    tools_ = root_ / "bin";
    fs::create_directory(tools_);
    irFolder_ = (root_ / "impulses").string();
    const char* path = std::getenv("PATH");
    hadPath_ = path != nullptr;
    if (path) savedPath_ = path;
    setenv("PATH", tools_.c_str(), 1);
  }

  void TearDown() override {
    if (hadPath_)
      setenv("PATH", savedPath_.c_str(), 1);
    else
      unsetenv("PATH");
    fs::remove_all(root_);
  }

  // A stand-in that answers --version with version; otherwise it records its arguments,
  // one a line, prints answer and exits with status. Every run is logged in "calls".
  void InstallTool(const std::string& tool, const std::string& answer, int status = 0,
                   const std::string& version = kGtk3Zenity) {
    const fs::path answerFile = root_ / (tool + ".answer");
    std::ofstream(answerFile) << answer;
    const fs::path script = tools_ / tool;
    std::ofstream(script) << "#!/bin/sh\n"
                          << "echo \"$*\" >> '" << (root_ / "calls").string() << "'\n"
                          << "if [ \"$1\" = --version ]; then echo " << version << "; exit 0; fi\n"
                          << "printf '%s\\n' \"$@\" > '" << ArgsFile(tool).string() << "'\n"
                          << "/bin/cat '" << answerFile.string() << "'\n"
                          << "exit " << status << "\n";
    fs::permissions(script, fs::perms::owner_all);
  }

  fs::path ArgsFile(const std::string& tool) const { return root_ / (tool + ".args"); }

  Args ArgsOf(const std::string& tool) const {
    Args args;
    std::ifstream in(ArgsFile(tool));
    for (std::string line; std::getline(in, line);) args.push_back(line);
    return args;
  }

  bool AnyToolRan() const { return fs::exists(root_ / "calls"); }

  fs::path root_;
  fs::path tools_;
  std::string irFolder_;
  std::string savedPath_;
  bool hadPath_ = false;
};

TEST_F(LinuxFileDialogTest, OpenThroughZenityReturnsTheChosenPathUnchanged) {
  const std::string chosen = "/home/me/My IRs/Bob's \"4x12\" cab.wav";
  InstallTool("zenity", chosen + "\n");
  InstallTool("kdialog", "/wrong.wav\n");
  std::string result = "stale";
  ASSERT_TRUE(platform::PromptNativeFile(result, FileAction::Open, irFolder_, EditorWindow()));
  EXPECT_EQ(result, chosen);
  EXPECT_EQ(ArgsOf("zenity"),
            (Args{"--file-selection", "--filename=" + irFolder_ + "/", "--attach=" + EditorWindowId()}));
  EXPECT_FALSE(fs::exists(ArgsFile("kdialog")));
}

TEST_F(LinuxFileDialogTest, SaveThroughZenityConfirmsOverwritingAndStartsInThePluginFolder) {
  InstallTool("zenity", "/tmp/new.wav\n");
  std::string result;
  ASSERT_TRUE(platform::PromptNativeFile(result, FileAction::Save, "", EditorWindow()));
  EXPECT_EQ(result, "/tmp/new.wav");
  ASSERT_FALSE(platform::LibraryFolder().empty());
  EXPECT_EQ(ArgsOf("zenity"), (Args{"--file-selection", "--filename=" + platform::LibraryFolder(),
                                    "--save", "--confirm-overwrite",
                                    "--attach=" + EditorWindowId()}));
}

// Those releases end with an error on the options GTK 3 zenity needs: every save would fail.
TEST_F(LinuxFileDialogTest, Gtk4ZenityGetsNoOptionItRejects) {
  InstallTool("zenity", "/tmp/new.wav\n", 0, kGtk4Zenity);
  std::string result;
  ASSERT_TRUE(platform::PromptNativeFile(result, FileAction::Save, irFolder_, EditorWindow()));
  EXPECT_EQ(ArgsOf("zenity"), (Args{"--file-selection", "--filename=" + irFolder_ + "/", "--save"}));
}

TEST_F(LinuxFileDialogTest, CancelOrAnEmptyAnswerLeavesTheResultEmpty) {
  InstallTool("zenity", "/tmp/ignored.wav\n", kCancelStatus);
  std::string result = "stale";
  EXPECT_FALSE(platform::PromptNativeFile(result, FileAction::Open, irFolder_, EditorWindow()));
  EXPECT_EQ(result, "");
  InstallTool("zenity", "");
  result = "stale";
  EXPECT_FALSE(platform::PromptNativeFile(result, FileAction::Open, irFolder_, EditorWindow()));
  EXPECT_EQ(result, "");
}

TEST_F(LinuxFileDialogTest, KdialogServesWhenZenityIsMissing) {
  InstallTool("kdialog", "/tmp/chosen.wav\n");
  std::string result;
  ASSERT_TRUE(platform::PromptNativeFile(result, FileAction::Open, irFolder_, EditorWindow()));
  EXPECT_EQ(result, "/tmp/chosen.wav");
  EXPECT_EQ(ArgsOf("kdialog"),
            (Args{"--attach", EditorWindowId(), "--getopenfilename", irFolder_ + "/"}));
  ASSERT_TRUE(platform::PromptNativeFile(result, FileAction::Save, irFolder_, EditorWindow()));
  EXPECT_EQ(ArgsOf("kdialog"),
            (Args{"--attach", EditorWindowId(), "--getsavefilename", irFolder_ + "/"}));
}

TEST_F(LinuxFileDialogTest, WithoutAChooserOrAWindowTheAnswerIsNo) {
  std::string result = "stale";
  EXPECT_FALSE(platform::PromptNativeFile(result, FileAction::Open, irFolder_, EditorWindow()));
  EXPECT_EQ(result, "");
  InstallTool("zenity", "/tmp/chosen.wav\n");
  EXPECT_FALSE(platform::PromptNativeFile(result, FileAction::Open, irFolder_, nullptr));
  EXPECT_FALSE(AnyToolRan());
}

TEST_F(LinuxFileDialogTest, MessagesShowThroughTheSameTools) {
  InstallTool("kdialog", "");
  platform::ShowNativeMessage("File not found:\n/x.wav", "Error");
  EXPECT_EQ(ArgsOf("kdialog"), (Args{"--title", "Error", "--error", "File not found:", "/x.wav"}));
  InstallTool("zenity", "");
  platform::ShowNativeMessage("File not found:\n/x.wav", "Error");
  EXPECT_EQ(ArgsOf("zenity"), (Args{"--error", "--no-markup", "--title=Error", "--text=File not found:", "/x.wav"}));
}

}  // namespace
