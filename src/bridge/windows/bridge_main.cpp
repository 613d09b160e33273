#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "bridge_program.h"
#include "com_jv_link.h"
#include "windows_text.h"

// orvalle-jvbridge.exe: the bridge program with the JV-Link component of
// this Windows machine.
namespace {

using orvalle::bridge::utf8;

std::atomic<bool> g_cancel{false};

BOOL WINAPI onConsoleControl(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
    g_cancel = true;
    return TRUE;
  }
  return FALSE;
}

// The arguments as UTF-8, whatever the ANSI code page.
std::vector<std::string> arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(utf8(wide[i]));
  LocalFree(wide);
  return args;
}

// Holds `folder` for this run: its lock file open without sharing, so a
// second bridge on the same folder is refused until this one ends.
std::shared_ptr<void> lockFolder(const std::filesystem::path& folder, std::string& failure) {
  const std::filesystem::path lockFile = folder / L"jvbridge.lock";
  const HANDLE handle = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    failure =
        GetLastError() == ERROR_SHARING_VIOLATION
            ? "ほかのorvalle-jvbridgeがこのフォルダに書き込み中です。終わってから実行してください。"
            : "フォルダをロックできませんでした: " + utf8(lockFile.c_str());
    return nullptr;
  }
  return std::shared_ptr<void>(handle, [](void* held) { CloseHandle(held); });
}

}  // namespace

int main() {
  using namespace orvalle;
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCtrlHandler(onConsoleControl, TRUE);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::cerr << "COMを初期化できませんでした。\n";
    return 2;
  }

  bridge::BridgePlatform platform;
  platform.makeComponent = [](bool textRead, std::string& failure) {
    bridge::Component component;
    auto link = bridge::ComJvLink::create(bridge::ComJvLink::kProgramId, failure);
    if (!link) return component;
    if (textRead) link->useTextRead();
    component.readOperation = link->readsBytes() ? store::codes::JvLinkOperation::kJVGets
                                                 : store::codes::JvLinkOperation::kJVRead;
    component.link = std::move(link);
    return component;
  };
  platform.pause = [] { Sleep(100); };
  platform.cancel = &g_cancel;
  platform.lockFolder = lockFolder;

  const int status = bridge::runBridge(arguments(), platform, std::cout, std::cerr);
  std::cout.flush();
  CoUninitialize();
  return status;
}
