#include "results_dlg.h"

#include "game_app.h"
#include "resource.h"
#include "texts.h"

namespace {

// Adds the words in list order; the sorted list box files them in.
void AddWords(const CControl& list, const WordList& words) {
    for (const std::string& word : words)
        list.Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word.c_str()));
}

}  // namespace

const MessageRow<CResultsDlg> CResultsDlg::s_messageMap[] = {
    {WM_INITDIALOG, 0, 0, &CResultsDlg::OnInit},
    {},
};

CResultsDlg::CResultsDlg(const WordList* pFoundWords, const WordList* pMissedWords)
    : CDialog(IDD_RESULTS), m_pFoundWords(pFoundWords), m_pMissedWords(pMissedWords) {}

void CResultsDlg::BindControls() {
    m_btnClose.Attach(Item(IDOK));
    m_listFound.Attach(Item(IDC_FOUND_WORDS));
    m_listMissed.Attach(Item(IDC_MISSED_LIST));
}

BOOL CResultsDlg::OnInit(int) {
    GetApp().CenterOverOwner(GetHwnd());
    SetItemText(IDC_FOUND_HEADING,
                FormatText(IDS_FOUND_HEADING, static_cast<int>(m_pFoundWords->size())));
    AddWords(m_listFound, *m_pFoundWords);
    SetItemText(IDC_MISSED_HEADING,
                FormatText(IDS_MISSED_HEADING, static_cast<int>(m_pMissedWords->size())));
    AddWords(m_listMissed, *m_pMissedWords);
    m_btnClose.SetFocus();
    return FALSE;  // the focus is set
}
