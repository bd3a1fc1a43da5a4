// The one store of all records of a job, with the run-wide values and the open files.
// It is created once, reset by initialise_model at the start of every job, and passed by
// reference to every stage.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "controlfile/line_reader.h"
#include "controlfile/phase.h"
#include "controlfile/run_settings.h"
#include "data/pattern.h"
#include "data/resolution_file.h"
#include "reflections/reflection.h"
#include "run/capacities.h"
#include "run/file_table.h"
#include "run/run_state.h"
#include "symmetry/space_group.h"
#include "tables/species.h"
#include "ui/ui.h"

namespace kestovar {

// Limits attached to parameter numbers by the hard-limit lines, and per-parameter results.
struct ParameterLimits {
  std::array<int, MSZ + 1> HasLimits{};
  std::array<float, MSZ + 1> Low{}, High{};
};

struct RefinedParameter {
  std::array<float, MSZ + 1> Shift{}, Sigma{};
};

// Everything a job reads and computes; reset at every job.
struct JobRecords {
  RunSettings settings;
  ControlReader reader;
  Pattern pattern;
  std::array<Phase, NPHT + 1> phases{};
  std::vector<AtomSite> atoms = std::vector<AtomSite>(NATS + 1);
  int NatTotal = 0;
  std::array<SpaceGroup, NPHT + 1> groups{};
  ParameterLimits limits;
  RefinedParameter refined;
  SpeciesList species;
  ResolutionData resolution;
  ReflectionList reflections;
};

struct ModelStore {
  explicit ModelStore(ui::Ui& window) : ui(&window), job(std::make_unique<JobRecords>()) {}

  ui::Ui* ui;           // the windowing layer (not owned)
  FileTable files;      // open files by unit
  int MessageUnit = 6;  // 6: the text window; otherwise a unit number
  std::string CurrentFileName;
  int CurrentUnit = 0;
  int HklSource = 0;  // 0: the last kind-6 open took its first name
  RunState run;       // survives from job to job
  std::unique_ptr<JobRecords> job;

  // Short access to the job records.
  RunSettings& settings() { return job->settings; }
  Pattern& pattern() { return job->pattern; }
  Phase& phase(int n) { return job->phases[n]; }
};

// Resets the job records to their defaults; the run-wide values stay.
void initialise_model(ModelStore& store);

// Writes the dimension report to `unit`.
void print_dimensions(ModelStore& store, int unit);

}  // namespace kestovar
