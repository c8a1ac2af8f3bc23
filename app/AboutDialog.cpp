#include "AboutDialog.h"

#include <wx/fontenum.h>
#include <wx/intl.h>
#include <wx/sizer.h>

#include "MyTextCtrl.h"

namespace
{
// The labels' face; where it is not installed, the default face in bold.
wxFont LabelFont(int points)
{
    wxFontInfo info(points);
    info.Family(wxFONTFAMILY_SWISS).Bold();
    if (wxFontEnumerator::IsValidFacename("Tahoma"))
        info.FaceName("Tahoma");
    return wxFont(info);
}

// The rich text control wraps lines only at blanks and tabs. Chinese has
// neither, so a blank before a Chinese run would end its line there and push
// the whole run down; a no-break space keeps the blank with the run.
wxString KeepBlanksWithChinese(const wxString& piece)
{
    wxString out(piece);
    const wxUniChar noBreakSpace(0xA0);
    for (size_t i = out.length(); i-- > 0;) {
        if (out[i] == ' ' && i + 1 < out.length() &&
            (!out[i + 1].IsAscii() || out[i + 1] == noBreakSpace))
            out[i] = noBreakSpace;
    }
    return out;
}

// The profile, piece by piece, in the order it is appended.
const wchar_t* const kChineseProfile[] = {
    L"\t\t\t          奎文燃气电控简介\n",
    L"      奎文燃气电控有限公司总部位于示例市高新技术开发区，在演示工业园设有电子装配与检测工厂，专注于汽车液化石油气（LPG）和压缩天然气（CNG）多点顺序喷射系统的研发、生产与技术服务。\n",
    L"企业使命: 让每一台燃气汽车运行得更清洁、更经济、更可靠。\n",
    L"企业文化: 务实、严谨、协作，服务到每一个车间。\n",
    L"企业优势: 自主设计的电控单元与标定软件，完善的台架和整车试验能力，遍布各地的培训与售后网络。\n",
    L"质量认证: 质量管理体系通过示例质量认证中心认证，证书编号 QEX-Q-2024-0001。\n",
    L"产品认证: 燃气喷射系统零部件通过示例机动车检测院型式检验，批准号 EX-LPG-0067、EX-CNG-0110。\n",
    L"主要系统产品:\n",
    L"1. 汽油发动机燃气顺序喷射系统：适用于三至八缸汽油发动机，液化石油气/压缩天然气与汽油自动切换。\n",
    L"2. 柴油发动机双燃料系统：柴油引燃、天然气替代，按工况自动调节替代率。\n",
    L"3. 单燃料燃气发动机电控系统：稀薄燃烧闭环控制，适用于城市公交和重型车辆。\n",
    L"电话: +86 000 5550 0100, +86 000 5550 0101\n",
    L"传真: +86 000 5550 0199\n",
    L"地址: 示例市高新技术开发区燃气路 8 号，邮编 000000\n",
    L"E_mail: ",
    L"mailto:info@quenvar.example",
    L"\n",
    L"  ",
    L"https://quenvar.example/",
};

const wchar_t* const kEnglishProfile[] = {
    L"\t\t\t          About Quenvar Gas Controls\n",
    L"      Quenvar Gas Controls Co., Ltd. has its head office in the High-Tech Zone of Example City and its electronics assembly and test plant in the Demo Industrial Park. It develops, builds and supports sequential multipoint injection systems for LPG and CNG vehicles.\n",
    L"Mission: every gas-fuelled vehicle running cleaner, cheaper and more reliably.\n",
    L"Culture: practical, careful, cooperative, with service right into the workshop.\n",
    L"Strengths: own control units and calibration software, bench and vehicle test facilities, a training and after-sales network across the country.\n",
    L"Quality: quality management system certified by the Example Quality Certification Centre, certificate No. QEX-Q-2024-0001.\n",
    L"Approvals: gas injection components type-tested by the Example Vehicle Testing Institute, approvals No. EX-LPG-0067 and EX-CNG-0110.\n",
    L"Main Systems:\n",
    L"1. Sequential gas injection for petrol engines: three to eight cylinders, automatic switching between LPG/CNG and petrol.\n",
    L"2. Dual-fuel systems for diesel engines: diesel pilot ignition with natural gas substitution adjusted to the load.\n",
    L"3. Control systems for gas-only engines: closed-loop lean-burn control for city buses and heavy vehicles.\n",
    L"Tel: +86 000 5550 0100, +86 000 5550 0101\n",
    L"Fax: +86 000 5550 0199\n",
    L"Address: 8 Gas Road, High-Tech Zone, Example City 000000\n",
    L"E_mail: ",
    L"mailto:info@quenvar.example",
    L"\n",
    L"  ",
    L"https://quenvar.example/",
};
}

AboutDialog::AboutDialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos)
    : wxDialog(parent, id, title.empty() ? wxGetTranslation(L"公司介绍") : title, pos,
               wxSize(525, 380), wxDEFAULT_DIALOG_STYLE, "dialog")
{
    m_text = new MyTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(520, 360),
                            wxRE_MULTILINE | wxRE_READONLY);
    m_text->SetFont(LabelFont(10));

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(m_text, wxSizerFlags(1).Expand().Border(wxALL, FromDIP(3)));
    SetSizerAndFit(row);
    Layout();
    ScrollToTop();
}

void AboutDialog::BuildText(int language)
{
    if (language == LANGUAGE_CHINESE) {
        for (const wchar_t* piece : kChineseProfile)
            m_text->AppendText(KeepBlanksWithChinese(piece));
    } else {
        for (const wchar_t* piece : kEnglishProfile)
            m_text->AppendText(piece);
    }
    // Appending leaves the view at the end; a reader starts at the heading.
    ScrollToTop();
}

void AboutDialog::ScrollToTop()
{
    m_text->SetInsertionPoint(0);
    m_text->ShowPosition(0);
    m_text->Refresh();
    m_text->Update();
}
