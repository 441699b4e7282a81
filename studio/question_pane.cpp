#include "studio/question_pane.h"

#include "studio/controls.h"
#include "studio/studio_ids.h"
#include "studio/studio_texts.h"
#include "studio/wide_text.h"

#include <shellapi.h>

#include <algorithm>

namespace {

enum Column { kNumberColumn, kAnswerColumn, kSecondAnswerColumn, kTextColumn, kRewardColumn };

UniqueGdiObject<HBITMAP> makeBitmap(int width, int height, const uint8_t* pixels = nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueGdiObject<HBITMAP> bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && pixels)
        std::copy(pixels, pixels + size_t(width) * height * 4, static_cast<uint8_t*>(bits));
    return bitmap;
}

// `source` fitted into a `box` square on white, centred, scaled down only.
UniqueGdiObject<HBITMAP> fitted(HBITMAP source, int width, int height, int box) {
    UniqueGdiObject<HBITMAP> target = makeBitmap(box, box);
    UniqueMemoryDc from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    UniqueSelection a = selectObject(from.get(), source), b = selectObject(to.get(), target.get());
    RECT all = {0, 0, box, box};
    FillRect(to.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const double scale = std::min(1.0, double(box) / std::max(width, height));
    const int w = std::max(1, int(width * scale)), h = std::max(1, int(height * scale));
    SetStretchBltMode(to.get(), HALFTONE);
    StretchBlt(to.get(), (box - w) / 2, (box - h) / 2, w, h, from.get(), 0, 0, width, height,
               SRCCOPY);
    return target;
}

// A note or a strip of film, drawn in grey on white: what a sound or a video question shows.
UniqueGdiObject<HBITMAP> drawnIcon(int box, bool film) {
    UniqueGdiObject<HBITMAP> bitmap = makeBitmap(box, box);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueSelection selected = selectObject(dc.get(), bitmap.get());
    RECT all = {0, 0, box, box};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const UniqueGdiObject<HBRUSH> ink(CreateSolidBrush(RGB(0x50, 0x50, 0x60)));
    const int u = box / 12;
    if (film) {
        RECT strip = {2 * u, 3 * u, 10 * u, 9 * u};
        FillRect(dc.get(), &strip, ink.get());
        for (int k = 0; k < 4; ++k) {
            RECT holes[] = {
                {2 * u + u / 2 + 2 * k * u, 3 * u + u / 3, 3 * u + 2 * k * u + u / 2, 4 * u},
                {2 * u + u / 2 + 2 * k * u, 8 * u, 3 * u + 2 * k * u + u / 2, 9 * u - u / 3}};
            for (RECT& hole : holes)
                FillRect(dc.get(), &hole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
    } else {
        UniqueSelection brush = selectObject(dc.get(), ink.get());
        UniqueSelection pen = selectObject(dc.get(), GetStockObject(NULL_PEN));
        Ellipse(dc.get(), 3 * u, 7 * u, 6 * u, 10 * u);
        RECT stem = {5 * u + u / 3, 2 * u, 6 * u, 8 * u + u / 2};
        FillRect(dc.get(), &stem, ink.get());
        RECT flag = {6 * u, 2 * u, 9 * u, 3 * u};
        FillRect(dc.get(), &flag, ink.get());
    }
    return bitmap;
}

void addColumn(HWND list, int column, const wchar_t* title) {
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = const_cast<wchar_t*>(title);
    header.cx = 100;
    ListView_InsertColumn(list, column, &header);
}

// A text list shows each question's text; other boards keep theirs when they have one.
bool hasTexts(const QuizSource& quiz) {
    return quiz.layout.value == kMediaTextList ||
           std::any_of(quiz.questions.begin(), quiz.questions.end(),
                       [](const QuestionSource& question) { return !question.text.value.empty(); });
}

void setCell(HWND list, int row, int column, const std::wstring& text) {
    ListView_SetItemText(list, row, column, const_cast<wchar_t*>(text.c_str()));
}

} // namespace

void QuestionPane::create(HWND parent, HFONT font, int thumbnailSize) {
    parent_ = parent;
    thumbnailSize_ = thumbnailSize;
    list_ = makeControl(parent, kQuestionList, WC_LISTVIEWW, L"",
                        WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, font,
                        WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const wchar_t* columns[] = {texts::kNumberColumn, texts::kAnswerColumn,
                                texts::kSecondAnswerColumn, texts::kTextColumn,
                                texts::kRewardColumn};
    for (int c = 0; c < 5; ++c)
        addColumn(list_, c, columns[c]);
    images_.reset(ImageList_Create(thumbnailSize, thumbnailSize, ILC_COLOR32, 8, 8));
    addIconImages();
    ListView_SetImageList(list_, images_.get(), LVSIL_SMALL);
    preview_ = makeControl(parent, kPreview, L"STATIC", L"", SS_OWNERDRAW, font);
    const std::pair<const wchar_t*, HWND*> fields[] = {{texts::kAnswer, &answer_},
                                                       {texts::kSecondAnswer, &secondAnswer_},
                                                       {texts::kQuestionText, &text_},
                                                       {texts::kRewardText, &rewardText_}};
    int id = kAnswerField;
    for (auto [label, field] : fields) {
        labels_.push_back(makeLabel(parent, label, font));
        *field = makeEdit(parent, id++, font);
    }
    const std::pair<int, const wchar_t*> buttons[] = {{kMoveUpButton, texts::kMoveUp},
                                                      {kMoveDownButton, texts::kMoveDown},
                                                      {kRemoveButton, texts::kRemove},
                                                      {kPlayClipButton, texts::kPlayClip}};
    for (auto [buttonId, label] : buttons)
        buttons_.push_back(makeButton(parent, buttonId, label, font));
    playClip_ = buttons_.back();
    worker_ = std::make_unique<ThumbnailWorker>(parent, kThumbnailReady);
}

void QuestionPane::stopThumbnails() {
    worker_.reset();
}

void QuestionPane::addIconImages() {
    const UniqueGdiObject<HBITMAP> blank = makeBitmap(thumbnailSize_, thumbnailSize_);
    ImageList_Add(images_.get(), fitted(blank.get(), 1, 1, thumbnailSize_).get(), nullptr);
    ImageList_Add(images_.get(), drawnIcon(thumbnailSize_, false).get(), nullptr);
    ImageList_Add(images_.get(), drawnIcon(thumbnailSize_, true).get(), nullptr);
}

void QuestionPane::layout(const RECT& area, int rowHeight, int previewSize) {
    const int gap = rowHeight / 3;
    const int side = previewSize + 2;
    const int listWidth = std::max(100, int(area.right - area.left) - side - gap);
    const int buttonsTop = area.bottom - rowHeight;
    place(list_, area.left, area.top, listWidth, buttonsTop - gap - area.top);
    const int each = (listWidth - gap * int(buttons_.size() - 1)) / int(buttons_.size());
    for (size_t k = 0; k < buttons_.size(); ++k)
        place(buttons_[k], area.left + int(k) * (each + gap), buttonsTop, each, rowHeight);
    const int x = area.left + listWidth + gap;
    int y = area.top;
    place(preview_, x, y, side, side);
    y += side + gap;
    const HWND fields[] = {answer_, secondAnswer_, text_, rewardText_};
    for (size_t k = 0; k < labels_.size(); ++k) {
        place(labels_[k], x, y, side, rowHeight - gap / 2);
        place(fields[k], x, y + rowHeight - gap / 2, side, rowHeight);
        y += 2 * rowHeight - gap / 2;
    }
    // The first column holds the thumbnail and the number.
    ListView_SetColumnWidth(list_, kNumberColumn, thumbnailSize_ + rowHeight * 2);
}

void QuestionPane::setVisible(bool visible) {
    ShowWindow(list_, visible ? SW_SHOW : SW_HIDE);
    for (HWND button : buttons_)
        ShowWindow(button, visible ? SW_SHOW : SW_HIDE);
}

void QuestionPane::show(const QuizDocument& document) {
    const QuizSource& quiz = document.quiz();
    const int previous = selected();
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    const int count = static_cast<int>(quiz.questions.size());
    while (ListView_GetItemCount(list_) > count)
        ListView_DeleteItem(list_, ListView_GetItemCount(list_) - 1);
    for (int i = 0; i < count; ++i)
        showRow(document, i, i >= ListView_GetItemCount(list_));
    RECT client;
    GetClientRect(list_, &client);
    const int rest = std::max(60, int(client.right) - ListView_GetColumnWidth(list_, 0) -
                                      GetSystemMetrics(SM_CXVSCROLL) - 4);
    const bool two = quiz.answerFieldCount == 2, textList = hasTexts(quiz),
               rewarded = rewardHasText(quiz.reward.value);
    const int shown = 1 + two + textList + rewarded;
    ListView_SetColumnWidth(list_, kAnswerColumn, rest / shown);
    ListView_SetColumnWidth(list_, kSecondAnswerColumn, two ? rest / shown : 0);
    ListView_SetColumnWidth(list_, kTextColumn, textList ? rest / shown : 0);
    ListView_SetColumnWidth(list_, kRewardColumn, rewarded ? rest / shown : 0);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    if (quiz.layout.value == kMediaPictures) {
        for (int i = 0; i < count; ++i)
            worker_->request(document.mediaFile(i));
    }
    select(std::clamp(previous, 0, count - 1));
    showFields(document);
}

void QuestionPane::showRow(const QuizDocument& document, int index, bool insert) {
    const QuestionSource& question = document.quiz().questions[index];
    const std::wstring number = std::to_wstring(index + 1);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(number.c_str());
    item.iImage = imageOf(document, index);
    if (insert)
        ListView_InsertItem(list_, &item);
    else
        ListView_SetItem(list_, &item);
    for (int k = 0; k < 2; ++k)
        setCell(list_, index, kAnswerColumn + k,
                k < int(question.answers.size()) ? quizTextToWide(question.answers[k].value) : L"");
    setCell(list_, index, kTextColumn, quizTextToWide(question.text.value));
    setCell(list_, index, kRewardColumn, quizTextToWide(question.rewardText.value));
}

int QuestionPane::imageOf(const QuizDocument& document, int index) const {
    switch (document.quiz().layout.value) {
    case kMediaSound:
        return kSoundImage;
    case kMediaVideo:
        return kVideoImage;
    case kMediaPictures: {
        auto found = thumbnails_.find(document.mediaFile(index));
        return found == thumbnails_.end() ? kBlankImage : found->second.image;
    }
    default:
        return I_IMAGENONE;
    }
}

void QuestionPane::select(int index) {
    if (index < 0)
        return;
    ListView_SetItemState(list_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, index, FALSE);
}

int QuestionPane::selected() const {
    return ListView_GetNextItem(list_, -1, LVNI_SELECTED);
}

void QuestionPane::showFields(const QuizDocument& document) {
    const QuizSource& quiz = document.quiz();
    const int index = selected();
    const bool any = index >= 0 && index < int(quiz.questions.size());
    showing_ = true;
    const QuestionSource empty;
    const QuestionSource& question = any ? quiz.questions[index] : empty;
    auto answer = [&](size_t k) {
        return k < question.answers.size() ? quizTextToWide(question.answers[k].value)
                                           : std::wstring();
    };
    setText(answer_, answer(0));
    setText(secondAnswer_, answer(1));
    setText(text_, quizTextToWide(question.text.value));
    setText(rewardText_, quizTextToWide(question.rewardText.value));
    showing_ = false;
    EnableWindow(answer_, any);
    EnableWindow(secondAnswer_, any && quiz.answerFieldCount == 2);
    EnableWindow(text_, any);
    EnableWindow(rewardText_, any && rewardHasText(quiz.reward.value));
    for (HWND button : buttons_)
        EnableWindow(button, any);
    EnableWindow(playClip_,
                 any && (quiz.layout.value == kMediaSound || quiz.layout.value == kMediaVideo));
    InvalidateRect(preview_, nullptr, TRUE);
}

bool QuestionPane::command(int id, int code, QuizDocument& document) {
    switch (id) {
    case kMoveUpButton:
        return moveSelected(document, -1);
    case kMoveDownButton:
        return moveSelected(document, 1);
    case kRemoveButton:
        return removeSelected(document);
    case kPlayClipButton:
        playClip(document);
        return false;
    default:
        return code == EN_CHANGE && !showing_ && takeText(id, document);
    }
}

bool QuestionPane::takeText(int id, QuizDocument& document) {
    const int index = selected();
    if (index < 0 || index >= int(document.quiz().questions.size()))
        return false;
    const HWND fields[] = {answer_, secondAnswer_, text_, rewardText_};
    const int field = id - kAnswerField;
    if (field < 0 || field > 3)
        return false;
    const std::string text = quizTextFromWide(textOf(fields[field]));
    QuestionSource& question = document.edit().questions[index];
    if (field < 2) {
        if (field >= int(question.answers.size()))
            return false;
        question.answers[field].value = text;
    } else {
        (field == 2 ? question.text : question.rewardText).value = text;
    }
    showRow(document, index, false);
    return true;
}

bool QuestionPane::notify(const NMHDR& header, QuizDocument& document) {
    if (header.idFrom != kQuestionList)
        return false;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED))
            showFields(document);
    } else if (header.code == LVN_KEYDOWN &&
               reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
        return removeSelected(document);
    }
    return false;
}

