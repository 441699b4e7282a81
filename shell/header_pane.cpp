#include "shell/header_pane.h"

#include "board/progress_file.h"
#include "content/quiz_record.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/player_state.h"

#include <cstdio>
#include <shellapi.h>
#include <utility>

namespace {

// Made with the pane, released once its controls are gone.
UniqueGdiObject<HBRUSH> headerBrush;
UniqueGdiObject<HFONT> linkFont;

struct HeaderControl {
    int id;
    const char* type;
    DWORD style;
    ControlRect rect;
};

// In the order of their creation.
constexpr HeaderControl kControls[] = {
    {kLinkId, "Static", SS_NOTIFY, {736, 5, 115, 18}},
    {kByLabelId, "Static", 0, {736, 25, 27, 18}},
    {kCreatorId, "Static", 0, {763, 25, 85, 18}},
    {kSaveButtonId, "button", 0, {666, 25, 55, 18}},
    {kExplanationId, "Static", 0, {110, 19, 490, 27}},
    {kTitleId, "Static", 0, {110, 3, 260, 18}},
    {kCodeLabelId, "Static", 0, {7, 29, 36, 15}},
    {kScoreFieldId, "Static", SS_CENTER, {10, 1, 80, 20}},
    {kCodeFieldId, "edit", ES_READONLY, {44, 29, 53, 16}},
    {kScoreRuleId, "Static", WS_BORDER, {0, 26, 100, 1}},
    {kLeftRuleId, "Static", WS_BORDER, {100, 0, 1, 50}},
    {kRightRuleId, "Static", WS_BORDER, {730, 0, 1, 50}},
};

const char* initialText(int id, const QuizRecord& record, char (&score)[32]) {
    switch (id) {
    case kLinkId:
        return kMakerWebAddress;
    case kByLabelId:
        return "Par :";
    case kCreatorId:
        return record.creator;
    case kSaveButtonId:
        return "Sauver";
    case kExplanationId:
        return record.explanation;
    case kTitleId:
        return record.title;
    case kCodeLabelId:
        return " Code :";
    case kScoreFieldId:
        snprintf(score, sizeof score, " 0 / %d", record.questionCount);
        return score;
    default:
        return "";
    }
}

void applyFont(HWND control, int id, const QuizRecord& record) {
    switch (id) {
    case kLinkId:
        styleLink(control);
        break;
    case kTitleId:
        setFont(control, record.titleFont, false);
        break;
    case kScoreFieldId:
        setFont(control, record.scoreFont, false);
        break;
    case kScoreRuleId:
    case kLeftRuleId:
    case kRightRuleId:
        break; // the rules show no text
    default:
        setFont(control, defaultGuiFont(), true);
        break;
    }
}

INT_PTR onInitDialog(HWND pane) {
    const QuizRecord& record = *quizRecord;
    for (const HeaderControl& c : kControls) {
        char score[32];
        HWND control =
            createControl(pane, c.id, c.type, initialText(c.id, record, score), c.style, c.rect);
        if (control)
            applyFont(control, c.id, record);
    }
    headerBrush.reset(CreateSolidBrush(kHeaderColour));
    return TRUE;
}

void moveControl(HWND pane, int id, int x, int y, int width, int height, bool repaint) {
    HWND control = GetDlgItem(pane, id);
    SetWindowPos(control, HWND_TOP, x, y, width, height, SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (repaint)
        InvalidateRect(control, nullptr, FALSE);
}

// The right-hand group follows the right edge; the explanation takes the room between.
INT_PTR onSize(HWND pane, int width) {
    moveControl(pane, kLinkId, width - 134, 0, 115, 18, false);
    moveControl(pane, kByLabelId, width - 134, 25, 26, 18, false);
    moveControl(pane, kCreatorId, width - 107, 25, 105, 18, true);
    moveControl(pane, kSaveButtonId, width - 204, 25, 55, 18, true);
    moveControl(pane, kExplanationId, 110, 19, width - 324, 28, true);
    moveControl(pane, kRightRuleId, width - 145, 0, 1, 50, true);
    return FALSE;
}

INT_PTR onCtlColorStatic(HDC dc, HWND control) {
    const int id = GetWindowLongA(control, GWL_ID);
    if (id < kLinkId || id > kScoreFieldId)
        return FALSE;
    SetBkMode(dc, TRANSPARENT);
    if (id == kLinkId)
        SetTextColor(dc, kLinkColour);
    return reinterpret_cast<INT_PTR>(headerBrush.get());
}

INT_PTR onCommand(WPARAM wParam) {
    // The whole wParam: only a click (notification 0) counts.
    if (wParam == kLinkId)
        ShellExecuteA(nullptr, "open", kMakerWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
    else if (wParam == kSaveButtonId && boardWindow)
        saveProgress(boardWindow);
    return FALSE;
}

void releasePaneObjects() {
    headerBrush.reset();
    linkFont.reset();
}

} // namespace

void styleLink(HWND link) {
    RECT client;
    GetClientRect(link, &client);
    LOGFONTA font{};
    font.lfHeight = -(3 * (client.bottom - client.top) / 4);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = TRUE;
    // The link shows the new font before the one it showed is deleted.
    const UniqueGdiObject<HFONT> previous = std::move(linkFont);
    linkFont.reset(CreateFontIndirectA(&font));
    setFont(link, linkFont.get(), false);
    // The cursor belongs to the class: every "Static" of the process shows the hand from now on.
    SetClassLongPtrA(link, GCLP_HCURSOR,
                     reinterpret_cast<LONG_PTR>(LoadCursorA(GetModuleHandleA(nullptr),
                                                            MAKEINTRESOURCEA(IDC_LINK_CURSOR))));
}

INT_PTR CALLBACK headerPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(pane);
    case WM_SIZE:
        return onSize(pane, LOWORD(lParam));
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(headerBrush.get());
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        return onCommand(wParam);
    case WM_NCDESTROY:
        // After the controls are gone, so none is left drawing with the link font.
        releasePaneObjects();
        return FALSE;
    default:
        return FALSE;
    }
}
