#include "board/board_dialog.h"

#include "board/answer_field.h"
#include "board/board_layout.h"
#include "board/board_scroll.h"
#include "board/progress_file.h"
#include "judge/answer_judge.h"
#include "judge/verdict.h"
#include "media/media_player.h"
#include "resources/quiz_resource_ids.h"
#include "shell/pictures.h"
#include "win/control_text.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/player_state.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

int contentWidth = 0;
int contentHeight = 0;
WNDPROC previousEditProc = nullptr;

namespace {

constexpr COLORREF kLightLabelText = RGB(255, 255, 255);
constexpr COLORREF kDarkLabelText = RGB(0, 0, 0);
constexpr int kDarkColourLimit = 59;

bool isMediaBoard(const QuizRecord& record) {
    return record.mediaKind == kMediaSound || record.mediaKind == kMediaVideo;
}

HWND createControl(HWND board, const PlacedControl& placed, const char* type, const char* text,
                   DWORD style) {
    return createControl(board, placed.id, type, text, style,
                         {placed.x, placed.y, placed.width, placed.height});
}

const char* questionTextOf(const QuizRecord& record, int question) {
    const QuestionNode* node = questionAt(record, question - 1);
    return node ? node->questionText : "";
}

const char* rewardTextOf(const QuizRecord& record, int question) {
    const QuestionNode* node = questionAt(record, question - 1);
    return node ? node->rewardText : "";
}

// Made whole before the next field: restored text, font, our keys, judged, focused.
void createAnswerField(HWND board, const PlacedControl& placed, ProgressRestore& restore) {
    QuizRecord& record = *quizRecord;
    char answer[kQuizTextSize];
    restore.nextLine(answer);
    HWND field = createControl(board, placed, "Edit", answer,
                               WS_BORDER | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL);
    // Subclassing no field would leave every field without the edit control's procedure.
    if (!field)
        return;
    setFont(field, record.answerFont, false);
    previousEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answerEditProc)));
    judgeAnswer(record, board, placed.id);
    // Moving the focus on judges the field before: that is how restored verdicts appear.
    SetFocus(field);
}

// Decoded pictures by question, each owned here until its field has taken it.
using DecodedPictures = std::vector<UniqueGdiObject<HBITMAP>>;