bool QuestionPane::moveSelected(QuizDocument& document, int delta) {
    const int index = selected(), target = index + delta;
    if (index < 0 || target < 0 || target >= int(document.quiz().questions.size()))
        return false;
    document.moveQuestion(index, target);
    ListView_SetItemState(list_, index, 0, LVIS_SELECTED | LVIS_FOCUSED);
    select(target);
    show(document);
    return true;
}

bool QuestionPane::removeSelected(QuizDocument& document) {
    const int index = selected();
    if (index < 0 || index >= int(document.quiz().questions.size()))
        return false;
    document.removeQuestion(index);
    show(document);
    return true;
}

void QuestionPane::takeThumbnail(std::unique_ptr<PreparedThumbnail> prepared,
                                 const QuizDocument& document) {
    Thumbnail& thumbnail = thumbnails_[prepared->file];
    thumbnail.width = prepared->width;
    thumbnail.height = prepared->height;
    if (!prepared->pixels.empty()) {
        thumbnail.picture = makeBitmap(prepared->width, prepared->height, prepared->pixels.data());
        thumbnail.image = ImageList_Add(
            images_.get(),
            fitted(thumbnail.picture.get(), prepared->width, prepared->height, thumbnailSize_)
                .get(),
            nullptr);
    }
    const QuizSource& quiz = document.quiz();
    if (quiz.layout.value != kMediaPictures)
        return;
    for (int i = 0; i < int(quiz.questions.size()); ++i) {
        if (document.mediaFile(i) == prepared->file) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            item.iImage = thumbnail.image;
            ListView_SetItem(list_, &item);
            if (i == selected())
                InvalidateRect(preview_, nullptr, TRUE);
        }
    }
}

