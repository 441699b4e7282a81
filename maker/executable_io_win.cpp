#include "maker/executable_io_win.h"

#include "maker/file_io.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>

namespace {

ExecutableResult failure(std::string message) {
    return {ExecutableStatus::kFailed, std::move(message)};
}

std::string lastErrorText() {
    return "Windows error " + std::to_string(GetLastError());
}

// An executable opened for its resources only: nothing of it runs.
class ResourceModule {
  public:
    explicit ResourceModule(const std::filesystem::path& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ResourceModule() {
        if (module_)
            FreeLibrary(module_);
    }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;
    HMODULE get() const { return module_; }

  private:
    HMODULE module_;
};

std::optional<std::vector<uint8_t>> resourceBytes(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found)
        return std::nullopt;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes)
        return std::vector<uint8_t>{};
    return std::vector<uint8_t>(bytes, bytes + size);
}

// A resource name or type as Windows passes it: an integer or a string.
struct ResourceName {
    bool isInteger;
    UINT_PTR integer;
    std::string text;

    static ResourceName of(LPCSTR name) {
        if (IS_INTRESOURCE(name))
            return {true, reinterpret_cast<UINT_PTR>(name), {}};
        return {false, 0, name};
    }
    LPCSTR get() const { return isInteger ? MAKEINTRESOURCEA(integer) : text.c_str(); }
};

struct StoredResource {
    ResourceName type;
    ResourceName name;
    WORD language;
};

// Every resource of a module, each language apart.
std::vector<StoredResource> resourcesIn(HMODULE module) {
    struct Walk {
        HMODULE module;
        std::vector<StoredResource> found;
        ResourceName type;
        ResourceName name;
    } walk{module, {}, {}, {}};
    EnumResourceTypesA(
        module,
        [](HMODULE module, LPSTR type, LONG_PTR data) -> BOOL {
            auto& walk = *reinterpret_cast<Walk*>(data);
            walk.type = ResourceName::of(type);
            EnumResourceNamesA(
                module, type,
                [](HMODULE module, LPCSTR type, LPSTR name, LONG_PTR data) -> BOOL {
                    auto& walk = *reinterpret_cast<Walk*>(data);
                    walk.name = ResourceName::of(name);
                    EnumResourceLanguagesA(
                        module, type, name,
                        [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR data) -> BOOL {
                            auto& walk = *reinterpret_cast<Walk*>(data);
                            walk.found.push_back({walk.type, walk.name, language});
                            return TRUE;
                        },
                        data);
                    return TRUE;
                },
                data);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&walk));
    return walk.found;
}

// The quiz's own resources: every IMG, and PATCH 104 and 105.
bool isQuizResource(const StoredResource& resource) {
    if (resource.type.isInteger)
        return false;
    if (_stricmp(resource.type.text.c_str(), kImageResourceType) == 0)
        return true;
    return _stricmp(resource.type.text.c_str(), kPatchResourceType) == 0 &&
           resource.name.isInteger &&
           (resource.name.integer == IDR_QUIZ_TEXT || resource.name.integer == IDR_QUIZ_CODES);
}

// The player to copy: a file given on the command line, or the one the maker carries.
bool playerBytes(const std::filesystem::path& player, std::vector<uint8_t>& bytes,
                 std::string& reason) {
    if (!player.empty())
        return readWholeFile(player, bytes, reason);
    std::optional<std::vector<uint8_t>> embedded =
        resourceBytes(nullptr, RT_RCDATA, MAKEINTRESOURCEA(IDR_EMBEDDED_PLAYER));
    if (!embedded || embedded->empty()) {
        reason = "this maker carries no player";
        return false;
    }
    bytes = std::move(*embedded);
    return true;
}

bool addResource(HANDLE update, LPCSTR type, LPCSTR name, WORD language,
                 const std::vector<uint8_t>& bytes) {
    return UpdateResourceA(update, type, name, language, const_cast<uint8_t*>(bytes.data()),
                           DWORD(bytes.size())) != 0;
}

