#pragma once
// Where the artwork's parts meet. The editor places the images at fixed
// corners; the speaker in the background and the microphone strip drawn over
// it must agree on where the dust cap and the cone's edge are.
namespace layout {

constexpr int kPanelW = 702, kPanelH = 436;

// The "Mic Placement" strip's corner in the panel and its frames.
constexpr int kMicX = 182, kMicY = 0;
constexpr int kMicFrames = 61;
// Frames of 268 rows keep 61 of them under the PNG loader's 16384-row limit.
constexpr int kMicFrameH = 268;

// The speaker, in panel pixels. The microphone travels from the dust cap to
// the cone's edge, so the strip is wide enough for both ends of that path.
constexpr float kSpeakerX = 441, kSpeakerY = 204;
constexpr float kFlangeR = 188;     // the basket's mounting flange, outside
constexpr float kGasketR = 175;     // outer edge of the gasket ring
constexpr float kSurroundR = 166;   // outer edge of the surround
constexpr float kConeR = 154;       // the cone's edge, the end of the mic's path
constexpr float kDustCapR = 37;
constexpr int kMicFrameW = 456;

// The recessed baffle the speaker is mounted on.
constexpr float kBaffleL = 192, kBaffleT = 12, kBaffleR = 690, kBaffleB = 424;

// Switch and knobs, at the editor's corners.
constexpr int kSwitchX = 24, kSwitchY = 12, kSwitchW = 96, kSwitchH = 64;
constexpr float kToggleX = 26, kToggleY = 31;  // in the switch frame
constexpr float kLampX = 72, kLampY = 31;
constexpr int kKnobSize = 90, kKnobFrames = 61;
constexpr float kKnobCX = 45, kKnobCY = 42;  // pivot in the knob frame
constexpr int kKnobX = 25;
constexpr int kKnobY[3] = {77, 181, 285};  // CABINET SIZE, CHARACTER, OUTPUT
// Pointer angle range, degrees clockwise from straight up.
constexpr float kKnobMinDeg = -135, kKnobMaxDeg = 135;

}  // namespace layout
