// Minimal Windows executables built byte by byte: the headers of a PE32+ image with one section,
// ".rsrc", that holds a resource directory of three levels. For the tests of the maker's own
// reading of executables, and the seed of its fuzzer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// The resource section lies at this file offset and this address in the image.
constexpr uint32_t kSectionAt = 0x200, kSectionRva = 0x1000;
constexpr uint32_t kNewHeaderAt = 0x40, kOptionalHeaderAt = 0x58, kSectionTableAt = 0x148;

inline void put16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}
inline void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    put16(bytes, at, value & 0xFFFF);
    put16(bytes, at + 2, value >> 16);
}

// A resource of an integer name: `type` a string ("IMG") or, after '#', an integer ("#5").
struct TestResource {
    std::string type;
    uint16_t name;
    uint16_t language;
    std::string bytes;
};

struct ResourceSection {
    std::vector<uint8_t> bytes;
    // Offsets in the section, for each resource: of its data entry, and of the language entry
    // that leads to it.
    std::vector<size_t> dataEntries, languageEntries;
};

// The root, then for each resource a directory of its one name, one of its one language and its
// data entry, then the type names and the data. Each resource has a type entry of its own,
// which the walk reads as it reads grouped ones.
inline ResourceSection resourceSection(const std::vector<TestResource>& resources) {
    const size_t count = resources.size(), blocks = 16 + 8 * count, block = 64;
    ResourceSection section{std::vector<uint8_t>(blocks + block * count), {}, {}};
    std::vector<uint8_t>& bytes = section.bytes;
    put16(bytes, 12, uint32_t(std::count_if(resources.begin(), resources.end(), [](const auto& r) {
              return r.type[0] != '#';
          })));
    put16(bytes, 14, uint32_t(count) - bytes[12]);
    for (size_t i = 0; i < count; ++i) {
        const TestResource& resource = resources[i];
        const uint32_t names = uint32_t(blocks + block * i), languages = names + 24;
        section.languageEntries.push_back(languages + 16);
        section.dataEntries.push_back(languages + 24);
        put32(bytes, 20 + 8 * i, 0x80000000 | names);
        put16(bytes, names + 14, 1), put32(bytes, names + 16, resource.name);
        put32(bytes, names + 20, 0x80000000 | languages);
        put16(bytes, languages + 14, 1), put32(bytes, languages + 16, resource.language);
        put32(bytes, languages + 20, languages + 24);
        if (resource.type[0] == '#') {
            put32(bytes, 16 + 8 * i, std::stoi(resource.type.substr(1)));
            continue;
        }
        put32(bytes, 16 + 8 * i, 0x80000000 | uint32_t(bytes.size()));
        bytes.push_back(uint8_t(resource.type.size())), bytes.push_back(0);
        for (char c : resource.type)
            bytes.push_back(uint8_t(c)), bytes.push_back(0);
    }
    for (size_t i = 0; i < count; ++i) {
        put32(bytes, section.dataEntries[i], kSectionRva + uint32_t(bytes.size()));
        put32(bytes, section.dataEntries[i] + 4, uint32_t(resources[i].bytes.size()));
        bytes.insert(bytes.end(), resources[i].bytes.begin(), resources[i].bytes.end());
    }
    return section;
}

// A PE32+ image whose one section, ".rsrc", holds `section` and is its resource directory.
inline std::vector<uint8_t> peImage(const std::vector<uint8_t>& section) {
    const uint32_t rawSize = (uint32_t(section.size()) + 0x1FF) & ~0x1FFu;
    std::vector<uint8_t> image(kSectionAt + rawSize);
    image[0] = 'M', image[1] = 'Z';
    put32(image, 0x3C, kNewHeaderAt);
    image[kNewHeaderAt] = 'P', image[kNewHeaderAt + 1] = 'E';
    const uint32_t fileHeader = kNewHeaderAt + 4, optional = kOptionalHeaderAt;
    put16(image, fileHeader, 0x8664);    // x86-64
    put16(image, fileHeader + 2, 1);     // one section
    put16(image, fileHeader + 16, 240);  // the optional header's size
    put16(image, fileHeader + 18, 0x22); // executable, large addresses
    put16(image, optional, 0x20B);       // PE32+
    put32(image, optional + 32, 0x1000); // section alignment
    put32(image, optional + 36, 0x200);  // file alignment
    put32(image, optional + 56, kSectionRva + 0x1000 * ((rawSize + 0xFFF) / 0x1000));
    put32(image, optional + 60, kSectionAt); // the headers' size
    put16(image, optional + 68, 2);          // GUI subsystem
    put32(image, optional + 108, 16);        // data directories
    put32(image, optional + 128, kSectionRva);
    put32(image, optional + 132, uint32_t(section.size()));
    const std::string name = ".rsrc";
    std::copy(name.begin(), name.end(), image.begin() + kSectionTableAt);
    put32(image, kSectionTableAt + 8, uint32_t(section.size()));
    put32(image, kSectionTableAt + 12, kSectionRva);
    put32(image, kSectionTableAt + 16, rawSize);
    put32(image, kSectionTableAt + 20, kSectionAt);
    put32(image, kSectionTableAt + 36, 0x40000040); // initialised data, readable
    std::copy(section.begin(), section.end(), image.begin() + kSectionAt);
    return image;
}
