#ifndef QUENVAR_DEMORECORDING_H
#define QUENVAR_DEMORECORDING_H

#include <array>
#include <cstddef>

// The recording that demo mode replays instead of the serial line: complete
// reply frames (header, length, command, payload, sum), built at start-up
// from the story table in DemoRecording.cpp.

constexpr std::size_t kDemoParameterFrameSize = 887;
constexpr std::size_t kDemoLiveFrameSize = 57;
constexpr std::size_t kDemoLiveFrameCount = 52;

// The one reply to the parameter request, fed once per link reset.
extern const std::array<unsigned char, kDemoParameterFrameSize> demoParameterFrame;
// Replies to the live-data request, played in order and then from the start.
extern const std::array<std::array<unsigned char, kDemoLiveFrameSize>, kDemoLiveFrameCount> demoLiveFrames;

#endif
