#include "maker/resource_directory.h"

#include <algorithm>
#include <map>
#include <optional>

namespace {

// Where the fields lie in the headers of a PE file (its DOS header, "PE\0\0", the file header,
// the optional header, the section table) and in its resource directory.
constexpr uint64_t kDosHeaderSize = 64;
constexpr uint64_t kNewHeaderField = 0x3C;
constexpr uint32_t kPeSignature = 0x00004550; // "PE\0\0"
constexpr uint64_t kFileHeaderSize = 20;
constexpr uint64_t kSectionCountField = 2;
constexpr uint64_t kOptionalHeaderSizeField = 16;
constexpr uint16_t kPe32 = 0x10B, kPe32Plus = 0x20B;
constexpr uint64_t kDataDirectoriesPe32 = 96, kDataDirectoriesPe32Plus = 112;
constexpr uint64_t kDataDirectorySize = 8;
constexpr uint64_t kResourceDataDirectory = 2;
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint64_t kDirectoryHeaderSize = 16;
constexpr uint64_t kDirectoryEntrySize = 8;
constexpr uint64_t kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000;
constexpr int kDirectoryLevels = 3; // type, name, language

// Why a file is refused; thrown from deep in the walk, caught where the walk starts.
struct Refusal {
    ResourceTableStatus status;
    std::string why;
};

[[noreturn]] void damaged(std::string why) {
    throw Refusal{ResourceTableStatus::kDamaged, std::move(why)};
}

class Bytes {
  public:
    explicit Bytes(std::span<const uint8_t> file) : file_(file) {}

    bool has(uint64_t offset, uint64_t length) const {
        return offset <= file_.size() && length <= file_.size() - offset;
    }
    uint16_t u16(uint64_t offset) const { return uint16_t(file_[offset] | file_[offset + 1] << 8); }
    uint32_t u32(uint64_t offset) const {
        return uint32_t(u16(offset)) | uint32_t(u16(offset + 2)) << 16;
    }
    std::string text(uint64_t offset, uint64_t length) const {
        std::string bytes(file_.begin() + offset, file_.begin() + offset + length);
        return bytes.substr(0, bytes.find('\0'));
    }

  private:
    std::span<const uint8_t> file_;
};

struct Section {
    std::string name;
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;

    // Whether `length` bytes from `rva` lie in the section's bytes on disk.
    bool holds(uint64_t rva, uint64_t length) const {
        return rva >= virtualAddress && rva - virtualAddress <= rawSize &&
               length <= rawSize - (rva - virtualAddress);
    }
    uint64_t fileOffset(uint64_t rva) const { return rawOffset + (rva - virtualAddress); }
};

// The headers up to the resource directory's address (zero when there is none) and the
// sections, each lying inside the file.
struct Headers {
    uint32_t resourceRva = 0;
    std::vector<Section> sections;
};

uint64_t checkedNewHeader(const Bytes& bytes) {
    if (!bytes.has(0, 2) || bytes.u16(0) != 0x5A4D) // "MZ"
        throw Refusal{ResourceTableStatus::kNotExecutable, "it is not a Windows executable"};
    if (!bytes.has(0, kDosHeaderSize))
        damaged("its headers are cut short");
    const uint64_t at = bytes.u32(kNewHeaderField);
    if (!bytes.has(at, 4 + kFileHeaderSize))
        damaged("its headers are cut short");
    if (bytes.u32(at) != kPeSignature)
        throw Refusal{ResourceTableStatus::kNotExecutable, "it is not a Windows executable"};
    return at + 4;
}

uint32_t resourceRva(const Bytes& bytes, uint64_t optionalAt, uint64_t optionalSize) {
    if (!bytes.has(optionalAt, optionalSize))
        damaged("its headers are cut short");
    if (optionalSize < 2)
        return 0;
    const uint16_t magic = bytes.u16(optionalAt);
    if (magic != kPe32 && magic != kPe32Plus)
        damaged("its optional header is of no known kind");
    const uint64_t directories = magic == kPe32 ? kDataDirectoriesPe32 : kDataDirectoriesPe32Plus;
    const uint64_t entry = directories + kResourceDataDirectory * kDataDirectorySize;
    const uint32_t count =
        optionalSize >= directories ? bytes.u32(optionalAt + directories - 4) : 0;
    if (count <= kResourceDataDirectory || entry + kDataDirectorySize > optionalSize)
        return 0;
    return bytes.u32(optionalAt + entry);
}

Headers readHeaders(const Bytes& bytes) {
    const uint64_t fileHeader = checkedNewHeader(bytes);
    const uint64_t optionalAt = fileHeader + kFileHeaderSize;
    const uint64_t optionalSize = bytes.u16(fileHeader + kOptionalHeaderSizeField);
    Headers headers;
    headers.resourceRva = resourceRva(bytes, optionalAt, optionalSize);
    const uint64_t tableAt = optionalAt + optionalSize;
    const uint64_t count = bytes.u16(fileHeader + kSectionCountField);
    if (!bytes.has(tableAt, count * kSectionHeaderSize))
        damaged("its section table is cut short");
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t at = tableAt + i * kSectionHeaderSize;
        Section section{bytes.text(at, 8), bytes.u32(at + 12), bytes.u32(at + 16),
                        bytes.u32(at + 20)};
        if (!bytes.has(section.rawOffset, section.rawSize))
            damaged("its section \"" + section.name + "\" runs past the end of the file");
        headers.sections.push_back(std::move(section));
    }
    // In address order, so that each of thousands of resources finds its section at once.
    std::stable_sort(
        headers.sections.begin(), headers.sections.end(),
        [](const Section& a, const Section& b) { return a.virtualAddress < b.virtualAddress; });
    return headers;
}

