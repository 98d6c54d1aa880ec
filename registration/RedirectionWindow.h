// WOW64 file-system redirection of the calling thread, switched off for the registration run's file work
// and switched back exactly once: explicitly where the run says so, or when the window closes.
#pragma once

#include <cstdint>

#include "platform/ModuleApi.h"

namespace registration {

class RedirectionWindow {
 public:
  enum class Opening { Opened, EntryPointMissing, SwitchOffRefused };

  RedirectionWindow() = default;
  ~RedirectionWindow() { SwitchBack(); }
  RedirectionWindow(const RedirectionWindow&) = delete;
  RedirectionWindow& operator=(const RedirectionWindow&) = delete;

  // Looks up both kernel32 entry points by name and switches redirection off.
  Opening Open();
  // Switches redirection back on if this window switched it off; later calls do nothing.
  void SwitchBack();

 private:
  platform::ProcAddress revert_ = 0;
  std::uintptr_t savedState_ = 0;
  bool switchedOff_ = false;
};

}  // namespace registration
