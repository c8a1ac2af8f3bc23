#ifndef QUENVAR_WIRESCALING_H
#define QUENVAR_WIRESCALING_H

#include <algorithm>
#include <cmath>
#include <cstdint>

// Scaled values as the ECU takes them: the product truncated toward zero.
// Decimal inputs are not exact in binary (0.29 x 100 = 28.999999999999996),
// so a product within a few units in the last place of a whole number counts
// as that number; otherwise a value read from the ECU would go back one lower.
inline double TruncScaled(double value, double factor)
{
    const double product = value * factor;
    const double nearest = std::round(product);
    if (std::fabs(product - nearest) <= 1e-12 * std::max(1.0, std::fabs(nearest)))
        return nearest;
    return std::trunc(product);
}

// Low 8 bits of a whole number held in a double, without the undefined
// conversion of an out-of-range value; not a number gives 0.
inline unsigned char LowByte(double whole)
{
    if (!std::isfinite(whole))
        return 0;
    double low = std::fmod(whole, 256.0);
    if (low < 0.0)
        low += 256.0;
    return static_cast<unsigned char>(low);
}

// trunc(value x factor) as a data byte (its low 8 bits).
inline unsigned char ScaledByte(double value, double factor)
{
    return LowByte(TruncScaled(value, factor));
}

// trunc(value x factor) held within 0..255.
inline unsigned char ClampedScaledByte(double value, double factor)
{
    const double whole = TruncScaled(value, factor);
    if (!(whole > 0.0))
        return 0;
    return static_cast<unsigned char>(std::min(whole, 255.0));
}

// trunc(value x factor) held within the range of an unsigned 32-bit counter.
inline uint32_t ScaledCounter(double value, double factor)
{
    const double whole = TruncScaled(value, factor);
    if (!(whole > 0.0))
        return 0;
    return static_cast<uint32_t>(std::min(whole, 4294967295.0));
}

#endif
