// How long building the board of a 96-question picture quiz takes, next to decoding each of
// its pictures once: the board must decode every picture only once, so the ratio stays close
// to 1. Runs under Wine (scripts/wine-run.sh build/windows/bin/plimo_board_bench.exe).
#include "board/board_dialog.h"
#include "resources/quiz_resource_ids.h"
#include "resources/resource_ids.h"
#include "shell/header_pane.h"
#include "shell/pictures.h"
#include "win/player_state.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kQuestions = 96;
constexpr int kRounds = 5;

double seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double decodeEveryPictureOnce() {
    const double start = seconds();
    for (int question = 1; question <= kQuestions; ++question)
        DeleteObject(
            loadPictureResource(nullptr, IDR_QUESTION_MEDIA_BASE + question, "IMG", 260, 260));
    return seconds() - start;
}

double buildBoard(HWND parent) {
    const double start = seconds();
    HWND board = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BOARD), parent,
                                    boardDialogProc, 0);
    const double elapsed = seconds() - start;
    DestroyWindow(board);
    return elapsed;
}

} // namespace

int main() {
    quizRecord = new QuizRecord();
    quizRecord->mediaKind = kMediaPictures;
    quizRecord->questionCount = kQuestions;
    for (int question = 0; question < kQuestions; ++question)
        addQuestion(*quizRecord, "REPONSE", "", "");

    HWND parent = CreateWindowExA(0, "Static", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    quizRecord->headerPane = CreateDialogParamA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HEADER), parent, headerPaneProc, 0);

    std::vector<double> decodes, builds;
    for (int round = 0; round < kRounds; ++round) {
        decodes.push_back(decodeEveryPictureOnce());
        builds.push_back(buildBoard(parent));
    }
    const double decode = median(decodes), build = median(builds);
    printf("pictures: %d of 800 x 600, median of %d rounds\n", kQuestions, kRounds);
    printf("decoding each picture once: %8.1f ms\n", decode * 1000);
    printf("building the board:         %8.1f ms\n", build * 1000);
    printf("ratio: %.2f (goal: at most 1.20)\n", build / decode);

    DestroyWindow(parent);
    delete quizRecord;
    return 0;
}
