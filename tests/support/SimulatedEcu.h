#ifndef QUENVAR_TESTS_SIMULATEDECU_H
#define QUENVAR_TESTS_SIMULATEDECU_H

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

class IdleCar;

// An engine controller at the far end of a pseudo-terminal. The program
// under test opens SlavePath() like any serial port; the test drives the
// ECU by calling Service() or WaitForRequest() between poll ticks (no
// threads). Every request frame is recorded and answered by one reply frame
// with the request's command, unless a fault says otherwise.
class SimulatedEcu
{
public:
    using Bytes = std::vector<unsigned char>;
    using Clock = std::chrono::steady_clock;

    static constexpr std::size_t kLivePayloadSize = 52;
    static constexpr std::size_t kParameterPayloadSize = 882;

    SimulatedEcu();
    ~SimulatedEcu();
    SimulatedEcu(const SimulatedEcu&) = delete;
    SimulatedEcu& operator=(const SimulatedEcu&) = delete;

    // The pty could be created.
    bool IsOpen() const { return m_master >= 0; }
    // Device path the program opens (/dev/pts/N).
    const std::string& SlavePath() const { return m_slavePath; }
    // The master side, for callers that poll it themselves (sim_ecu).
    int MasterFd() const { return m_master; }

    // Reads what the program sent, answers every complete request and
    // writes pending output; waits until what it wrote can be read on the
    // slave side. Returns the number of request frames taken in this call.
    int Service();
    // Services until at least one request frame has been taken or the
    // timeout passed; whether one was taken.
    bool WaitForRequest(std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    // Data bytes each command carries in a request, -1 for a command the
    // ECU does not know.
    static int DataLength(unsigned char command);
    // A complete reply frame: AA, length (high, low), command, payload, sum.
    static Bytes MakeReply(unsigned char command, const Bytes& payload);

    // --- Replies ---
    // Payload of the replies to command (defaults: 52 zero bytes for 1,
    // 882 for 12, none for the rest). An answered erase (16) empties the
    // stored-fault list of the parameters, a settings block (26) replaces
    // theirs, as the real ECU does.
    void SetPayload(unsigned char command, const Bytes& payload);
    const Bytes& Payload(unsigned char command) const;
    // From now on live and parameter replies come from a car idling behind
    // the ECU, which follows the calibration commands (see IdleCar); the
    // same car on every call.
    IdleCar& UseIdleCar();

    // --- Faults ---
    // Takes requests but answers none.
    void SetSilent(bool silent) { m_silent = silent; }
    // Every n-th request (1-based count) goes unanswered; 0 = off.
    void SetSilentEvery(int n) { m_silentEvery = n; }
    // Requests from the n-th on (1-based) go unanswered; 0 = off.
    void SetSilentFrom(int n) { m_silentFrom = n; }
    // The next count replies carry a wrong sum.
    void CorruptNextReplies(int count) { m_corruptNext = count; }
    // Every n-th reply carries a wrong sum; 0 = off.
    void SetCorruptEvery(int n) { m_corruptEvery = n; }
    // Every n-th reply has its length's high byte flipped (0x00 arrives as
    // 0x80); 0 = off.
    void SetFlipLengthEvery(int n) { m_flipLengthEvery = n; }
    // Stray bytes on the line right in front of the next reply.
    void StrayBeforeNextReply(const Bytes& bytes) { m_strayNext = bytes; }
    // Line noise in front of chosen replies: a burst of garbage (fresh each
    // time; an 0xAA in it is always followed by a length no reply has), then
    // a false header (0xAA and a length of falseLength, nothing behind it).
    struct Noise
    {
        std::size_t burstBytes = 0;  // 0 = no burst
        std::size_t falseLength = 0; // 0 = no false header
        int every = 1;               // every n-th of the chosen replies
        int command = -1;            // replies to this command only; -1 = any
    };
    void SetNoise(const Noise& noise) { m_noise = noise; m_noiseCount = 0; }
    // The next reply is held back and goes out together with the one after
    // it, as if the line had stalled between them.
    void HoldNextReply() { m_holdNext = true; }
    // The next reply goes out in two parts: firstBytes now, the rest on the
    // next Service() call.
    void SplitNextReply(std::size_t firstBytes) { m_splitNext = firstBytes; }
    // Replies carry at most bytes of their payload (the length field
    // matches what is sent); npos = whole payloads.
    void SetShortPayload(std::size_t bytes) { m_shortPayload = bytes; }
    // Whether Service() waits until its output can be read on the slave
    // side (on by default; off when another process reads concurrently).
    void SetWaitForDelivery(bool wait) { m_waitForDelivery = wait; }
    // At most bytes of output per Service() call; 0 = no limit.
    void SetTrickle(std::size_t bytes) { m_trickle = bytes; }
    // Line speed: replies go out at bytesPerSecond (1000 is 10000 baud,
    // 8N1), one behind the other as a UART sends them, and none starts
    // before the request it answers has had time to arrive. Service() puts
    // out what is due by now; call it often. 0 = all at once.
    void SetLineSpeed(unsigned bytesPerSecond);
    // Time until the next byte is due on the line; zero when one is due now
    // or the line is not paced; max() when nothing waits to go out.
    Clock::duration NextByteDue() const;
    // Puts raw bytes on the line at once.
    void SendRaw(const Bytes& bytes);
    // Closes the master: to the program the port vanishes (EIO/hang-up).
    void CloseMaster();

    // --- What arrived ---
    // Every good request frame taken, whole (header to sum), in order.
    const std::vector<Bytes>& Received() const { return m_received; }
    // Their command bytes.
    std::vector<unsigned char> ReceivedCommands() const;
    void ClearReceived() { m_received.clear(); }
    // Bytes skipped because they did not start a known, well-summed frame.
    std::size_t DiscardedBytes() const { return m_discarded; }
    // Replies written (including corrupt ones).
    int RepliesSent() const { return m_repliesSent; }
    // Replies answered but not wholly on the line yet, now and at most.
    std::size_t UnsentReplies() const { return m_outbox.size(); }
    std::size_t PeakUnsentReplies() const { return m_peakUnsent; }
    // The most requests taken within one second.
    std::size_t PeakRequestsPerSecond() const { return m_peakRate; }

private:
    struct Chunk
    {
        Bytes bytes;
        bool endOfCall; // nothing more goes out in the call that wrote it
        Clock::time_point notBefore; // at line speed: when the request has arrived
    };

    void TakeInput();
    int ParseRequests();
    void Answer(const Bytes& request);
    void TakeEffect(const Bytes& request);
    // The noise due in front of the reply to command (often none).
    Bytes NoiseBefore(unsigned char command);
    void Flush();
    void WaitDelivered(std::size_t before, std::size_t written);
    // Bytes of the front chunk the line has sent by now (line speed only).
    std::size_t DueBytes(Clock::time_point now) const;
    Clock::time_point LineStart(const Chunk& chunk) const;

    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;

    Bytes m_input;
    std::deque<Chunk> m_outbox;
    std::map<unsigned char, Bytes> m_payloads;
    std::unique_ptr<IdleCar> m_car;
    std::vector<Bytes> m_received;
    std::size_t m_discarded = 0;
    int m_requestCount = 0;
    int m_repliesSent = 0;

    bool m_silent = false;
    int m_silentEvery = 0;
    int m_silentFrom = 0;
    int m_corruptNext = 0;
    int m_corruptEvery = 0;
    int m_flipLengthEvery = 0;
    Bytes m_strayNext;
    Noise m_noise;
    int m_noiseCount = 0;         // replies the noise has chosen among
    unsigned m_noiseSeed = 1;
    bool m_holdNext = false;
    std::size_t m_splitNext = 0;
    std::size_t m_shortPayload = static_cast<std::size_t>(-1);
    std::size_t m_trickle = 0;
    bool m_waitForDelivery = true;
    Clock::duration m_byteTime{}; // zero: not paced
    Clock::time_point m_lineFree; // when the last byte put out has left
    std::size_t m_peakUnsent = 0;
    std::deque<Clock::time_point> m_lastSecond; // when the requests of the last second came
    std::size_t m_peakRate = 0;
};

#endif
