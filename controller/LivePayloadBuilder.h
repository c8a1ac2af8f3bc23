#ifndef QUENVAR_LIVEPAYLOADBUILDER_H
#define QUENVAR_LIVEPAYLOADBUILDER_H

#include <array>
#include <cstddef>

#include "LivePacket.h"

// Encodes readings into a live-data payload the way the ECU sends them; the
// demo recording and the tests build their frames with it. Starts with no
// faults (fault and injector bytes 0xFF) and every reading zero.
class LivePayloadBuilder
{
public:
    static constexpr std::size_t kFrameSize = kLivePayloadSize + 5;

    LivePayloadBuilder();

    LivePayloadBuilder& Status(bool onGas, bool statusBit1, bool statusBit2);
    // cylinder 0..7; ms in 0.1 ms steps
    LivePayloadBuilder& PetrolTime(unsigned cylinder, double ms);
    LivePayloadBuilder& GasInjectionTime(double ms);
    LivePayloadBuilder& Rpm(unsigned hundreds);
    LivePayloadBuilder& O2Voltages(double volts1, double volts2);
    LivePayloadBuilder& Pressures(double gasBar, double manifoldBar);
    LivePayloadBuilder& GasCylinderMask(unsigned char mask);
    LivePayloadBuilder& Multiplier(unsigned char multiplier);
    LivePayloadBuilder& SupplyVoltage(double volts);
    LivePayloadBuilder& GasLevel(unsigned char raw, unsigned char stage);
    LivePayloadBuilder& Temperatures(int reducer, int gas);
    LivePayloadBuilder& Faults(unsigned char bitsA, unsigned char bitsB);
    LivePayloadBuilder& InjectorMasks(unsigned char maskA, unsigned char maskB);
    // Five samples of each ring in 0.1 ms units, starting at ring position index.
    LivePayloadBuilder& Samples(unsigned char index, const unsigned char* petrol,
                                const unsigned char* gas);
    // Raw access, for payloads no reading setter produces.
    LivePayloadBuilder& Byte(std::size_t offset, unsigned char value);

    const std::array<unsigned char, kLivePayloadSize>& Payload() const { return m_payload; }
    // The complete reply frame: header, length, command 1, payload, sum.
    std::array<unsigned char, kFrameSize> Frame() const;

private:
    void PutU16LE(std::size_t offset, unsigned value);
    void PutU16BE(std::size_t offset, unsigned value);

    std::array<unsigned char, kLivePayloadSize> m_payload{};
};

#endif