// The section of the highest address not above `rva`, when it holds the `length` bytes.
const Section* sectionHolding(const Headers& headers, uint64_t rva, uint64_t length) {
    auto after = std::upper_bound(
        headers.sections.begin(), headers.sections.end(), rva,
        [](uint64_t address, const Section& section) { return address < section.virtualAddress; });
    if (after == headers.sections.begin() || !std::prev(after)->holds(rva, length))
        return nullptr;
    return &*std::prev(after);
}

// The three levels of the directory, walked from its root. Every offset in it counts from the
// root and must lie between the root and the end of the section holding it. Directories and
// names may not together be larger than that space, as they are when they share their tables:
// a few bytes could otherwise make the walk count billions of resources.
class DirectoryWalk {
  public:
    DirectoryWalk(const Bytes& bytes, const Headers& headers, const Section& section)
        : bytes_(bytes), headers_(headers), root_(section.fileOffset(headers.resourceRva)),
          space_(section.rawOffset + uint64_t(section.rawSize) - root_), unspent_(space_) {}

    std::vector<ResourceEntry> walk() {
        ResourceEntry path;
        directory(0, 1, path);
        return std::move(found_);
    }

  private:
    // The file offset of `length` bytes at `offset` from the root, which must lie in the space.
    uint64_t at(uint64_t offset, uint64_t length, const char* what) const {
        if (offset > space_ || length > space_ - offset)
            damaged(std::string(what) + " lies outside the resource section");
        return root_ + offset;
    }

    // Directories and names, unlike data, are never shared: together they fit in the section.
    void spend(uint64_t length) {
        if (length > unspent_)
            damaged("its resource directory is larger than its section");
        unspent_ -= length;
    }

    void directory(uint64_t offset, int level, ResourceEntry& path) {
        const uint64_t header = at(offset, kDirectoryHeaderSize, "a resource directory");
        const uint64_t count = uint64_t(bytes_.u16(header + 12)) + bytes_.u16(header + 14);
        const uint64_t length = kDirectoryHeaderSize + count * kDirectoryEntrySize;
        at(offset, length, "a resource directory");
        spend(length);
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t entry = header + kDirectoryHeaderSize + i * kDirectoryEntrySize;
            entered(bytes_.u32(entry), bytes_.u32(entry + 4), level, path);
        }
    }

    void entered(uint32_t key, uint32_t target, int level, ResourceEntry& path) {
        const bool isDirectory = (target & kHighBit) != 0;
        if (isDirectory != (level < kDirectoryLevels))
            damaged("its resource directory is not three levels deep");
        if (level == 1)
            path.type = keyOf(key);
        else if (level == 2)
            path.name = keyOf(key);
        else if (key & kHighBit)
            damaged("a resource language is named by a string");
        else
            path.language = uint16_t(key);
        if (isDirectory)
            directory(target & ~kHighBit, level + 1, path);
        else
            dataEntry(target, path);
    }

    ResourceKey keyOf(uint32_t key) {
        if (!(key & kHighBit))
            return {true, uint16_t(key), {}};
        const uint64_t offset = key & ~kHighBit;
        const uint64_t length = bytes_.u16(at(offset, 2, "a resource name"));
        const uint64_t chars = at(offset + 2, 2 * length, "a resource name");
        spend(2 + 2 * length);
        ResourceKey name{false, 0, {}};
        for (uint64_t i = 0; i < length; ++i)
            name.text.push_back(char16_t(bytes_.u16(chars + 2 * i)));
        return name;
    }

    void dataEntry(uint32_t offset, ResourceEntry& path) {
        const uint64_t entry = at(offset, kDataEntrySize, "a resource data entry");
        const uint32_t rva = bytes_.u32(entry), size = bytes_.u32(entry + 4);
        const Section* section = sectionHolding(headers_, rva, size);
        if (!section)
            damaged(resourceLabel(path) + " lies outside the file's sections");
        path.offset = section->fileOffset(rva);
        path.size = size;
        // Each resource keeps a copy of its type's and its name's strings: they count as well,
        // or one long name above thousands of resources would fill the memory.
        spend(2 * (path.type.text.size() + path.name.text.size()));
        found_.push_back(path);
    }

    const Bytes& bytes_;
    const Headers& headers_;
    const uint64_t root_;
    const uint64_t space_;
    uint64_t unspent_;
    std::vector<ResourceEntry> found_;
};

