// A whole simulated Windows machine, installed as the process's backends for the object's lifetime.
#pragma once

#include "platform/Backends.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimJournal.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimModules.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSetup.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimUi.h"

namespace platform::sim {

struct MachineKind {
  bool is64BitWindows = true;
};

class SimHost {
 public:
  explicit SimHost(MachineKind kind = {}) : machine(Configured(kind)), files(machine) {
    ui.ansiCodePage = &system.ansiCodePage;
  }
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  SimMachine machine;
  SimSystem system{machine};
  SimUi ui;
  SimRegistry registry{machine};
  SimModules modules{machine};
  SimFiles files;
  SimShell shell{machine, files, system};
  SimJournal journal;
  SimSetup setup{machine, files, journal};
  SimServices services{machine, journal};

 private:
  static SimMachine Configured(MachineKind kind) {
    SimMachine configured;
    configured.is64BitWindows = kind.is64BitWindows;
    return configured;
  }

  ScopedBackends backends_{Backends{&system, &ui, &registry, &modules, &files, &shell, &setup, &services}};
};

}  // namespace platform::sim