// The field takes the picture over: releasePictures deletes it with the board.
void createPictureField(HWND board, const PlacedControl& placed,
                        UniqueGdiObject<HBITMAP>& picture) {
    HWND field = createControl(board, placed, "STATIC", "", SS_BITMAP | SS_CENTERIMAGE);
    if (!field || !picture)
        return;
    SendMessageA(field, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    picture.release();
}

void createPlacedControl(HWND board, const PlacedControl& placed, DecodedPictures& pictures,
                         ProgressRestore& restore) {
    const QuizRecord& record = *quizRecord;
    switch (placed.kind) {
    case BoardControl::kPictureField:
        createPictureField(board, placed, pictures[placed.question]);
        break;
    case BoardControl::kAnswerCaption: {
        const char* label = placed.answer == 1 ? record.answerLabel1 : record.answerLabel2;
        setFont(createControl(board, placed, "Static", label, SS_LEFT), defaultGuiFont(), true);
        break;
    }
    case BoardControl::kQuestionNumber: {
        char number[16];
        snprintf(number, sizeof number, "%d.", placed.question);
        createControl(board, placed, "Static", number, SS_RIGHT);
        break;
    }
    case BoardControl::kQuestionText:
        setFont(createControl(board, placed, "Static", questionTextOf(record, placed.question),
                              WS_BORDER | SS_CENTER | SS_CENTERIMAGE),
                defaultGuiFont(), true);
        break;
    case BoardControl::kPlayButton:
    case BoardControl::kStopButton: {
        HWND button =
            createControl(board, placed, "Button", "", WS_TABSTOP | BS_ICON | BS_DEFPUSHBUTTON);
        HICON icon = placed.kind == BoardControl::kPlayButton ? playIcon() : stopIcon();
        SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        break;
    }
    case BoardControl::kAnswerField:
        createAnswerField(board, placed, restore);
        break;
    case BoardControl::kVerdictField: {
        HWND verdict =
            createControl(board, placed, "Static", "?", WS_BORDER | SS_CENTER | SS_CENTERIMAGE);
        if (record.answerFieldCount == 2 && record.mediaKind != kMediaTextList)
            setFont(verdict, defaultGuiFont(), true);
        break;
    }
    case BoardControl::kRewardField: {
        HWND reward = createControl(board, placed, "Static", rewardTextOf(record, placed.question),
                                    SS_CENTER);
        setFont(reward, defaultGuiFont(), true);
        ShowWindow(reward, SW_HIDE);
        break;
    }
    }
}

BOOL onInitDialog(HWND board) {
    QuizRecord& record = *quizRecord;
    if (isMediaBoard(record))
        createMediaPlayer(board);
    ProgressRestore restore;
    createAnswerFont(record);

    // Each picture is decoded once: its size places the row, its bitmap fills its field. A
    // picture whose field could not be made goes with this vector.
    DecodedPictures pictures(std::max(record.questionCount, 0) + 1);
    const BoardPlan plan = planBoard(record, [&pictures](int question) {
        UniqueGdiObject<HBITMAP>& picture = pictures[question];
        picture.reset(loadPictureResource(nullptr, IDR_QUESTION_MEDIA_BASE + question,
                                          kMediaResourceType, kPictureBox, kPictureBox));
        BITMAP size{};
        if (!picture || !GetObjectA(picture.get(), sizeof size, &size))
            return PictureSize{};
        return PictureSize{size.bmWidth, size.bmHeight};
    });
    {
        DeferredBoardTotals totalsOnceBuilt(record, board);
        for (const PlacedControl& placed : plan.controls)
            createPlacedControl(board, placed, pictures, restore);
    }
    contentWidth = plan.contentWidth;
    contentHeight = plan.contentHeight;
    updateScrollRanges(board);
    return TRUE;
}

// The brush of a verdict field by its word; null for "?".
HBRUSH verdictBrush(const QuizRecord& record, HWND board, int id) {
    char verdict[kQuizTextSize];
    readControlText(board, id, verdict);
    if (strcmp(verdict, verdictText(Verdict::kNothingTyped)) == 0)
        return nullptr;
    if (strcmp(verdict, verdictText(Verdict::kAnagram)) == 0)
        return record.anagramBrush;
    if (strcmp(verdict, verdictText(Verdict::kRight)) == 0)
        return record.rightBrush;
    if (strcmp(verdict, verdictText(Verdict::kWrong)) == 0)
        return record.wrongBrush;
    return record.nearBrush;
}

INT_PTR onCtlColorStatic(HWND board, HDC dc, HWND control) {
    const QuizRecord& record = *quizRecord;
    const int id = GetWindowLongA(control, GWL_ID);
    const int fields = answerFieldTotal(record);
    if (id == IDC_QUESTION_NUMBER || id == IDC_ANSWER_CAPTION ||
        (id > IDC_REWARD_BASE && id <= rewardFieldId(record.questionCount))) {
        SetBkMode(dc, TRANSPARENT);
        const bool darkQuizColour =
            record.colourRed <= kDarkColourLimit && record.colourGreen <= kDarkColourLimit;
        SetTextColor(dc, darkQuizColour ? kLightLabelText : kDarkLabelText);
        return reinterpret_cast<INT_PTR>(record.backgroundBrush);
    }
    if (id > IDC_VERDICT_BASE && id <= IDC_VERDICT_BASE + fields) {
        HBRUSH brush = verdictBrush(record, board, id);
        if (!brush)
            return FALSE; // nothing judged yet: the default colours
        // The word stands on its colour rather than on a white box.
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(brush);
    }
    if (id == IDC_QUESTION_TEXT) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(record.questionTextBrush);
    }
    return FALSE;
}

void onMediaCommand(HWND board, WPARAM wParam) {
    if (!isMediaBoard(*quizRecord))
        return;
    // The whole wParam: a notification code other than 0 (a click) does not match.
    if (wParam > IDC_PLAY_BASE && wParam <= IDC_PLAY_BASE + kMaxQuestions)
        playClip(board, int(wParam) - IDC_PLAY_BASE);
    else if (wParam > IDC_STOP_BASE && wParam <= IDC_STOP_BASE + kMaxQuestions)
        stopClip(int(wParam) - IDC_STOP_BASE);
}

// The picture fields own their bitmaps: a static control does not delete its image.
void releasePictures(HWND board) {
    for (int question = 1; question <= quizRecord->questionCount; ++question) {
        HWND field = GetDlgItem(board, pictureFieldId(question));
        if (!field)
            continue;
        const UniqueGdiObject<HBITMAP> takenBack(
            reinterpret_cast<HBITMAP>(SendMessageA(field, STM_SETIMAGE, IMAGE_BITMAP, 0)));
    }
}

} // namespace

INT_PTR CALLBACK boardDialogProc(HWND board, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(board);
    case WM_COMMAND:
        onMediaCommand(board, wParam);
        return FALSE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(quizRecord->backgroundBrush);
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(board, reinterpret_cast<HDC>(wParam),
                                reinterpret_cast<HWND>(lParam));
    case WM_SIZE:
        resizeBoardScrolling(board);
        return FALSE;
    case WM_VSCROLL:
        scrollBoardVertically(board, LOWORD(wParam));
        return FALSE;
    case WM_HSCROLL:
        scrollBoardHorizontally(board, LOWORD(wParam));
        return FALSE;
    case WM_MOUSEWHEEL:
        forwardWheel(board, wParam);
        return FALSE;
    case WM_DESTROY:
        releasePictures(board);
        return FALSE;
    default:
        return FALSE;
    }
}
