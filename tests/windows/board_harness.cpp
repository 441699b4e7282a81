#include "tests/windows/board_harness.h"

#include "board/board_layout.h"
#include "judge/answer_judge.h"
#include "judge/score.h"
#include "resources/resource_ids.h"
#include "shell/pictures.h"
#include "tests/windows/test_files.h"
#include "win/control_text.h"
#include "win/player_state.h"

namespace {

HWND createPane(const char* title, int y) {
    return createTestWindow(title, 0, y, 900, 300);
}

} // namespace

std::string textOfControl(HWND dialog, int id) {
    char text[kQuizTextSize];
    readControlText(dialog, id, text);
    return text;
}

HWND BoardHarness::createChild(HWND parent, const char* type, const char* text, DWORD style,
                               int id) {
    return CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

BoardHarness::BoardHarness(const QuizSetup& setup) : record_(std::make_unique<QuizRecord>()) {
    QuizRecord& record = *record_;
    record.mediaKind = setup.mediaKind;
    record.answerFieldCount = setup.answerFieldCount;
    record.rewardKind = setup.rewardKind;
    record.questionCount = static_cast<int>(setup.answers.size());
    for (const auto& [first, second] : setup.answers)
        addQuestion(record, first.c_str(), second.c_str(), "");
    for (size_t i = 0; i < setup.codes.size(); ++i)
        copyQuizText(record.codes[i], setup.codes[i].c_str());
    for (size_t i = 0; i < setup.rewardTexts.size(); ++i)
        copyQuizText(questionAt(record, int(i))->rewardText, setup.rewardTexts[i].c_str());

    header_ = createPane("header", 0);
    createChild(header_, "Static", " 0 / 0", SS_CENTER, 32);
    createChild(header_, "edit", "", ES_READONLY, 30);
    record.headerPane = header_;
    quizRecord = &record; // F1 reads the quiz through the process-wide pointer

    board_ = createPane("board", 320);
    for (int field = 1; field <= answerFieldTotal(record); ++field) {
        createChild(board_, "Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                    answerFieldId(field));
        if (setup.withVerdictFields)
            createChild(board_, "Static", "?", WS_BORDER, verdictFieldId(field));
    }
    for (int question = 1; question <= record.questionCount; ++question) {
        if (record.mediaKind != kMediaTextList && record.rewardKind > kRewardPicture) {
            HWND reward = createChild(board_, "Static", "", SS_CENTER, rewardFieldId(question));
            ShowWindow(reward, SW_HIDE);
        }
        if (record.mediaKind == kMediaPictures) {
            HWND picture = createChild(board_, "STATIC", "", SS_BITMAP | SS_CENTERIMAGE,
                                       pictureFieldId(question));
            HBITMAP bitmap = loadPictureResource(nullptr, 400 + question, "IMG", 260, 260);
            SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        }
    }
}

BoardHarness::~BoardHarness() {
    for (int question = 1; question <= record_->questionCount; ++question)
        if (HBITMAP bitmap = picture(question))
            DeleteObject(bitmap);
    DestroyWindow(board_);
    DestroyWindow(header_);
    quizRecord = nullptr;
}

HWND BoardHarness::answerField(int fieldIndex) const {
    return GetDlgItem(board_, answerFieldId(fieldIndex));
}

void BoardHarness::answer(int fieldIndex, const std::string& text) {
    SetWindowTextA(answerField(fieldIndex), text.c_str());
    judgeAnswer(*record_, board_, answerFieldId(fieldIndex));
}

std::string BoardHarness::verdict(int fieldIndex) const {
    return textOfControl(board_, verdictFieldId(fieldIndex));
}

std::string BoardHarness::score() const {
    return textOfControl(header_, kScoreFieldId);
}

std::string BoardHarness::code() const {
    return textOfControl(header_, kCodeFieldId);
}

bool BoardHarness::rewardShown(int question) const {
    HWND reward = GetDlgItem(board_, rewardFieldId(question));
    return reward && (GetWindowLongA(reward, GWL_STYLE) & WS_VISIBLE);
}

HBITMAP BoardHarness::picture(int question) const {
    return reinterpret_cast<HBITMAP>(
        SendDlgItemMessageA(board_, pictureFieldId(question), STM_GETIMAGE, IMAGE_BITMAP, 0));
}
