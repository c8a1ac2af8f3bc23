#ifndef QUENVAR_REQUEST_H
#define QUENVAR_REQUEST_H

#include <string>

// One request frame as it goes on the wire: header, command, data, sum.
// Requests carry no length field; the ECU knows each command's data length.
class Request
{
public:
    Request() = default;
    // Copies the frame, sum and command; the header stays this record's own.
    Request(const Request& lhs);
    Request& operator=(const Request& lhs);

    // Rebuild the frame in place for a command without data.
    void Build(unsigned char command);
    // ... with one data byte.
    void Build(unsigned char command, unsigned char b1);
    // ... with two data bytes.
    void Build(unsigned char command, unsigned char b1, unsigned char b2);
    // ... with any number of data bytes.
    void Build(unsigned char command, const std::string& data);

    // Where a queued request stands with the ECU. Queue bookkeeping: copies
    // and assignments leave it alone, like the header.
    enum Wire
    {
        WIRE_QUEUED,          // not sent yet
        WIRE_SENT,            // these bytes went out and await their reply
        WIRE_CHANGED_AFTER_SEND // sent, then replaced by newer bytes not sent yet
    };

    std::string m_bytes;          // the whole frame
    unsigned char m_sum = 0;      // sum of the frame bytes before it, set as the frame is finished
    unsigned char m_command = 0;  // the command byte
    unsigned char m_header = 0xAA; // first byte of every frame this record builds
    Wire m_wire = WIRE_QUEUED;

private:
    void Begin(unsigned char command);
    void Append(unsigned char byte);
    void Finish();
};

#endif
