#include "maker/executable_io_win.h"

#include "maker/file_io.h"
#include "maker/quiz_source.h"
#include "maker/resource_directory.h"

#include <windows.h>

#include <string>
#include <utility>

namespace {

ExecutableResult failure(std::string message) {
    return {ExecutableStatus::kFailed, std::move(message), {}};
}

std::string lastErrorText() {
    return "Windows error " + std::to_string(GetLastError());
}

constexpr const char* kDamaged = "damaged executable: ";

// Why `table` cannot be used: "damaged executable: ..." or "it is not a Windows executable".
ExecutableResult refusal(const ResourceTable& table) {
    if (table.status == ResourceTableStatus::kDamaged)
        return failure(kDamaged + table.damage);
    return failure(table.damage);
}

// The player that this maker carries. Its own image was mapped and checked by the loader that
// started it, so its resources are trusted.
bool embeddedPlayer(std::vector<uint8_t>& bytes) {
    const HMODULE self = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(IDR_EMBEDDED_PLAYER), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const auto* start = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = found ? SizeofResource(self, found) : 0;
    if (!start || size == 0)
        return false;
    bytes.assign(start, start + size);
    return true;
}

// The player to copy: a file given on the command line, or the one the maker carries.
bool playerBytes(const std::filesystem::path& player, std::vector<uint8_t>& bytes,
                 std::string& reason) {
    if (!player.empty())
        return readWholeFile(player, bytes, reason);
    if (embeddedPlayer(bytes))
        return true;
    reason = "this maker carries no player";
    return false;
}

// A resource type or name as Windows takes it: an integer, or the string that `text` holds.
LPCWSTR windowsKey(const ResourceKey& key, std::wstring& text) {
    if (key.isInteger)
        return MAKEINTRESOURCEW(key.integer);
    text.assign(key.text.begin(), key.text.end());
    return text.c_str();
}

bool addResource(HANDLE update, LPCSTR type, LPCSTR name, WORD language,
                 const std::vector<uint8_t>& bytes) {
    return UpdateResourceA(update, type, name, language, const_cast<uint8_t*>(bytes.data()),
                           DWORD(bytes.size())) != 0;
}

// One of the player's own resources (dialogs, icons, cursor, version), copied as it is.
bool addPlayerResource(HANDLE update, const ResourceEntry& resource,
                       std::span<const uint8_t> player) {
    std::wstring type, name;
    return UpdateResourceW(update, windowsKey(resource.type, type), windowsKey(resource.name, name),
                           resource.language, const_cast<uint8_t*>(player.data() + resource.offset),
                           resource.size) != 0;
}

// Gives the executable at `path`, a copy of the `player` bytes whose resources are `table`,
// exactly the quiz `resources`. The resource table is written anew: the player's own resources
// are carried over and any quiz it held is left behind, since deleting single resources does not
// work everywhere (Wine keeps them).
ExecutableResult replaceQuizResources(const std::filesystem::path& path, const ResourceTable& table,
                                      std::span<const uint8_t> player,
                                      const QuizResources& resources) {
    HANDLE update = BeginUpdateResourceW(path.c_str(), TRUE);
    if (!update)
        return failure("cannot change the player's resources (" + lastErrorText() + ")");
    bool ok = true;
    for (const ResourceEntry& resource : table.resources)
        ok = ok && (isQuizResource(resource) || addPlayerResource(update, resource, player));
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    if (resources.quizText)
        ok = ok && addResource(update, kQuizResourceType, MAKEINTRESOURCEA(IDR_QUIZ_TEXT), neutral,
                               *resources.quizText);
    if (resources.quizCodes)
        ok = ok && addResource(update, kQuizResourceType, MAKEINTRESOURCEA(IDR_QUIZ_CODES), neutral,
                               *resources.quizCodes);
    for (const auto& [id, bytes] : resources.images)
        ok = ok && addResource(update, kMediaResourceType, MAKEINTRESOURCEA(id), neutral, bytes);
    if (!ok) {
        std::string reason = lastErrorText();
        EndUpdateResourceW(update, TRUE);
        return failure("cannot write the quiz resources (" + reason + ")");
    }
    if (!EndUpdateResourceW(update, FALSE))
        return failure("cannot write the quiz resources (" + lastErrorText() + ")");
    return {};
}

} // namespace

// The file is read whole and its resources found by the maker's own walk, which checks every
// offset: the Windows loader would follow a damaged directory out of the file. Resources never
// share bytes, so what is read is at most twice the file.
ExecutableResult WindowsExecutableIo::readQuiz(const std::filesystem::path& executable,
                                               QuizResources& resources) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!readWholeFile(executable, bytes, reason))
        return failure("cannot read it (" + reason + ")");
    const ResourceTable table = readResourceTable(bytes);
    if (table.status != ResourceTableStatus::kRead)
        return refusal(table);
    resources = quizResourcesOf(table, bytes);
    return {};
}

ExecutableResult WindowsExecutableIo::writeQuiz(const std::filesystem::path& output,
                                                const std::filesystem::path& player,
                                                const QuizResources& resources) {
    std::vector<uint8_t> template_;
    std::string reason;
    if (!playerBytes(player, template_, reason))
        return failure(reason);
    const ResourceTable table = readResourceTable(template_);
    if (table.status != ResourceTableStatus::kRead) {
        ExecutableResult refused = refusal(table);
        refused.file = pathToUtf8(player);
        return refused;
    }

    // Everything happens on a fresh file of the maker's own beside the output: the output
    // appears only whole and checked, an earlier file of that name stays until then, and no
    // file that is there already is written through or taken.
    FreshFile partial(output);
    if (!partial.write(template_, reason))
        return failure("cannot write the output (" + reason + ")");
    if (ExecutableResult written =
            replaceQuizResources(partial.path(), table, template_, resources);
        !written.ok())
        return written;
    QuizResources readBack;
    if (ExecutableResult read = readQuiz(partial.path(), readBack); !read.ok())
        return read;
    if (!(readBack == resources))
        return failure("the written resources read back differently");
    if (!partial.replaceDestination(reason))
        return failure("cannot write the output (" + reason + ")");
    return {};
}
