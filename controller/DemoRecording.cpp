#include "DemoRecording.h"

#include <cmath>

#include "LivePayloadBuilder.h"
#include "ParamPayloadBuilder.h"

// The story: a warm four-cylinder car on LPG, idling in the workshop. The
// recording opens just after a blip of the throttle, still on petrol with the
// switch-over lamp blinking; over frames 4 to 7 the cylinders go over to gas
// one by one, then the engine settles at 800 rpm on gas. The lambda sensor
// swings rich and lean about once a second, the tank shows 3 of 4, and the
// controller remembers one fault (gas pressure too low, from an empty tank).
// The two sample rings carry the controller's learnt petrol and gas times
// over the whole load range, five positions per frame, so that the map page
// collects both curves within one pass of the recording.

namespace
{
// --- Parameter set ---

constexpr int kCylinderCode = 1;           // four cylinders
constexpr unsigned char kAllCylinders = 0x0F;
constexpr int kSwitchRpm = 1000;
constexpr int kSwitchTemperature = 35;     // reducer, degrees C
constexpr double kWorkPressure = 1.20;     // bar
constexpr unsigned char kGasLevelThresholds[4] = {45, 90, 135, 180}; // 0.9/1.8/2.7/3.6 V

// Multiplier map in percent over injection time (index in 0.1 ms): richer
// for the short idle pulses where the gas injector's opening time counts
// most, flattening out to 112 % at load.
double MapPercent(unsigned index)
{
    return 112.0 + 20.0 * std::exp(-(static_cast<double>(index) - 10.0) / 40.0);
}

// Splits a percentage into the base byte and the correction c of
// base * (1 + c / 128), the form the controller stores.
void EncodeMapEntry(double percent, unsigned char& base, unsigned char& correction)
{
    const double whole = std::floor(percent);
    base = static_cast<unsigned char>(whole);
    correction = static_cast<unsigned char>(std::lround((percent / whole - 1.0) * 128.0));
}

// Seven date bytes: year low, year high, month, day, hour, minute, second.
struct StoryDate
{
    int year, month, day, hour, minute, second;
};

void EncodeDate(const StoryDate& d, unsigned char* out)
{
    out[0] = static_cast<unsigned char>(d.year & 0xFF);
    out[1] = static_cast<unsigned char>(d.year >> 8);
    out[2] = static_cast<unsigned char>(d.month);
    out[3] = static_cast<unsigned char>(d.day);
    out[4] = static_cast<unsigned char>(d.hour);
    out[5] = static_cast<unsigned char>(d.minute);
    out[6] = static_cast<unsigned char>(d.second);
}

struct StoryRecord
{
    StoryDate date;
    unsigned long value;
};

// Record 0: installation; 1: last modification; 4..7: the last link stamps,
// newest first; 2, 3, 8 unused.
const StoryRecord kHistory[9] = {
    {{2023, 4, 18, 10, 5, 12}, 0x00000000},
    {{2024, 5, 14, 16, 42, 7}, 0x2E1A0457},
    {{0, 0, 0, 0, 0, 0}, 0},
    {{0, 0, 0, 0, 0, 0}, 0},
    {{2024, 5, 14, 16, 40, 51}, 0x2E1A0457},
    {{2024, 3, 2, 9, 15, 30}, 0x2E1A0457},
    {{2023, 11, 20, 14, 5, 44}, 0x1C07022B},
    {{2023, 8, 7, 11, 30, 2}, 0x1C07022B},
    {{0, 0, 0, 0, 0, 0}, 0},
};

// Half-seconds: 45 h on petrol, 610 h on gas, 120 h since the last service,
// 655 h in all, next service at 800 h.
constexpr unsigned long kWorkCounters[5] = {324000, 4392000, 864000, 4716000, 5760000};

std::array<unsigned char, kDemoParameterFrameSize> BuildParameterFrame()
{
    ParamPayloadBuilder p;
    p.GasCylinderMask(kAllCylinders)
        .IgnitionCoils(0)
        .CylinderCode(kCylinderCode)
        .SwitchRpm(kSwitchRpm)
        .MaxGasRpm(6000)
        .MinGasRpm(500)
        .GasLevel(1, kGasLevelThresholds)
        .Sensors(0, 0, 0, 0)
        .EngineFlags(true, false)
        .SwitchTemperature(kSwitchTemperature)
        .Pressures(kWorkPressure, 0.60)
        .CalibrationGasTemperature(20)
        .GasFaultTime(200)
        .SwitchTime(30.0)
        .CylinderSwitchDelay(300)
        .InjectorCode(5)
        .FuelFlags(true, false)
        .MinGasTemperature(5);

    const unsigned char mapPoints[10] = {20, 35, 50, 70, 90, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    p.MapPoints(mapPoints);
    for (unsigned i = 10; i <= 255; ++i)
    {
        unsigned char base = 0;
        unsigned char correction = 0;
        EncodeMapEntry(MapPercent(i), base, correction);
        p.MapEntry(i, base, correction);
    }

    // Injector 2 was set 3 % richer, injector 3 2 % leaner at installation.
    p.InjectorCorrectionByte(1, 131).InjectorCorrectionByte(2, 125);

    const unsigned char storedFaults[] = {4}; // gas pressure too low
    p.StoredFaults(storedFaults, sizeof storedFaults);

    for (unsigned i = 0; i < 5; ++i)
        p.WorkCounter(i, kWorkCounters[i]);
    for (unsigned i = 0; i < 9; ++i)
    {
        unsigned char date[7];
        EncodeDate(kHistory[i].date, date);
        p.HistoryRecordBytes(i, date, kHistory[i].value);
    }
    return p.Frame();
}

// --- Live frames ---

// The opening frames, before the engine has settled: rpm in hundreds,
// cylinders on gas, manifold and gas pressure in bar.
struct OpeningFrame
{
    unsigned rpm;
    unsigned char gasMask;
    double manifold;
    double gasPressure;
};

const OpeningFrame kOpening[] = {
    {11, 0x00, 0.27, 1.04}, // blip dying away, on petrol, lamp blinking
    {11, 0x00, 0.28, 1.04},
    {10, 0x00, 0.29, 1.05},
    {10, 0x00, 0.30, 1.05},
    {10, 0x01, 0.31, 1.12}, // cylinder 1 on gas
    {9, 0x03, 0.32, 1.16},
    {9, 0x07, 0.32, 1.18},
    {9, 0x0F, 0.33, 1.19}, // all four on gas
};
constexpr std::size_t kOpeningCount = sizeof kOpening / sizeof kOpening[0];

// One lambda cycle over eight frames (0.8 s): sensor voltage and the
// controller's fuel trim in ms that follows it (lean -> longer pulses).
const double kLambdaVolts[8] = {0.12, 0.24, 0.55, 0.78, 0.83, 0.64, 0.31, 0.15};
const double kFuelTrim[8] = {0.10, 0.10, 0.05, -0.05, -0.10, -0.10, -0.05, 0.05};

// Small per-frame wobble of the idle, in 0.01 bar and hundreds of rpm.
const int kIdleWobble[13] = {0, 1, 0, -1, 0, 0, 1, 1, 0, -1, -1, 0, 0};

// Petrol time (ms) that the learnt table holds at ring position p: the
// position stands for manifold pressure (p * 0.02390625 + 0.2) / 2.55 bar,
// and the time grows with load. Positions the engine has never reached hold 0.
unsigned char LearntPetrolSample(unsigned position)
{
    if (position < 12 || position > 98)
        return 0;
    const double bar = (position * 0.02390625 + 0.2) / 2.55;
    const double ms = 1.0 + 7.5 * bar;
    const int jitter = static_cast<int>((position * 7) % 3) - 1;
    return static_cast<unsigned char>(std::lround(ms * 10.0) + jitter);
}

unsigned char LearntGasSample(unsigned position)
{
    const unsigned char petrol = LearntPetrolSample(position);
    return static_cast<unsigned char>(std::lround(petrol * MapPercent(petrol) / 100.0));
}

std::array<unsigned char, kDemoLiveFrameSize> BuildLiveFrame(std::size_t frame)
{
    const bool opening = frame < kOpeningCount;
    const int wobble = kIdleWobble[frame % 13];
    const unsigned rpm = opening ? kOpening[frame].rpm : 8u;
    const unsigned char gasMask = opening ? kOpening[frame].gasMask : kAllCylinders;
    const double manifold = opening ? kOpening[frame].manifold : 0.33 + 0.01 * wobble;
    const double gasPressure = opening ? kOpening[frame].gasPressure : 1.20 + 0.01 * kIdleWobble[(frame + 5) % 13];
    const bool onGas = gasMask != 0;
    // Lamp 5 blinks until every cylinder runs on gas.
    const bool switching = gasMask != kAllCylinders;

    LivePayloadBuilder b;
    b.Status(onGas, switching, false);

    // Pulse width follows manifold pressure, the lambda trim, and small
    // differences between the cylinders.
    const double petrol = 1.0 + 7.5 * manifold + kFuelTrim[frame % 8];
    const double cylinderOffset[4] = {0.0, 0.1, -0.1, 0.0};
    for (unsigned c = 0; c < 4; ++c)
        b.PetrolTime(c, petrol + cylinderOffset[c]);

    const unsigned index = static_cast<unsigned>(std::lround(petrol * 10.0));
    const double multiplier = MapPercent(index);
    b.GasInjectionTime(onGas ? petrol * multiplier / 100.0 : 0.0)
        .Multiplier(static_cast<unsigned char>(std::lround(multiplier)))
        .Rpm(rpm)
        .O2Voltages(kLambdaVolts[frame % 8], 0.66 + 0.01 * wobble)
        .Pressures(gasPressure, manifold)
        .GasCylinderMask(gasMask)
        // The gas injectors' coils pull the supply down a little.
        .SupplyVoltage(onGas ? 13.9 : 14.1)
        .GasLevel(static_cast<unsigned char>(173 + wobble), 3)
        // Reducer warming on slowly; the gas cools as it starts to flow.
        .Temperatures(48 + static_cast<int>(frame / 12),
                      onGas ? 24 - static_cast<int>(frame / 16) : 24);

    const unsigned sampleIndex = (frame * kSamplesPerFrame) % kSampleRingSize;
    unsigned char petrolSamples[kSamplesPerFrame];
    unsigned char gasSamples[kSamplesPerFrame];
    for (unsigned k = 0; k < kSamplesPerFrame; ++k)
    {
        petrolSamples[k] = LearntPetrolSample(sampleIndex + k);
        gasSamples[k] = LearntGasSample(sampleIndex + k);
    }
    b.Samples(static_cast<unsigned char>(sampleIndex), petrolSamples, gasSamples);
    return b.Frame();
}

std::array<std::array<unsigned char, kDemoLiveFrameSize>, kDemoLiveFrameCount> BuildLiveFrames()
{
    std::array<std::array<unsigned char, kDemoLiveFrameSize>, kDemoLiveFrameCount> frames{};
    for (std::size_t i = 0; i < kDemoLiveFrameCount; ++i)
        frames[i] = BuildLiveFrame(i);
    return frames;
}

static_assert(ParamPayloadBuilder::kFrameSize == kDemoParameterFrameSize, "parameter frame size");
static_assert(LivePayloadBuilder::kFrameSize == kDemoLiveFrameSize, "live frame size");
} // namespace

const std::array<unsigned char, kDemoParameterFrameSize> demoParameterFrame = BuildParameterFrame();
const std::array<std::array<unsigned char, kDemoLiveFrameSize>, kDemoLiveFrameCount> demoLiveFrames =
    BuildLiveFrames();
