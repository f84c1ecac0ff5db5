// The audio path must not allocate: replace the global allocator in this
// test binary and count allocations made while blocks are processed.
#include <gtest/gtest.h>

#include <vector>

#include "CountingAllocator.h"
#include "HostBlock.h"
#include "MURAX.h"

using testkit::tAllocations;
using testkit::tCounting;

TEST(AudioPath, ProcessingAllocatesNothing)
{
  IPlugBase* plug = MakePlug();
  plug->OnParamReset();
  SetupHostProcessing(*plug, 48000.0, 256);
  std::vector<float> in(1000, 0.25f), out0(1000), out1(1000);
  std::vector<double> din(1000, 0.25), dout(1000);
  float* ins[] = {in.data(), in.data()};
  float* outs[] = {out0.data(), out1.data()};
  double* dins[] = {din.data()};
  double* douts[] = {dout.data()};

  tCounting = true;
  ProcessHostBlock(*plug, ins, outs, 2, 2, 256);
  ProcessHostBlock(*plug, ins, outs, 2, 2, 1000); // longer than announced: run in pieces
  ProcessHostBlock(*plug, dins, douts, 1, 1, 77);
  plug->SetParameterFromGUI(0, 0.7);
  ProcessHostBlock(*plug, ins, outs, 2, 2, 0);
  tCounting = false;

  EXPECT_EQ(tAllocations, 0);
  delete plug;
}
