#pragma once

// The channels idx .. idx+n-1 cut to [0, count): iterate first <= i < end.
struct ChannelRange
{
  int first, end;
};

inline ChannelRange CutRange(int idx, int n, int count)
{
  const long long first = idx < 0 ? 0 : idx;
  long long end = static_cast<long long>(idx) + n;
  if (end > count) end = count;
  return {static_cast<int>(first), static_cast<int>(end < first ? first : end)};
}
