#pragma once
#include "DC.h"
#include "ProcessorONE.h"
#include "ProcessorTHREE.h"
#include "ProcessorTWO.h"
#include "Smooth.h"

// Plain parameter values 0..10, as last reported by the parameters.
struct CabinetControls
{
  double micValue = 0, sizeValue = 0, characterValue = 0, outputValue = 0;
};

// Everything the cabinet chain carries from one block to the next. Filter records are per channel.
struct CabinetState
{
  OnePoleSmoother micSmoother, sizeSmoother, characterSmoother, outputSmoother, derivedSizeSmoother;
  double micTarget = 0, sizeTarget = 0, characterTarget = 0, outputTarget = 0, derivedSizeTarget = 0;
  ProcessorONE one[2];
  ProcessorTWO two[2];
  ProcessorTHREE three[2];
  DC dc[2];

  // [audio thread] Start of every block: smoother weights from the sample rate (time constant one
  // second per advance), targets from the controls.
  void PrepareBlock(double fs, const CabinetControls& controls);
};