void QuestionPane::drawPreview(const DRAWITEMSTRUCT& item, const QuizDocument& document) const {
    const RECT box = item.rcItem;
    FillRect(item.hDC, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(item.hDC, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    const int index = selected();
    const QuizSource& quiz = document.quiz();
    if (index < 0 || index >= int(quiz.questions.size()))
        return;
    const int size = box.right - box.left - 2;
    UniqueGdiObject<HBITMAP> shown;
    if (quiz.layout.value == kMediaPictures) {
        auto found = thumbnails_.find(document.mediaFile(index));
        if (found != thumbnails_.end() && found->second.picture)
            shown = fitted(found->second.picture.get(), found->second.width, found->second.height,
                           size);
    } else if (quiz.layout.value != kMediaTextList) {
        shown = drawnIcon(size, quiz.layout.value == kMediaVideo);
    }
    if (!shown) {
        RECT inside = box;
        DrawTextW(item.hDC, texts::kNoPicture, -1, &inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    UniqueMemoryDc from(CreateCompatibleDC(item.hDC));
    UniqueSelection selection = selectObject(from.get(), shown.get());
    BitBlt(item.hDC, box.left + 1, box.top + 1, size, size, from.get(), 0, 0, SRCCOPY);
}

void QuestionPane::playClip(const QuizDocument& document) const {
    const int index = selected();
    if (index < 0 || index >= int(document.quiz().questions.size()))
        return;
    const std::filesystem::path file = document.mediaFile(index);
    if (!file.empty())
        ShellExecuteW(parent_, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
