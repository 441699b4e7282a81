// The questions: a list in question order with each one's thumbnail and answers, the selected
// question's picture at the board's size, its fields and the buttons that move and remove it.
#pragma once

#include "maker/quiz_document.h"
#include "studio/thumbnail_worker.h"
#include "win/handles.h"

#include <commctrl.h>
#include <windows.h>

#include <map>
#include <memory>
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

    // Stops the workers: nothing is posted to the window any more.
    void stopThumbnails();
    void takeThumbnail(std::unique_ptr<PreparedThumbnail> thumbnail, const QuizDocument& document);
    void drawPreview(const DRAWITEMSTRUCT& item, const QuizDocument& document) const;
    // The clip of the selected question, played by the shell's own program.
    void playClip(const QuizDocument& document) const;

  private:
    struct Thumbnail {
        UniqueGdiObject<HBITMAP> picture; // at the board's size; none when it cannot be read
        int width = 0, height = 0;
        int image = 0; // in the list's image list
    };
    void showRow(const QuizDocument& document, int index, bool insert);
    void showFields(const QuizDocument& document);
    bool takeText(int id, QuizDocument& document);
    int imageOf(const QuizDocument& document, int index) const;
    void addIconImages();

    HWND parent_ = nullptr, list_ = nullptr, preview_ = nullptr;
    std::vector<HWND> labels_;
    HWND answer_ = nullptr, secondAnswer_ = nullptr, text_ = nullptr, rewardText_ = nullptr;
    std::vector<HWND> buttons_;
    HWND playClip_ = nullptr;
    int thumbnailSize_ = 96;
    UniqueImageList images_;
    std::unique_ptr<ThumbnailWorker> worker_;
    std::map<std::filesystem::path, Thumbnail> thumbnails_;
    bool showing_ = false; // fields being filled: their changes are not the author's
};

// Images of the list before the thumbnails: none yet, a sound, a video.
enum RowImage { kBlankImage, kSoundImage, kVideoImage };