// The maker never writes two resources over the same bytes: resources that share them are
// damage, and would let a small file be read as many times its size.
void checkNoSharedBytes(const std::vector<ResourceEntry>& resources) {
    std::vector<const ResourceEntry*> byOffset;
    for (const ResourceEntry& resource : resources) {
        if (resource.size > 0)
            byOffset.push_back(&resource);
    }
    std::stable_sort(
        byOffset.begin(), byOffset.end(),
        [](const ResourceEntry* a, const ResourceEntry* b) { return a->offset < b->offset; });
    const ResourceEntry* reaching = nullptr; // of those seen, the one that reaches furthest
    for (const ResourceEntry* resource : byOffset) {
        if (reaching && resource->offset < reaching->offset + reaching->size)
            damaged(resourceLabel(*resource) + " and " + resourceLabel(*reaching) + " share bytes");
        if (!reaching || resource->offset + resource->size > reaching->offset + reaching->size)
            reaching = resource;
    }
}

std::string keyText(const ResourceKey& key) {
    if (key.isInteger)
        return std::to_string(key.integer);
    std::string text;
    for (char16_t c : key.text)
        text.push_back(c < 0x80 ? char(c) : '?');
    return text;
}

// Of a resource stored in several languages, the neutral one, else the first.
void choose(const ResourceEntry*& chosen, const ResourceEntry& resource) {
    if (!chosen || (resource.language == 0 && chosen->language != 0))
        chosen = &resource;
}

std::vector<uint8_t> bytesOf(const ResourceEntry& resource, std::span<const uint8_t> file) {
    const auto start = file.begin() + resource.offset;
    return {start, start + resource.size};
}

std::optional<std::vector<uint8_t>> bytesOf(const ResourceEntry* resource,
                                            std::span<const uint8_t> file) {
    if (!resource)
        return std::nullopt;
    return bytesOf(*resource, file);
}

} // namespace

bool ResourceKey::is(std::string_view ascii) const {
    const auto lower = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return !isInteger && text.size() == ascii.size() &&
           std::equal(text.begin(), text.end(), ascii.begin(),
                      [&](char16_t a, char b) { return lower(a) == lower(char32_t(b)); });
}

ResourceTable readResourceTable(std::span<const uint8_t> file) {
    const Bytes bytes(file);
    try {
        const Headers headers = readHeaders(bytes);
        if (headers.resourceRva == 0)
            return {};
        const Section* section = sectionHolding(headers, headers.resourceRva, 0);
        if (!section)
            damaged("its resource directory lies in no section");
        ResourceTable table;
        table.resources = DirectoryWalk(bytes, headers, *section).walk();
        checkNoSharedBytes(table.resources);
        return table;
    } catch (const Refusal& refusal) {
        return {refusal.status, refusal.why, {}};
    }
}

std::string resourceLabel(const ResourceEntry& resource) {
    if (resource.type.isInteger)
        return "type " + keyText(resource.type) + " resource " + keyText(resource.name);
    return keyText(resource.type) + " " + keyText(resource.name);
}

bool isQuizResource(const ResourceEntry& resource) {
    return resource.type.is(kMediaResourceType) ||
           (resource.type.is(kQuizResourceType) &&
            (resource.name.is(IDR_QUIZ_TEXT) || resource.name.is(IDR_QUIZ_CODES)));
}

QuizResources quizResourcesOf(const ResourceTable& table, std::span<const uint8_t> file) {
    const ResourceEntry *text = nullptr, *codes = nullptr;
    std::map<int, const ResourceEntry*> images;
    for (const ResourceEntry& resource : table.resources) {
        if (resource.type.is(kMediaResourceType) && resource.name.isInteger)
            choose(images[resource.name.integer], resource);
        else if (resource.type.is(kQuizResourceType) && resource.name.is(IDR_QUIZ_TEXT))
            choose(text, resource);
        else if (resource.type.is(kQuizResourceType) && resource.name.is(IDR_QUIZ_CODES))
            choose(codes, resource);
    }
    QuizResources quiz{bytesOf(text, file), bytesOf(codes, file), {}};
    for (const auto& [id, resource] : images)
        quiz.images[id] = bytesOf(*resource, file);
    return quiz;
}
