#include "FaultTexts.h"

#include <wx/translation.h>

namespace
{
// Indexed by bit; the ECU sets no text for bits 0 and 7. "过长" and the two
// blanks after "燃气压力太高" are how the live list words them.
const char* const kCurrentTextsA[8] = {
    nullptr,
    "T喷射时间过长 ",
    "电压错误 ",
    "燃气压力太高  ",
    "燃气压力太低 ",
    "点火电压太高 ",
    "汽油没有喷射 ",
    nullptr,
};

const char* const kCurrentTextsB[4] = {
    "数据错误，请检查设置 ",
    "用燃气时电源电压过低 ",
    "工作时间错误 ",
    "无法写入文件 ！！！ ",
};

// Indexed by item code; code 8 has no text.
const char* const kStoredTexts[10] = {
    nullptr,
    "T喷射时间太长 ",
    "电压错误 ",
    "燃气压力太高 ",
    "燃气压力太低 ",
    "点火电压太高 ",
    "汽油没有喷射 ",
    "汽车固件无法控制 ",
    nullptr,
    "用燃气时电源电压过低 ",
};

const char kInjectorHeading[] = "燃气喷嘴故障： ";

// The literals are UTF-8 whatever the locale; they are converted once, so a
// frame full of faults costs a lookup and a copy per text.
struct WideTexts
{
    wxString currentA[8];
    wxString currentB[4];
    wxString stored[10];
    wxString injectorHeading;
};

template <std::size_t N>
void Convert(const char* const (&from)[N], wxString (&to)[N])
{
    for (std::size_t i = 0; i < N; ++i)
    {
        if (from[i])
            to[i] = wxString::FromUTF8(from[i]);
    }
}

const WideTexts& Texts()
{
    static const WideTexts texts = [] {
        WideTexts t;
        Convert(kCurrentTextsA, t.currentA);
        Convert(kCurrentTextsB, t.currentB);
        Convert(kStoredTexts, t.stored);
        t.injectorHeading = wxString::FromUTF8(kInjectorHeading);
        return t;
    }();
    return texts;
}

wxString Translated(const wxString& text)
{
    if (text.empty())
        return wxString();
    return wxGetTranslation(text);
}
} // namespace

wxString CurrentFaultTextA(unsigned bit)
{
    return bit < 8 ? Translated(Texts().currentA[bit]) : wxString();
}

wxString CurrentFaultTextB(unsigned bit)
{
    return bit < 4 ? Translated(Texts().currentB[bit]) : wxString();
}

wxString StoredFaultText(unsigned code)
{
    return code < 10 ? Translated(Texts().stored[code]) : wxString();
}

wxString InjectorFaultText(unsigned char maskA, unsigned char maskB)
{
    // Mask B only decides whether there is an entry at all; the numbers come
    // from mask A alone.
    if (maskA == 0xFF && maskB == 0xFF)
        return wxString();
    wxString text = Translated(Texts().injectorHeading);
    for (int n = 0; n < 8; ++n)
    {
        if (!(maskA & (1u << n)))
        {
            text += wxUniChar(' ');
            text += wxUniChar('1' + n);
            text += wxUniChar(' ');
        }
    }
    return text;
}
