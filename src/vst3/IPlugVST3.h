#pragma once
// The VST3 face of a plug-in: one object that is the host's audio component,
// audio processor and edit controller, driving the plug-in base underneath.
//
// Threads: the host's audio thread calls only process(), which holds the
// base's mutex for the whole block. Every other entry point comes from the
// host's main thread; the state calls take the same mutex, the controller
// queries take none.
//
// Parameter IDs: the base's parameter index is the VST3 ID (0, 1, ...); the
// wrapper adds 'prst' (program change) and 'bpas' (the host's bypass).
#include "IPlugBase.h"
#include "IPlugInstanceInfo.h"
#include "SingleComponentEffect.h"
#include "WDL_PtrList.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

class IPlugVST3View;

class IPlugVST3 : public IPlugBase, public Steinberg::Vst::SingleComponentEffect
{
public:
  static constexpr Steinberg::Vst::ParamID kPresetParam = 0x70727374; // 'prst'
  static constexpr Steinberg::Vst::ParamID kBypassParam = 0x62706173; // 'bpas'

  IPlugVST3(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
            const char* effectName, const char* productName, const char* mfrName, int vendorVersion, int uniqueID,
            int mfrID, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
            int nSidechainChannels = 0);
  ~IPlugVST3() override;

  // ---- The base's host side ----------------------------------------------------------
  // [main thread] Asks the host to show its context menu for a parameter.
  void PopupHostContextMenuForParam(int paramIdx, int x, int y) override;
  // [main thread] Edits made in the editor, passed to the host's component handler.
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfProgramChange() override {}
  // [audio thread, mutex held] Read the set-up and the last block's process context.
  bool IsRenderingOffline() override;
  int GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  // [main thread] Asks the host's frame to resize the first open view.
  void ResizeGraphics(int width, int height) override;
  // [main thread] Stores the latency and tells the host to ask for it again.
  void SetLatency(int samples) override;
  // MIDI output is not offered.
  bool SendMidiMsg(IMidiMsg* /*msg*/) override { return false; }

  // ---- Component and processor [main thread unless noted] ----------------------------
  // Identifies the host, creates buses and parameters, restores preset 0.
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API terminate() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) SMTG_OVERRIDE;
  // [main thread, locks] Waits for a block in progress.
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
  // [main thread, allocates, locks] Sizes every scratch buffer, resets the effect.
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
  // [audio thread, locks the base's mutex, no allocation] One block.
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;

  // ---- Controller [main thread] ------------------------------------------------------------
  // "editor" gives a new view holding a reference on this object; anything else null.
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;
  // [main thread, locks] The host's copy of the state: the parameter chunk, then
  // the bypass flag as a little-endian int32.
  Steinberg::tresult setEditorState(Steinberg::IBStream* state) SMTG_OVERRIDE;
  Steinberg::tresult getEditorState(Steinberg::IBStream* state) SMTG_OVERRIDE;
  // Set the IParam only: the next block's queue, not this call, reaches the
  // effect. 'bpas' sets the host's bypass flag, which the next block obeys.
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID tag,
                                                   Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID tag) SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(Steinberg::Vst::ParamID tag,
                                                               Steinberg::Vst::ParamValue plainValue) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID tag,
                                                      Steinberg::Vst::ParamValue valueNormalized,
                                                      Steinberg::Vst::String128 string) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getParamValueByString(Steinberg::Vst::ParamID tag, Steinberg::Vst::TChar* string,
                                                      Steinberg::Vst::ParamValue& valueNormalized) SMTG_OVERRIDE;
  Steinberg::int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex, Steinberg::Vst::UnitInfo& info) SMTG_OVERRIDE;
  Steinberg::int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE { return 0; }
  Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                   Steinberg::Vst::ProgramListInfo& info) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                               Steinberg::Vst::String128 name) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID, Steinberg::int32, Steinberg::Vst::CString,
                                               Steinberg::Vst::String128) SMTG_OVERRIDE
  {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID, Steinberg::int32) SMTG_OVERRIDE
  {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID, Steinberg::int32, Steinberg::int16,
                                                    Steinberg::Vst::String128) SMTG_OVERRIDE
  {
    return Steinberg::kNotImplemented;
  }
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() SMTG_OVERRIDE { return Steinberg::Vst::kRootUnitId; }
  Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID) SMTG_OVERRIDE { return Steinberg::kNotImplemented; }
  Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType, Steinberg::Vst::BusDirection, Steinberg::int32,
                                             Steinberg::int32, Steinberg::Vst::UnitID&) SMTG_OVERRIDE
  {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32, Steinberg::int32, Steinberg::IBStream*) SMTG_OVERRIDE
  {
    return Steinberg::kNotImplemented;
  }

  OBJ_METHODS(IPlugVST3, Steinberg::Vst::SingleComponentEffect)
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID queryIID, void** obj) SMTG_OVERRIDE;
  REFCOUNT_METHODS(Steinberg::Vst::SingleComponentEffect)

  // Pass an edit to the host's component handler; kResultFalse when none is installed.
  Steinberg::tresult beginEdit(Steinberg::Vst::ParamID tag) SMTG_OVERRIDE;
  Steinberg::tresult performEdit(Steinberg::Vst::ParamID tag, Steinberg::Vst::ParamValue valueNormalized) SMTG_OVERRIDE;
  Steinberg::tresult endEdit(Steinberg::Vst::ParamID tag) SMTG_OVERRIDE;

  // ---- Views [main thread] ---------------------------------------------------------------
  int NViews() const { return mViews.GetSize(); }
  IPlugVST3View* GetView(int idx) const { return mViews.Get(idx); }
  // A view going away forgets every view: the list never holds a dangling entry.
  void ForgetViews();

private:
  template <class SampleT>
  void ProcessAudio(Steinberg::Vst::ProcessData& data);
  void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  void ApplyMidiEvents(Steinberg::Vst::IEventList* events);
  void AddParameters();
  Steinberg::Vst::UnitID UnitForGroup(const char* group);

  int mSidechainChannels;
  bool mSidechainActive = false;
  Steinberg::Vst::ProcessContext mProcessContext{};
  WDL_PtrList<IPlugVST3View> mViews;
};
