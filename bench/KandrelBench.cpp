#include <Kandrel.h>

#include <benchmark/benchmark.h>
#include <vector>

// A parameter payload is 882 bytes; read it field by field as a decoder does.
static void BM_ReadParameterPayload(benchmark::State& state)
{
    std::vector<unsigned char> payload(882);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<unsigned char>(i * 7);
    for (auto _ : state) {
        Kandrel r(payload.data());
        unsigned sum = 0;
        for (int i = 0; i < 882 / 6; ++i) {
            sum += r.get_u8();
            sum += static_cast<unsigned>(r.get_s8());
            sum += r.get_u16();
            sum += r.get_u16l();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * 882);
}
BENCHMARK(BM_ReadParameterPayload);
