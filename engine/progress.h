// SPDX-License-Identifier: MIT
// How the engine reports its progress and learns that it should stop. The desktop tool
// implements it over queued signals to its window, the command line over stderr. The engine
// calls it on the thread that runs the conversion.
#pragma once

#include <cstdint>

// What the engine is doing; each front end says it in its own words.
enum class ProgressState {
  Idle,       // nothing (a run has ended)
  Exporting,  // a conversion runs
};

class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;
  // Share of the work done, 0 to 100; called when it changes.
  virtual void SetPosition(int percent) { (void)percent; }
  // Units read so far; called with the position.
  virtual void SetUnits(int64_t units) { (void)units; }
  // What the engine is doing; called when it starts and stops.
  virtual void SetState(ProgressState state) { (void)state; }
  // Asked between blocks and units: true stops the run (nothing is written).
  virtual bool ShouldStop() { return false; }
};
