#include "maker/executable_io_win.h"

#include "maker/file_io.h"
#include "maker/quiz_source.h"
#include "win/handles.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>

namespace {

ExecutableResult failure(std::string message) {
    return {ExecutableStatus::kFailed, std::move(message), {}};
}

std::string lastErrorText() {
    return "Windows error " + std::to_string(GetLastError());
}

constexpr const char* kDamaged = "damaged executable: ";

// A name or type for messages: "IMG 401", "type 5 resource 1001".
std::string resourceLabel(LPCSTR type, LPCSTR name) {
    const auto part = [](LPCSTR value) {
        return IS_INTRESOURCE(value) ? std::to_string(reinterpret_cast<UINT_PTR>(value))
                                     : std::string(value);
    };
    if (IS_INTRESOURCE(type))
        return "type " + part(type) + " resource " + part(name);
    return part(type) + " " + part(name);
}

// Why the sections of an executable mapped as it lies on disk (`size` bytes at `base`) do not
// all lie inside it; empty when they do. The loader follows them to every resource, so a
// truncated file would have it read past the end of the mapping.
std::string sectionDamage(const uint8_t* base, uintmax_t size) {
    const auto inside = [size](uintmax_t offset, uintmax_t length) {
        return offset <= size && length <= size - offset;
    };
    IMAGE_DOS_HEADER dos;
    IMAGE_FILE_HEADER header;
    if (!inside(0, sizeof dos))
        return "its headers are cut short";
    memcpy(&dos, base, sizeof dos);
    const uintmax_t headerAt = uintmax_t(uint32_t(dos.e_lfanew)) + sizeof(DWORD);
    if (!inside(headerAt, sizeof header))
        return "its headers are cut short";
    memcpy(&header, base + headerAt, sizeof header);
    const uintmax_t sectionsAt = headerAt + sizeof header + header.SizeOfOptionalHeader;
    if (!inside(sectionsAt, uintmax_t(header.NumberOfSections) * sizeof(IMAGE_SECTION_HEADER)))
        return "its section table is cut short";
    for (WORD i = 0; i < header.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section;
        memcpy(&section, base + sectionsAt + i * sizeof section, sizeof section);
        if (!inside(section.PointerToRawData, section.SizeOfRawData)) {
            const char* name = reinterpret_cast<const char*>(section.Name);
            return "its section \"" + std::string(name, strnlen(name, sizeof section.Name)) +
                   "\" runs past the end of the file";
        }
    }
    return {};
}

// A module whose resources are read, none of them trusted: every resource must lie inside the
// module's bytes, the file as it lies on disk or the image that the loader made of it. The
// first resource that does not is kept as the damage, and reads nothing.
class ResourceModule {
  public:
    // An executable opened for its resources only: nothing of it runs.
    explicit ResourceModule(const std::filesystem::path& path)
        : loaded_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)),
          module_(loaded_.get()) {
        std::error_code failure;
        const uintmax_t size = std::filesystem::file_size(path, failure);
        if (module_)
            measure(failure ? 0 : size);
    }
    // The maker's own executable, which carries the player.
    static ResourceModule self() { return ResourceModule(GetModuleHandleW(nullptr)); }

    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    HMODULE get() const { return module_; }
    const std::string& damage() const { return damage_; }

    std::optional<std::vector<uint8_t>> read(LPCSTR type, LPCSTR name) {
        return bytesOf(FindResourceA(module_, name, type), type, name);
    }
    std::optional<std::vector<uint8_t>> read(LPCSTR type, LPCSTR name, WORD language) {
        return bytesOf(FindResourceExA(module_, type, name, language), type, name);
    }

  private:
    // Not loaded here, so not freed here.
    explicit ResourceModule(HMODULE running) : module_(running) { measure(0); }

    // A module mapped as a data file carries a tag in its low bits; its bytes are the file's.
    // Any other is an image that the loader has checked, as large as its headers say.
    void measure(uintmax_t fileSize) {
        const uintptr_t handle = reinterpret_cast<uintptr_t>(module_);
        base_ = reinterpret_cast<const uint8_t*>(handle & ~uintptr_t(3));
        if (handle & 3) {
            size_ = fileSize;
            damage_ = sectionDamage(base_, size_);
            return;
        }
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base_);
        size_ = reinterpret_cast<const IMAGE_NT_HEADERS*>(base_ + dos->e_lfanew)
                    ->OptionalHeader.SizeOfImage;
    }

    std::optional<std::vector<uint8_t>> bytesOf(HRSRC found, LPCSTR type, LPCSTR name) {
        if (!found || !damage_.empty())
            return std::nullopt;
        const DWORD size = SizeofResource(module_, found);
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
        if (!bytes && size == 0)
            return std::vector<uint8_t>{};
        const uintptr_t start = reinterpret_cast<uintptr_t>(bytes);
        const uintptr_t base = reinterpret_cast<uintptr_t>(base_);
        if (!bytes || start < base || start - base > size_ || size > size_ - (start - base)) {
            damage_ = resourceLabel(type, name) + " lies outside the file";
            return std::nullopt;
        }
        return std::vector<uint8_t>(bytes, bytes + size);
    }

    UniqueModule loaded_;
    HMODULE module_;
    const uint8_t* base_ = nullptr;
    uintmax_t size_ = 0;
    std::string damage_;
};

