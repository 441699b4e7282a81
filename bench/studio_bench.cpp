// The studio opening a folder of phone photos, run under Wine: the time until the rows are
// listed, until the first thumbnail and until the last, and the longest time the window's
// message loop was kept from answering.
//   plimo_studio_bench.exe FOLDER   (bench/make-photos.sh FOLDER makes 96 photos)
#include "studio/question_pane.h"
#include "studio/studio_ids.h"
#include "studio/studio_window.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int thumbnailsShown(HWND list) {
    int shown = 0;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        shown += item.iImage > kVideoImage;
    }
    return shown;
}

} // namespace

int wmain(int count, wchar_t** arguments) {
    if (count != 2) {
        std::fprintf(stderr, "usage: plimo_studio_bench FOLDER\n");
        return 2;
    }
    WindowsDialogs dialogs;
    HWND window = createStudioWindow(dialogs, {}, {}, SW_SHOW);
    HWND list = GetDlgItem(window, kQuestionList);
    const Clock::time_point start = Clock::now();
    openInStudio(window, arguments[1]); // the rows are listed when it returns
    const double rows = millisecondsSince(start);
    const int total = ListView_GetItemCount(list);
    double first = 0, longest = rows;
    while (thumbnailsShown(list) < total && millisecondsSince(start) < 600'000) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        const Clock::time_point dispatched = Clock::now();
        TranslateMessage(&message);
        DispatchMessageW(&message);
        longest = std::max(longest, millisecondsSince(dispatched));
        if (first == 0 && thumbnailsShown(list) > 0)
            first = millisecondsSince(start);
    }
    std::printf("%d rows listed: %.0f ms\nfirst thumbnail: %.0f ms\nall %d thumbnails: %.0f ms\n"
                "longest message (the open included): %.0f ms\n",
                total, rows, first, thumbnailsShown(list), millisecondsSince(start), longest);
    DestroyWindow(window);
    return 0;
}
