#include "blocks/DF_OFDM_SubcarrierMux.h"

#include "dataflow/ReportError.h"

#include <algorithm>
#include <string>

namespace OrvennModelBuilder {

CarrierPattern DF_OFDM_SubcarrierMux::BranchPattern(int32_t branch) const {
  CarrierPattern p;
  p.carriersPerSym = CarriersPerSym[branch];
  p.symbols = CarriersPerSymSize[branch];
  p.indexType = CarrierIndexType[branch];
  if (p.indexType == 2) {
    const std::vector<int32_t>& loaded = loadedCarrierIndex[branch];
    p.index = loaded.data();
    p.indexCount = int32_t(loaded.size());
  } else {
    p.index = CarrierIndex[branch];
    p.indexCount = CarrierIndexSize[branch];
  }
  return p;
}

void DF_OFDM_SubcarrierMux::ReleaseLoadedLists() {
  for (std::vector<int32_t>& list : loadedCarrierIndex) std::vector<int32_t>().swap(list);
  std::vector<int32_t>().swap(loadedEVMRefIndex);
}

bool DF_OFDM_SubcarrierMux::FailSetup() {
  ReportError(this, mapper.errorText.str());
  ReleaseLoadedLists();
  mapper.ClearLayout();
  return false;
}

bool DF_OFDM_SubcarrierMux::Setup() {
  StartFromEmptyLayout();
  if (!AcceptsParameters()) return false;
  ConfigureMapper();
  ReadBranchDataIndexFiles();
  if (mapper.HasErrors()) return FailSetup();
  PlaceBranchCarriers();
  if (mapper.HasErrors()) return FailSetup();
  PlaceReferenceCarriers();
  if (mapper.HasErrors()) return FailSetup();
  mapper.ListUnnamedPositions();
  SetPinBlockSizes();
  PrepareOwnFrame();
  return true;
}

void DF_OFDM_SubcarrierMux::StartFromEmptyLayout() {
  // A repeated Setup starts from an empty layout, so a failure never
  // leaves positions of an earlier configuration behind.
  mapper.ClearLayout();
  std::vector<std::complex<double>>().swap(frameStorage);
  privateFrame = ComplexBuffer();
}

bool DF_OFDM_SubcarrierMux::AcceptsParameters() {
  if (DFTSize < 4 || DFTSize % 2 != 0) {
    ReportError(this, "DFTSize should be a positive even integer (>=4)");
    return false;
  }
  if (NumInput < 1 || NumInput > kMaxInputs) {
    ReportError(this, "NumInput must be in the range of [1,4]");
    return false;
  }
  if (Input.count != uint32_t(NumInput)) {
    ReportError(this, "Bus width of pin Input must equals to parameter NumInput");
    return false;
  }
  bool anyConnected = false;
  for (int32_t i = 0; i < NumInput; ++i) anyConnected = anyConnected || Input.At(uint32_t(i))->IsConnected();
  if (!anyConnected) {
    ReportError(this, "At least one branch of pin Input must be connected.\n");
    return false;
  }
  if (SubcarrierMapper::SymbolLength(DFTSize, DFTSizeShift) < 0) {
    ReportError(this, "DFTSizeShift must be >= 0 and keep DFTSize*2^DFTSizeShift within 2147483647");
    return false;
  }
  return true;
}

void DF_OFDM_SubcarrierMux::ConfigureMapper() {
  mapper.SetDFTSize(DFTSize);
  mapper.SetBranchCount(NumInput);
  for (int32_t i = 0; i < NumInput; ++i) mapper.SetConnected(i, Input.At(uint32_t(i))->IsConnected());
  mapper.SetDFTSizeShift(DFTSizeShift);
  mapper.SetCenteredSymbol(CenteredSymbol);
}

void DF_OFDM_SubcarrierMux::ReadBranchDataIndexFiles() {
  // In branch order; the first file that fails ends the stage. A branch
  // whose carrier counts are unusable is not read: the position stage
  // reports it.
  for (int32_t i = 0; i < NumInput; ++i) {
    if (!mapper.connected[size_t(i)] || CarrierIndexType[i] != 2 ||
        !SubcarrierMapper::UsableCounts(CarriersPerSym[i], CarriersPerSymSize[i]))
      continue;
    mapper.ReadDataIndexFile(CarriersPerSym[i], CarriersPerSymSize[i], loadedCarrierIndex[i], DataIndexFileFormat[i],
                             DataIndexFile[i]);
    if (mapper.HasErrors()) return;
  }
}

void DF_OFDM_SubcarrierMux::PlaceBranchCarriers() {
  CarrierPattern patterns[kMaxInputs];
  for (int32_t i = 0; i < NumInput; ++i) patterns[i] = BranchPattern(i);
  mapper.BuildBranchPositions(patterns);
  ReleaseLoadedLists();
}

void DF_OFDM_SubcarrierMux::PlaceReferenceCarriers() {
  mapper.explicitReference = EVMRefExplicit == 1;
  if (!mapper.explicitReference) {
    mapper.BuildUnionReference();
    return;
  }
  CarrierPattern reference;
  reference.carriersPerSym = EVMRef_NumCarriers;
  reference.symbols = EVMRef_NumCarriersSize;
  reference.indexType = EVMRef_CarrierIndexType;
  reference.index = EVMRef_CarrierIndex;
  reference.indexCount = EVMRef_CarrierIndexSize;
  if (EVMRef_CarrierIndexType == 2) {
    if (SubcarrierMapper::UsableCounts(EVMRef_NumCarriers, EVMRef_NumCarriersSize))
      mapper.ReadDataIndexFile(EVMRef_NumCarriers, EVMRef_NumCarriersSize, loadedEVMRefIndex,
                               EVMRef_DataIndexFileFormat, EVMRef_DataIndexFile);
    reference.index = loadedEVMRefIndex.data();
    reference.indexCount = int32_t(loadedEVMRefIndex.size());
  }
  if (!mapper.HasErrors()) mapper.BuildExplicitReference(reference);
  ReleaseLoadedLists();
}

void DF_OFDM_SubcarrierMux::SetPinBlockSizes() {
  for (int32_t i = 0; i < NumInput; ++i)
    if (mapper.connected[size_t(i)]) Input.At(uint32_t(i))->SetBlockSize(uint32_t(mapper.samplesPerFiring[size_t(i)]));
  if (EVMRef.IsConnected()) EVMRef.SetBlockSize(uint32_t(mapper.evmRefLength));
  if (Output.IsConnected() || EVMRef.IsConnected()) Output.SetBlockSize(uint32_t(mapper.frameLength));
}

void DF_OFDM_SubcarrierMux::PrepareOwnFrame() {
  if (Output.IsConnected() || !EVMRef.IsConnected()) return;
  frameStorage.assign(size_t(mapper.frameLength), std::complex<double>());
  privateFrame.Attach(frameStorage.data(), uint32_t(frameStorage.size()), uint32_t(mapper.frameLength), 0);
}

bool DF_OFDM_SubcarrierMux::Initialize() { return true; }

bool DF_OFDM_SubcarrierMux::Finalize() { return true; }

bool DF_OFDM_SubcarrierMux::StorageFits(const ComplexBuffer& pin, size_t needed, const char* name, int32_t branch) {
  if (needed == 0 || (pin.data != nullptr && pin.position < pin.capacity && pin.capacity >= needed)) return true;
  std::string text = "Storage of ";
  if (branch >= 0) text += "branch " + std::to_string(branch) + " of ";
  text += "pin ";
  text += name;
  text += " holds fewer elements than one firing moves";
  ReportError(this, text);
  return false;
}

bool DF_OFDM_SubcarrierMux::Run() {
  const bool toReference = EVMRef.IsConnected();
  if (!Output.IsConnected() && !toReference) return true;
  ComplexBuffer& frame = Output.IsConnected() ? Output : privateFrame;

  // The layout was checked by Setup; the storages are the owner's, so
  // they are checked here before anything is written.
  const size_t branches = std::min<size_t>(mapper.branchPositions.size(), Input.count);
  bool fits = StorageFits(frame, size_t(mapper.frameLength), "Output");
  if (toReference) fits = StorageFits(EVMRef, mapper.referencePositions.size(), "EVMRef") && fits;
  for (size_t i = 0; i < branches; ++i)
    fits = StorageFits(*Input.At(uint32_t(i)), mapper.branchPositions[i].size(), "Input", int32_t(i)) && fits;
  if (!fits) return false;

  std::complex<double>* const out = frame.data;
  for (int32_t p : mapper.unnamedPositions) out[frame.Index(uint32_t(p))] = std::complex<double>();
  for (size_t i = 0; i < branches; ++i) {
    if (!mapper.connected[i]) continue;
    const ComplexBuffer& in = *Input.At(uint32_t(i));
    const std::vector<int32_t>& positions = mapper.branchPositions[i];
    for (size_t j = 0; j < positions.size(); ++j)
      out[frame.Index(uint32_t(positions[j]))] = in.data[in.Index(uint32_t(j))];
  }
  if (toReference) {
    const std::vector<int32_t>& reference = mapper.referencePositions;
    for (size_t i = 0; i < reference.size(); ++i)
      EVMRef.data[EVMRef.Index(uint32_t(i))] = out[frame.Index(uint32_t(reference[i]))];
  }
  return true;
}

}  // namespace OrvennModelBuilder