// The player's own resources (dialogs, icons, cursor, version) with their bytes.
bool playerResources(const std::filesystem::path& path,
                     std::vector<std::pair<StoredResource, std::vector<uint8_t>>>& kept) {
    ResourceModule module(path);
    if (!module.get())
        return false;
    for (const StoredResource& resource : resourcesIn(module.get())) {
        if (isQuizResource(resource))
            continue;
        HRSRC found = FindResourceExA(module.get(), resource.type.get(), resource.name.get(),
                                      resource.language);
        HGLOBAL loaded = found ? LoadResource(module.get(), found) : nullptr;
        auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
        if (!bytes)
            return false;
        kept.push_back({resource, {bytes, bytes + SizeofResource(module.get(), found)}});
    }
    return true;
}

// Gives the executable at `path` exactly the quiz `resources`. The resource table is written
// anew: the player's own resources are carried over and any quiz it held is left behind, since
// deleting single resources does not work everywhere (Wine keeps them).
ExecutableResult replaceQuizResources(const std::filesystem::path& path,
                                      const QuizResources& resources) {
    std::vector<std::pair<StoredResource, std::vector<uint8_t>>> kept;
    if (!playerResources(path, kept))
        return failure("the player is not a Windows executable (" + lastErrorText() + ")");
    HANDLE update = BeginUpdateResourceW(path.c_str(), TRUE);
    if (!update)
        return failure("cannot change the player's resources (" + lastErrorText() + ")");
    bool ok = true;
    for (const auto& [resource, bytes] : kept)
        ok = ok && addResource(update, resource.type.get(), resource.name.get(), resource.language,
                               bytes);
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    if (resources.quizText)
        ok = ok && addResource(update, kPatchResourceType, MAKEINTRESOURCEA(IDR_QUIZ_TEXT), neutral,
                               *resources.quizText);
    if (resources.quizCodes)
        ok = ok && addResource(update, kPatchResourceType, MAKEINTRESOURCEA(IDR_QUIZ_CODES),
                               neutral, *resources.quizCodes);
    for (const auto& [id, bytes] : resources.images)
        ok = ok && addResource(update, kImageResourceType, MAKEINTRESOURCEA(id), neutral, bytes);
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

ExecutableResult WindowsExecutableIo::readQuiz(const std::filesystem::path& executable,
                                               QuizResources& resources) {
    ResourceModule module(executable);
    if (!module.get())
        return failure("cannot open it as a Windows executable (" + lastErrorText() + ")");
    resources = {};
    resources.quizText =
        resourceBytes(module.get(), kPatchResourceType, MAKEINTRESOURCEA(IDR_QUIZ_TEXT));
    resources.quizCodes =
        resourceBytes(module.get(), kPatchResourceType, MAKEINTRESOURCEA(IDR_QUIZ_CODES));
    for (const StoredResource& stored : resourcesIn(module.get())) {
        if (!isQuizResource(stored) || !stored.name.isInteger ||
            _stricmp(stored.type.text.c_str(), kImageResourceType) != 0)
            continue;
        const int id = int(stored.name.integer);
        if (auto bytes = resourceBytes(module.get(), kImageResourceType, MAKEINTRESOURCEA(id)))
            resources.images[id] = std::move(*bytes);
    }
    return {};
}

ExecutableResult WindowsExecutableIo::writeQuiz(const std::filesystem::path& output,
                                                const std::filesystem::path& player,
                                                const QuizResources& resources) {
    std::vector<uint8_t> template_;
    std::string reason;
    if (!playerBytes(player, template_, reason))
        return failure(reason);

    // Everything happens on a file of its own beside the output: the output appears only
    // whole and checked, and an earlier file of that name stays until then.
    std::filesystem::path partial = output;
    partial += L".part";
    if (!writeWholeFile(partial, template_, reason))
        return failure(reason);
    auto discard = [&partial](ExecutableResult result) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return result;
    };

    if (ExecutableResult written = replaceQuizResources(partial, resources); !written.ok())
        return discard(written);
    QuizResources readBack;
    if (ExecutableResult read = readQuiz(partial, readBack); !read.ok())
        return discard(read);
    if (!(readBack == resources))
        return discard(failure("the written resources read back differently"));
    if (!MoveFileExW(partial.c_str(), output.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return discard(failure("cannot write the output (" + lastErrorText() + ")"));
    return {};
}
