// A simulated ECU on a pseudo-terminal, for running the real program or a
// benchmark against. Prints the device path on the first line of stdout and
// serves until killed. Its options are those Usage() prints.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <poll.h>

#include "DemoRecording.h"
#include "IdleCar.h"
#include "SimulatedEcu.h"

namespace
{

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: sim_ecu [--corrupt-every N] [--silent-every N] [--silent-from N]\n"
                 "               [--trickle N] [--line-speed] [--zeros]\n"
                 "               [--idle-car [--stall-from N] [--petrol-tenths N]]\n"
                 "               [--log FILE] [--flip-length-every N] [--stray-every N]\n"
                 "               [--burst N] [--false-header L] [--noise-every N] [--noise-command C]\n"
                 "  --corrupt-every N  every N-th reply has a wrong sum\n"
                 "  --silent-every N   every N-th request is not answered\n"
                 "  --silent-from N    no request from the N-th on is answered\n"
                 "  --trickle N        at most N reply bytes per 10 ms\n"
                 "  --line-speed       replies at 1000 bytes/s (10000 baud, 8N1), one behind the other\n"
                 "  --zeros            all-zero payloads instead of the demo recording\n"
                 "  --idle-car         a four-cylinder car at idle that a calibration can run on,\n"
                 "                     instead of the demo recording\n"
                 "  --stall-from N     with --idle-car: the engine stalls from live frame N on\n"
                 "  --petrol-tenths N  with --idle-car: the petrol times read N x 0.1 ms\n"
                 "                     (0: an unconnected petrol-injector wire)\n"
                 "  --log FILE         each request frame received, in hex, one per line, and\n"
                 "                     \"backlog N\" whenever N replies wait unsent, more than ever before,\n"
                 "                     and \"rate N\" whenever N requests came within a second, likewise\n"
                 "  --flip-length-every N  every N-th reply has its length's high byte flipped (00 -> 80)\n"
                 "  --stray-every N    a stray 00 byte in front of every N-th reply\n"
                 "  --burst N          N bytes of garbage in front of the chosen replies\n"
                 "  --false-header L   a false header (AA, length L) in front of the chosen replies,\n"
                 "                     behind the burst\n"
                 "  --noise-every N    the chosen replies: every N-th (default 1)\n"
                 "  --noise-command C  the chosen replies: those to command C only\n");
}

bool NumberArg(int argc, char** argv, int& i, int& out)
{
    if (i + 1 >= argc)
        return false;
    char* end = nullptr;
    const long value = std::strtol(argv[++i], &end, 10);
    if (!end || *end != '\0' || value < 0 || value > 1000000)
        return false;
    out = static_cast<int>(value);
    return true;
}

SimulatedEcu::Bytes PayloadOf(const unsigned char* frame, std::size_t size)
{
    return SimulatedEcu::Bytes(frame + 4, frame + size - 1);
}

} // namespace

