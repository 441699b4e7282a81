#include "content/quiz_record.h"

#include "judge/verdict.h"

#include <cstring>
#include <initializer_list>
#include <new>

void copyQuizText(char (&destination)[kQuizTextSize], const char* source) {
    size_t length = strnlen(source, kQuizTextMaxLength);
    memcpy(destination, source, length);
    destination[length] = '\0';
}

namespace {

HBRUSH verdictBrush(Verdict verdict) {
    const VerdictColour colour = verdictColour(verdict).value_or(VerdictColour{255, 255, 255});
    return createSolidBrush(colour.red, colour.green, colour.blue);
}

} // namespace

void QuestionList::clear() {
    QuestionNode* node = firstQuestion;
    while (node) {
        QuestionNode* next = node->next;
        delete node;
        node = next;
    }
    firstQuestion = nullptr;
    lastQuestion = nullptr;
}

QuizRecord::QuizRecord()
    : mediaKind(kMediaTextList), title(), creator(), explanation(), answerLabel1(), answerLabel2(),
      questionCount(2), answerFieldCount(1), codes(), rewardKind(kRewardNone), answerFont(nullptr),
      scoreFont(nullptr), titleFont(nullptr), finalRewardShown(0), colourRed(0x5A),
      colourBlue(0x96), colourGreen(0x5F), backgroundBrush(nullptr), wrongBrush(nullptr),
      rightBrush(nullptr), anagramBrush(nullptr), nearBrush(nullptr), questionTextBrush(nullptr),
      headerPane(nullptr), mediaDir() {
    scoreFont = createFont({.height = 25, .weight = 400});
    titleFont = createFont({.height = -15, .weight = 700, .italic = true, .underline = false});
    copyQuizText(title, "nom du plimo");
    copyQuizText(creator, " createur");
    backgroundBrush = createSolidBrush(colourRed, colourGreen, colourBlue);
    wrongBrush = verdictBrush(Verdict::kWrong);
    rightBrush = verdictBrush(Verdict::kRight);
    anagramBrush = verdictBrush(Verdict::kAnagram);
    nearBrush = verdictBrush(Verdict::kOneEdit);
    questionTextBrush = createSolidBrush(255, 255, 192);
}

QuizRecord::~QuizRecord() {
    for (HBRUSH brush :
         {backgroundBrush, wrongBrush, rightBrush, anagramBrush, nearBrush, questionTextBrush})
        deleteBrush(brush);
    for (HFONT font : {answerFont, scoreFont, titleFont})
        deleteFont(font);
    // The question list frees its nodes in its own destructor.
}

void addQuestion(QuizRecord& record, const char* answer1, const char* answer2,
                 const char* questionText) {
    QuestionNode* node = new (std::nothrow) QuestionNode{};
    if (!node)
        return;
    copyQuizText(node->answer1, answer1);
    copyQuizText(node->answer2, answer2);
    copyQuizText(node->questionText, questionText);

    QuestionList& list = record.questions;
    node->prev = list.lastQuestion;
    if (list.lastQuestion)
        list.lastQuestion->next = node;
    else
        list.firstQuestion = node;
    list.lastQuestion = node;
}

QuestionNode* questionAt(const QuizRecord& record, int index) {
    QuestionNode* node = record.questions.firstQuestion;
    for (int i = 0; node && node->next && i < index; ++i)
        node = node->next;
    return node;
}

void applyQuizColour(QuizRecord& record, uint8_t red, uint8_t green, uint8_t blue) {
    record.colourRed = red;
    record.colourGreen = green;
    record.colourBlue = blue;
    // Replacing the brush without deleting the old one would leak a GDI object per load.
    deleteBrush(record.backgroundBrush);
    record.backgroundBrush = createSolidBrush(red, green, blue);
}
