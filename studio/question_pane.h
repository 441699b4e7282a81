// The questions: a list in question order with each one's thumbnail, answers and a mark for its
// checks, the selected question's picture at the board's size (turned as the author turns it),
// its fields, the buttons that move and remove it, a field that judges what the author types
// as the player would, and the ways pupils type its answers that the player calls wrong.
#pragma once

#include "judge/verdict.h"
#include "maker/diagnostics.h"
#include "maker/quiz_document.h"
#include "studio/thumbnail_worker.h"
#include "win/handles.h"

#include <commctrl.h>
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

struct ImageListTraits : NullIsInvalid<HIMAGELIST> {
    static void release(HIMAGELIST list) { ImageList_Destroy(list); }
};
using UniqueImageList = UniqueHandle<ImageListTraits>;

class QuestionPane {
  public:
    // `thumbnailSize` and `previewSize` in pixels of the window's monitor.
    void create(HWND parent, HFONT font, int thumbnailSize);
    // The list fills `area` but for a column on its right: the preview, the fields, the buttons.
    void layout(const RECT& area, int rowHeight, int previewSize);
    void setVisible(bool visible);
    // The columns share the list's width: the answers stay readable whatever the window's size.
    void fitColumns(const QuizSource& quiz);
    // Marks each row with an error or warning icon by the worst problem of its question.
    void markChecks(const Diagnostics& diagnostics, int questionCount);

    // Every row again, the fields of the selected question, and its thumbnails asked for.
    void show(const QuizDocument& document);
    void select(int index);
    int selected() const;
    HWND list() const { return list_; }

    // A command or notification of one of its controls; true when the document changed.
    bool command(int id, int code, QuizDocument& document);
    bool notify(const NMHDR& header, QuizDocument& document);
    // Moves the selected question by `delta` rows, or removes it; true when it did.
    bool moveSelected(QuizDocument& document, int delta);
    bool removeSelected(QuizDocument& document);
    // Turns the picture the preview shows, the selected question's or its reward picture, by
    // `degrees` clockwise; true when it did.
    bool turnSelected(QuizDocument& document, int degrees);
    // The selected question's reward picture becomes `file`, and the preview shows it.
    bool setRewardPicture(QuizDocument& document, const std::filesystem::path& file,
                          Diagnostics& diagnostics);
    // A row dragged within the list (LVN_BEGINDRAG starts it): the row under `inParent` is
    // marked while the mouse moves, and the question moves there when the button is released.
    bool dragging() const { return dragged_ >= 0; }
    void dragOver(POINT inParent);
    bool drop(POINT inParent, QuizDocument& document);
    // Where files dropped at `inParent` go: before the row under it, or after the last row
    // when below it; nothing when the point is not on the list.
    std::optional<int> insertionRow(POINT inParent) const;
    void cancelDrag();
    // The brush of one of its static controls on WM_CTLCOLORSTATIC; null for the default.
    HBRUSH staticColour(HWND control, HDC dc);

    // Stops the workers: nothing is posted to the window any more.
    void stopThumbnails();
    void takeThumbnail(std::unique_ptr<PreparedThumbnail> thumbnail, const QuizDocument& document);
    void drawPreview(const DRAWITEMSTRUCT& item, const QuizDocument& document) const;
    // The clip of the selected question, played by the shell's own program.
    void playClip(const QuizDocument& document) const;

  private:
    struct Thumbnail {
        std::vector<uint8_t> pixels; // at the board's size; none when it cannot be read
        int width = 0, height = 0;
        std::map<int, int> images; // in the list's image list, by the author's turn
    };
    void showRow(const QuizDocument& document, int index, bool insert);
    void showFields(const QuizDocument& document);
    void showTrial(const QuizDocument& document);
    void showVariants(const QuizDocument& document);
    bool takeText(int id, QuizDocument& document);
    int imageOf(const QuizDocument& document, int index);
    int turnedImage(Thumbnail& thumbnail, int degrees);
    int rowAt(POINT inParent) const;
    // Whether the preview shows the selected question's reward picture rather than its own.
    bool showingReward(const QuizSource& quiz) const;
    void addIconImages();

    HWND parent_ = nullptr, list_ = nullptr, preview_ = nullptr;
    std::vector<HWND> labels_;
    HWND answer_ = nullptr, secondAnswer_ = nullptr, text_ = nullptr, rewardText_ = nullptr;
    HWND rewardPicture_ = nullptr, showReward_ = nullptr; // where the reward text is otherwise
    std::vector<HWND> buttons_;
    HWND playClip_ = nullptr;
    std::vector<HWND> turnButtons_;
    HWND tryLabel_ = nullptr, tryField_ = nullptr, variantsLabel_ = nullptr, variants_ = nullptr;
    HWND verdicts_[2] = {};
    Verdict shownVerdicts_[2] = {Verdict::kNothingTyped, Verdict::kNothingTyped};
    UniqueGdiObject<HBRUSH> verdictBrushes_[kVerdictCount];
    int thumbnailSize_ = 96;
    int dragged_ = -1; // the row being dragged
    UniqueImageList images_, marks_;
    std::unique_ptr<ThumbnailWorker> worker_;
    std::map<std::filesystem::path, Thumbnail> thumbnails_;
    bool showing_ = false; // fields being filled: their changes are not the author's
};

// Images of the list before the thumbnails: none yet, a sound, a video.
enum RowImage { kBlankImage, kSoundImage, kVideoImage };