// Success, or the damage that the module's reads have found.
ExecutableResult damaged(const ResourceModule& module) {
    if (module.damage().empty())
        return {};
    return failure(kDamaged + module.damage());
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
    if (_stricmp(resource.type.text.c_str(), kMediaResourceType) == 0)
        return true;
    return _stricmp(resource.type.text.c_str(), kQuizResourceType) == 0 &&
           resource.name.isInteger &&
           (resource.name.integer == IDR_QUIZ_TEXT || resource.name.integer == IDR_QUIZ_CODES);
}

// The player to copy: a file given on the command line, or the one the maker carries.
bool playerBytes(const std::filesystem::path& player, std::vector<uint8_t>& bytes,
                 std::string& reason) {
    if (!player.empty())
        return readWholeFile(player, bytes, reason);
    ResourceModule self = ResourceModule::self();
    std::optional<std::vector<uint8_t>> embedded =
        self.read(RT_RCDATA, MAKEINTRESOURCEA(IDR_EMBEDDED_PLAYER));
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

using KeptResources = std::vector<std::pair<StoredResource, std::vector<uint8_t>>>;

// The player's own resources (dialogs, icons, cursor, version) with their bytes.
ExecutableResult playerResources(const std::filesystem::path& path, KeptResources& kept) {
    ResourceModule module(path);
    if (!module.get())
        return failure("the player is not a Windows executable (" + lastErrorText() + ")");
    if (!module.damage().empty())
        return damaged(module);
    for (const StoredResource& resource : resourcesIn(module.get())) {
        if (isQuizResource(resource))
            continue;
        std::optional<std::vector<uint8_t>> bytes =
            module.read(resource.type.get(), resource.name.get(), resource.language);
        if (!bytes && module.damage().empty())
            return failure("cannot read the player's " +
                           resourceLabel(resource.type.get(), resource.name.get()));
        if (!bytes)
            return damaged(module);
        kept.push_back({resource, std::move(*bytes)});
    }
    return {};
}

// Gives the executable at `path`, a copy of `player`, exactly the quiz `resources`. The resource
// table is written anew: the player's own resources are carried over and any quiz it held is left
// behind, since deleting single resources does not work everywhere (Wine keeps them).
ExecutableResult replaceQuizResources(const std::filesystem::path& path,
                                      const std::filesystem::path& player,
                                      const QuizResources& resources) {
    KeptResources kept;
    if (ExecutableResult read = playerResources(path, kept); !read.ok()) {
        // What is wrong with the copy is wrong with the player it was copied from.
        read.file = pathToUtf8(player);
        return read;
    }
    HANDLE update = BeginUpdateResourceW(path.c_str(), TRUE);
    if (!update)
        return failure("cannot change the player's resources (" + lastErrorText() + ")");
    bool ok = true;
    for (const auto& [resource, bytes] : kept)
        ok = ok && addResource(update, resource.type.get(), resource.name.get(), resource.language,
                               bytes);
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

ExecutableResult WindowsExecutableIo::readQuiz(const std::filesystem::path& executable,
                                               QuizResources& resources) {
    ResourceModule module(executable);
    if (!module.get())
        return failure("cannot open it as a Windows executable (" + lastErrorText() + ")");
    if (!module.damage().empty())
        return damaged(module);
    resources = {};
    resources.quizText = module.read(kQuizResourceType, MAKEINTRESOURCEA(IDR_QUIZ_TEXT));
    resources.quizCodes = module.read(kQuizResourceType, MAKEINTRESOURCEA(IDR_QUIZ_CODES));
    for (const StoredResource& stored : resourcesIn(module.get())) {
        if (!isQuizResource(stored) || !stored.name.isInteger ||
            _stricmp(stored.type.text.c_str(), kMediaResourceType) != 0)
            continue;
        const int id = int(stored.name.integer);
        if (auto bytes = module.read(kMediaResourceType, MAKEINTRESOURCEA(id)))
            resources.images[id] = std::move(*bytes);
    }
    return damaged(module);
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

    if (ExecutableResult written = replaceQuizResources(partial, player, resources); !written.ok())
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