int main(int argc, char** argv)
{
    int corruptEvery = 0;
    int flipLengthEvery = 0;
    int strayEvery = 0;
    int burst = 0;
    int falseHeader = 0;
    int noiseEvery = 1;
    int noiseCommand = -1;
    int silentEvery = 0;
    int silentFrom = 0;
    int trickle = 0;
    bool zeros = false;
    bool lineSpeed = false;
    bool idleCar = false;
    int stallFrom = -1;
    int petrolTenths = -1;
    const char* logPath = nullptr;

    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        bool ok = true;
        if (arg == "--corrupt-every")
            ok = NumberArg(argc, argv, i, corruptEvery);
        else if (arg == "--flip-length-every")
            ok = NumberArg(argc, argv, i, flipLengthEvery);
        else if (arg == "--stray-every")
            ok = NumberArg(argc, argv, i, strayEvery);
        else if (arg == "--burst")
            ok = NumberArg(argc, argv, i, burst);
        else if (arg == "--false-header")
            ok = NumberArg(argc, argv, i, falseHeader) && falseHeader <= 0xFFFF;
        else if (arg == "--noise-every")
            ok = NumberArg(argc, argv, i, noiseEvery);
        else if (arg == "--noise-command")
            ok = NumberArg(argc, argv, i, noiseCommand) && noiseCommand <= 0xFF;
        else if (arg == "--silent-every")
            ok = NumberArg(argc, argv, i, silentEvery);
        else if (arg == "--silent-from")
            ok = NumberArg(argc, argv, i, silentFrom);
        else if (arg == "--trickle")
            ok = NumberArg(argc, argv, i, trickle);
        else if (arg == "--zeros")
            zeros = true;
        else if (arg == "--line-speed")
            lineSpeed = true;
        else if (arg == "--idle-car")
            idleCar = true;
        else if (arg == "--stall-from")
            ok = NumberArg(argc, argv, i, stallFrom);
        else if (arg == "--petrol-tenths")
            ok = NumberArg(argc, argv, i, petrolTenths) && petrolTenths <= 0xFFFF;
        else if (arg == "--log" && i + 1 < argc)
            logPath = argv[++i];
        else
            ok = false;
        if (!ok)
        {
            Usage();
            return 2;
        }
    }

    if ((stallFrom >= 0 || petrolTenths >= 0) && !idleCar)
    {
        Usage();
        return 2;
    }

    std::FILE* log = nullptr;
    if (logPath)
    {
        log = std::fopen(logPath, "w");
        if (!log)
        {
            std::fprintf(stderr, "sim_ecu: cannot write %s: %s\n", logPath, std::strerror(errno));
            return 1;
        }
    }

    SimulatedEcu ecu;
    if (!ecu.IsOpen())
    {
        std::fprintf(stderr, "sim_ecu: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    // The program reads while we write: its side cannot be watched.
    ecu.SetWaitForDelivery(false);
    ecu.SetCorruptEvery(corruptEvery);
    ecu.SetFlipLengthEvery(flipLengthEvery);
    ecu.SetNoise({static_cast<std::size_t>(burst), static_cast<std::size_t>(falseHeader), noiseEvery, noiseCommand});
    ecu.SetSilentEvery(silentEvery);
    ecu.SetSilentFrom(silentFrom);
    ecu.SetTrickle(static_cast<std::size_t>(trickle));
    if (lineSpeed)
        ecu.SetLineSpeed(1000);
    if (idleCar)
    {
        ecu.UseIdleCar().StallFrom(stallFrom);
        ecu.UseIdleCar().PetrolTime(petrolTenths);
    }
    else if (!zeros)
        ecu.SetPayload(12, PayloadOf(demoParameterFrame.data(), demoParameterFrame.size()));

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    std::printf("%s\n", ecu.SlavePath().c_str());
    std::fflush(stdout);

    std::size_t liveFrame = 0;
    std::size_t backlogLogged = 0;
    std::size_t rateLogged = 0;
    while (!g_stop)
    {
        // The live readings move through the recording, one frame per reply.
        if (!zeros && !idleCar)
        {
            const auto& frame = demoLiveFrames[liveFrame % kDemoLiveFrameCount];
            ecu.SetPayload(1, PayloadOf(frame.data(), frame.size()));
        }
        // Wake for a request, for the next byte due on a paced line, or to
        // trickle on.
        long waitMs = trickle > 0 ? 10 : 100;
        const auto due = ecu.NextByteDue();
        if (due != SimulatedEcu::Clock::duration::max())
            waitMs = std::min<long>(waitMs, std::chrono::ceil<std::chrono::milliseconds>(due).count());
        struct pollfd pfd = {ecu.MasterFd(), POLLIN, 0};
        poll(&pfd, 1, static_cast<int>(waitMs));
        const int before = ecu.RepliesSent();
        if (strayEvery > 0 && (before + 1) % strayEvery == 0)
            ecu.StrayBeforeNextReply({0x00});
        ecu.Service();
        if (ecu.RepliesSent() != before)
            ++liveFrame;
        if (log && ecu.PeakRequestsPerSecond() > rateLogged)
        {
            rateLogged = ecu.PeakRequestsPerSecond();
            std::fprintf(log, "rate %zu\n", rateLogged);
        }
        if (log && !ecu.Received().empty())
        {
            for (const SimulatedEcu::Bytes& frame : ecu.Received())
            {
                for (std::size_t i = 0; i < frame.size(); ++i)
                    std::fprintf(log, i ? " %02X" : "%02X", frame[i]);
                std::fputc('\n', log);
            }
            std::fflush(log);
        }
        if (log && ecu.PeakUnsentReplies() > backlogLogged)
        {
            backlogLogged = ecu.PeakUnsentReplies();
            std::fprintf(log, "backlog %zu\n", backlogLogged);
            std::fflush(log);
        }
        ecu.ClearReceived();
    }
    if (log)
        std::fclose(log);
    return 0;
}
