#include "ISwitchFramesControl.h"

ISwitchFramesControl::ISwitchFramesControl(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap,
                                           bool imagesAreHorizontal, int blendMethod)
  : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod), mParts(256)
{
  mDisablePrompt = false;
  const int n = mBitmap.N;
  if (n < 1) return;
  const int lo = imagesAreHorizontal ? mRECT.L : mRECT.T;
  const float step = static_cast<float>((imagesAreHorizontal ? mRECT.R : mRECT.B) - lo) / static_cast<float>(n);
  for (int i = 0; i < n; ++i)
  {
    const int start = lo + static_cast<int>(static_cast<float>(i) * step);
    const int end = static_cast<int>(static_cast<float>(start) + step);
    if (imagesAreHorizontal)
      mParts.Add(IRECT(start, mRECT.T, end, mRECT.B));
    else
      mParts.Add(IRECT(mRECT.L, start, mRECT.R, end));
  }
}

void ISwitchFramesControl::OnMouseDown(int x, int y, IMouseMod* /*mod*/)
{
  const int n = mParts.GetSize();
  for (int i = 0; i < n; ++i)
  {
    if (mParts.Get()[i].Contains(x, y))
    {
      // One frame means one choice; i / (n - 1) would be 0 / 0.
      SetValue(n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0);
      break;
    }
  }
  SetDirty(true);
}
