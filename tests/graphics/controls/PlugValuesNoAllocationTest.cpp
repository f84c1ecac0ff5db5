// Values from the plug-in reach the controls on the audio thread, which must
// not allocate: this binary replaces the global allocator and counts.
#include <gtest/gtest.h>

#include "CountingAllocator.h"
#include "ControlTestKit.h"
#include "ICaptionControl.h"
#include "IFaderControl.h"
#include "IKnobMultiControl.h"
#include "IRadioButtonsControl.h"
#include "ISwitchControl.h"

using testkit::tAllocations;
using testkit::tCounting;

using namespace controltest;

TEST(PlugValuesToControls, AllocateNothingAlsoWhileAControlIsHeld)
{
  auto strip = MakeStrip(10, 10, 61);
  auto twoFrames = MakeStrip(10, 10, 2);
  IBitmap bitmap = AsIBitmap(strip.get(), 61);
  IBitmap buttons = AsIBitmap(twoFrames.get(), 2);
  Editor editor;
  IText style;
  auto* knob = new IKnobMultiControl(&editor.plug, 0, 0, kGain, &bitmap);
  knob->AddAuxParam(kSteps);
  editor.Attach(knob);
  editor.Attach(new ISwitchControl(&editor.plug, 20, 0, kPower, &buttons));
  editor.Attach(new IRadioButtonsControl(&editor.plug, IRECT(40, 0, 80, 10), kMode, 3, &buttons, kHorizontal));
  editor.Attach(new IFaderControl(&editor.plug, 0, 20, 50, kSteps, &buttons, kHorizontal));
  editor.Attach(new ICaptionControl(&editor.plug, IRECT(0, 40, 100, 60), kGain, &style));
  editor.Open();
  IMouseMod left = LeftButton();
  editor.gfx()->OnMouseDown(5, 5, &left); // holds the knob

  int allocations = 0;
  {
    WDL_MutexLock lock(&editor.plug.GetMutex());
    tCounting = true;
    for (int block = 0; block < 100; ++block)
      for (int p = 0; p < kNParams; ++p) editor.gfx()->SetParameterFromPlug(p, (block % 10) / 9.0, true);
    tCounting = false;
    allocations = tAllocations;
  }
  EXPECT_EQ(allocations, 0);

  editor.gfx()->OnMouseUp(5, 5, &left);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0) << "the held knob took the last value at the release";
}
