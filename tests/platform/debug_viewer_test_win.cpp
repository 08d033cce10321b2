#include "platform/DebugLineWriter.h"
#include "platform/DebugPrint.h"
#include "platform/DebugWriterUse.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// A debug viewer as the system's tools make one: OutputDebugStringA waits until the viewer
// says it is ready for each line. Lines printed while it is stalled must not wait for it.
namespace {
constexpr DWORD ViewerBufferBytes = 4096;

class StalledViewer {
public:
  StalledViewer() {
    buffer = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, ViewerBufferBytes,
                                "DBWIN_BUFFER");
    bufferReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    dataReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    view = buffer ? static_cast<const char*>(
                        MapViewOfFile(buffer, FILE_MAP_READ, 0, 0, ViewerBufferBytes))
                  : nullptr;
  }
  ~StalledViewer() {
    if (view) {
      UnmapViewOfFile(view);
    }
    for (HANDLE handle : {buffer, bufferReady, dataReady}) {
      if (handle) {
        CloseHandle(handle);
      }
    }
  }
  bool Ready() const { return view && bufferReady && dataReady; }
  // Takes the next line this process sent; empty when none came within a few seconds.
  std::string Next() {
    for (;;) {
      SetEvent(bufferReady);
      if (WaitForSingleObject(dataReady, 5000) != WAIT_OBJECT_0) {
        return std::string();
      }
      DWORD sender = 0;
      std::memcpy(&sender, view, sizeof sender);
      // Other programs on the same desktop may print too.
      if (sender == GetCurrentProcessId()) {
        return std::string(view + sizeof sender);
      }
    }
  }

private:
  HANDLE buffer = nullptr;
  HANDLE bufferReady = nullptr;
  HANDLE dataReady = nullptr;
  const char* view = nullptr;
};
} // namespace

TEST(DebugViewer, StalledViewerHoldsUpOnlyTheWriterAndSeesLinesInOrder) {
  StalledViewer viewer;
  ASSERT_TRUE(viewer.Ready());
  IDebugWriterUse writer;
  // Far more lines than the queue holds, printed while the viewer takes none.
  constexpr int Printed = 3000;
  for (int i = 0; i < Printed; ++i) {
    DebugPrint("line %d", i);
  }
  std::vector<std::string> seen;
  long dropped = 0;
  const auto take = [&] {
    const std::string line = viewer.Next();
    ASSERT_FALSE(line.empty()) << "after " << seen.size() << " lines";
    unsigned long count = 0;
    if (std::sscanf(line.c_str(), "(%lu debug lines dropped)", &count) == 1) {
      dropped += static_cast<long>(count);
    } else {
      seen.push_back(line);
    }
  };
  // The last line gets in once the viewer has let the writer take a line off the queue.
  int attempts = 1;
  while (!ProcessDebugLines().Push("last\r\n", 6)) {
    ++attempts;
    take();
    ASSERT_FALSE(HasFatalFailure());
  }
  while (seen.empty() || seen.back() != "last\r\n") {
    take();
    ASSERT_FALSE(HasFatalFailure());
  }
  ASSERT_GT(dropped, 0);
  EXPECT_EQ(static_cast<long>(seen.size()) + dropped, Printed + attempts);
  int previous = -1;
  for (size_t i = 0; i + 1 < seen.size(); ++i) {
    int number = -1;
    ASSERT_EQ(std::sscanf(seen[i].c_str(), "line %d", &number), 1) << seen[i];
    EXPECT_GT(number, previous);
    EXPECT_EQ(seen[i], "line " + std::to_string(number) + "\r\n");
    previous = number;
  }
}
