#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CoreTestSupport.h"

TEST(Resize, StartsAFreshSurfaceAndTellsThePlugIn)
{
  EditorRig rig(200, 100);
  rig.plug.GetParam(0)->InitDouble("Zero", 0.5, 0.0, 1.0, 0.01);
  auto* probe = new ProbeControl(&rig.plug, IRECT(0, 0, 50, 50), 0);
  rig.graphics->AttachControl(probe);
  rig.Attach();
  IMouseMod left(true);
  rig.graphics->OnMouseDown(10, 10, &left);
  rig.graphics->Resize(300, 150);
  EXPECT_EQ(rig.graphics->Width(), 300);
  EXPECT_EQ(rig.graphics->Height(), 150);
  EXPECT_EQ(rig.graphics->NControls(), 0) << "the caller attaches controls again";
  EXPECT_EQ(rig.graphics->GetMouseCapture(), -1);
  EXPECT_EQ(rig.plug.Trace(), "b0 e0") << "the edit of the deleted control is ended";
  ASSERT_NE(rig.graphics->GetDrawBitmap(), nullptr);
  EXPECT_EQ(rig.graphics->GetDrawBitmap()->getWidth(), 300);
  EXPECT_EQ(rig.graphics->GetDrawBitmap()->getHeight(), 150);
  EXPECT_EQ(rig.plug.resizedW, 300);
  EXPECT_EQ(rig.plug.resizedH, 150);
  rig.graphics->OnMouseUp(10, 10, &left);
  EXPECT_EQ(rig.plug.Trace(), "b0 e0");
}

// The audio thread pushes values into the control list while the UI thread
// rebuilds it; run under AddressSanitizer this catches any use after free.
TEST(Resize, RebuildsTheControlsWhileProcessingPushesValues)
{
  EditorRig rig(200, 100);
  rig.plug.GetParam(0)->InitDouble("Zero", 0.5, 0.0, 1.0, 0.01);
  for (int i = 0; i < 8; ++i) rig.graphics->AttachControl(new ProbeControl(&rig.plug, IRECT(i, i, 50, 50), 0));
  rig.Attach();
  std::atomic<bool> stop{false};
  std::atomic<long> pushes{0};
  std::thread audio([&] {
    double v = 0.0;
    while (!stop.load())
    {
      WDL_MutexLock lock(&rig.plug.GetMutex());
      rig.graphics->SetParameterFromPlug(0, v, true);
      v = v > 0.9 ? 0.0 : v + 0.01;
      pushes.fetch_add(1);
    }
  });
  for (int round = 0; round < 300; ++round)
  {
    rig.graphics->Resize(200 + round % 3, 100);
    for (int i = 0; i < 8; ++i) rig.graphics->AttachControl(new ProbeControl(&rig.plug, IRECT(i, i, 50, 50), 0));
    while (pushes.load() < round) std::this_thread::yield();
  }
  stop.store(true);
  audio.join();
  EXPECT_EQ(rig.graphics->NControls(), 8);
  EXPECT_GE(pushes.load(), 300);
}
