#pragma once
#include <atomic>
#include <memory>

#include "Hosts.h"
#include "IEditor.h"
#include "IParam.h"
#include "IPreset.h"
#include "IPlugStructs.h"
#include "ITimeInfo.h"
#include "NChanDelay.h"
#include "WDL_Mutex.h"
#include "WDL_PtrList.h"
#include "WDL_String.h"
#include "WDL_TypedBuf.h"

enum EAPI
{
  kAPIVST2 = 0,
  kAPIVST3 = 1,
  kAPIAU = 2,
  kAPIRTAS = 3,
  kAPIAAX = 4,
  kAPISA = 5,
};


// The host-independent core of one plug-in instance: parameters, channel
// records with their scratch buffers, identity, the host, and the one
// recursive mutex that serialises audio processing against everything else.
//
// Threads: the audio thread runs Attach*/ProcessBuffers/PassThroughBuffers
// with `mMutex` held by the wrapper; the main thread does everything else.
class IPlugBase
{
public:
  static constexpr int kNameSize = 128;

  // Name texts longer than kNameSize - 1 are truncated.
  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName, const char* productName,
            const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
            bool plugDoesChunks, bool plugIsInst, EAPI plugAPI);
  virtual ~IPlugBase();
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Hooks the effect overrides ------------------------------------------
  // [main thread, locks] Called after set-up; the base only waits for a block in progress.
  virtual void Reset();
  // [any thread, locks] A parameter's value changed.
  virtual void OnParamChange(int paramIdx);
  // [audio thread, mutex held, no allocation] One pointer per channel of the
  // largest configuration, each valid for nFrames samples.
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames);
  virtual void OnGUIOpen() {}
  virtual void OnGUIClose() {}
  virtual void OnIdle() {}
  virtual void OnActivate(bool active);
  virtual void ProcessMidiMsg(IMidiMsg* msg);
  virtual void ProcessSysEx(ISysEx* /*msg*/) {}
  virtual bool MidiNoteName(int noteNumber, char* name);
  // The state is every parameter's plain value as a little-endian double, in
  // index order, with no header: the reader relies on the parameter count.
  // [main thread, or audio thread inside the wrapper's block lock; locks]
  virtual bool SerializeState(ByteChunk* chunk) { return SerializeParams(chunk); }
  // Returns the position after the state, -1 when the chunk ended early.
  virtual int UnserializeState(const ByteChunk* chunk, int startPos) { return UnserializeParams(chunk, startPos); }
  // startPos counts doubles; true when every value agrees in single precision.
  virtual bool CompareState(const unsigned char* data, int startPos);
  virtual void OnWindowResize() {}
  virtual bool HostRequestingAboutBox() { return false; }
  virtual void OnHostIdentified() {}
  virtual void PopupHostContextMenuForParam(int /*paramIdx*/, int /*x*/, int /*y*/) {}

  // ---- Editor to host --------------------------------------------------------
  // [main thread, locks] A control changed a parameter.
  virtual void SetParameterFromGUI(int paramIdx, double normalizedValue);
  virtual void BeginInformHostOfParamChange(int paramIdx) = 0;
  virtual void InformHostOfParamChange(int paramIdx, double normalizedValue) = 0;
  virtual void EndInformHostOfParamChange(int paramIdx) = 0;
  virtual void InformHostOfProgramChange() = 0;

  // ---- Host queries supplied by the wrapper ----------------------------------
  virtual bool IsRenderingOffline() { return false; }
  virtual int GetSamplePos() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSig(int* numerator, int* denominator) = 0;
  virtual void GetTime(ITimeInfo* timeInfo) = 0;
  virtual EHost GetHost() { return mHost; }
  virtual EAPI GetAPI() { return mAPI; }
  virtual void ResizeGraphics(int width, int height) = 0;
  virtual void HostSpecificInit() {}
  // [main thread, locks] The base takes ownership; null is ignored.
  virtual void AttachGraphics(IEditor* graphics);
  virtual void SetLatency(int samples);
  virtual bool SendMidiMsg(IMidiMsg* msg) = 0;
  virtual bool SendSysEx(ISysEx* /*msg*/) { return false; }
  virtual void RedrawParamControls();
  virtual void DirtyPTCompareState() {}
  virtual void PresetsChangedByHost() {}
  // [main thread, allocates] Sizes every scratch buffer.
  virtual void SetBlockSize(int blockSize);

  // ---- State and presets (IPlugBaseState.cpp, IPlugBasePresets.cpp) ------------
  // (the three state hooks sit with the other hooks above, in slot order)
  bool SerializeParams(ByteChunk* chunk);
  // Calls OnParamChange for every parameter, whatever was read; a value that
  // is not finite restores the parameter's default.
  int UnserializeParams(const ByteChunk* chunk, int startPos);

  // Preset makers fill the next preset that is not initialised and do nothing
  // when there is none. Names longer than 255 characters are cut. [main thread]
  void MakeDefaultPreset(const char* name, int count);
  // One value per parameter: an int for bool, int and enum kinds, else a double.
  void MakePreset(const char* name, ...);
  // count pairs (int index, value typed as for MakePreset); pairs stop at an
  // index outside the list, and unnamed parameters keep their current values.
  void MakePresetFromNamedParams(const char* name, int count, ...);
  void MakePresetFromChunk(const char* name, const ByteChunk* chunk);
  // Exactly size bytes: decoded Base64 text, zero-filled when it is short.
  void MakePresetFromBlob(const char* name, const char* base64, int size);
  void EnsureDefaultPreset();
  void PruneUninitializedPresets();
  // [main thread, or audio thread inside the wrapper's block lock]
  bool RestorePreset(int idx);
  bool RestorePreset(const char* name);
  // Empty text for an index outside the list.
  const char* GetPresetName(int idx) const;
  void ModifyCurrentPreset(const char* name = nullptr);
  bool SerializePresets(ByteChunk* chunk);
  int UnserializePresets(const ByteChunk* chunk, int startPos);
  // Developer dumps: source lines that recreate the presets when compiled back.
  void DumpPresetSrcCode(const char* fileName, const char** paramEnumNames);
  void DumpPresetBlob(const char* fileName);
  void DumpBankBlob(const char* fileName);
  IPreset* GetPreset(int idx) const { return mPresets.Get(idx); }
  // ---- end of state and presets ----------------------------------------------

  // ---- Channel configuration -------------------------------------------------
  bool LegalIO(int nIn, int nOut) const;
  void SetInputChannelConnections(int idx, int n, bool connected);
  void SetOutputChannelConnections(int idx, int n, bool connected);
  bool IsInChannelConnected(int idx) const;
  bool IsOutChannelConnected(int idx) const;
  void SetInputLabel(int idx, const char* label);
  void SetOutputLabel(int idx, const char* label);
  const char* GetInputLabel(int idx) const;
  const char* GetOutputLabel(int idx) const;
  void SetInputBusLabel(int idx, const char* label);
  void SetOutputBusLabel(int idx, const char* label);
  const WDL_String* GetInputBusLabel(int idx) const { return mInputBusLabels.Get(idx); }
  const WDL_String* GetOutputBusLabel(int idx) const { return mOutputBusLabels.Get(idx); }
  int NChannelIO() const { return mChannelIO.GetSize(); }
  void GetChannelIO(int idx, int* nIn, int* nOut) const;

  // ---- Audio [audio thread, mutex held, no allocation] ------------------------
  // Host buffers are remembered here and read or written by the process calls,
  // which run blocks longer than the block size in pieces. A null host pointer
  // behaves like an unconnected channel.
  void AttachInputBuffers(int idx, int n, double** data, int nFrames);
  void AttachInputBuffers(int idx, int n, float** data, int nFrames);
  void AttachOutputBuffers(int idx, int n, double** data);
  void AttachOutputBuffers(int idx, int n, float** data);
  void ProcessBuffers(double sampleType, int nFrames);
  void ProcessBuffers(float sampleType, int nFrames);
  void ProcessBuffersAccumulating(float sampleType, int nFrames);
  void PassThroughBuffers(double sampleType, int nFrames);
  void PassThroughBuffers(float sampleType, int nFrames);
  void ZeroScratchBuffers();
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }

  // ---- Host and identity -------------------------------------------------------
  void SetHost(const char* hostName, int hostVersion);
  int GetHostVersion(bool decimal);
  void GetHostVersionStr(char* text);
  int GetEffectVersion(bool decimal) const;
  void GetEffectVersionStr(char* text) const;
  const char* GetAPIString();
  const char* GetArchString() const { return "x64"; }
  double GetSamplesPerBeat();

  // ---- Parameters --------------------------------------------------------------
  void OnParamReset();
  void DirtyParameters();
  bool SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* msgs);

  IParam* GetParam(int idx) const { return mParams.Get(idx); }
  int GetParamCount() const { return mParams.GetSize(); }
  int GetPresetCount() const { return mPresets.GetSize(); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  int GetTailSize() const { return mTailSize; }
  int GetInChannelCount() const { return mInChannels.GetSize(); }
  int GetOutChannelCount() const { return mOutChannels.GetSize(); }
  IEditor* GetGUI() const { return mGraphics.get(); }
  // The host's bypass: written by the controller and by processing, read by
  // both, so an atomic; it guards no other data, so relaxed.
  bool IsBypassed() const { return mIsBypassed.load(std::memory_order_relaxed); }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  bool DoesMIDI() const { return mDoesMIDI; }
  bool DoesStateChunks() const { return mStateChunks; }
  bool IsInst() const { return mIsInst; }
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMfrName() const { return mMfrName; }
  WDL_Mutex& GetMutex() { return mMutex; }
  double* const* InData() const { return mInData.Get(); }
  double* const* OutData() const { return mOutData.Get(); }
  const double* InScratch(int idx) const;
  const double* OutScratch(int idx) const;

protected:
  struct ChannelIO
  {
    int mIn, mOut;
  };

  struct InChannel
  {
    bool mConnected = false;
    double** mDest = nullptr;
    WDL_TypedBuf<double> mScratchBuf;
    WDL_String mLabel;
    const double* mHost64 = nullptr;
    const float* mHost32 = nullptr;
  };

  struct OutChannel
  {
    bool mConnected = false;
    double** mDest = nullptr;
    float* mFDest = nullptr;
    WDL_TypedBuf<double> mScratchBuf;
    WDL_String mLabel;
    double* mHost64 = nullptr;
  };

  enum class Conversion
  {
    kNone,       // 64-bit host buffers
    kReplace,    // 32-bit host buffers, overwritten
    kAccumulate, // 32-bit host buffers, added to
  };

  WDL_PtrList<ChannelIO> mChannelIO;
  WDL_Mutex mMutex;
  char mEffectName[kNameSize] = {};
  char mProductName[kNameSize] = {};
  char mMfrName[kNameSize] = {};
  int mUniqueID;
  int mMfrID;
  int mVersion;
  EAPI mAPI;
  EHost mHost = kHostUninit;
  int mHostVersion = 0;
  bool mStateChunks;
  bool mIsInst;
  bool mDoesMIDI;
  std::atomic<bool> mIsBypassed{false};
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency;
  int mTailSize = 0;
  std::unique_ptr<NChanDelay> mDelay;
  WDL_PtrList<const char> mParamGroups;
  std::unique_ptr<IEditor> mGraphics;
  WDL_PtrList<IParam> mParams;
  WDL_PtrList<IPreset> mPresets;
  WDL_TypedBuf<double*> mInData;
  WDL_TypedBuf<double*> mOutData;
  WDL_PtrList<InChannel> mInChannels;
  WDL_PtrList<OutChannel> mOutChannels;
  WDL_PtrList<WDL_String> mInputBusLabels;
  WDL_PtrList<WDL_String> mOutputBusLabels;

  void SetBypassed(bool bypassed) { mIsBypassed.store(bypassed, std::memory_order_relaxed); }

  // What every wrapper's constructor does first: every channel connected, and
  // the latency delay line when there are inputs.
  void ConnectChannelsAndCreateDelay();

private:
  void CreatePresets(int nPresets);
  void DeletePresets();
  void ParseChannelIO(const char* channelIOStr);
  // Frames every scratch buffer holds; the process calls never exceed it.
  int ScratchFrames() const { return mBlockSize; }
  void RunBlock(Conversion conversion, int nFrames, bool passThrough);
  void BindChunk(Conversion conversion, int offset, int nFrames);
  void WriteBackChunk(Conversion conversion, int offset, int nFrames);
  void CopyInputsToOutputs(double* const* inputs, double* const* outputs, int nFrames) const;
  void SilenceHostOutputs(Conversion conversion, int nFrames);
};
