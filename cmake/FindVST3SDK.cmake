# Finds a VST3 SDK source copy: pluginterfaces/, base/ and public.sdk/ under one root.
#
# By default Debian's copy (package juce-modules-source-data) is used; set the
# cache variable VST3_SDK_ROOT to build against another copy.
#
# Sets VST3SDK_FOUND, VST3SDK_ROOT_DIR and VST3SDK_VERSION ("3.7.2").

set(VST3_SDK_ROOT "" CACHE PATH "Root of a VST3 SDK copy holding pluginterfaces/, base/ and public.sdk/")

set(_vst3sdk_candidates
  /usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK)
if(VST3_SDK_ROOT)
  # An explicit root wins and is never silently replaced by the default.
  set(_vst3sdk_candidates ${VST3_SDK_ROOT})
endif()

unset(VST3SDK_ROOT_DIR)
foreach(_dir ${_vst3sdk_candidates})
  if(EXISTS ${_dir}/pluginterfaces/base/funknown.h
     AND EXISTS ${_dir}/base/source/fobject.cpp
     AND EXISTS ${_dir}/public.sdk/source/vst/vsteditcontroller.cpp)
    set(VST3SDK_ROOT_DIR ${_dir})
    break()
  endif()
endforeach()

if(VST3SDK_ROOT_DIR)
  file(STRINGS ${VST3SDK_ROOT_DIR}/pluginterfaces/vst/vsttypes.h _vst3sdk_version_line
       REGEX "#define[ \t]+kVstVersionString")
  string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" VST3SDK_VERSION "${_vst3sdk_version_line}")
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(VST3SDK
  REQUIRED_VARS VST3SDK_ROOT_DIR
  VERSION_VAR VST3SDK_VERSION)
