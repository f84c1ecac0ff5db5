#include "IPlugBase.h"

void IPlugBase::CreatePresets(int nPresets)
{
  for (int i = 0; i < nPresets; ++i) mPresets.Add(new IPreset);
}

void IPlugBase::DeletePresets() { mPresets.DeleteAll(true); }
