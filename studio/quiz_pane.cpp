#include "studio/quiz_pane.h"

#include "studio/controls.h"
#include "studio/studio_ids.h"
#include "studio/studio_texts.h"
#include "studio/wide_text.h"
#include "win/handles.h"

#include <windowsx.h>

namespace {

HWND makeChoices(HWND parent, int id, HFONT font, const auto& choices) {
    HWND box = makeDropDown(parent, id, font);
    for (const wchar_t* choice : choices)
        ComboBox_AddString(box, choice);
    return box;
}

// The codes one per line, as the author types them.
std::wstring codesText(const std::vector<SourcedText>& codes) {
    std::wstring text;
    for (size_t i = 0; i < codes.size(); ++i)
        text += (i ? L"\r\n" : L"") + quizTextToWide(codes[i].value);
    return text;
}

std::vector<SourcedText> codesFrom(const std::wstring& text) {
    std::vector<SourcedText> codes;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find(L'\n', from);
        std::wstring line = text.substr(from, end == std::wstring::npos ? end : end - from);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        codes.push_back({quizTextFromWide(line)});
        if (end == std::wstring::npos)
            break;
        from = end + 1;
    }
    // The last line break does not start a code.
    while (!codes.empty() && codes.back().value.empty())
        codes.pop_back();
    return codes;
}

std::vector<std::string> codeValues(const std::vector<SourcedText>& codes) {
    std::vector<std::string> values;
    for (const SourcedText& code : codes)
        values.push_back(code.value);
    return values;
}

} // namespace

void QuizPane::create(HWND parent, HFONT font) {
    parent_ = parent;
    auto row = [&](const wchar_t* label, std::vector<HWND> fields, int lines = 1) {
        rows_.push_back({makeLabel(parent, label, font), std::move(fields), lines});
    };
    row(texts::kTitle, {title_ = makeEdit(parent, kTitleField, font)});
    row(texts::kCreator, {creator_ = makeEdit(parent, kCreatorField, font)});
    row(texts::kExplanation, {explanation_ = makeEdit(parent, kExplanationField, font, true)}, 2);
    row(texts::kAnswerCount,
        {answerCount_ = makeChoices(parent, kAnswerCountBox, font, texts::kAnswerCounts)});
    row(texts::kLabels, {firstLabel_ = makeEdit(parent, kFirstLabelField, font),
                         secondLabel_ = makeEdit(parent, kSecondLabelField, font)});
    row(texts::kReward, {reward_ = makeChoices(parent, kRewardBox, font, texts::kRewards)});
    colourButton_ = makeButton(parent, kColourButton, texts::kColour, font);
    swatch_ = makeControl(parent, kColourSwatch, L"STATIC", L"", SS_OWNERDRAW, font);
    rows_.push_back({nullptr, {colourButton_, swatch_}, 1});
    row(texts::kCodes, {codes_ = makeEdit(parent, kCodesField, font, true)}, 4);
}

int QuizPane::layout(int x, int y, int width, int rowHeight) {
    const int top = y, gap = rowHeight / 4;
    for (const Row& row : rows_) {
        if (row.label) {
            place(row.label, x, y, width, rowHeight - gap);
            y += rowHeight - gap;
        }
        const int count = static_cast<int>(row.fields.size());
        const int each = (width - gap * (count - 1)) / count;
        const int height = row.lines == 1 ? rowHeight : rowHeight * row.lines * 3 / 4;
        for (int k = 0; k < count; ++k)
            place(row.fields[k], x + k * (each + gap), y, each,
                  row.fields[k] == answerCount_ || row.fields[k] == reward_ ? rowHeight * 8
                                                                            : height);
        y += height + gap;
    }
    return y - top;
}

void QuizPane::show(const QuizSource& quiz) {
    setText(title_, quizTextToWide(quiz.title.value));
    setText(creator_, quizTextToWide(quiz.creator.value));
    setText(explanation_, quizTextToWide(quiz.explanation.value));
    ComboBox_SetCurSel(answerCount_, quiz.answerFieldCount - 1);
    setText(firstLabel_, quizTextToWide(quiz.answerLabels[0].value));
    setText(secondLabel_, quizTextToWide(quiz.answerLabels[1].value));
    const bool twoAnswers = quiz.answerFieldCount == 2;
    EnableWindow(firstLabel_, twoAnswers);
    EnableWindow(secondLabel_, twoAnswers);
    ComboBox_SetCurSel(reward_, quiz.reward.value);
    const QuizColour& colour = quiz.colour.value;
    colour_ = RGB(colour.red, colour.green, colour.blue);
    InvalidateRect(swatch_, nullptr, TRUE);
    if (codeValues(codesFrom(textOf(codes_))) != codeValues(quiz.codes))
        setText(codes_, codesText(quiz.codes));
}

bool QuizPane::command(int id, int code, QuizDocument& document, StudioDialogs& dialogs) {
    if (id == kColourButton && code == BN_CLICKED)
        return chooseColour(document, dialogs);
    if (code == CBN_SELCHANGE && id == kAnswerCountBox) {
        document.setAnswerFieldCount(ComboBox_GetCurSel(answerCount_) + 1);
        return true;
    }
    if (code == CBN_SELCHANGE && id == kRewardBox) {
        document.edit().reward.value = static_cast<RewardKind>(ComboBox_GetCurSel(reward_));
        return true;
    }
    return code == EN_CHANGE && takeText(id, document);
}

bool QuizPane::takeText(int id, QuizDocument& document) {
    const QuizSource& quiz = document.quiz();
    auto take = [&](HWND control, const SourcedText& current, auto assign) {
        const std::string text = quizTextFromWide(textOf(control));
        if (text == current.value)
            return false;
        assign(document.edit(), text);
        return true;
    };
    switch (id) {
    case kTitleField:
        return take(title_, quiz.title, [](QuizSource& q, auto& t) { q.title.value = t; });
    case kCreatorField:
        return take(creator_, quiz.creator, [](QuizSource& q, auto& t) { q.creator.value = t; });
    case kExplanationField:
        return take(explanation_, quiz.explanation,
                    [](QuizSource& q, auto& t) { q.explanation.value = t; });
    case kFirstLabelField:
        return take(firstLabel_, quiz.answerLabels[0],
                    [](QuizSource& q, auto& t) { q.answerLabels[0].value = t; });
    case kSecondLabelField:
        return take(secondLabel_, quiz.answerLabels[1],
                    [](QuizSource& q, auto& t) { q.answerLabels[1].value = t; });
    case kCodesField: {
        std::vector<SourcedText> codes = codesFrom(textOf(codes_));
        if (codeValues(codes) == codeValues(quiz.codes))
            return false;
        document.edit().codes = std::move(codes);
        return true;
    }
    default:
        return false;
    }
}

bool QuizPane::chooseColour(QuizDocument& document, StudioDialogs& dialogs) {
    const std::optional<COLORREF> chosen = dialogs.chooseColour(parent_, colour_);
    if (!chosen || *chosen == colour_)
        return false;
    document.edit().colour.value = {GetRValue(*chosen), GetGValue(*chosen), GetBValue(*chosen)};
    return true;
}

void QuizPane::drawSwatch(const DRAWITEMSTRUCT& item) const {
    const UniqueGdiObject<HBRUSH> brush(CreateSolidBrush(colour_));
    FillRect(item.hDC, &item.rcItem, brush.get());
    FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}
