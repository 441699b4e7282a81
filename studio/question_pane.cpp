#include "studio/question_pane.h"

#include "maker/answer_variants.h"
#include "maker/picture_orientation.h"
#include "studio/controls.h"
#include "studio/studio_ids.h"
#include "studio/studio_texts.h"
#include "studio/wide_text.h"

#include <shellapi.h>
#include <windowsx.h>

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

// Marks of a row's checks in the list's state images, whose index 0 means none.
enum RowMark { kNoMark, kErrorMark, kWarningMark };

bool showsPictures(const QuizSource& quiz) {
    return quiz.layout.value == kMediaPictures;
}

} // namespace

void QuestionPane::create(HWND parent, HFONT font, int thumbnailSize) {
    parent_ = parent;
    thumbnailSize_ = thumbnailSize;
    // The pane owns the image lists: the list must not destroy them too.
    list_ = makeControl(parent, kQuestionList, WC_LISTVIEWW, L"",
                        WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                            LVS_SHAREIMAGELISTS,
                        font, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const wchar_t* columns[] = {texts::kNumberColumn, texts::kAnswerColumn,
                                texts::kSecondAnswerColumn, texts::kTextColumn,
                                texts::kRewardColumn};
    for (int c = 0; c < 5; ++c)
        addColumn(list_, c, columns[c]);
    images_.reset(ImageList_Create(thumbnailSize, thumbnailSize, ILC_COLOR32, 8, 8));
    addIconImages();
    ListView_SetImageList(list_, images_.get(), LVSIL_SMALL);
    const int markSize = std::max(16, thumbnailSize / 6);
    marks_.reset(ImageList_Create(markSize, markSize, ILC_COLOR32 | ILC_MASK, 2, 0));
    for (const wchar_t* icon : {IDI_ERROR, IDI_WARNING})
        ImageList_AddIcon(marks_.get(),
                          static_cast<HICON>(LoadImageW(nullptr, icon, IMAGE_ICON, markSize,
                                                        markSize, LR_SHARED)));
    ListView_SetImageList(list_, marks_.get(), LVSIL_STATE);
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
    rewardPicture_ = makeButton(parent, kRewardPictureButton, texts::kRewardPicture, font);
    showReward_ = makeControl(parent, kShowRewardCheck, L"BUTTON", texts::kShowReward,
                              WS_TABSTOP | BS_AUTOCHECKBOX, font);
    for (auto [buttonId, label] : {std::pair{kTurnLeftButton, texts::kTurnLeft},
                                   std::pair{kTurnRightButton, texts::kTurnRight}})
        turnButtons_.push_back(makeButton(parent, buttonId, label, font));
    tryLabel_ = makeLabel(parent, texts::kTryAnswer, font);
    tryField_ = makeEdit(parent, kTryAnswerField, font);
    for (int k = 0; k < 2; ++k)
        verdicts_[k] = makeControl(parent, kTryVerdict + k, L"STATIC", L"",
                                   SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | WS_BORDER, font);
    variantsLabel_ = makeLabel(parent, texts::kVariants, font);
    variants_ = makeControl(parent, kVariantList, L"LISTBOX", L"",
                            LBS_NOSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, font, WS_EX_CLIENTEDGE);
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
    const int gap = rowHeight / 3, label = rowHeight - gap / 2;
    const int side = previewSize + 2;
    const int listWidth = std::max(100, int(area.right - area.left) - side - gap);
    // Under the list, from the bottom: the ways pupils type the answers, the trial, the buttons.
    const int variantsTop = area.bottom - rowHeight * 3;
    place(variants_, area.left, variantsTop, listWidth, rowHeight * 3);
    place(variantsLabel_, area.left, variantsTop - label, listWidth, label);
    const int tryTop = variantsTop - label - gap - rowHeight;
    const int verdictWidth = rowHeight * 4;
    place(tryLabel_, area.left, tryTop - label, listWidth, label);
    const int tryWidth = std::max(rowHeight, listWidth - 2 * (verdictWidth + gap));
    place(tryField_, area.left, tryTop, tryWidth, rowHeight);
    for (int k = 0; k < 2; ++k)
        place(verdicts_[k], area.left + tryWidth + gap + k * (verdictWidth + gap), tryTop,
              verdictWidth, rowHeight);
    const int buttonsTop = tryTop - label - gap - rowHeight;
    place(list_, area.left, area.top, listWidth, buttonsTop - gap - area.top);
    const int each = (listWidth - gap * int(buttons_.size() - 1)) / int(buttons_.size());
    for (size_t k = 0; k < buttons_.size(); ++k)
        place(buttons_[k], area.left + int(k) * (each + gap), buttonsTop, each, rowHeight);
    const int x = area.left + listWidth + gap;
    int y = area.top;
    place(preview_, x, y, side, side);
    y += side + gap;
    const int half = (side - gap) / 2;
    for (size_t k = 0; k < turnButtons_.size(); ++k)
        place(turnButtons_[k], x + int(k) * (half + gap), y, half, rowHeight);
    y += rowHeight + gap;
    const HWND fields[] = {answer_, secondAnswer_, text_, rewardText_};
    for (size_t k = 0; k < labels_.size(); ++k) {
        place(labels_[k], x, y, side, label);
        place(fields[k], x, y + label, side, rowHeight);
        y += label + rowHeight;
    }
    // A quiz rewarded with pictures has no reward text: its picture takes the text's place.
    place(showReward_, x, y - label - rowHeight, side, label);
    place(rewardPicture_, x, y - rowHeight, side, rowHeight);
}

void QuestionPane::fitColumns(const QuizSource& quiz) {
    // The first column holds the mark, the thumbnail and the number.
    int markWidth = 0, markHeight = 0;
    ImageList_GetIconSize(marks_.get(), &markWidth, &markHeight);
    const int first = markWidth + thumbnailSize_ + GetSystemMetrics(SM_CXVSCROLL) * 2;
    ListView_SetColumnWidth(list_, kNumberColumn, first);
    RECT client;
    GetClientRect(list_, &client);
    const int rest = std::max(60, int(client.right) - first - GetSystemMetrics(SM_CXVSCROLL) - 4);
    const bool two = quiz.answerFieldCount == 2, textList = hasTexts(quiz),
               rewarded = rewardHasText(quiz.reward.value);
    const int answerColumns = 1 + two, shown = answerColumns + textList + rewarded;
    // The answers first, as wide as the widest of them up to two fifths of the list each;
    // the texts share what is left.
    int answerWidths[2] = {};
    for (int k = 0; k < answerColumns; ++k) {
        int widest = 0;
        for (const QuestionSource& question : quiz.questions) {
            if (k < int(question.answers.size()))
                widest =
                    std::max(widest, ListView_GetStringWidth(
                                         list_, quizTextToWide(question.answers[k].value).c_str()));
        }
        answerWidths[k] = shown == answerColumns
                              ? rest / shown
                              : std::clamp(widest + thumbnailSize_ / 4, rest / shown, rest * 2 / 5);
    }
    const int textWidth = std::max(thumbnailSize_ / 4, (rest - answerWidths[0] - answerWidths[1]) /
                                                           std::max(1, shown - answerColumns));
    ListView_SetColumnWidth(list_, kAnswerColumn, answerWidths[0]);
    ListView_SetColumnWidth(list_, kSecondAnswerColumn, answerWidths[1]);
    ListView_SetColumnWidth(list_, kTextColumn, textList ? textWidth : 0);
    ListView_SetColumnWidth(list_, kRewardColumn, rewarded ? textWidth : 0);
}

void QuestionPane::markChecks(const Diagnostics& diagnostics, int questionCount) {
    std::vector<int> marks(questionCount, kNoMark);
    for (const Diagnostic& problem : diagnostics.all()) {
        const std::optional<int> question = questionOfField(problem.field);
        if (!question || *question >= questionCount)
            continue;
        int& mark = marks[*question];
        if (problem.severity == Severity::kError)
            mark = kErrorMark;
        else if (mark == kNoMark)
            mark = kWarningMark;
    }
    for (int i = 0; i < questionCount && i < ListView_GetItemCount(list_); ++i)
        ListView_SetItemState(list_, i, INDEXTOSTATEIMAGEMASK(marks[i]), LVIS_STATEIMAGEMASK);
}

void QuestionPane::setVisible(bool visible) {
    for (HWND control :
         {list_, tryLabel_, tryField_, verdicts_[0], verdicts_[1], variantsLabel_, variants_})
        ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
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
    fitColumns(quiz);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    for (int i = 0; i < count; ++i) {
        for (bool reward : {false, true}) {
            const bool shown = reward ? quiz.reward.value == kRewardPicture : showsPictures(quiz);
            const std::filesystem::path file = document.mediaFile(i, reward);
            if (shown && !file.empty())
                worker_->request(file);
        }
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

int QuestionPane::imageOf(const QuizDocument& document, int index) {
    switch (document.quiz().layout.value) {
    case kMediaSound:
        return kSoundImage;
    case kMediaVideo:
        return kVideoImage;
    case kMediaPictures: {
        auto found = thumbnails_.find(document.mediaFile(index));
        if (found == thumbnails_.end() || found->second.pixels.empty())
            return kBlankImage;
        return turnedImage(found->second, document.quiz().questions[index].media.turnDegrees);
    }
    default:
        return I_IMAGENONE;
    }
}

namespace {

// The picture of a thumbnail turned by the author's `degrees`, and its size.
UniqueGdiObject<HBITMAP> turnedBitmap(const std::vector<uint8_t>& pixels, int& width, int& height,
                                      int degrees) {
    const PictureTurn turn = pictureTurn(1, degrees);
    const std::vector<uint8_t> turned = turnedPixels(pixels, width, height, 4, turn);
    if (turn.swapsSides())
        std::swap(width, height);
    return makeBitmap(width, height, turned.data());
}

} // namespace

int QuestionPane::turnedImage(Thumbnail& thumbnail, int degrees) {
    if (auto found = thumbnail.images.find(degrees); found != thumbnail.images.end())
        return found->second;
    int width = thumbnail.width, height = thumbnail.height;
    const UniqueGdiObject<HBITMAP> picture = turnedBitmap(thumbnail.pixels, width, height, degrees);
    const int image = ImageList_Add(
        images_.get(), fitted(picture.get(), width, height, thumbnailSize_).get(), nullptr);
    thumbnail.images[degrees] = image;
    return image;
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
    const bool pictureReward = quiz.reward.value == kRewardPicture;
    for (HWND control : {labels_.back(), rewardText_})
        ShowWindow(control, pictureReward ? SW_HIDE : SW_SHOW);
    for (HWND control : {rewardPicture_, showReward_}) {
        ShowWindow(control, pictureReward ? SW_SHOW : SW_HIDE);
        EnableWindow(control, any);
    }
    for (HWND button : buttons_)
        EnableWindow(button, any);
    EnableWindow(playClip_,
                 any && (quiz.layout.value == kMediaSound || quiz.layout.value == kMediaVideo));
    for (HWND button : turnButtons_)
        EnableWindow(button, any && (showsPictures(quiz) || showingReward(quiz)));
    EnableWindow(tryField_, any);
    InvalidateRect(preview_, nullptr, TRUE);
    showTrial(document);
    showVariants(document);
}

void QuestionPane::showTrial(const QuizDocument& document) {
    const QuizSource& quiz = document.quiz();
    const int index = selected();
    const std::string typed = quizTextFromWide(textOf(tryField_));
    for (int k = 0; k < 2; ++k) {
        const bool shown = index >= 0 && index < int(quiz.questions.size()) &&
                           k < quiz.answerFieldCount &&
                           k < int(quiz.questions[index].answers.size());
        shownVerdicts_[k] =
            shown ? chooseVerdict(quiz.questions[index].answers[k].value.c_str(), typed.c_str())
                  : Verdict::kNothingTyped;
        setText(verdicts_[k], shown ? quizTextToWide(verdictText(shownVerdicts_[k])) : L"");
        ShowWindow(verdicts_[k],
                   IsWindowVisible(list_) && k < quiz.answerFieldCount ? SW_SHOW : SW_HIDE);
        InvalidateRect(verdicts_[k], nullptr, TRUE);
    }
}

void QuestionPane::showVariants(const QuizDocument& document) {
    const QuizSource& quiz = document.quiz();
    const int index = selected();
    SendMessageW(variants_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(variants_, LB_RESETCONTENT, 0, 0);
    if (index >= 0 && index < int(quiz.questions.size())) {
        const std::vector<SourcedText>& answers = quiz.questions[index].answers;
        for (size_t k = 0; k < answers.size(); ++k) {
            // Which answer, when there are two.
            const std::string which = answers.size() > 1 ? std::to_string(k + 1) + " : " : "";
            for (const AnswerVariant& variant : answerVariants(answers[k].value)) {
                if (variant.verdict == Verdict::kRight)
                    continue;
                const std::wstring line =
                    quizTextToWide(which + variant.typed + " -> " + verdictText(variant.verdict));
                SendMessageW(variants_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            }
        }
    }
    SendMessageW(variants_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(variants_, nullptr, TRUE);
}

HBRUSH QuestionPane::staticColour(HWND control, HDC dc) {
    for (int k = 0; k < 2; ++k) {
        if (control != verdicts_[k])
            continue;
        const std::optional<VerdictColour> colour = verdictColour(shownVerdicts_[k]);
        if (!colour)
            return nullptr;
        UniqueGdiObject<HBRUSH>& brush = verdictBrushes_[int(shownVerdicts_[k])];
        if (!brush)
            brush.reset(CreateSolidBrush(RGB(colour->red, colour->green, colour->blue)));
        SetBkMode(dc, TRANSPARENT);
        return brush.get();
    }
    return nullptr;
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
    case kTurnLeftButton:
        return turnSelected(document, -90);
    case kTurnRightButton:
        return turnSelected(document, 90);
    case kShowRewardCheck:
        showFields(document);
        return false;
    case kTryAnswerField:
        if (code == EN_CHANGE)
            showTrial(document);
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
    if (field < 2 && field >= int(document.quiz().questions[index].answers.size()))
        return false;
    const std::string text = quizTextFromWide(textOf(fields[field]));
    // Each field's name keeps a run of typing in it one step to undo.
    const std::string name = field < 2    ? answerField(document.quiz(), index, field)
                             : field == 2 ? questionField(index, "text")
                                          : questionField(index, "reward_text");
    QuestionSource& question = document.edit(name).questions[index];
    (field < 2    ? question.answers[field]
     : field == 2 ? question.text
                  : question.rewardText)
        .value = text;
    showRow(document, index, false);
    if (field < 2) {
        showTrial(document);
        showVariants(document);
    }
    return true;
}

bool QuestionPane::notify(const NMHDR& header, QuizDocument& document) {
    if (header.idFrom != kQuestionList)
        return false;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED))
            showFields(document);
    } else if (header.code == LVN_BEGINDRAG) {
        dragged_ = reinterpret_cast<const NMLISTVIEW&>(header).iItem;
        SetCapture(parent_);
    } else if (header.code == LVN_KEYDOWN &&
               reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
        return removeSelected(document);
    }
    return false;
}

int QuestionPane::rowAt(POINT inParent) const {
    LVHITTESTINFO hit{};
    hit.pt = inParent;
    MapWindowPoints(parent_, list_, &hit.pt, 1);
    const int row = ListView_SubItemHitTest(list_, &hit);
    if (row >= 0)
        return row;
    // Below the last row: the end of the quiz.
    RECT client;
    GetClientRect(list_, &client);
    return hit.pt.y >= 0 && hit.pt.y < client.bottom ? ListView_GetItemCount(list_) - 1 : -1;
}

std::optional<int> QuestionPane::insertionRow(POINT inParent) const {
    LVHITTESTINFO hit{};
    hit.pt = inParent;
    MapWindowPoints(parent_, list_, &hit.pt, 1);
    RECT client;
    GetClientRect(list_, &client);
    if (!IsWindowVisible(list_) || !PtInRect(&client, hit.pt))
        return std::nullopt;
    const int row = ListView_SubItemHitTest(list_, &hit);
    return row >= 0 ? row : ListView_GetItemCount(list_);
}

void QuestionPane::dragOver(POINT inParent) {
    const int target = rowAt(inParent);
    for (int i = 0; i < ListView_GetItemCount(list_); ++i)
        ListView_SetItemState(list_, i, i == target ? LVIS_DROPHILITED : 0, LVIS_DROPHILITED);
}

void QuestionPane::cancelDrag() {
    dragged_ = -1;
    ListView_SetItemState(list_, -1, 0, LVIS_DROPHILITED);
}

bool QuestionPane::drop(POINT inParent, QuizDocument& document) {
    const int from = dragged_, target = rowAt(inParent);
    cancelDrag();
    ReleaseCapture();
    if (from < 0 || target < 0 || target == from || target >= int(document.quiz().questions.size()))
        return false;
    document.moveQuestion(from, target);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    select(target);
    show(document);
    return true;
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

bool QuestionPane::showingReward(const QuizSource& quiz) const {
    return quiz.reward.value == kRewardPicture && Button_GetCheck(showReward_) == BST_CHECKED;
}

bool QuestionPane::turnSelected(QuizDocument& document, int degrees) {
    const int index = selected();
    const bool reward = showingReward(document.quiz());
    if (index < 0 || index >= int(document.quiz().questions.size()) ||
        !(reward || showsPictures(document.quiz())))
        return false;
    document.turnPicture(index, reward, degrees);
    showRow(document, index, false);
    InvalidateRect(preview_, nullptr, TRUE);
    return true;
}

bool QuestionPane::setRewardPicture(QuizDocument& document, const std::filesystem::path& file,
                                    Diagnostics& diagnostics) {
    const int index = selected();
    if (index < 0 || !document.setRewardPicture(index, file, diagnostics))
        return false;
    worker_->request(document.mediaFile(index, true));
    Button_SetCheck(showReward_, BST_CHECKED);
    showFields(document);
    return true;
}

void QuestionPane::takeThumbnail(std::unique_ptr<PreparedThumbnail> prepared,
                                 const QuizDocument& document) {
    Thumbnail& thumbnail = thumbnails_[prepared->file];
    thumbnail.width = prepared->width;
    thumbnail.height = prepared->height;
    thumbnail.pixels = std::move(prepared->pixels);
    thumbnail.images.clear();
    const QuizSource& quiz = document.quiz();
    const int index = selected();
    if (index >= 0 && index < int(quiz.questions.size()) &&
        document.mediaFile(index, showingReward(quiz)) == prepared->file)
        InvalidateRect(preview_, nullptr, TRUE);
    if (quiz.layout.value != kMediaPictures)
        return;
    for (int i = 0; i < int(quiz.questions.size()); ++i) {
        if (document.mediaFile(i) == prepared->file) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            item.iImage = imageOf(document, i);
            ListView_SetItem(list_, &item);
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
    const bool reward = showingReward(quiz);
    if (reward || quiz.layout.value == kMediaPictures) {
        const QuestionSource& question = quiz.questions[index];
        auto found = thumbnails_.find(document.mediaFile(index, reward));
        if (found != thumbnails_.end() && !found->second.pixels.empty()) {
            int width = found->second.width, height = found->second.height;
            const UniqueGdiObject<HBITMAP> picture =
                turnedBitmap(found->second.pixels, width, height,
                             (reward ? question.rewardPicture : question.media).turnDegrees);
            shown = fitted(picture.get(), width, height, size);
        }
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
