// The receive path on whole and split frames: live data (57 bytes), the
// parameter frame (887 bytes) and, for the cutting alone, an acknowledgement
// of live-frame size that nothing decodes; a live frame behind line noise
// (resynchronising on the next header) and two frames in one read. Counts
// heap allocations per frame.
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include <benchmark/benchmark.h>

#include "Controller.h"
#include "DemoRecording.h"

namespace
{

std::atomic<long> g_allocations{0};

std::string Frame(const unsigned char* bytes, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

std::string AckFrame()
{
    // Command 9 with a 52-byte payload: cut and checked, not decoded.
    std::string frame = Frame(demoLiveFrames[0].data(), demoLiveFrames[0].size());
    frame[3] = 9;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i)
        sum += static_cast<unsigned char>(frame[i]);
    frame.back() = static_cast<char>(sum);
    return frame;
}

void Run(benchmark::State& state, const std::string& frame, std::size_t firstPiece)
{
    Controller controller;
    const std::string first = frame.substr(0, firstPiece);
    const std::string rest = frame.substr(firstPiece);
    // Warm up: buffers reach their size, fault texts and the like exist.
    for (int i = 0; i < 16; ++i)
    {
        controller.m_rxBuffer.append(frame);
        controller.ParseReply();
    }
    const long before = g_allocations.load();
    for (auto _ : state)
    {
        if (rest.empty())
        {
            controller.m_rxBuffer.append(frame);
            controller.ParseReply();
        }
        else
        {
            controller.m_rxBuffer.append(first);
            controller.ParseReply();
            controller.m_rxBuffer.append(rest);
            controller.ParseReply();
        }
        benchmark::DoNotOptimize(controller.m_lastPayload.data());
    }
    if (!controller.m_rxBuffer.empty())
        state.SkipWithError("frame not consumed");
    state.counters["allocs/frame"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
}

// Noise as a line beside an engine brings it: nulls, and headers that
// announce lengths no reply has.
std::string Noise(std::size_t size)
{
    std::string noise;
    while (noise.size() < size)
        noise += std::string("\x00\x13\xAA\x7F\xFF\x42\xAA\xAA\x00", 9);
    noise.resize(size);
    return noise;
}

void BM_LiveFrameBehind800BytesOfNoise(benchmark::State& state)
{
    Run(state, Noise(800) + Frame(demoLiveFrames[0].data(), demoLiveFrames[0].size()), 857);
}

void BM_TwoLiveFramesInOneRead(benchmark::State& state)
{
    const std::string frame = Frame(demoLiveFrames[0].data(), demoLiveFrames[0].size());
    Run(state, frame + frame, 114);
}

void BM_LiveFrameWhole(benchmark::State& state)
{
    Run(state, Frame(demoLiveFrames[0].data(), demoLiveFrames[0].size()), 57);
}

void BM_LiveFrameInTwoPieces(benchmark::State& state)
{
    Run(state, Frame(demoLiveFrames[0].data(), demoLiveFrames[0].size()), 40);
}

void BM_ParameterFrameWhole(benchmark::State& state)
{
    Run(state, Frame(demoParameterFrame.data(), demoParameterFrame.size()), 887);
}

void BM_ParameterFrameInTwoPieces(benchmark::State& state)
{
    Run(state, Frame(demoParameterFrame.data(), demoParameterFrame.size()), 500);
}

void BM_AckOfLiveSizeWhole(benchmark::State& state)
{
    Run(state, AckFrame(), 57);
}

void BM_AckOfLiveSizeInTwoPieces(benchmark::State& state)
{
    Run(state, AckFrame(), 40);
}

} // namespace

BENCHMARK(BM_LiveFrameWhole);
BENCHMARK(BM_LiveFrameInTwoPieces);
BENCHMARK(BM_ParameterFrameWhole);
BENCHMARK(BM_ParameterFrameInTwoPieces);
BENCHMARK(BM_AckOfLiveSizeWhole);
BENCHMARK(BM_AckOfLiveSizeInTwoPieces);
BENCHMARK(BM_LiveFrameBehind800BytesOfNoise);
BENCHMARK(BM_TwoLiveFramesInOneRead);

// The replacements pair malloc with free; GCC cannot see that through the
// inlined calls.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
