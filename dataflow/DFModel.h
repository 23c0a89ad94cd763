#pragma once

namespace OrvennModelBuilder {

// Base of every dataflow block and of every network built from blocks.
//
// Lifecycle: Setup (once, validates parameters and declares pin block
// sizes), Initialize (once, pin storage is attached by then), Run (once per
// firing), Finalize (once, also after a failed Setup or Initialize).
// Every operation returns true on success; a block that fails writes its
// reason with ReportError and returns false.
class DFModel {
 public:
  DFModel() = default;
  DFModel(const DFModel&) = default;
  DFModel& operator=(const DFModel&) = default;

  virtual bool Setup();
  virtual bool Initialize();
  virtual bool Run();
  virtual bool Finalize();
  virtual bool CheckParameters();
  virtual ~DFModel();
};

}  // namespace OrvennModelBuilder
