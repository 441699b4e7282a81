#include "content/quiz_loader.h"

#include "content/lzw_codec.h"
#include "content/quiz_text.h"
#include "resources/quiz_resource_ids.h"

#include <vector>

namespace {

struct QuizResource {
    bool found = false;
    DWORD size = 0;
    // Empty when the resource could not be loaded.
    std::span<const uint8_t> bytes;
};

QuizResource findQuizResource(HMODULE module, int id) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), kQuizResourceType);
    if (!resource)
        return {};
    DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = size ? LoadResource(module, resource) : nullptr;
    // Resources stay mapped with the module: nothing to release.
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {true, size, {}};
    return {true, size, {static_cast<const uint8_t*>(data), size}};
}

bool decodeResource(std::span<const uint8_t> stream, std::vector<uint8_t>& text) {
    return !stream.empty() && lzwDecode(stream, text) == kLzwOk;
}

void loadCodes(HMODULE module, QuizRecord& record) {
    QuizResource codes = findQuizResource(module, IDR_QUIZ_CODES);
    if (!codes.found) {
        showMessageBox(kCodesMissing, kLoaderCaption);
        return;
    }
    if (codes.size == 0) {
        showMessageBox(kCodesEmpty, kLoaderCaption);
        return;
    }
    std::vector<uint8_t> text;
    if (!decodeResource(codes.bytes, text)) {
        showMessageBox(kCodesUnreadable, kLoaderCaption);
        return;
    }
    parseQuizCodes(text, record);
}

} // namespace

bool loadQuizFromModule(HMODULE module, QuizRecord& record) {
    QuizResource quiz = findQuizResource(module, IDR_QUIZ_TEXT);
    if (quiz.size == 0) {
        loadDefaultQuiz(record);
        return true;
    }
    std::vector<uint8_t> text;
    if (!decodeResource(quiz.bytes, text) || parseQuizText(text, record) != QuizTextStatus::kOk) {
        showMessageBox(kQuizTextUnreadable, kLoaderCaption);
        return false;
    }
    loadCodes(module, record);
    return true;
}

bool loadQuiz(QuizRecord& record) {
    return loadQuizFromModule(GetModuleHandleA(nullptr), record);
}
