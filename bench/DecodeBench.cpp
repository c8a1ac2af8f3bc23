// Decoding and applying the two payloads the poll cycle receives.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "Controller.h"
#include "DemoRecording.h"
#include "LivePayloadBuilder.h"
#include "ParamPacket.h"

// Counts heap allocations, to show that a live frame without faults
// allocates nothing.
namespace
{
std::atomic<long> g_allocations{0};
} // namespace

// Out of line, so that the compiler does not pair an inlined malloc with
// a free and warn about a mismatch.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

__attribute__((noinline)) void operator delete(void* p) noexcept
{
    std::free(p);
}

__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{
const unsigned char* LivePayload(std::size_t frame)
{
    return demoLiveFrames[frame].data() + 4;
}

void ReportAllocations(benchmark::State& state, long before)
{
    state.counters["allocs/frame"] = benchmark::Counter(
        static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
}

// A live frame of the demo (idle on gas, no faults), no observer.
void BM_ApplyLiveFrame(benchmark::State& state)
{
    Controller controller;
    std::size_t frame = 0;
    const long before = g_allocations.load();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(controller.ApplyLiveData(LivePayload(frame), kLivePayloadSize));
        frame = (frame + 1) % kDemoLiveFrameCount;
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_ApplyLiveFrame);

// The same through the frame parser, as the poll tick takes it.
void BM_ParseAndApplyLiveFrame(benchmark::State& state)
{
    Controller controller;
    std::size_t frame = 0;
    controller.m_rxBuffer.reserve(kDemoLiveFrameSize);
    controller.m_lastPayload.reserve(kDemoParameterFrameSize);
    const long before = g_allocations.load();
    for (auto _ : state)
    {
        const auto& bytes = demoLiveFrames[frame];
        controller.m_rxBuffer.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        controller.ParseReply();
        frame = (frame + 1) % kDemoLiveFrameCount;
    }
    benchmark::DoNotOptimize(controller.m_rpm);
    ReportAllocations(state, before);
}
BENCHMARK(BM_ParseAndApplyLiveFrame);

// A live frame that reports every current fault: the texts are built anew.
void BM_ApplyLiveFrameWithAllFaults(benchmark::State& state)
{
    Controller controller;
    LivePayloadBuilder builder;
    builder.Faults(0x00, 0x00).InjectorMasks(0x00, 0xFF);
    const auto payload = builder.Payload();
    const long before = g_allocations.load();
    for (auto _ : state)
        benchmark::DoNotOptimize(controller.ApplyLiveData(payload.data(), payload.size()));
    ReportAllocations(state, before);
}
BENCHMARK(BM_ApplyLiveFrameWithAllFaults);

// The demo's parameter frame: settings, map, one stored fault, counters.
void BM_ApplyParameterFrame(benchmark::State& state)
{
    Controller controller;
    const unsigned char* payload = demoParameterFrame.data() + 4;
    for (auto _ : state)
        benchmark::DoNotOptimize(controller.ApplyParameters(payload, kParamPayloadSize));
}
BENCHMARK(BM_ApplyParameterFrame);

// Decoding alone, without the cache.
void BM_DecodeParamPacket(benchmark::State& state)
{
    const unsigned char* payload = demoParameterFrame.data() + 4;
    for (auto _ : state)
    {
        ParamPacket packet(payload);
        benchmark::DoNotOptimize(packet.m_multiplierMap[100]);
    }
}
BENCHMARK(BM_DecodeParamPacket);
} // namespace
