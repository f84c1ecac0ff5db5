// Any bytes as the controller's setState stream. Before each input the
// instance holds its defaults, so every outcome is known: the stream's first
// 40 bytes over the defaults' bytes, each double clamped into its range (a
// value that is not finite gives the default), then the bypass flag when four
// more bytes follow; getState gives exactly that back.
#include <cmath>
#include <cstring>

#include "HostObjects.h"
#include "MURAX.h"

using namespace Steinberg;

#define FUZZ_CHECK(condition) \
  do \
  { \
    if (!(condition)) __builtin_trap(); \
  } while (0)

namespace
{
constexpr size_t kChunk = 40, kState = 44;

struct Instance
{
  Instance() : plug(static_cast<MURAX*>(MakePlug()))
  {
    FUZZ_CHECK(plug->initialize(&host) == kResultOk);
    Vst::IEditController* c = nullptr;
    FUZZ_CHECK(plug->queryInterface(Vst::IEditController::iid, reinterpret_cast<void**>(&c)) == kResultOk);
    controller = c;
    controller->release(); // the instance's own reference keeps it alive
    defaults = Save();
    FUZZ_CHECK(defaults.size() == kState);
  }

  std::vector<uint8_t> Save()
  {
    vst3host::ByteStream out;
    FUZZ_CHECK(controller->getState(&out) == kResultOk);
    return out.data;
  }

  vst3host::HostApplication host;
  MURAX* plug;
  Vst::IEditController* controller = nullptr;
  std::vector<uint8_t> defaults;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static Instance* it = new Instance;
  vst3host::ByteStream reset(it->defaults);
  FUZZ_CHECK(it->controller->setState(&reset) == kResultOk);

  vst3host::ByteStream in(std::vector<uint8_t>(data, data + size));
  const tresult result = it->controller->setState(&in);
  FUZZ_CHECK(result == (size >= kState ? kResultOk : kResultFalse));

  std::vector<uint8_t> expected = it->defaults;
  std::memcpy(expected.data(), data, size < kChunk ? size : kChunk);
  for (int i = 0; i < it->plug->GetParamCount(); ++i)
  {
    const IParam* param = it->plug->GetParam(i);
    double v;
    std::memcpy(&v, expected.data() + 8 * i, 8);
    if (!std::isfinite(v)) v = param->GetDefault();
    if (v < param->GetMin()) v = param->GetMin();
    if (v > param->GetMax()) v = param->GetMax();
    std::memcpy(expected.data() + 8 * i, &v, 8);
    FUZZ_CHECK(param->Value() == v);
  }
  if (size >= kState)
  {
    const bool bypassed = data[40] | data[41] | data[42] | data[43];
    std::memset(expected.data() + kChunk, 0, 4);
    expected[kChunk] = bypassed ? 1 : 0;
    FUZZ_CHECK(it->controller->getParamNormalized(MURAX::kBypassParam) == (bypassed ? 1.0 : 0.0));
  }
  FUZZ_CHECK(it->Save() == expected);
  return 0;
}
