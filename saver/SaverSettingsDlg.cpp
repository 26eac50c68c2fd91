#include "saver/SaverSettingsDlg.h"
#include "saver/SaverResource.h"
#include "saver/SaverSettings.h"

namespace {

// The lists' texts, in the order of the values in SaverChoices.cpp.
const char* const kSimulationTexts[] = {"Tumble Dry", "Washing Machine", "Dirty Laundry"};
const char* const kPopulationTexts[] = {"Sparse (500 stars)", "Dense (2000 stars)", "Crowded (5000 stars)"};
const char* const kNauseaTexts[] = {"Feeling Good", "Uncomfortable", "Gut-Wrenching"};
const char* const kFrameRateTexts[] = {"30 frames a second", "60 frames a second", "As fast as possible"};
const char* const kTuneTexts[] = {"None", "Tune #1", "Tune #2", "Tune #3"};
const char* const* const kTexts[CHOICE_COUNT] = {kSimulationTexts, kPopulationTexts, kNauseaTexts, kFrameRateTexts,
                                                 kTuneTexts};

}   // namespace

CSaverSettingsDlg::CSaverSettingsDlg(CWnd* pOwner) : CDialog(IDD_SAVER_SETTINGS, pOwner), m_choices(ReadSaverChoices())
{}

BOOL CSaverSettingsDlg::OnInitDialog()
{
    for (int32_t i = 0; i < CHOICE_COUNT; ++i) {
        const SaverChoiceList& list = GetSaverChoiceList(i);
        HWND hList = ::GetDlgItem(m_hWnd, IDC_SAVER_FIRST_CHOICE + i);
        for (int32_t n = 0; n < list.nCount; ++n)
            ::SendMessageA(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kTexts[i][n]));
        const int32_t nAt = FindChoice(list, GetChoice(m_choices, i));
        ::SendMessageA(hList, CB_SETCURSEL, WPARAM(nAt >= 0 ? nAt : list.nDefault), 0);
    }
    return CDialog::OnInitDialog();
}

void CSaverSettingsDlg::OnOK()
{
    for (int32_t i = 0; i < CHOICE_COUNT; ++i) {
        const SaverChoiceList& list = GetSaverChoiceList(i);
        const LRESULT nAt = ::SendDlgItemMessageA(m_hWnd, IDC_SAVER_FIRST_CHOICE + i, CB_GETCURSEL, 0, 0);
        if (nAt >= 0 && nAt < list.nCount)
            SetChoice(m_choices, i, list.pValues[nAt]);
    }
    WriteSaverChoices(m_choices);
    EndDialog(IDOK);
}
