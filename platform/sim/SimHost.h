// A whole simulated Windows machine, installed as the process's backends for the object's lifetime.
#pragma once

#include "platform/Backends.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimUi.h"

namespace platform::sim {

class SimHost {
 public:
  SimHost() : backends_({&system, &ui}) { ui.ansiCodePage = &system.ansiCodePage; }
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  SimSystem system;
  SimUi ui;

 private:
  ScopedBackends backends_;
};

}  // namespace platform::sim
