// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include "editor/x11/EditorX11.h"
#include "raster/IArgb.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {
// A folder of its own, first on PATH, holding an xdg-open that writes each argument it gets on
// a line of a file.
class FakeBrowser {
public:
  FakeBrowser() {
    char name[] = "/tmp/ombrix-browser-XXXXXX";
    folder = mkdtemp(name) ? name : "";
    record = folder + "/arguments";
    const std::string opener = folder + "/xdg-open";
    std::ofstream script(opener);
    script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " << record << ".part\n"
           << "mv " << record << ".part " << record << "\n";
    script.close();
    chmod(opener.c_str(), 0755);
    savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (folder + ":" + savedPath).c_str(), 1);
  }
  ~FakeBrowser() {
    setenv("PATH", savedPath.c_str(), 1);
    std::remove(record.c_str());
    std::remove((folder + "/xdg-open").c_str());
    rmdir(folder.c_str());
  }
  // The arguments of the one start, once it has written them.
  std::vector<std::string> Arguments() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (access(record.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::ifstream in(record);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
    return lines;
  }
  bool Started() { return access(record.c_str(), F_OK) == 0; }

  std::string folder;
  std::string record;
  std::string savedPath;
};

// Whether posix_spawnp reports a program it could not start. Under user-mode emulation (qemu-user
// runs the arm64 tests) it cannot: the emulator turns its vfork into a fork, so the child's
// failure never reaches the parent, and the start counts as done.
bool SpawnReportsMissingPrograms() {
  char program[] = "ombrix-no-such-program";
  char* const arguments[] = {program, nullptr};
  pid_t started = 0;
  if (posix_spawnp(&started, program, nullptr, nullptr, arguments, environ) != 0) {
    return true;
  }
  waitpid(started, nullptr, 0);
  return false;
}
} // namespace

TEST(X11Services, LinksStartXdgOpenWithTheAddressAsOneArgumentAndNoShell) {
  FakeBrowser browser;
  IEditorX11 editor(nullptr, 10, 10, 25);
  const std::string address = "https://example.invalid/a b;$(touch /tmp/ombrix-pwned)'\"";
  EXPECT_TRUE(editor.OpenLink(address.c_str(), "", nullptr, nullptr));
  EXPECT_EQ(browser.Arguments(), std::vector<std::string>{address});
  EXPECT_NE(access("/tmp/ombrix-pwned", F_OK), 0) << "no shell read the address";
}

TEST(X11Services, ALinkNeedingConfirmationOrWithoutABrowserOpensNothing) {
  IEditorX11 editor(nullptr, 10, 10, 25);
  {
    FakeBrowser browser;
    EXPECT_FALSE(editor.OpenLink("https://example.invalid/", "", "Open it?", nullptr));
    EXPECT_FALSE(editor.OpenLink("", "", nullptr, nullptr));
    EXPECT_FALSE(editor.OpenLink(nullptr, "", nullptr, nullptr));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(browser.Started());
  }
  if (!SpawnReportsMissingPrograms()) {
    GTEST_SKIP() << "posix_spawnp cannot report a program that did not start here (user-mode "
                    "emulation), so no missing browser can be told";
  }
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", "/nonexistent", 1);
  EXPECT_FALSE(editor.OpenLink("https://example.invalid/", "", nullptr, nullptr));
  setenv("PATH", path.c_str(), 1);
}

TEST(X11Services, DirectoriesComeFromTheProcessTheLibraryAndTheXdgSettings) {
  IEditorX11 editor(nullptr, 10, 10, 25);
  char exe[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof(exe) - 1), 0);
  const std::string exeFolder = std::string(exe).substr(0, std::string(exe).rfind('/') + 1);
  std::string directory = "stale";
  editor.HostDirectory(&directory);
  EXPECT_EQ(directory, exeFolder);
  // The editor is linked into this program, so its library is the program.
  editor.ModuleDirectory(&directory);
  EXPECT_EQ(directory, exeFolder);

  char name[] = "/tmp/ombrix-xdg-XXXXXX";
  const std::string config = mkdtemp(name);
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/someone", 1);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  editor.DesktopDirectory(&directory);
  EXPECT_EQ(directory, "/home/someone/Desktop") << "no settings file";
  {
    std::ofstream dirs(config + "/user-dirs.dirs");
    dirs << "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
         << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
  }
  editor.DesktopDirectory(&directory);
  EXPECT_EQ(directory, "/home/someone/Schreibtisch");
  {
    std::ofstream dirs(config + "/user-dirs.dirs");
    dirs << "XDG_DESKTOP_DIR=\"/srv/desk\"\n";
  }
  editor.DesktopDirectory(&directory);
  EXPECT_EQ(directory, "/srv/desk");
  std::remove((config + "/user-dirs.dirs").c_str());
  rmdir(config.c_str());
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

TEST(X11Services, DialogsMenusAndTextEntryAnswerNoneWithoutAWindow) {
  IEditorX11 editor(nullptr, 10, 10, 25);
  EXPECT_EQ(editor.RunPopupMenu(nullptr, IBounds{}), nullptr);
  std::string file = "x.fxp";
  std::string folder = "/tmp";
  editor.AskForFile(&file, 1, &folder, "fxp");
  EXPECT_TRUE(file.empty());
  IArgb colour{};
  EXPECT_FALSE(editor.AskForColour(&colour, "Colour"));
  EXPECT_EQ(editor.ShowAlert("text", "caption", 0), 0);
  EXPECT_FALSE(editor.HasWindow());
  EXPECT_EQ(editor.NativeWindow(), nullptr);
  // Without a window, idle and keys do nothing.
  editor.Idle();
  EXPECT_FALSE(editor.HostKey(0x20, true));
  EXPECT_EQ(editor.AttachWindow(nullptr), nullptr);
}
