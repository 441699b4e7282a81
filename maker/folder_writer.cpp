#include "maker/folder_writer.h"

#include "maker/file_io.h"
#include "maker/toml_writer.h"

#include <set>

namespace {

bool makeFolder(const std::filesystem::path& folder, std::string& reason) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        reason = failure.message();
        return false;
    }
    return true;
}

bool writeFile(const std::filesystem::path& folder, const std::string& name,
               std::span<const uint8_t> bytes, std::string& reason) {
    if (writeWholeFile(folder / name, bytes, reason))
        return true;
    reason = name + ": " + reason;
    return false;
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

} // namespace

std::string resourceScriptText(const QuizResources& resources, MediaKind layout) {
    std::string script =
        "// The resources of one quiz, made by plimo-maker. Compile this script with windres from\n"
        "// its own folder (or with --include-dir naming it) and link it into a copy of the\n"
        "// player.\n"
        "LANGUAGE 0, 0\n\n";
    script += std::to_string(IDR_QUIZ_TEXT) + " PATCH \"" + kQuizTextFileName + "\"\n";
    script += std::to_string(IDR_QUIZ_CODES) + " PATCH \"" + kQuizCodesFileName + "\"\n";
    for (const auto& [id, bytes] : resources.images)
        script += std::to_string(id) + " IMG \"" + mediaFileName(id, layout, bytes) + "\"\n";
    return script;
}

bool writeResourceFolder(const QuizResources& resources, MediaKind layout,
                         const std::filesystem::path& folder, std::string& reason) {
    if (!makeFolder(folder, reason))
        return false;
    static const std::vector<uint8_t> kNothing;
    if (!writeFile(folder, kQuizTextFileName, resources.quizText.value_or(kNothing), reason) ||
        !writeFile(folder, kQuizCodesFileName, resources.quizCodes.value_or(kNothing), reason))
        return false;
    for (const auto& [id, bytes] : resources.images) {
        if (!writeFile(folder, mediaFileName(id, layout, bytes), bytes, reason))
            return false;
    }
    return writeFile(folder, kResourceScriptName, bytesOf(resourceScriptText(resources, layout)),
                     reason);
}

bool writeSourceFolder(QuizSource quiz, const QuizResources& resources,
                       const std::filesystem::path& folder, Diagnostics& diagnostics) {
    const MediaKind layout = quiz.layout.value;
    std::map<int, std::string> files; // resource -> file name, of the resources in use
    std::set<int> used;
    auto attach = [&](MediaFile& media, int id, const std::string& field) {
        used.insert(id);
        auto image = resources.images.find(id);
        if (image == resources.images.end()) {
            diagnostics.warning(quiz.file, 0, field,
                                "no IMG " + std::to_string(id) +
                                    " in the executable: add the file before building");
            return;
        }
        files[id] = mediaFileName(id, layout, image->second);
        media = {files[id], 0};
    };
    for (int i = 0; i < static_cast<int>(quiz.questions.size()); ++i) {
        QuestionSource& question = quiz.questions[i];
        if (layout != kMediaTextList)
            attach(question.media, questionMediaId(i), questionField(i, mediaKey(layout)));
        if (quiz.reward.value == kRewardPicture && resources.images.count(rewardPictureId(i)))
            attach(question.rewardPicture, rewardPictureId(i), questionField(i, "reward_picture"));
    }
    for (const auto& [id, bytes] : resources.images) {
        if (!used.count(id))
            diagnostics.warning(quiz.file, 0, "IMG " + std::to_string(id),
                                "no question of this quiz uses it: left out");
    }

    std::string reason;
    bool written = makeFolder(folder, reason);
    for (auto it = files.begin(); written && it != files.end(); ++it)
        written = writeFile(folder, it->second, resources.images.at(it->first), reason);
    if (written) {
        const std::string source =
            writeQuizToml(quiz, "Extracted by plimo-maker from " + quiz.file);
        written = writeFile(folder, kExtractedSourceName, bytesOf(source), reason);
    }
    if (!written)
        diagnostics.error(pathToUtf8(folder), 0, "folder", "cannot write: " + reason);
    return written;
}
