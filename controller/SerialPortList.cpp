#include "SerialPortList.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <utility>

#include <dirent.h>
#include <sys/stat.h>

SerialPortList::SerialPortList(std::string sysfsTtyRoot, std::string devRoot)
    : m_sysfsTtyRoot(std::move(sysfsTtyRoot)),
      m_devRoot(std::move(devRoot))
{
}

std::vector<std::string> SerialPortList::Scan() const
{
    std::vector<std::string> names;
    DIR* dir = opendir(m_sysfsTtyRoot.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir))
    {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        const std::string base = m_sysfsTtyRoot + "/" + name;
        // Virtual terminals and ptys have no device behind them.
        struct stat info;
        if (stat((base + "/device").c_str(), &info) != 0)
            continue;
        // The 8250 driver registers every legacy UART slot; "type" 0 marks
        // one where no chip answered.
        std::ifstream type(base + "/type");
        int code = -1;
        if (type >> code && code == 0)
            continue;
        names.push_back(name);
    }
    closedir(dir);

    std::sort(names.begin(), names.end(), NaturalLess);
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names)
        paths.push_back(m_devRoot + "/" + name);
    return paths;
}

bool SerialPortList::NaturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size())
    {
        const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (digitA && digitB)
        {
            std::size_t endA = i;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA])))
                ++endA;
            std::size_t endB = j;
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB])))
                ++endB;
            // Compare by value without converting: skip leading zeros, then
            // the longer run is larger, then digit by digit.
            std::size_t startA = i;
            while (startA + 1 < endA && a[startA] == '0')
                ++startA;
            std::size_t startB = j;
            while (startB + 1 < endB && b[startB] == '0')
                ++startB;
            if (endA - startA != endB - startB)
                return endA - startA < endB - startB;
            const int cmp = a.compare(startA, endA - startA, b, startB, endB - startB);
            if (cmp != 0)
                return cmp < 0;
            // Equal values: fewer leading zeros first, for a strict order.
            if (endA - i != endB - j)
                return endA - i < endB - j;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}
