#include "wxIOBase.h"

#include <chrono>
#include <cstring>
#include <thread>

wxIOBase::wxIOBase()
    : m_fifo(new SerialFifo)
{
}

wxIOBase::~wxIOBase() = default;

const char* wxIOBase::ClassName()
{
    return "wxIOBase";
}

int wxIOBase::Ioctl(int, void*)
{
    return -1;
}

int wxIOBase::ReadUntil(char** buf, std::size_t* len, const char* eos, unsigned timeout_ms, char quote)
{
    using Clock = std::chrono::steady_clock;
    constexpr std::size_t kChunk = 512;

    const std::size_t eosLength = std::strlen(eos);
    // A monotonic deadline: wall-clock changes must not stretch or cut it.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms == 0 ? 1 : timeout_ms);

    std::size_t capacity = kChunk;
    char* collected = new char[capacity];
    std::size_t count = 0;
    bool inQuotes = false;
    int result = 0;

    for (;;)
    {
        char byte;
        const int got = Read(&byte, 1);
        if (got < 0)
        {
            result = -1;
            break;
        }
        if (got == 0)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        else
        {
            if (byte == quote)
                inQuotes = !inQuotes;
            // Keep one slot for the terminating NUL.
            if (count + 1 >= capacity)
            {
                char* larger = new char[capacity + kChunk];
                std::memcpy(larger, collected, count);
                delete[] collected;
                collected = larger;
                capacity += kChunk;
            }
            collected[count++] = byte;
            if (!inQuotes && count >= eosLength && std::memcmp(collected + count - eosLength, eos, eosLength) == 0)
            {
                count -= eosLength;
                result = 1;
                break;
            }
        }
        if (Clock::now() >= deadline)
        {
            result = 0;
            break;
        }
    }

    collected[count] = '\0';
    *buf = collected;
    *len = count;
    return result;
}
