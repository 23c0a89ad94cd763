#pragma once

#include "blocks/SubcarrierMapper.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBusT.h"
#include "dataflow/DFModel.h"

#include <complex>
#include <cstdint>
#include <vector>

namespace OrvennModelBuilder {

// Places the complex samples of up to four input streams onto the
// sub-carriers of OFDM symbols. One firing writes one frame of
// symbolsPerFrame symbols of L = DFTSize * 2^DFTSizeShift samples on
// Output; each input branch fills its own pattern of sub-carrier positions,
// repeated until the frame is full. EVMRef carries the frame samples at the
// reference sub-carriers: those given explicitly, or every sub-carrier some
// branch uses.
//
// Sub-carrier k (in [-L/2, L/2 - 1]) of a symbol sits at position k + L/2
// when CenteredSymbol is nonzero, otherwise at (L + k) mod L.
//
// Unconnected Input branches and outputs are skipped. Frame positions no
// branch names are cleared every firing. If EVMRef is connected and Output is
// not, the frame is assembled in the block's own storage.
class DF_OFDM_SubcarrierMux : public DFModel {
 public:
  static constexpr int32_t kMaxInputs = 4;
  using ComplexBuffer = CircularBuffer<std::complex<double>>;

  bool Setup() override;
  bool Initialize() override;
  bool Run() override;
  bool Finalize() override;

  SubcarrierMapper mapper;

  // Every parameter is written by the owner before Setup; the zero
  // defaults fail Setup.
  int32_t DFTSize = 0;
  int32_t NumInput = 0;

  // Per input branch.
  const int32_t* CarriersPerSym[kMaxInputs] = {};  // carriers of each symbol of the pattern
  int32_t CarriersPerSymSize[kMaxInputs] = {};     // symbols in the pattern
  int32_t CarrierIndexType[kMaxInputs] = {};       // 0 list, 1 ranges, 2 data index file
  const int32_t* CarrierIndex[kMaxInputs] = {};    // sub-carrier numbers or ranges
  int32_t CarrierIndexSize[kMaxInputs] = {};
  std::vector<int32_t> loadedCarrierIndex[kMaxInputs];  // file contents, only during Setup
  int32_t DataIndexFileFormat[kMaxInputs] = {};         // 1 binary, else text
  const char* DataIndexFile[kMaxInputs] = {};

  std::vector<int32_t> loadedEVMRefIndex;  // file contents, only during Setup
  int32_t EVMRef_DataIndexFileFormat = 0;
  const char* EVMRef_DataIndexFile = nullptr;

  int32_t CenteredSymbol = 0;
  int32_t DFTSizeShift = 0;
  int32_t EVMRefExplicit = 0;  // 1: reference carriers from the EVMRef_ parameters

  const int32_t* EVMRef_NumCarriers = nullptr;
  int32_t EVMRef_NumCarriersSize = 0;
  int32_t EVMRef_CarrierIndexType = 0;
  const int32_t* EVMRef_CarrierIndex = nullptr;
  int32_t EVMRef_CarrierIndexSize = 0;

  CircularBufferBusT<ComplexBuffer> Input;
  ComplexBuffer Output;
  ComplexBuffer EVMRef;

 private:
  // The steps of Setup, in order.
  void StartFromEmptyLayout();
  // Reports the first parameter or pin the block cannot work with.
  bool AcceptsParameters();
  void ConfigureMapper();
  // Reads the data index files of the connected branches that name one.
  void ReadBranchDataIndexFiles();
  // Places each branch's sub-carriers in the frame.
  void PlaceBranchCarriers();
  // The reference sub-carriers: the explicit ones or every branch's.
  void PlaceReferenceCarriers();
  void SetPinBlockSizes();
  // The block's own frame, when EVMRef is connected and Output is not.
  void PrepareOwnFrame();

  CarrierPattern BranchPattern(int32_t branch) const;
  void ReleaseLoadedLists();
  // Reports the collected text and forgets the partial layout.
  bool FailSetup();
  // Reports a pin whose storage cannot hold what one firing moves.
  // `branch` is the Input branch, or -1 for a single pin.
  bool StorageFits(const ComplexBuffer& pin, size_t needed, const char* name, int32_t branch = -1);

  std::vector<std::complex<double>> frameStorage;  // frame when Output is unconnected
  ComplexBuffer privateFrame;                      // view of frameStorage
};

}  // namespace OrvennModelBuilder
