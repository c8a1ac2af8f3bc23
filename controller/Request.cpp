#include "Request.h"

#include <wx/debug.h>

#include "FrameSum.h"

Request::Request(const Request& lhs)
    : m_bytes(lhs.m_bytes),
      m_sum(lhs.m_sum),
      m_command(lhs.m_command)
{
    wxASSERT_MSG(this != &lhs, "this!=&lhs");
}

Request& Request::operator=(const Request& lhs)
{
    if (this != &lhs)
    {
        m_bytes = lhs.m_bytes;
        m_sum = lhs.m_sum;
        m_command = lhs.m_command;
    }
    return *this;
}

void Request::Begin(unsigned char command)
{
    m_sum = 0;
    m_command = command;
    m_bytes.clear();
    Append(m_header);
    Append(command);
}

void Request::Append(unsigned char byte)
{
    m_bytes.push_back(static_cast<char>(byte));
}

void Request::Finish()
{
    m_sum = FrameSum(reinterpret_cast<const unsigned char*>(m_bytes.data()), m_bytes.size());
    m_bytes.push_back(static_cast<char>(m_sum));
}

void Request::Build(unsigned char command)
{
    Begin(command);
    Finish();
}

void Request::Build(unsigned char command, unsigned char b1)
{
    Begin(command);
    Append(b1);
    Finish();
}

void Request::Build(unsigned char command, unsigned char b1, unsigned char b2)
{
    Begin(command);
    Append(b1);
    Append(b2);
    Finish();
}

void Request::Build(unsigned char command, const std::string& data)
{
    Begin(command);
    for (char byte : data)
        Append(static_cast<unsigned char>(byte));
    Finish();
}
