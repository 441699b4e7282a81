#include "maker/folder_writer.h"

#include "maker/file_io.h"
#include "maker/toml_writer.h"

#include <set>

namespace {

bool isThere(const std::filesystem::path& path) {
    std::error_code ignored;
    // A link counts even when it leads nowhere: writing would follow it.
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

} // namespace

// An author's own quiz.toml, with its comments, must not be lost to an extract into the wrong
// folder: unless `replace`, nothing is written while any of the files exists.
bool writeFolderFiles(const std::filesystem::path& folder, const std::vector<FolderFile>& files,
                      bool replace, Diagnostics& diagnostics) {
    std::vector<std::filesystem::path> existing;
    for (const FolderFile& file : files) {
        if (!replace && isThere(folder / file.name))
            existing.push_back(folder / file.name);
    }
    if (!existing.empty()) {
        std::string message = "exists already";
        if (existing.size() > 1)
            message += " (and " + std::to_string(existing.size() - 1) + " more of the files)";
        diagnostics.error(pathToUtf8(existing.front()), 0, "file",
                          message + ": nothing was written; --force replaces them");
        return false;
    }
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        diagnostics.error(pathToUtf8(folder), 0, "folder", "cannot create: " + failure.message());
        return false;
    }
    // A file replaced is replaced whole, a link with it: what the link leads to stays as it was.
    const auto write = replace ? replaceWholeFile : writeNewFile;
    for (const FolderFile& file : files) {
        std::string reason;
        if (!write(folder / file.name, file.bytes, reason)) {
            diagnostics.error(pathToUtf8(folder / file.name), 0, "file", "cannot write: " + reason);
            return false;
        }
    }
    return true;
}

namespace {

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A stored text, empty when the quiz has none.
std::span<const uint8_t> storedBytes(const std::optional<std::vector<uint8_t>>& stored) {
    return stored ? std::span<const uint8_t>(*stored) : std::span<const uint8_t>();
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
                         const std::filesystem::path& folder, bool replace,
                         Diagnostics& diagnostics) {
    const std::string script = resourceScriptText(resources, layout);
    std::vector<FolderFile> files = {
        {kQuizTextFileName, storedBytes(resources.quizText)},
        {kQuizCodesFileName, storedBytes(resources.quizCodes)},
    };
    for (const auto& [id, bytes] : resources.images)
        files.push_back({mediaFileName(id, layout, bytes), bytes});
    files.push_back({kResourceScriptName, bytesOf(script)});
    return writeFolderFiles(folder, files, replace, diagnostics);
}

bool writeSourceFolder(QuizSource quiz, const QuizResources& resources,
                       const std::filesystem::path& folder, bool replace,
                       Diagnostics& diagnostics) {
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

    const std::string source = writeQuizToml(quiz, "Extracted by plimo-maker from " + quiz.file);
    std::vector<FolderFile> written;
    for (const auto& [id, name] : files)
        written.push_back({name, resources.images.at(id)});
    written.push_back({kQuizSourceName, bytesOf(source)});
    return writeFolderFiles(folder, written, replace, diagnostics);
}
