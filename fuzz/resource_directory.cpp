// Any bytes read as an executable: the walk of its resource directory ends, refused or read, and
// never reads outside the bytes. What it reads lies inside the file, no two resources share a
// byte, and the quiz taken from them is never larger than the file.
#include "maker/resource_directory.h"
#include "fuzz/property.h"

#include <algorithm>

bool propertyHolds(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    const ResourceTable table = readResourceTable(file);
    if (table.status != ResourceTableStatus::kRead)
        return table.resources.empty() && !table.damage.empty();
    std::vector<std::pair<uint64_t, uint64_t>> ranges; // start, end
    for (const ResourceEntry& resource : table.resources) {
        if (resource.offset > size || resource.size > size - resource.offset)
            return false;
        if (resource.size > 0)
            ranges.push_back({resource.offset, resource.offset + resource.size});
    }
    std::sort(ranges.begin(), ranges.end());
    for (size_t i = 1; i < ranges.size(); ++i) {
        if (ranges[i].first < ranges[i - 1].second)
            return false;
    }
    const QuizResources quiz = quizResourcesOf(table, file);
    uint64_t total =
        (quiz.quizText ? quiz.quizText->size() : 0) + (quiz.quizCodes ? quiz.quizCodes->size() : 0);
    for (const auto& [id, bytes] : quiz.images)
        total += bytes.size();
    return table.damage.empty() && total <= size;
}
