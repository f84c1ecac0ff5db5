#pragma once
#include "CabinetChain.h"
#include "MuraxWrapper.h"

// The cabinet effect: five parameters driving a three-filter cabinet chain.
class MURAX : public MuraxWrapper
{
public:
  enum EParams
  {
    kMicPlacement = 0,
    kCabinetSize,
    kCharacter,
    kOutput,
    kBypass,
    kNumParams
  };

  static constexpr int kUniqueID = ('M' << 24) | ('R' << 16) | ('X' << 8) | '1';
  static constexpr int kMfrID = ('T' << 24) | ('d' << 16) | ('m' << 8) | 'r';
  static constexpr int kVersion = 0x00010000;
  static constexpr int kEditorWidth = 702;
  static constexpr int kEditorHeight = 436;

  explicit MURAX(IPlugInstanceInfo instanceInfo);
  ~MURAX() override;

  // [any thread, locks] Waits for a block in progress; clears nothing.
  void Reset() override;
  // [any thread, locks] Copies the plain value the next block will glide to.
  void OnParamChange(int paramIdx) override;
  // [audio thread, mutex held by the caller, no allocation]
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;

  const CabinetControls& Controls() const { return mControls; }
  const CabinetChain& Chain() const { return mChain; }

private:
  CabinetControls mControls;
  CabinetChain mChain;
};

// Creates one effect; constructions are serialised process-wide.
IPlugBase* MakePlug();
