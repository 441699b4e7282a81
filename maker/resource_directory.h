// The resources of a Windows executable, read from its bytes as they lie on disk: the headers,
// the section that holds the resource directory and the three levels of the directory (type,
// name, language), every count and offset checked against the file before anything follows it.
// The Windows loader trusts the directory and faults on a damaged one, so the maker reads
// executables with this alone. Portable, with no Windows header: every field is read
// little-endian from the bytes.
#pragma once

#include "maker/quiz_resources.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A resource type or name: an integer identifier or a UTF-16 string.
struct ResourceKey {
    bool isInteger = true;
    uint16_t integer = 0;
    std::u16string text;

    bool is(uint16_t id) const { return isInteger && integer == id; }
    // The string `ascii`, without regard to case, as Windows compares resource names.
    bool is(std::string_view ascii) const;
};

// One resource in one language, and where its bytes lie in the file.
struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 0;
    uint64_t offset = 0;
    uint32_t size = 0;
};

enum class ResourceTableStatus { kRead, kNotExecutable, kDamaged };

struct ResourceTable {
    ResourceTableStatus status = ResourceTableStatus::kRead;
    std::string damage; // kDamaged: why, one line ("IMG 402 and IMG 401 share bytes")
    // In the directory's order; each lies inside the file, and no two share a byte, so together
    // they are never larger than the file.
    std::vector<ResourceEntry> resources;
};

// Reads the resource table of the executable whose whole file is `file`. A file without
// resources reads as an empty table.
ResourceTable readResourceTable(std::span<const uint8_t> file);

// "IMG 401", "type 5 resource 1001", for messages.
std::string resourceLabel(const ResourceEntry& resource);

// The quiz's own resources: every IMG, and PATCH 104 and 105.
bool isQuizResource(const ResourceEntry& resource);

// The quiz that `table`, read from `file`, carries: PATCH 104 and 105 when present, every IMG
// of an integer identifier. Of a resource stored in several languages, the neutral one is taken,
// as the player's loader takes it, else the first.
QuizResources quizResourcesOf(const ResourceTable& table, std::span<const uint8_t> file);
