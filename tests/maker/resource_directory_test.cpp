#include "maker/resource_directory.h"
#include "tests/maker/pe_image.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// IMG 401 twice (French, then neutral), IMG 402, two empty resources at the same place, the
// quiz text and a dialog (type 5).
const std::vector<TestResource> kResources = {
    {"IMG", 401, 0x40C, "en fran\xE7\x61is"},
    {"IMG", 401, 0, "neutral"},
    {"IMG", 402, 0, "402"},
    {"PATCH", 104, 0, "text"},
    {"PATCH", 105, 0, ""},
    {"PATCH", 106, 0, ""},
    {"#5", 1001, 0, "dialog"},
};

const ResourceSection kSection = resourceSection(kResources);
constexpr size_t kRoot = kSectionAt;
// File offsets of the data entry of kResources[i], and of the language entry leading to it.
size_t dataEntry(size_t i) {
    return kSectionAt + kSection.dataEntries[i];
}
size_t languageEntry(size_t i) {
    return kSectionAt + kSection.languageEntries[i];
}
using Image = std::vector<uint8_t>;

// A directory whose every entry leads to one same table of 200 entries, and each of those to
// one same table of 200, all of one empty resource: few bytes, 40000 resources.
void shareTables(Image& image) {
    std::vector<uint8_t> section(0x2000);
    const uint32_t names = 0x100, languages = 0x800, data = 0x1000;
    put16(section, 14, 1);
    put32(section, 16, 5), put32(section, 20, 0x80000000 | names);
    put16(section, names + 14, 200), put16(section, languages + 14, 200);
    for (uint32_t i = 0; i < 200; ++i) {
        put32(section, names + 16 + 8 * i, i);
        put32(section, names + 20 + 8 * i, 0x80000000 | languages);
        put32(section, languages + 20 + 8 * i, data);
    }
    put32(section, data, kSectionRva);
    image = peImage(section);
}

struct Case {
    const char* what;
    std::function<void(Image&)> damage;
    ResourceTableStatus status;
    std::string message;
};

const Case kCases[] = {
    {"intact", [](Image&) {}, ResourceTableStatus::kRead, ""},
    {"no resource directory", [](Image& i) { put32(i, kOptionalHeaderAt + 128, 0); },
     ResourceTableStatus::kRead, ""},
    {"not MZ", [](Image& i) { i[0] = 'X'; }, ResourceTableStatus::kNotExecutable,
     "it is not a Windows executable"},
    {"no PE signature", [](Image& i) { i[kNewHeaderAt] = 'N'; },
     ResourceTableStatus::kNotExecutable, "it is not a Windows executable"},
    {"cut in the headers", [](Image& i) { i.resize(0x50); }, ResourceTableStatus::kDamaged,
     "its headers are cut short"},
    {"new header far out", [](Image& i) { put32(i, 0x3C, 0xFFFFFFF0); },
     ResourceTableStatus::kDamaged, "its headers are cut short"},
    {"unknown optional header", [](Image& i) { put16(i, kOptionalHeaderAt, 0x107); },
     ResourceTableStatus::kDamaged, "its optional header is of no known kind"},
    {"65535 sections", [](Image& i) { put16(i, kNewHeaderAt + 6, 0xFFFF); },
     ResourceTableStatus::kDamaged, "its section table is cut short"},
    {"cut in the section", [](Image& i) { i.pop_back(); }, ResourceTableStatus::kDamaged,
     "its section \".rsrc\" runs past the end of the file"},
    {"directory in no section", [](Image& i) { put32(i, kOptionalHeaderAt + 128, 0x9000); },
     ResourceTableStatus::kDamaged, "its resource directory lies in no section"},
    {"root of 65535 entries", [](Image& i) { put16(i, kRoot + 14, 0xFFFF); },
     ResourceTableStatus::kDamaged, "a resource directory lies outside the resource section"},
    {"type name far out", [](Image& i) { put32(i, kRoot + 16, 0xFFFFFFF0); },
     ResourceTableStatus::kDamaged, "a resource name lies outside the resource section"},
    {"type directory far out", [](Image& i) { put32(i, kRoot + 20, 0xFFFFFFF0); },
     ResourceTableStatus::kDamaged, "a resource directory lies outside the resource section"},
    {"data entry far out", [](Image& i) { put32(i, languageEntry(2) + 4, 0x7FFFFFF0); },
     ResourceTableStatus::kDamaged, "a resource data entry lies outside the resource section"},
    {"language leading to a directory", [](Image& i) { i[languageEntry(2) + 7] = 0x80; },
     ResourceTableStatus::kDamaged, "its resource directory is not three levels deep"},
    {"language named", [](Image& i) { i[languageEntry(2) + 3] = 0x80; },
     ResourceTableStatus::kDamaged, "a resource language is named by a string"},
    {"type leading to data", [](Image& i) { i[kRoot + 23] = 0; }, ResourceTableStatus::kDamaged,
     "its resource directory is not three levels deep"},
    {"IMG 401 at no address", [](Image& i) { put32(i, dataEntry(0), 0x7FFF0000); },
     ResourceTableStatus::kDamaged, "IMG 401 lies outside the file's sections"},
    {"dialog too long", [](Image& i) { put32(i, dataEntry(6) + 4, 0x7FFF0000); },
     ResourceTableStatus::kDamaged, "type 5 resource 1001 lies outside the file's sections"},
    {"IMG 401 a byte into IMG 402", [](Image& i) { put32(i, dataEntry(1) + 4, 8); },
     ResourceTableStatus::kDamaged, "IMG 402 and IMG 401 share bytes"},
    {"shared tables", shareTables, ResourceTableStatus::kDamaged,
     "its resource directory is larger than its section"},
};

TEST(ResourceDirectory, ReadsEveryResourceOfAnIntactFileAndNamesTheDamageOfAnyOther) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Image image = peImage(kSection.bytes);
        c.damage(image);
        const ResourceTable table = readResourceTable(image);
        EXPECT_EQ(table.status, c.status);
        EXPECT_EQ(table.damage, c.message);
        if (table.status == ResourceTableStatus::kDamaged)
            EXPECT_TRUE(table.resources.empty());
    }
}

TEST(ResourceDirectory, GivesTheQuizInTheNeutralLanguageAndLabelsEachResource) {
    const Image image = peImage(kSection.bytes);
    const ResourceTable table = readResourceTable(image);
    ASSERT_EQ(table.resources.size(), kResources.size());
    std::vector<std::string> labels;
    for (const ResourceEntry& resource : table.resources)
        labels.push_back(resourceLabel(resource) + (isQuizResource(resource) ? " (quiz)" : ""));
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "IMG 401 (quiz)", "IMG 401 (quiz)", "IMG 402 (quiz)", "PATCH 104 (quiz)",
                          "PATCH 105 (quiz)", "PATCH 106", "type 5 resource 1001"}));
    const auto bytes = [](const std::string& text) {
        return std::vector<uint8_t>(text.begin(), text.end());
    };
    const QuizResources expected{
        bytes("text"), bytes(""), {{401, bytes("neutral")}, {402, bytes("402")}}};
    EXPECT_EQ(quizResourcesOf(table, image), expected);
}

} // namespace
