#include "tools/render/RenderWatch.h"

#include <windows.h>

namespace {
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception) {
  switch (exception->ExceptionRecord->ExceptionCode) {
  case EXCEPTION_ACCESS_VIOLATION:
    render_watch::EndRender("crashed (access violation)");
  case EXCEPTION_STACK_OVERFLOW:
    render_watch::EndRender("crashed (stack overflow)");
  case EXCEPTION_ILLEGAL_INSTRUCTION:
    render_watch::EndRender("crashed (illegal instruction)");
  case EXCEPTION_INT_DIVIDE_BY_ZERO:
    render_watch::EndRender("crashed (division by zero)");
  default:
    render_watch::EndRender("crashed");
  }
}
} // namespace

namespace render_watch {
void InstallCrashHandlers() {
  previousFilter = SetUnhandledExceptionFilter(OnCrash);
}

void RemoveCrashHandlers() {
  SetUnhandledExceptionFilter(previousFilter);
}

void WriteError(const char* text, size_t length) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
}

void RemoveFile(const char* path) {
  DeleteFileA(path);
}
} // namespace render_watch
