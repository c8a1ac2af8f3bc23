#ifndef QUENVAR_GAUGEVALUE_H
#define QUENVAR_GAUGEVALUE_H

// Gauges assert on values beyond their range; the line can send anything.
// The fraction is cut off, as the readings are shown.
template <class Gauge>
void SetGaugeValue(Gauge* gauge, double value)
{
    const int range = gauge->GetRange();
    int v = 0;
    if (value > 0)
        v = value >= range ? range : static_cast<int>(value);
    if (gauge->GetValue() != v)
        gauge->SetValue(v);
}

#endif
